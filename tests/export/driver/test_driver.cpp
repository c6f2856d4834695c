// One press of "&Esporta" on the demo institute, driven by the scripted
// interaction: the whole road to the archive, and every way it can end without one.
#include "DemoData.h"
#include "SchoolDatabase.h"
#include "TDokDomande.h"
#include "TDokDriver.h"
#include "TQxScriptedInteraction.h"
#include "TZip.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSite = QStringLiteral("XXIC00000X");
const QString kYear = QStringLiteral("2016/2017");

QVariantMap tipoScuola(bool ok, const QString &tipo = QStringLiteral("MEDIA"))
{
    return {{QStringLiteral("Ok"), ok}, {QStringLiteral("Tipo"), tipo}};
}

} // namespace

class TestDriver : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;
    QSqlDatabase m_conn;

    QString voce()
    {
        TQxScriptedInteraction io;
        TDokDriver d(m_conn, io);
        for (const TDokVoceSede &s : d.CaricaSedi(QStringLiteral("2016"), 0))
            if (s.Testo.startsWith(kSite))
                return s.Testo;
        return QString();
    }

    TDokDriver::Richiesta richiesta(const QString &anno = kYear)
    {
        TDokDriver::Richiesta r;
        r.Tipo = 0;
        r.VoceSede = voce();
        r.AnnoScolastico = anno;
        TQxScriptedInteraction io;
        for (const TQxEnumItem &a : TDokDriver(m_conn, io).CaricaAnni())
            if (a.Text == anno)
                r.IdAnno = a.Id; // as the year box carries it
        return r;
    }

    // The working folder of a driver must be empty after any run.
    static QStringList fileDiLavoro(const TDokDriver &d)
    {
        return QDir(d.CartellaFlussi).entryList(QDir::Files);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(QStringLiteral("scuola.fdb"));
        schooldb::createDemoDatabase(m_db, {60, 7});
        m_conn = schooldb::openSchoolDatabase(QStringLiteral("driver"), m_db);
        QVERIFY(m_conn.isOpen());
        QVERIFY(!voce().isEmpty());
    }

    void defaultYear_data()
    {
        QTest::addColumn<QDate>("oggi");
        QTest::addColumn<QString>("anno");
        QTest::newRow("31 agosto") << QDate(2017, 8, 31) << "2016/2017";
        QTest::newRow("1 settembre") << QDate(2017, 9, 1) << "2017/2018";
        QTest::newRow("marzo") << QDate(2017, 3, 15) << "2016/2017";
        QTest::newRow("dicembre") << QDate(2016, 12, 31) << "2016/2017";
    }
    void defaultYear()
    {
        QFETCH(QDate, oggi);
        QFETCH(QString, anno);
        QCOMPARE(TDokDriver::AnnoPredefinito(oggi), anno);
    }

    void wholeRunWritesTheArchiveAndNoWorkingFile()
    {
        QTemporaryDir uscita;
        TQxScriptedInteraction io;
        TDokDriver d(m_conn, io);
        QStringList stati;
        d.Contesto.MostraStato = [&stati](const QString &s, int n) {
            if (n == TDokContesto::kNuovoStato)
                stati << s;
        };
        d.Adesso = [] { return QDateTime(QDate(2016, 9, 30), QTime(12, 30)); };
        io.Answer(QString::fromLatin1(TDokDomande::kTipoScuola), tipoScuola(true));
        io.Answer(QString::fromLatin1(TDokDomande::kDatiNonImportati), true);
        io.Answer(QString::fromLatin1(TDokDomande::kRiepilogoFrequenze), QVariant());
        io.Answer(QStringLiteral("folder"), uscita.path());

        const QString archivio = d.Esporta(richiesta());
        const QString nome = QStringLiteral("NUOVOAVVIOSCUOLA_XXIC00000X_201609301230.zip");
        QCOMPARE(archivio, QDir(uscita.path()).filePath(nome));
        QVERIFY(QFile::exists(archivio));
        QCOMPARE(io.PendingAnswers(), 0);
        QCOMPARE(stati, (QStringList{"CONTROLLO SEZIONI", "RICHIESTA CODICE PRENOTAZIONE",
                                     "CONTROLLO INDIRIZZI DI STUDIO", "001TB_USR_USER", "002TB_ALU_ALUNNI",
                                     "003TB_ALU_SIT", "CREAZIONE FILE IN CORSO", "ESPORTAZIONE CONCLUSA"}));
        const QString radice = QStringLiteral("XXIC00000XABCDE1005201600NFNORV20160930201609301230");
        QCOMPARE(TZip::Entries(archivio),
                 (QStringList{"##" + radice + ".DAT", radice + "001TB_USR_USER.TXT",
                              radice + "002TB_ALU_ALUNNI.TXT", radice + "003TB_ALU_SIT.TXT"}));
        QVERIFY(fileDiLavoro(d).isEmpty());

        // The operator saw the rejected records, the summary and where the archive went.
        const QStringList messaggi = io.Messages();
        QVERIFY(messaggi.first().startsWith(QStringLiteral("Esportazione non conclusa correttamente: \r\r\n")));
        QVERIFY(messaggi.last().startsWith(QStringLiteral("Esportazione conclusa correttamente. \r\nIl file: ")
                                           + nome));
        // The school type the operator confirmed is stored with the site.
        QSqlQuery q(m_conn);
        QVERIFY(q.exec(QStringLiteral("SELECT DISTINCT SSCODTIPOSCUOLA FROM TSCOD_CODICETEVO "
                                      "WHERE SSCODMECC = 'XXIC00000X'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("MM"));
    }

    // Every question the operator can cancel ends the run with its message and
    // leaves neither archive nor working file.
    void cancelling_data()
    {
        QTest::addColumn<QString>("domanda");
        QTest::addColumn<QString>("ultimoMessaggio");
        QTest::newRow("tipo scuola") << TDokDomande::kTipoScuola << "Operazione terminata dall'utente";
        QTest::newRow("dati non importati") << TDokDomande::kDatiNonImportati << "Esportazione annullata.";
        QTest::newRow("cartella")
            << "folder" << "Esportazione non conclusa correttamente: \r\n File non salvato. Riefettuare l'esportazione.";
    }
    void cancelling()
    {
        QFETCH(QString, domanda);
        QFETCH(QString, ultimoMessaggio);
        QTemporaryDir uscita;
        TQxScriptedInteraction io;
        TDokDriver d(m_conn, io);
        const QString tipo = QString::fromLatin1(TDokDomande::kTipoScuola);
        const QString scarti = QString::fromLatin1(TDokDomande::kDatiNonImportati);
        io.Answer(tipo, tipoScuola(domanda != tipo));
        if (domanda != tipo) {
            io.Answer(scarti, domanda != scarti);
            if (domanda != scarti) {
                io.Answer(QString::fromLatin1(TDokDomande::kRiepilogoFrequenze), QVariant());
                io.Answer(QStringLiteral("folder"), QString());
            }
        }
        QCOMPARE(d.Esporta(richiesta()), QString());
        QCOMPARE(io.PendingAnswers(), 0);
        QCOMPARE(io.Messages().last(), ultimoMessaggio);
        QVERIFY(fileDiLavoro(d).isEmpty());
        QVERIFY(QDir(uscita.path()).entryList(QDir::Files).isEmpty());
        if (domanda == scarti)
            QCOMPARE(d.Contesto.StatoEsportazione, QStringLiteral("ESPORTAZIONE ANNULLATA"));
    }

    void choicesMissing_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("sede");
        QTest::addColumn<bool>("alunni");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("nessun tipo") << -1 << true << true
                                     << "Non è stato selezionato il tipo di esportazione da\r\neseguire: nessuna "
                                        "operazione da eseguire.";
        QTest::newRow("nessuna sede") << 0 << false << true
                                      << "Non è stata selezionata una sede: nessuna operazione da eseguire.";
        QTest::newRow("nessun alunno")
            << 0 << true << false
            << "Non è stato selezionato alcun tipo di alunni da esportare: nessuna operazione da eseguire.";
    }
    void choicesMissing()
    {
        QFETCH(int, tipo);
        QFETCH(bool, sede);
        QFETCH(bool, alunni);
        QFETCH(QString, messaggio);
        TQxScriptedInteraction io;
        TDokDriver d(m_conn, io);
        TDokDriver::Richiesta r = richiesta();
        r.Tipo = tipo;
        if (!sede)
            r.VoceSede.clear();
        r.Frequentanti = r.Ritirati = r.Trasferiti = alunni;
        QCOMPARE(d.Esporta(r), QString());
        QCOMPARE(io.Messages(), QStringList{messaggio});
        QCOMPARE(io.AskedQuestions().size(), 1);
    }

    void faseARefused()
    {
        TQxScriptedInteraction io;
        TDokDriver d(m_conn, io);
        QCOMPARE(d.Esporta(richiesta(QStringLiteral("2021/2022"))), QString());
        QCOMPARE(io.Messages(),
                 QStringList{"Per effettuare l' invio del Flusso \"Avvio anno scolastico\" deve essere stata "
                             "eseguita su SIDI la \"Fase A\"  e successivamente un \"Confronta dati SIDI\" da "
                             "programma alunni SENZA ERRORI. Conclusa con esito positivo questa operazione, "
                             "andranno associati i Quadri Orario ai piani di studio.\r\r\nImpossibile creare il "
                             "flusso"});
    }

    // A column the flows need is missing: the run ends with the database's error
    // and leaves no working file.
    void databaseErrorLeavesNothingBehind()
    {
        const QString copia = m_dir.filePath(QStringLiteral("rotto.fdb"));
        QVERIFY(QFile::copy(m_db, copia));
        {
            QSqlDatabase rotto = schooldb::openSchoolDatabase(QStringLiteral("rotto"), copia);
            QSqlQuery q(rotto);
            QVERIFY(q.exec(QStringLiteral("ALTER TABLE TANA_ANAGRAFICHE DROP SANANOME")));
            TQxScriptedInteraction io;
            TDokDriver d(rotto, io);
            io.Answer(QString::fromLatin1(TDokDomande::kTipoScuola), tipoScuola(true));
            QVERIFY_THROWS_EXCEPTION(std::exception, d.Esporta(richiesta()));
            QVERIFY(fileDiLavoro(d).isEmpty());
            QCOMPARE(d.Contesto.StatoEsportazione, QStringLiteral("002TB_ALU_ALUNNI"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("rotto"));
    }
};

QTEST_GUILESS_MAIN(TestDriver)
#include "test_driver.moc"
