// Dok --batch as a script runs it: a real process on a demo database, its exit
// codes, its stdout and stderr, and what it leaves on disk.
#include "DemoData.h"
#include "SchoolDatabase.h"
#include "SqlScript.h"
#include "TZip.h"
#include "../FileDiProva.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>


namespace {

struct Esito
{
    int codice = -1;
    QString out;
    QString err;
};

} // namespace

class TestDokBatch : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;
    QString m_tmp; // the program's temporary folder, so its working files can be checked

    Esito dok(const QStringList &opzioni, const QString &cartellaLavoro = QString())
    {
        QProcess p;
        if (!cartellaLavoro.isEmpty())
            p.setWorkingDirectory(cartellaLavoro);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_tmp);
        env.insert(QStringLiteral("SIDILINK_MAIN_DIR"), m_dir.filePath(QStringLiteral("main")));
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("SIDILINK_BIN_DIR") + QStringLiteral("/Dok"), opzioni);
        if (!p.waitForFinished(240000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput()),
                QString::fromLocal8Bit(p.readAllStandardError())};
    }

    QStringList base(const QString &uscita, const QString &sede = QStringLiteral("XXIC00000X"),
                     const QString &anno = QStringLiteral("2016/2017"))
    {
        return {"--batch", "--database", m_db, "--user", "SYSDBA", "--year", anno, "--kind", "0",
                "--site", sede, "--output", uscita};
    }

    QStringList fileDiLavoro() const
    {
        return QDir(m_tmp + QStringLiteral("/Flussi")).entryList(QDir::Files);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(QStringLiteral("scuola.fdb"));
        m_tmp = m_dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(m_tmp));
        schooldb::createDemoDatabase(m_db, {80, 3});
    }

    void badCommandLine_data()
    {
        QTest::addColumn<QStringList>("togli");
        QTest::addColumn<QStringList>("aggiungi");
        QTest::addColumn<QString>("errore");
        QTest::newRow("senza sede") << QStringList{"--site", "XXIC00000X"} << QStringList{}
                                    << "Manca l'opzione --site";
        QTest::newRow("tipo 9") << QStringList{"--kind", "0"} << QStringList{"--kind", "9"}
                                << "Tipo di esportazione non valido: 9";
        QTest::newRow("anno") << QStringList{"--year", "2016/2017"} << QStringList{"--year", "2016"}
                              << "Anno scolastico non valido: 2016";
        QTest::newRow("scarti") << QStringList{} << QStringList{"--on-rejected", "maybe"}
                                << "Valore non valido per --on-rejected: maybe";
        QTest::newRow("opzione ignota") << QStringList{} << QStringList{"--colour"} << "colour";
        QTest::newRow("password sidi senza utente") << QStringList{} << QStringList{"--sidi-password-file", "x"}
                                                    << "--sidi-password-file richiede --sidi-user";
    }
    void badCommandLine()
    {
        QFETCH(QStringList, togli);
        QFETCH(QStringList, aggiungi);
        QFETCH(QString, errore);
        QStringList opzioni = base(m_dir.filePath(QStringLiteral("out")));
        for (const QString &t : togli)
            opzioni.removeOne(t);
        opzioni += aggiungi;
        const Esito e = dok(opzioni);
        QCOMPARE(e.codice, 64);
        QVERIFY2(e.err.contains(errore), qPrintable(e.err));
        QVERIFY(e.err.contains(QStringLiteral("Uso: Dok --batch")));
        QVERIFY(e.out.isEmpty());
    }

    void continueWritesTheArchiveAndTheLog()
    {
        const QString uscita = m_dir.filePath(QStringLiteral("continua"));
        const QString log = m_dir.filePath(QStringLiteral("log"));
        const Esito e = dok(base(uscita) + QStringList{"--on-rejected", "continue", "--log-dir", log});
        QVERIFY2(e.codice == 0, qPrintable(e.err));
        const QString archivio = e.out.trimmed();
        QVERIFY(archivio.startsWith(uscita + QStringLiteral("/NUOVOAVVIOSCUOLA_XXIC00000X_")));
        QVERIFY(archivio.endsWith(QStringLiteral(".zip")));
        QCOMPARE(e.out.count(QLatin1Char('\n')), 1);
        const QStringList voci = TZip::Entries(archivio);
        QCOMPARE(voci.size(), 4);
        QVERIFY(voci.at(0).startsWith(QStringLiteral("##XXIC00000XABCDE1005201600NFNORV20160930")));
        QVERIFY(voci.at(3).endsWith(QStringLiteral("003TB_ALU_SIT.TXT")));
        QVERIFY(fileDiLavoro().isEmpty());

        // The log of the rejected records, and the run's steps and messages on stderr.
        QFile f(QDir(log).filePath(QStringLiteral("TevoExport.Log")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray testo = f.readAll();
        QVERIFY(testo.startsWith("Versione: " SIDILINK_VERSION "\r\n\r\nFLUSSO: 008TB_ALU_ALUNNI\r\n"));
        for (const char *riga : {"CONTROLLO SEZIONI\n", "RICHIESTA CODICE PRENOTAZIONE\n", "001TB_USR_USER\n",
                                 "CREAZIONE FILE IN CORSO\n", "ESPORTAZIONE CONCLUSA\n",
                                 "Errore: Esportazione non conclusa correttamente: ",
                                 "Informazione: Esportazione conclusa correttamente. "})
            QVERIFY2(e.err.contains(QString::fromUtf8(riga)), riga);
    }

    void rejectedRecordsCancelByDefault()
    {
        const QString uscita = m_dir.filePath(QStringLiteral("annulla"));
        const Esito e = dok(base(uscita));
        QCOMPARE(e.codice, 2);
        QVERIFY(e.out.isEmpty());
        QVERIFY(e.err.contains(QStringLiteral("Esportazione annullata.")));
        QVERIFY(QDir(uscita).entryList(QDir::Files).isEmpty());
        QVERIFY(fileDiLavoro().isEmpty());
    }

    // The hand-written record files of the fixture institute, through the whole
    // program: gate, checks, stored booking code and school type, flows, writer
    // and archive.
    void archiveHoldsTheExpectedRecordFiles()
    {
        const QString casi = qEnvironmentVariable("SIDILINK_SOURCE_DIR") + QStringLiteral("/tests/fixtures/export/avvio/");
        const QString db = m_dir.filePath(QStringLiteral("avvio.fdb"));
        const QString script = QString::fromUtf8(leggi(casi + QStringLiteral("fixture.sql")));
        // The fixture links two local study addresses to one SIDI address on purpose;
        // the option "CORSI : Usa come ID il codice SIDI indirizzo" lets the run past
        // the study-address check.
        schooldb::createSchoolDatabase(db, schooldb::kDefaultUser, QString(), [&](QSqlDatabase &c) {
            schooldb::runSqlScript(c, script);
            schooldb::runSqlScript(c, QStringLiteral("INSERT INTO TPRM_PARAM (IPRMID, SPRMPROG, SPRMCOD, IPRMVAL) "
                                                     "VALUES (4100, 'kbd', 'bUseIdSidiInd', 1);"));
        });
        const QString uscita = m_dir.filePath(QStringLiteral("avvio"));
        // The fixture gives its code to a second site too: the chooser is answered.
        QStringList opzioni = base(uscita) + QStringList{"--on-rejected", "continue", "--site-id", "5"};
        opzioni[opzioni.indexOf(QStringLiteral("--database")) + 1] = db;
        const Esito e = dok(opzioni);
        QVERIFY2(e.codice == 0, qPrintable(e.err));
        const QString archivio = e.out.trimmed();

        // Names: the expected ones with the run's own time stamp.
        const QString nome = QFileInfo(archivio).fileName();
        const QString timbro = nome.mid(QStringLiteral("NUOVOAVVIOSCUOLA_XXIC00000X_").size(), 12);
        QCOMPARE(nome, QStringLiteral("NUOVOAVVIOSCUOLA_XXIC00000X_") + timbro + QStringLiteral(".zip"));
        const QStringList attesi = QDir(casi + QStringLiteral("expected")).entryList(QDir::Files, QDir::Name);
        QStringList voci = TZip::Entries(archivio);
        QCOMPARE(voci.size(), attesi.size());
        for (int i = 0; i < voci.size(); ++i) {
            QString atteso = voci.at(i);
            atteso.replace(timbro, QStringLiteral("201609301230"));
            QVERIFY2(attesi.contains(atteso), qPrintable(voci.at(i)));
            QCOMPARE(righe(TZip::Read(archivio, voci.at(i))), righe(leggi(casi + QStringLiteral("expected/") + atteso)));
        }
        QVERIFY(voci.first().startsWith(QStringLiteral("##")));
        QVERIFY(fileDiLavoro().isEmpty());
    }

    // The booking code asked of SIDI: the simulator over HTTPS, the SIDI login
    // answered by the options; a code of the wrong length ends without archive.
    void bookingCodeFromSidi_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<int>("uscita");
        QTest::newRow("codice valido") << "ZZ9ZZ" << 0;
        QTest::newRow("codice di 4 caratteri") << "ZZ9Z" << 2;
    }
    void bookingCodeFromSidi()
    {
        QFETCH(QString, codice);
        QFETCH(int, uscita);
        QTemporaryDir sim;
        QFile fixture(sim.filePath(QStringLiteral("fixture.json")));
        QVERIFY(fixture.open(QIODevice::WriteOnly));
        fixture.write(QStringLiteral(R"({ "users": { "segreteria": "Pw.2016" }, "bookingCodes": { "XXIC00000X": "%1" } })")
                          .arg(codice)
                          .toUtf8());
        fixture.close();
        QFile password(sim.filePath(QStringLiteral("sidi.pw")));
        QVERIFY(password.open(QIODevice::WriteOnly));
        password.write("Pw.2016\n");
        password.close();

        QProcess simulatore;
        simulatore.start(qEnvironmentVariable("SIDILINK_BIN_DIR") + QStringLiteral("/sidisim"),
                         {"--https", "--cert-dir", sim.filePath(QStringLiteral("cert")), "--fixture",
                          fixture.fileName(), "--write-config", sim.filePath(QStringLiteral("sidi.ini"))});
        QVERIFY(simulatore.waitForReadyRead(30000));
        QVERIFY(simulatore.readLine().startsWith("https://127.0.0.1:"));

        const QString lavoro = sim.filePath(QStringLiteral("lavoro/bin"));
        QVERIFY(QDir().mkpath(lavoro));
        const QString copia = m_dir.filePath(QStringLiteral("prenota-%1.fdb").arg(uscita));
        QFile::remove(copia);
        QVERIFY(QFile::copy(m_db, copia));
        QStringList opzioni = base(m_dir.filePath(QStringLiteral("prenota")))
                              + QStringList{"--force-booking", "--on-rejected", "continue", "--sidi-user",
                                            "segreteria", "--sidi-password-file", password.fileName(),
                                            "--sidi-config", sim.filePath(QStringLiteral("sidi.ini"))};
        opzioni[opzioni.indexOf(QStringLiteral("--database")) + 1] = copia;
        const Esito e = dok(opzioni, lavoro);
        simulatore.kill();
        simulatore.waitForFinished();

        QVERIFY2(e.codice == uscita, qPrintable(e.err));
        if (uscita == 0) {
            const QStringList voci = TZip::Entries(e.out.trimmed());
            QVERIFY(voci.first().startsWith(QStringLiteral("##XXIC00000X") + codice + QStringLiteral("1005")));
        } else {
            QVERIFY(e.err.contains(QStringLiteral("Errore: IMPOSSIBILE ACQUISIRE IL CODICE PRENOTAZIONE DA SIDI. "
                                                  "PER LA SEDE AVENTE\nCODICE MECCANOGRAFICO XXIC00000X.")));
            QVERIFY(e.out.isEmpty());
        }
        // Every SIDI answer is kept beside the working folder.
        QVERIFY(QFile::exists(sim.filePath(QStringLiteral("lavoro/usr/Tevo/SogeiCert/getCodicePrenotazione_SOAPResponse.xml"))));
        QVERIFY(fileDiLavoro().isEmpty());
    }

    void severalSitesNeedTheSiteId()
    {
        const QString uscita = m_dir.filePath(QStringLiteral("sedi"));
        const Esito e = dok(base(uscita, QStringLiteral("XXIS00000X")));
        QCOMPARE(e.codice, 1);
        QVERIFY2(e.err.contains(QStringLiteral("--site-id 7")) && e.err.contains(QStringLiteral("--site-id 8")),
                 qPrintable(e.err));
    }

    void faseAGateEndsWithoutArchive()
    {
        const Esito e = dok(base(m_dir.filePath(QStringLiteral("fasea")), QStringLiteral("XXIC00000X"),
                                 QStringLiteral("2021/2022")));
        QCOMPARE(e.codice, 2);
        QVERIFY(e.err.contains(QStringLiteral("Avviso: Per effettuare l' invio del Flusso")));
    }
};

QTEST_GUILESS_MAIN(TestDokBatch)
#include "test_dok_batch.moc"
