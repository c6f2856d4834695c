// The start-of-year export end to end on small fixture databases: the three
// builders fill the record tables, the writer writes the files, and both are
// compared with what the records must be.

#include "SchoolDatabase.h"
#include "SqlScript.h"
#include "TDokContesto.h"
#include "TDokFlussiAvvio.h"
#include "TDokUtil.h"
#include "TQxScriptedInteraction.h"
#include "TdmDokDataSetsAnagrafe.h"
#include "TdmDokDataSetsRilevazioni.h"
#include "../FileDiProva.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <stdexcept>

using dataset::Table;

namespace {

const QString kCodMecc = QStringLiteral("XXIC00000X");
const QString kPrenotazione = QStringLiteral("ABCDE");
const QString kAnno = QStringLiteral("2016/2017");
const int kIdSede = 5;
// The names of the files of an export of XXIC00000X, booking code ABCDE, school
// id 1005, year 2016, on 30 September 2016 at 12:30.
const QString kPrefisso = QStringLiteral("XXIC00000XABCDE1005201600NFNORV20160930201609301230");

QString cartellaCasi()
{
    return qEnvironmentVariable("SIDILINK_SOURCE_DIR") + QStringLiteral("/tests/fixtures/export/");
}

// The E and CampoScartato of the record whose Chiave is Valore.
struct Esito
{
    bool trovato = false;
    int E = -1;
    QString CampoScartato;
};

Esito esitoDi(const Table &t, const QString &Chiave, const QString &Valore)
{
    const int c = t.fieldIndex(Chiave);
    for (int n = 1; n <= t.recordCount(); ++n) {
        const dataset::Record r = t.recordAt(n);
        if (r.asString(c) == Valore)
            return {true, r.asInteger(QStringLiteral("E")), r.asString(QStringLiteral("CampoScartato"))};
    }
    return {};
}

// One start-of-year run with its own stores.
struct Esecuzione
{
    TQxScriptedInteraction Interazione;
    TdmDokDataSetsAnagrafe Anagrafe;
    TdmDokDataSetsRilevazioni Rilevazioni;
    TDokContesto Ctx;
    QStringList Stati;

    Esecuzione(const QSqlDatabase &db, const QString &TipoScuola, const QString &TipiAlunni = QStringLiteral("1,2,3"))
        : Ctx(db, Interazione, Anagrafe, Rilevazioni)
    {
        Ctx.TipoExport = 0;
        Ctx.AnnoScolastico = kAnno;
        Ctx.TipoScuolaScelto = TipoScuola;
        Ctx.TipiAlunni = TipiAlunni;
        // What the status label shows: the status, then the status and the running number.
        Ctx.MostraStato = [this](const QString &Stato, int N) {
            Stati.append(N >= 0 ? Stato + QLatin1Char(' ') + QString::number(N) : Stato);
        };
    }
    void Esegui() { TDokFlussiAvvio::EseguiAvvio(Ctx, kIdSede, kCodMecc, kAnno, kPrenotazione); }
};

} // namespace

class TestFlussiAvvio : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_connessioni;

    // A new database with the case's fixture and then Altro (SQL statements).
    QSqlDatabase database(const QString &Caso, const QString &Altro = QString())
    {
        const QString nome = Caso + QString::number(m_connessioni.size());
        const QString path = m_dir.filePath(nome + QStringLiteral(".fdb"));
        const QString script = QString::fromUtf8(leggi(cartellaCasi() + Caso + QStringLiteral("/fixture.sql")));
        schooldb::createSchoolDatabase(path, schooldb::kDefaultUser, QString(), [&](QSqlDatabase &db) {
            schooldb::runSqlScript(db, script);
            if (!Altro.isEmpty())
                schooldb::runSqlScript(db, Altro);
        });
        m_connessioni.append(nome);
        return schooldb::openSchoolDatabase(nome, path);
    }
    QSqlDatabase avvio()
    {
        static const QString nome = QStringLiteral("avvio0");
        if (!m_connessioni.contains(nome))
            return database(QStringLiteral("avvio"));
        return QSqlDatabase::database(nome);
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void cleanupTestCase()
    {
        for (const QString &nome : std::as_const(m_connessioni)) {
            QSqlDatabase::database(nome).close();
            QSqlDatabase::removeDatabase(nome);
        }
    }

    void fileDiAvvio();
    void scarti_data();
    void scarti();
    void campi_data();
    void campi();
    void sedeSenzaComune();
    void statoEsportazione();
    void tipiAlunni_data();
    void tipiAlunni();
    void tipiAlunniNonValidi_data();
    void tipiAlunniNonValidi();
    void erroriCheFermano_data();
    void erroriCheFermano();
};

