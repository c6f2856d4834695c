#include "TDokArchivio.h"
#include "TQxScriptedInteraction.h"
#include "../FileDiProva.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void scrivi(const QString &path, const QByteArray &dati)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(dati);
}

const QString kPromemoria = QString::fromUtf8(
    "\r\r\nATTENZIONE!!!\r\nSi ricorda che al termine dell' invio del flusso su SIDI è necessario andare a "
    "visualizzare il LOG per verificare la correttezza  dell'invio stesso.");

} // namespace

class TestArchivio : public QObject
{
    Q_OBJECT

private slots:
    void nomeArchivio_data();
    void nomeArchivio();
    void archiveSaved();
    void cancelled_data();
    void cancelled();
    void scrutiniFileMovedReplacingOld();
    void cancellaFileTemporaneiSkipsMissing();

private:
    QStringList lavoro(const QTemporaryDir &dir)
    {
        const QStringList files{dir.filePath("lavoro/##A.DAT"), dir.filePath("lavoro/A001TB_USR_USER.TXT")};
        QDir().mkpath(dir.filePath("lavoro"));
        scrivi(files[0], QByteArray());
        scrivi(files[1], "00185|\r\n");
        return files;
    }
};

void TestArchivio::nomeArchivio_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("start of year") << 0 << "NUOVOAVVIOSCUOLA_XXIC00000X_201609301230.zip";
    QTest::newRow("infanzia") << 1 << "AVVIOSCUOLAINFANZIA_XXIC00000X_201609301230.zip";
    QTest::newRow("esiti finali") << 3 << "ESITI_FINALI_XXIC00000X_201609301230.zip";
}

void TestArchivio::nomeArchivio()
{
    QFETCH(int, tipo);
    QFETCH(QString, atteso);
    QCOMPARE(TDokArchivio::NomeArchivio(tipo, "XXIC00000X", "201609301230"), atteso);
}

void TestArchivio::archiveSaved()
{
    QTemporaryDir dir;
    const QStringList files = lavoro(dir);
    const QString cartella = dir.filePath("scelta");
    QDir().mkpath(cartella);
    TQxScriptedInteraction ui;
    ui.Answer("folder", cartella);
    TDokArchivio::CreaArchivio(ui, 0, files, "XXIC00000X", "201609301230");

    const QString nome = "NUOVOAVVIOSCUOLA_XXIC00000X_201609301230.zip";
    QCOMPARE(ui.AskedQuestions().first().Text, "Nome file:\r\n" + nome);
    QCOMPARE(ui.AskedQuestions().first().Details.value("startDir").toString(), QString());
    QCOMPARE(ui.Messages(), QStringList({"Esportazione conclusa correttamente. \r\nIl file: " + nome + "\r\n"
                                         + QString::fromUtf8("è stato salvato nella cartella: ")
                                         + QDir::toNativeSeparators(cartella) + kPromemoria}));
    QCOMPARE(ui.AskedQuestions().last().Details.value("type").toString(), QString("Informazione"));
    const QByteArray zip = leggi(cartella + "/" + nome);
    QVERIFY(zip.startsWith("PK\x03\x04"));
    QVERIFY(zip.contains("##A.DAT"));
    QVERIFY(zip.contains("A001TB_USR_USER.TXT"));
    QVERIFY(!QFile::exists(files[0]));
    QVERIFY(!QFile::exists(files[1]));
}

void TestArchivio::cancelled_data()
{
    QTest::addColumn<int>("tipo");
    QTest::newRow("archive") << 0;
    QTest::newRow("scrutini file") << 2;
}

void TestArchivio::cancelled()
{
    QFETCH(int, tipo);
    QTemporaryDir dir;
    const QStringList files = lavoro(dir);
    TQxScriptedInteraction ui;
    ui.Answer("folder", QString());
    TDokArchivio::CreaArchivio(ui, tipo, files, "XXIC00000X", "201609301230");
    QCOMPARE(ui.Messages(), QStringList({"Esportazione non conclusa correttamente: \r\n File non salvato. "
                                         "Riefettuare l'esportazione."}));
    QCOMPARE(ui.AskedQuestions().last().Details.value("type").toString(), QString("Errore"));
    QVERIFY(!QFile::exists(files[0]));
    QVERIFY(!QFile::exists(files[1]));
}

void TestArchivio::scrutiniFileMovedReplacingOld()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("lavoro"));
    QDir().mkpath(dir.filePath("scelta"));
    const QString file = dir.filePath("lavoro/SCRUTINI.TXT");
    scrivi(file, "nuovo|\r\n");
    scrivi(dir.filePath("scelta/SCRUTINI.TXT"), "vecchio");
    TQxScriptedInteraction ui;
    ui.Answer("folder", dir.filePath("scelta"));
    TDokArchivio::CreaArchivio(ui, 2, {file}, "XXIC00000X", "201609301230");
    QCOMPARE(ui.AskedQuestions().first().Text, QString("Nome file:\r\nSCRUTINI.TXT"));
    QCOMPARE(leggi(dir.filePath("scelta/SCRUTINI.TXT")), QByteArray("nuovo|\r\n"));
    QVERIFY(!QFile::exists(file));
    const QString cartella = QDir::toNativeSeparators(dir.filePath("scelta"));
    QCOMPARE(ui.Messages(),
             QStringList({"Esportazione conclusa correttamente. \r\nIl file: "
                          + QDir::toNativeSeparators(dir.filePath("scelta/SCRUTINI.TXT")) + "\r\n"
                          + QString::fromUtf8("è stato salvato nella cartella: ") + cartella + kPromemoria}));
}

void TestArchivio::cancellaFileTemporaneiSkipsMissing()
{
    QTemporaryDir dir;
    const QStringList files = lavoro(dir);
    QFile::remove(files[0]);
    TDokArchivio::CancellaFileTemporanei(files);
    QVERIFY(!QFile::exists(files[1]));
}

QTEST_GUILESS_MAIN(TestArchivio)
#include "test_archivio.moc"
