#include "SchoolDatabase.h"
#include "TDokContesto.h"
#include "TDokControlli.h"
#include "TDokDomande.h"
#include "TDokTipoScuola.h"
#include "TQxScriptedInteraction.h"
#include "TdmDokDataSetsAnagrafe.h"
#include "TdmDokDataSetsRilevazioni.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

const QString kSede = QStringLiteral("XXIS00000X");
const QString kAltraSede = QStringLiteral("XXIS00001X");
const QString kVoce = QStringLiteral("XXIS00000X - LICEO GALILEI");
const QString kErroreSezioni = QStringLiteral(
    "Ci sono classi con sezioni non univoche nella stessa sede: \r\nControllare eventuali anomalie in Alunni - Classi "
    "e materie - Classi");
const QString kErroreIndirizzi = QStringLiteral("Correggere i piani di studio elencati in precedenza per proseguire!");

// Years of course: 1 "1", 2 "I" (the same first year written in Roman), 3 "2".
// Sections: 1 "A", 2 "B".
enum { kPrimo = 1, kPrimoRomano = 2, kSecondo = 3 };
enum { kSezA = 1, kSezB = 2 };

// SIDI study address 10 "LI01 - LICEO CLASSICO"; local addresses 20 "Classico"
// and 21 "Classico europeo" both on it, 22 "Scientifico" on none, 23
// "Scientifico sportivo" on none; plan 30+n on address 20+n.
enum { kPianoClassico = 30, kPianoEuropeo = 31, kPianoScientifico = 32, kPianoSportivo = 33 };