void TestFlussiAvvio::fileDiAvvio()
{
    Esecuzione e(avvio(), QStringLiteral("MEDIA"));
    e.Esegui();
    QTemporaryDir cartella;
    QString timbro;
    e.Anagrafe.SalvaFlussiAvvio(timbro, cartella.path() + QLatin1Char('/'), kCodMecc, kPrenotazione,
                                TDokUtil::FormattaIdScuola(kIdSede), e.Ctx.AnnoInizio(), QStringLiteral("00NF"),
                                QStringLiteral("NORV"), QStringLiteral("20160930"), 0,
                                QDateTime(QDate(2016, 9, 30), QTime(12, 30)));
    QCOMPARE(timbro, QStringLiteral("201609301230"));

    const QStringList attesi{QStringLiteral("##") + kPrefisso + QStringLiteral(".DAT"),
                             kPrefisso + QStringLiteral("001TB_USR_USER.TXT"),
                             kPrefisso + QStringLiteral("002TB_ALU_ALUNNI.TXT"),
                             kPrefisso + QStringLiteral("003TB_ALU_SIT.TXT")};
    QStringList scritti;
    for (const QString &f : std::as_const(e.Anagrafe.ElencoFile))
        scritti.append(QFileInfo(f).fileName());
    QCOMPARE(scritti, attesi);

    const QDir attesa(cartellaCasi() + QStringLiteral("avvio/expected"));
    QStringList ordinati = attesi;
    ordinati.sort();
    QCOMPARE(attesa.entryList(QDir::Files, QDir::Name), ordinati);
    for (const QString &nome : attesi) {
        const QByteArray fatto = leggi(cartella.filePath(nome));
        const QByteArray voluto = leggi(attesa.filePath(nome));
        QCOMPARE(fatto.size(), voluto.size());
        QCOMPARE(righe(fatto), righe(voluto));
    }
}

void TestFlussiAvvio::scarti_data()
{
    QTest::addColumn<QString>("tipoScuola");
    QTest::addColumn<QString>("tabella");
    QTest::addColumn<QString>("idAlunno");
    QTest::addColumn<int>("e");
    QTest::addColumn<QString>("campoScartato");

    const QString piano = QStringLiteral(
        "Il piano di studi \"PIANO SENZA QUADRO\" non ha associato il Quadro Orario scaricato da SIDI");
    const QString indirizzo = QStringLiteral("L'indirizzo  \"INDIRIZZO SENZA CODICE\" non ha associato "
                                             "l'indirizzo SIDI, eseguire un CONFRONTA DATI SIDI");
    const QString sede = QStringLiteral(
        "La sede  \"PLESSO SENZA CODICE\" non ha associata la sede SIDI, eseguire un CONFRONTA DATI SIDI");
    const QString alunni = QStringLiteral("cdsAlunni"), curriculum = QStringLiteral("cdsCurriculum");
    const QString media = QStringLiteral("MEDIA");

    // Pupils: the row checks in order, the first replacing and the others
    // appended with ", ", missing mandatory values after them with ",".
    QTest::newRow("valid pupil") << media << alunni << "ABCDE1" << 0 << "";
    QTest::newRow("born abroad, second citizenship of an ended state") << media << alunni << "ABCDE2" << 0 << "";
    QTest::newRow("living abroad needs no postal code") << media << alunni << "ABCDE3" << 0 << "";
    QTest::newRow("first citizenship of an ended state, no sex")
        << media << alunni << "ABCDE4" << 1 << "Prima cittadinanza non valida,Sesso";
    QTest::newRow("no birth place, no name")
        << media << alunni << "ABCDE5" << 1 << "Codice castastale comune di nascita,Nome";
    QTest::newRow("no residence")
        << media << alunni << "ABCDE6" << 1
        << "Codice castastale comune di residenza, Cap indirizzo di residenza mancante,Indirizzo";
    QTest::newRow("no birth place, residence without postal code")
        << media << alunni << "ABCDE7" << 1
        << "Codice castastale comune di nascita, Cap indirizzo di residenza mancante";

    // Situations of a secondary school.
    QTest::newRow("MEDIA valid situation") << media << curriculum << "ABCDE1" << 0 << "";
    QTest::newRow("MEDIA IeFP plan needs no SIDI plan") << media << curriculum << "ABCDE8" << 0 << "";
    QTest::newRow("MEDIA plan without timetable frame") << media << curriculum << "ABCDE3" << 1 << piano;
    QTest::newRow("MEDIA address without SIDI code") << media << curriculum << "ABCDE10" << 1 << indirizzo;
    QTest::newRow("MEDIA site message replaces the plan message") << media << curriculum << "ABCDE11" << 1 << sede;
    QTest::newRow("MEDIA 100 situations") << media << curriculum << "ABCDE9" << 1 << "SitProg";
    for (const char *id : {"ABCDE4", "ABCDE5", "ABCDE6", "ABCDE7"})
        QTest::addRow("MEDIA pupil %s rejected", id)
            << media << curriculum << id << 2 << QStringLiteral(" IDAlunno -  valore: ") + QLatin1String(id);
    QTest::newRow("SUPERIORE plan without timetable frame") << "SUPERIORE" << curriculum << "ABCDE3" << 1 << piano;
    QTest::newRow("SUPERIORE address without SIDI code") << "SUPERIORE" << curriculum << "ABCDE10" << 1 << indirizzo;
    QTest::newRow("SUPERIORE site without SIDI code") << "SUPERIORE" << curriculum << "ABCDE11" << 1 << sede;

    // A primary school needs neither the timetable frame nor the address code.
    QTest::newRow("ELEMENTARE plan without timetable frame") << "ELEMENTARE" << curriculum << "ABCDE3" << 0 << "";
    QTest::newRow("ELEMENTARE address without SIDI code") << "ELEMENTARE" << curriculum << "ABCDE10" << 0 << "";
    QTest::newRow("ELEMENTARE site without SIDI code") << "ELEMENTARE" << curriculum << "ABCDE11" << 1 << sede;
    QTest::newRow("no type counts as primary") << "" << curriculum << "ABCDE3" << 0 << "";
}

void TestFlussiAvvio::scarti()
{
    QFETCH(QString, tipoScuola);
    QFETCH(QString, tabella);
    QFETCH(QString, idAlunno);
    QFETCH(int, e);
    QFETCH(QString, campoScartato);

    Esecuzione es(avvio(), tipoScuola);
    es.Esegui();
    QCOMPARE(es.Anagrafe.cdsAlunni.recordCount(), 11);
    QCOMPARE(es.Anagrafe.cdsCurriculum.recordCount(), 11);
    const Esito esito = esitoDi(es.Anagrafe.Tabella(tabella), QStringLiteral("IDAlunno"), idAlunno);
    QVERIFY(esito.trovato);
    QCOMPARE(esito.E, e);
    QCOMPARE(esito.CampoScartato, campoScartato);
}

// Values of records that the file does not show, rejected ones included.
void TestFlussiAvvio::campi_data()
{
    QTest::addColumn<QString>("tabella");
    QTest::addColumn<QString>("idAlunno");
    QTest::addColumn<QString>("colonna");
    QTest::addColumn<QString>("valore");
    const QString alunni = QStringLiteral("cdsAlunni"), curriculum = QStringLiteral("cdsCurriculum");
    QTest::newRow("transferred: not active") << curriculum << "ABCDE3" << "FlagSitScolasticaAttiva" << "0";
    QTest::newRow("transferred: flag 1") << curriculum << "ABCDE3" << "FlagTrasferito" << "1";
    QTest::newRow("null credit") << curriculum << "ABCDE3" << "CreditoScolastico" << "0";
    QTest::newRow("not a real attendance: state 2") << curriculum << "ABCDE10" << "FlagSitScolasticaAttiva" << "2";
    QTest::newRow("not a real attendance: no transfer flag") << curriculum << "ABCDE10" << "FlagTrasferito" << "";
    QTest::newRow("100 situations: no SitProg") << curriculum << "ABCDE9" << "SitProg" << "";
    QTest::newRow("ended state kept in the record") << alunni << "ABCDE4" << "CodCittadinanza1" << "#224";
    QTest::newRow("no sex") << alunni << "ABCDE4" << "Sesso" << "";
}