QString errore(const std::function<void()> &f)
{
    try {
        f();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace

// The pre-export checks on a small institute built for each case: sites 1
// (XXIS00000X) and 2 (XXIS00001X), school years 1 = 2016/2017 and 2 = 2017/2018.
class TestChecks : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;
    TdmDokDataSetsAnagrafe m_anagrafe;
    TdmDokDataSetsRilevazioni m_rilevazioni;
    int m_id = 1000;

    void exec(const QString &sql, const QVariantList &valori = {})
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.prepare(sql), qPrintable(sql));
        for (int i = 0; i < valori.size(); ++i)
            q.bindValue(i, valori.at(i));
        QVERIFY2(q.exec(), qPrintable(sql + QLatin1Char(' ') + q.lastError().text()));
    }

    // A class of site dwgsed (1 or 2) in year anno (1 or 2), teaching one plan,
    // with the given number of pupils.
    void classe(int dwgsed, int anno, int acs, int sez, int piano, int alunni)
    {
        const int cls = ++m_id;
        const QDate inizio(anno == 1 ? 2016 : 2017, 9, 1);
        exec(QStringLiteral("INSERT INTO TCLS_CLASSI (ICLSID, SCLSSDESC, IDWGSEDID, IACSID, ISEZID, DSTART) "
                            "VALUES (?, ?, ?, ?, ?, ?)"),
             {cls, QStringLiteral("C%1").arg(cls), dwgsed, acs, sez, inizio});
        const int clspst = ++m_id;
        exec(QStringLiteral("INSERT INTO TCLSPST (ICLSPSTID, ICLSID, IPSTID) VALUES (?, ?, ?)"), {clspst, cls, piano});
        for (int a = 0; a < alunni; ++a) {
            const int ana = ++m_id;
            exec(QStringLiteral("INSERT INTO TANA_ANAGRAFICHE (IANAID, SANACOGNOME) VALUES (?, ?)"),
                 {ana, QStringLiteral("ALUNNO %1").arg(ana)});
            exec(QStringLiteral("INSERT INTO TSIT_SITUAZIONI (ISITID, IANAID, ICLSPSTID, DSTART, ISITORDINE) "
                                "VALUES (?, ?, ?, ?, 1)"),
                 {++m_id, ana, clspst, inizio});
        }
    }

    void faseA(const QString &codMecc, int anno, const QVariant &flag)
    {
        exec(QStringLiteral("INSERT INTO TCODIND_CODMECC (ICODINDID, CODSCUOLADEBOLE, ICODANSVALORE, "
                            "ISCODCONFRAVVIOAS) VALUES (?, ?, ?, ?)"),
             {++m_id, codMecc, anno, flag});
    }

    void prenotazione(int anno, const QString &tipo)
    {
        exec(QStringLiteral("INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC, SSCODPRENOTAZIONE, IANSID, "
                            "SSCODTIPOSCUOLA) VALUES (?, ?, 'KLMNO', ?, ?)"),
             {++m_id, kSede, anno, tipo});
    }

    QStringList tipiRegistrati()
    {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("SELECT SSCODTIPOSCUOLA FROM TSCOD_CODICETEVO ORDER BY ISCODID"));
        QStringList tipi;
        while (q.next())
            tipi << (q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString());
        return tipi;
    }

    // Two local addresses on one SIDI address, both taught to pupils at the site.
    void indirizziInConflitto()
    {
        classe(1, 1, kPrimo, kSezA, kPianoClassico, 2);
        classe(1, 1, kSecondo, kSezA, kPianoEuropeo, 1);
    }

    TDokContesto contesto(TQxInteraction &interazione, int tipoExport = 0)
    {
        TDokContesto ctx(m_db, interazione, m_anagrafe, m_rilevazioni);
        ctx.TipoExport = tipoExport;
        ctx.AnnoScolastico = QStringLiteral("2016/2017");
        ctx.IdAnno = 1;
        return ctx;
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("scuola.fdb"));
        schooldb::createSchoolDatabase(path);
        m_db = schooldb::openSchoolDatabase(QStringLiteral("checks"), path);
        exec(QStringLiteral("INSERT INTO TANS_ANNISCOLAST (IANSID, SANSANNODESC, IANSVALORE, DANSVELTAINIZIO) "
                            "VALUES (1, '2016/2017', 2016, '2016-09-01')"));
        exec(QStringLiteral("INSERT INTO TANS_ANNISCOLAST (IANSID, SANSANNODESC, IANSVALORE, DANSVELTAINIZIO) "
                            "VALUES (2, '2017/2018', 2017, '2017-09-01')"));
        for (int s = 1; s <= 2; ++s) {
            exec(QStringLiteral("INSERT INTO TSED_SEDI (ISEDID) VALUES (?)"), {s});
            exec(QStringLiteral("INSERT INTO TSEDINF_SEDEINFO (ISEDID, SSEDINFCODMECC, SSEDINFLDESC) VALUES (?, ?, ?)"),
                 {s, s == 1 ? kSede : kAltraSede, QStringLiteral("LICEO GALILEI")});
            exec(QStringLiteral("INSERT INTO TDWG_DATAOWNERGRP (IDWGID, IDOWID) VALUES (?, ?)"), {s, s});
            exec(QStringLiteral("INSERT INTO TDWGSED (IDWGSEDID, IDWGID, ISEDID) VALUES (?, ?, ?)"), {s, s, s});
        }
        exec(QStringLiteral("INSERT INTO TACS_ANNICORSO (IACSID, IACSANNOCORSO, SACSSDESC) VALUES (1, 1, '1')"));
        exec(QStringLiteral("INSERT INTO TACS_ANNICORSO (IACSID, IACSANNOCORSO, SACSSDESC) VALUES (2, 1, 'I')"));
        exec(QStringLiteral("INSERT INTO TACS_ANNICORSO (IACSID, IACSANNOCORSO, SACSSDESC) VALUES (3, 2, '2')"));
        exec(QStringLiteral("INSERT INTO TSEZ_SEZIONI (ISEZID, SSEZSDESC) VALUES (1, 'A')"));
        exec(QStringLiteral("INSERT INTO TSEZ_SEZIONI (ISEZID, SSEZSDESC) VALUES (2, 'B')"));
        exec(QStringLiteral("INSERT INTO TDOKIND_INDIRIZZI (IDOKINDID, SDOKINDCODMIN, SDOKINDDESC, SDOKINDCLASS) "
                            "VALUES (10, 'LI01', 'LICEO CLASSICO', 'LI')"));
        const char *const indirizzi[] = {"Classico", "Classico europeo", "Scientifico", "Scientifico sportivo"};
        const char *const piani[] = {"Piano classico", "Piano europeo", "Piano scientifico", "Piano sportivo"};
        for (int i = 0; i < 4; ++i) {
            exec(QStringLiteral("INSERT INTO TIND_INDIRIZZO (IINDID, SINDLDESC, IINDID_P) VALUES (?, ?, ?)"),
                 {20 + i, QString::fromLatin1(indirizzi[i]), i < 2 ? QVariant(10) : QVariant(QMetaType(QMetaType::Int))});
            exec(QStringLiteral("INSERT INTO TPST_PIANISTUDIO (IPSTID, SPSTLDESC, IINDID) VALUES (?, ?, ?)"),
                 {30 + i, QString::fromLatin1(piani[i]), 20 + i});
        }
    }

    void init()
    {
        for (const char *tabella : {"TSIT_SITUAZIONI", "TANA_ANAGRAFICHE", "TCLSPST", "TCLS_CLASSI",
                                    "TCODIND_CODMECC", "TSCOD_CODICETEVO"})
            exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(tabella)));
    }

    void cleanupTestCase() { m_db.close(); }

    // ------------------------------------------------------------ Fase A
    void controllaFaseA_data()
    {
        QTest::addColumn<QVariantList>("flags");
        QTest::addColumn<bool>("atteso");
        const QVariant nullo{QMetaType(QMetaType::Int)};
        QTest::newRow("no row") << QVariantList{} << false;
        QTest::newRow("every row set") << QVariantList{1, 1} << true;
        QTest::newRow("one row null") << QVariantList{1, nullo, 1} << false;
        QTest::newRow("one row zero") << QVariantList{0, 1} << false;
    }

    void controllaFaseA()
    {
        QFETCH(QVariantList, flags);
        QFETCH(bool, atteso);
        for (const QVariant &f : flags)
            faseA(kSede, 2016, f);
        // Rows of another year and another site do not count.
        faseA(kSede, 2017, 1);
        faseA(kAltraSede, 2016, 1);
        TQxScriptedInteraction interazione;
        TDokContesto ctx = contesto(interazione);
        QCOMPARE(TDokControlli::ControllaFaseA(ctx, kSede), atteso);
    }

    void controllaFaseAReadsTheStartYearOfTheLabel()
    {
        faseA(kSede, 2017, 1);
        TQxScriptedInteraction interazione;
        TDokContesto ctx = contesto(interazione);
        QVERIFY(!TDokControlli::ControllaFaseA(ctx, kSede));
        ctx.AnnoScolastico = QStringLiteral("2017/2018");
        QVERIFY(TDokControlli::ControllaFaseA(ctx, kSede));
    }

    // ------------------------------------------------------------ sections
    void controllaSezioni_data()
    {
        // Each class: dwgsed (site), year id, year of course, section, pupils.
        QTest::addColumn<QList<QList<int>>>("classi");
        QTest::addColumn<bool>("fallisce");
        QTest::newRow("two 1A with pupils") << QList<QList<int>>{{1, 1, kPrimo, kSezA, 2}, {1, 1, kPrimo, kSezA, 1}}
                                             << true;
        QTest::newRow("second 1A without pupils")
            << QList<QList<int>>{{1, 1, kPrimo, kSezA, 2}, {1, 1, kPrimo, kSezA, 0}} << false;
        QTest::newRow("1A and IA: same year of course by number")
            << QList<QList<int>>{{1, 1, kPrimo, kSezA, 1}, {1, 1, kPrimoRomano, kSezA, 1}} << true;
        QTest::newRow("1A and 1B") << QList<QList<int>>{{1, 1, kPrimo, kSezA, 1}, {1, 1, kPrimo, kSezB, 1}} << false;
        QTest::newRow("1A and 2A") << QList<QList<int>>{{1, 1, kPrimo, kSezA, 1}, {1, 1, kSecondo, kSezA, 1}}
                                   << false;
        QTest::newRow("1A at the other site") << QList<QList<int>>{{1, 1, kPrimo, kSezA, 1}, {2, 1, kPrimo, kSezA, 1}}
                                              << false;
        QTest::newRow("1A of the next year") << QList<QList<int>>{{1, 1, kPrimo, kSezA, 1}, {1, 2, kPrimo, kSezA, 1}}
                                             << false;
    }

    void controllaSezioni()
    {
        QFETCH(QList<QList<int>>, classi);
        QFETCH(bool, fallisce);
        for (const QList<int> &c : classi)
            classe(c[0], c[1], c[2], c[3], kPianoScientifico, c[4]);
        TQxScriptedInteraction interazione;
        TDokContesto ctx = contesto(interazione);
        QStringList stati;
        ctx.MostraStato = [&](const QString &s, int) { stati << s; };
        QCOMPARE(errore([&] { TDokControlli::ControllaSezioni(ctx, kSede); }), fallisce ? kErroreSezioni : QString());
        QCOMPARE(stati, QStringList{QStringLiteral("CONTROLLO SEZIONI")});
    }

    void controllaSezioniWithoutAYearId()
    {
        TQxScriptedInteraction interazione;
        TDokContesto ctx = contesto(interazione);
        ctx.AnnoScolastico = QStringLiteral("2030/2031");
        ctx.IdAnno = -1;
        QCOMPARE(errore([&] { TDokControlli::ControllaSezioni(ctx, kSede); }),
                 QStringLiteral("L'anno scolastico \"2030/2031\" non è nell'elenco degli anni scolastici."));
    }

    // ------------------------------------------------------------ study addresses
    void controllaIndirizziListsTheConflict()
    {
        indirizziInConflitto();
        // A second class of the same plan lists the plan once.
        classe(1, 1, kSecondo, kSezB, kPianoClassico, 1);
        TQxScriptedInteraction interazione;
        interazione.Answer(QString::fromLatin1(TDokDomande::kLogIndirizzi), QVariant());
        TDokContesto ctx = contesto(interazione);
        QStringList stati;
        ctx.MostraStato = [&](const QString &s, int) { stati << s; };
        QCOMPARE(errore([&] { TDokControlli::ControllaIndirizzi(ctx, kSede); }), kErroreIndirizzi);
        QCOMPARE(stati, QStringList{QStringLiteral("CONTROLLO INDIRIZZI DI STUDIO")});
        QCOMPARE(interazione.AskedQuestions().size(), 1);
        const QStringList righe =
            interazione.AskedQuestions().first().Details.value(QStringLiteral("Righe")).toStringList();
        const QStringList attese{
            QStringLiteral("ERRORE BLOCCANTE!"),
            QString(),
            QStringLiteral("Sono presenti più indirizzi con lo stesso codice Sidi associati ai piani di studio:"),
            QString(),
            QStringLiteral("- indirizzo SIDI : LI01 - LICEO CLASSICO"),
            QStringLiteral("  elenco indirizzi della scuola :"),
            QStringLiteral("      Classico"),
            QStringLiteral("      Classico europeo"),
            QStringLiteral("  elenco piani di studio :"),
            QStringLiteral("      Piano classico"),
            QStringLiteral("      Piano europeo"),
        };
        QCOMPARE(righe, attese);
    }

    void controllaIndirizziPasses_data()
    {
        // Each class: dwgsed (site), year id, plan, pupils.
        QTest::addColumn<QList<QList<int>>>("classi");
        QTest::newRow("addresses without SIDI link")
            << QList<QList<int>>{{1, 1, kPianoScientifico, 1}, {1, 1, kPianoSportivo, 1}};
        QTest::newRow("one linked address") << QList<QList<int>>{{1, 1, kPianoClassico, 1}, {1, 1, kPianoScientifico, 1}};
        QTest::newRow("second address without pupils")
            << QList<QList<int>>{{1, 1, kPianoClassico, 1}, {1, 1, kPianoEuropeo, 0}};
        QTest::newRow("second address at the other site")
            << QList<QList<int>>{{1, 1, kPianoClassico, 1}, {2, 1, kPianoEuropeo, 1}};
        QTest::newRow("second address in the next year")
            << QList<QList<int>>{{1, 1, kPianoClassico, 1}, {1, 2, kPianoEuropeo, 1}};
    }

    void controllaIndirizziPasses()
    {
        QFETCH(QList<QList<int>>, classi);
        for (const QList<int> &c : classi)
            classe(c[0], c[1], kPrimo, kSezA, c[2], c[3]);
        TQxScriptedInteraction interazione;
        TDokContesto ctx = contesto(interazione);
        TDokControlli::ControllaIndirizzi(ctx, kSede);
        QVERIFY(interazione.AskedQuestions().isEmpty());
    }

    // ------------------------------------------------------------ school type
    void confermaTipoScuola_data()
    {
        QTest::addColumn<int>("tipoExport");
        QTest::addColumn<bool>("usaIdSidiInd");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("controllo");
        QTest::addColumn<QString>("scelto");
        QTest::newRow("secondary, cancelled: still checked") << 0 << false << "SUPERIORE" << false << true << "";
        QTest::newRow("lower secondary confirmed: checked") << 0 << false << "MEDIA" << true << true << "";
        QTest::newRow("typed text: checked") << 0 << false << "liceo" << true << true << "";
        QTest::newRow("primary: not checked") << 0 << false << "ELEMENTARE" << true << false << "ELEMENTARE";
        QTest::newRow("pre-primary in lower case: not checked") << 0 << false << "materna" << true << false
                                                                << "MATERNA";
        QTest::newRow("SIDI address ids: not checked") << 0 << true << "SUPERIORE" << true << false << "SUPERIORE";
        QTest::newRow("infanzia: not checked") << 1 << false << "SUPERIORE" << true << false << "SUPERIORE";
        QTest::newRow("scrutini, cancelled: not checked") << 2 << false << " media " << false << false << "MEDIA";
    }

    void confermaTipoScuola()
    {
        QFETCH(int, tipoExport);
        QFETCH(bool, usaIdSidiInd);
        QFETCH(QString, tipo);
        QFETCH(bool, ok);
        QFETCH(bool, controllo);
        QFETCH(QString, scelto);
        // The study addresses conflict, so a check that runs fails.
        indirizziInConflitto();
        prenotazione(1, QStringLiteral("SS"));
        TQxScriptedInteraction interazione;
        interazione.Answer(QString::fromLatin1(TDokDomande::kTipoScuola),
                           QVariantMap{{QStringLiteral("Ok"), ok}, {QStringLiteral("Tipo"), tipo}});
        if (controllo)
            interazione.Answer(QString::fromLatin1(TDokDomande::kLogIndirizzi), QVariant());
        TDokContesto ctx = contesto(interazione, tipoExport);
        ctx.UsaIdSidiInd = usaIdSidiInd;
        ctx.TipoScuolaScelto = QStringLiteral("MEDIA");
        bool risultato = false;
        QCOMPARE(errore([&] { risultato = TDokControlli::ConfermaTipoScuola(ctx, kVoce); }),
                 controllo ? kErroreIndirizzi : QString());
        if (!controllo)
            QCOMPARE(risultato, ok);
        QCOMPARE(ctx.TipoScuolaScelto, scelto);
        QCOMPARE(interazione.PendingAnswers(), 0);

        const TQxScriptedInteraction::Asked &domanda = interazione.AskedQuestions().first();
        QCOMPARE(domanda.Question, QString::fromLatin1(TDokDomande::kTipoScuola));
        QCOMPARE(domanda.Details.value(QStringLiteral("CodMecc")).toString(), kSede);
        QCOMPARE(domanda.Details.value(QStringLiteral("Messaggio")).toString(),
                 QStringLiteral("L'istituto selezionato: \r\nXXIS00000X - LICEO GALILEI\r\n"));
        QCOMPARE(domanda.Details.value(QStringLiteral("Tipo")).toString(), QStringLiteral("SUPERIORE"));
    }

    void confermaTipoScuolaWithoutStoredType()
    {
        TQxScriptedInteraction interazione;
        interazione.Answer(QString::fromLatin1(TDokDomande::kTipoScuola),
                           QVariantMap{{QStringLiteral("Ok"), false}, {QStringLiteral("Tipo"), QString()}});
        TDokContesto ctx = contesto(interazione, 1);
        QVERIFY(!TDokControlli::ConfermaTipoScuola(ctx, kVoce));
        QCOMPARE(interazione.AskedQuestions().first().Details.value(QStringLiteral("Tipo")).toString(), QString());
        QCOMPARE(ctx.TipoScuolaScelto, QString());
    }

    void confermaTipoScuolaStoresWhatTheDialogConfirmed()
    {
        // Booking rows of two years; the dialog stores the typed text as it closes.
        prenotazione(1, QStringLiteral("SS"));
        prenotazione(2, QStringLiteral("SS"));
        TQxScriptedInteraction interazione;
        interazione.AnswerWith(QString::fromLatin1(TDokDomande::kTipoScuola), [this](const QVariantMap &d) {
            TDokTipoScuola::Salva(m_db, d.value(QStringLiteral("CodMecc")).toString(), QStringLiteral("materna"));
            return QVariantMap{{QStringLiteral("Ok"), true}, {QStringLiteral("Tipo"), QStringLiteral("materna")}};
        });
        TDokContesto ctx = contesto(interazione, 0);
        QVERIFY(TDokControlli::ConfermaTipoScuola(ctx, kVoce));
        QCOMPARE(ctx.TipoScuolaScelto, QStringLiteral("MATERNA"));
        // Case matters to the stored code: "materna" is none of the four types.
        QCOMPARE(tipiRegistrati(), (QStringList{QString(), QString()}));
    }
};

QTEST_GUILESS_MAIN(TestChecks)
#include "test_checks.moc"