void TestFlussiAvvio::campi()
{
    QFETCH(QString, tabella);
    QFETCH(QString, idAlunno);
    QFETCH(QString, colonna);
    QFETCH(QString, valore);
    Esecuzione e(avvio(), QStringLiteral("MEDIA"));
    e.Esegui();
    const Table &t = e.Anagrafe.Tabella(tabella);
    const int c = t.fieldIndex(QStringLiteral("IDAlunno"));
    int trovati = 0;
    for (int n = 1; n <= t.recordCount(); ++n) {
        const dataset::Record r = t.recordAt(n);
        if (r.asString(c) != idAlunno)
            continue;
        ++trovati;
        QCOMPARE(r.asString(colonna), valore);
    }
    QCOMPARE(trovati, 1);
}

void TestFlussiAvvio::sedeSenzaComune()
{
    // A primary school: the site has no school type of its own, so a secondary
    // school would also miss the SIDI address code of every situation.
    Esecuzione e(database(QStringLiteral("senzacomune")), QStringLiteral("ELEMENTARE"));
    e.Esegui();

    // The site's record holds what the example school line holds, and is
    // rejected for the missing municipality code.
    const Table &scuola = e.Anagrafe.cdsScuola;
    QCOMPARE(scuola.recordCount(), 1);
    const dataset::Record r = scuola.recordAt(1);
    QString valori;
    for (int c = 0; c < scuola.fieldCount() - 2; ++c)
        valori += r.asString(c) + QLatin1Char('|');
    QCOMPARE(valori, QStringLiteral("00185|||XXIC00000X||||||||||ABCDE1005|||||||||||||"));
    QCOMPARE(r.asInteger(QStringLiteral("E")), 1);
    QCOMPARE(r.asString(QStringLiteral("CampoScartato")), QStringLiteral("Codice castastale comune scuola"));

    // Every pupil and situation refers to the rejected school.
    const Table &alunni = e.Anagrafe.cdsAlunni;
    QCOMPARE(alunni.recordCount(), 2);
    for (int n = 1; n <= alunni.recordCount(); ++n) {
        QCOMPARE(alunni.recordAt(n).asInteger(QStringLiteral("E")), 2);
        QCOMPARE(alunni.recordAt(n).asString(QStringLiteral("CampoScartato")),
                 QStringLiteral(" IDScuola -  valore: ABCDE1005"));
    }
    const Table &sit = e.Anagrafe.cdsCurriculum;
    QCOMPARE(sit.recordCount(), 2);
    for (int n = 1; n <= sit.recordCount(); ++n) {
        const dataset::Record r = sit.recordAt(n);
        QCOMPARE(r.asInteger(QStringLiteral("E")), 2);
        QCOMPARE(r.asString(QStringLiteral("CampoScartato")),
                 QStringLiteral(" IDAlunno -  valore: ") + r.asString(QStringLiteral("IDAlunno"))
                     + QStringLiteral("; IDScuola -  valore: ABCDE1005"));
    }

    // Without an accepted pupil nothing is written.
    QTemporaryDir cartella;
    QString timbro;
    try {
        e.Anagrafe.SalvaFlussiAvvio(timbro, cartella.path() + QLatin1Char('/'), kCodMecc, kPrenotazione,
                                    QStringLiteral("1005"), QStringLiteral("2016"), QStringLiteral("00NF"),
                                    QStringLiteral("NORV"), QStringLiteral("20160930"), 0);
        QFAIL("written without valid pupils");
    } catch (const std::runtime_error &err) {
        QCOMPARE(QString::fromUtf8(err.what()),
                 QStringLiteral("Impossibile salvare i dati! Non risultano presenti alunni validi"));
    }
    QCOMPARE(QDir(cartella.path()).entryList(QDir::Files), QStringList());
}

void TestFlussiAvvio::statoEsportazione()
{
    Esecuzione e(avvio(), QStringLiteral("MEDIA"));
    e.Esegui();
    // The status text, then the record number before each row is built.
    QStringList attesi{QStringLiteral("001TB_USR_USER"), QStringLiteral("001TB_USR_USER 0")};
    for (const char *tipo : {"002TB_ALU_ALUNNI", "003TB_ALU_SIT"}) {
        attesi.append(QLatin1String(tipo));
        for (int n = 0; n < 11; ++n)
            attesi.append(QLatin1String(tipo) + QLatin1Char(' ') + QString::number(n));
    }
    QCOMPARE(e.Stati, attesi);
}

void TestFlussiAvvio::tipiAlunni_data()
{
    QTest::addColumn<QString>("tipi");
    QTest::addColumn<QStringList>("alunni");
    QTest::newRow("attending") << "1"
                               << QStringList{"ABCDE1", "ABCDE4", "ABCDE5", "ABCDE6", "ABCDE7", "ABCDE8", "ABCDE9",
                                              "ABCDE11"};
    QTest::newRow("withdrawn and transferred") << "2,3" << QStringList{"ABCDE2", "ABCDE3", "ABCDE10"};
    QTest::newRow("transferred") << "3" << QStringList{"ABCDE3"};
}

void TestFlussiAvvio::tipiAlunni()
{
    QFETCH(QString, tipi);
    QFETCH(QStringList, alunni);
    Esecuzione e(avvio(), QStringLiteral("MEDIA"), tipi);
    e.Esegui();
    for (const Table *t : {&e.Anagrafe.cdsAlunni, &e.Anagrafe.cdsCurriculum}) {
        QStringList ids;
        for (int n = 1; n <= t->recordCount(); ++n)
            ids.append(t->recordAt(n).asString(QStringLiteral("IDAlunno")));
        ids.sort();
        QStringList attesi = alunni;
        attesi.sort();
        QCOMPARE(ids, attesi);
    }
}

void TestFlussiAvvio::tipiAlunniNonValidi_data()
{
    QTest::addColumn<QString>("tipi");
    QTest::newRow("empty") << "";
    QTest::newRow("unknown kind") << "1,4";
    QTest::newRow("SQL") << "1) OR (1=1";
    QTest::newRow("blank") << "1, 2";
    QTest::newRow("trailing comma") << "1,";
}

void TestFlussiAvvio::tipiAlunniNonValidi()
{
    QFETCH(QString, tipi);
    Esecuzione e(avvio(), QStringLiteral("MEDIA"), tipi);
    try {
        e.Esegui();
        QFAIL("ran with an invalid pupil list");
    } catch (const std::runtime_error &err) {
        QCOMPARE(QString::fromUtf8(err.what()),
                 QStringLiteral("Elenco dei tipi di alunni non valido: \"%1\"").arg(tipi));
    }
    QCOMPARE(e.Anagrafe.cdsAlunni.recordCount(), 0);
}

void TestFlussiAvvio::erroriCheFermano_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("errore");
    QTest::addColumn<int>("alunni");
    QTest::newRow("pupil SIDI code not a number")
        << "UPDATE TANA_ANAGRAFICHE SET SANACODALUSIDI = 'AB12' WHERE IANAID = 3;"
        << QStringLiteral("Il valore 'AB12' non è un intero a 32 bit valido per il campo 'CodAlunnoMinisteriale'")
        << -1;
    QTest::newRow("site without code")
        << "UPDATE TSEDINF_SEDEINFO SET SSEDINFCODMECC = NULL WHERE ISEDID = 5;"
        << QStringLiteral("Nelle informazioni sulla scuola mancano dei dati obbligatori.\r\r\nControllare di aver "
                          "inserito: \r\n  - Comune \r\n  - Denominazione\r\n  - Indirizzo\r\n  - "
                          "Tipo\\Ordine\\Grado")
        << 0;
}

void TestFlussiAvvio::erroriCheFermano()
{
    QFETCH(QString, sql);
    QFETCH(QString, errore);
    QFETCH(int, alunni);
    Esecuzione e(database(QStringLiteral("avvio"), sql), QStringLiteral("MEDIA"));
    try {
        e.Esegui();
        QFAIL("the run went on");
    } catch (const std::runtime_error &err) {
        QCOMPARE(QString::fromUtf8(err.what()), errore);
    }
    if (alunni >= 0)
        QCOMPARE(e.Anagrafe.cdsAlunni.recordCount(), alunni);
    QCOMPARE(e.Anagrafe.cdsCurriculum.recordCount(), 0);
}

QTEST_GUILESS_MAIN(TestFlussiAvvio)
#include "test_flussi_avvio.moc"
