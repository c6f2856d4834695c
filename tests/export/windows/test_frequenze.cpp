#include "SchoolDatabase.h"
#include "TDokDomande.h"
#include "TDokFrequenze.h"
#include "TdmDokDataSetsAnagrafe.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

namespace {

void inserisci(QSqlDatabase &db, const QString &tabella, const QStringList &colonne, const QVariantList &valori)
{
    QStringList segnaposti;
    for (int i = 0; i < colonne.size(); ++i)
        segnaposti << QStringLiteral(":P%1").arg(i);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(tabella, colonne.join(QLatin1Char(',')), segnaposti.join(QLatin1Char(','))));
    for (int i = 0; i < colonne.size(); ++i)
        q.bindValue(segnaposti.at(i), valori.at(i));
    if (!q.exec())
        throw std::runtime_error((tabella + QLatin1String(": ") + q.lastError().text()).toStdString());
}

const QDate k2016(2016, 9, 1);
const QDate k2015(2015, 9, 1);

// A comprehensive site XXIC00000X and an upper-secondary site XXIS00000X whose
// classes follow study addresses of the kinds "LI" (day school), "SE" (evening)
// and "S3" (adult course), and one without a SIDI address.
void riempi(QSqlDatabase &db)
{
    inserisci(db, "TANS_ANNISCOLAST", {"IANSID", "SANSANNODESC", "IANSVALORE", "DANSVELTAINIZIO"},
              {1, "2015/2016", 2015, k2015});
    inserisci(db, "TANS_ANNISCOLAST", {"IANSID", "SANSANNODESC", "IANSVALORE", "DANSVELTAINIZIO"},
              {2, "2016/2017", 2016, k2016});
    for (const auto &[sede, codice] : {std::pair{5, "XXIC00000X"}, std::pair{7, "XXIS00000X"}}) {
        inserisci(db, "TSED_SEDI", {"ISEDID"}, {sede});
        inserisci(db, "TSEDINF_SEDEINFO", {"ISEDID", "SSEDINFCODMECC"}, {sede, codice});
        inserisci(db, "TDWG_DATAOWNERGRP", {"IDWGID", "IDOWID"}, {sede, sede});
        inserisci(db, "TDWGSED", {"IDWGSEDID", "IDWGID", "ISEDID"}, {sede, sede, sede});
    }
    for (int a = 1; a <= 6; ++a)
        inserisci(db, "TACS_ANNICORSO", {"IACSID", "IACSANNOCORSO", "SACSSDESC"}, {a, a, QString::number(a)});
    const QStringList classi{"LI", "SE", "S3"};
    for (int i = 1; i <= 3; ++i) {
        inserisci(db, "TDOKIND_INDIRIZZI", {"IDOKINDID", "SDOKINDCLASS"}, {i, classi.at(i - 1)});
        inserisci(db, "TIND_INDIRIZZO", {"IINDID", "IINDID_P"}, {i, i});
        inserisci(db, "TPST_PIANISTUDIO", {"IPSTID", "IINDID"}, {i, i});
    }
    inserisci(db, "TIND_INDIRIZZO", {"IINDID", "IINDID_P"}, {4, QVariant(QMetaType(QMetaType::Int))});
    inserisci(db, "TPST_PIANISTUDIO", {"IPSTID", "IINDID"}, {4, 4});

    // Class id, site group, year of course, start, study plan (class id = TCLSPST id).
    struct Classe { int id, sede, anno; QDate inizio; int piano; };
    const Classe elenco[] = {
        {1, 5, 1, k2016, 4}, {2, 5, 2, k2016, 4}, {3, 7, 3, k2016, 1}, {4, 7, 3, k2016, 2},
        {5, 7, 4, k2016, 3}, {6, 5, 1, k2015, 4}, {7, 7, 5, k2016, 4}, {8, 5, 6, k2016, 4},
    };
    for (const Classe &c : elenco) {
        inserisci(db, "TCLS_CLASSI", {"ICLSID", "IDWGSEDID", "IACSID", "DSTART"}, {c.id, c.sede, c.anno, c.inizio});
        inserisci(db, "TCLSPST", {"ICLSPSTID", "ICLSID", "IPSTID"}, {c.id, c.id, c.piano});
    }

    // Situations: class, state, order in the year, start.
    struct Situazione { int classe, stato, ordine; QDate inizio; };
    const Situazione situazioni[] = {
        {1, 1, 1, k2016}, {1, 1, 1, k2016}, {1, 1, 1, k2016}, {1, 2, 1, k2016}, {1, 3, 1, k2016},
        {1, 1, 2, k2016}, // a second situation of a pupil
        {1, 9, 1, k2016}, // not attending: in no column
        {6, 1, 1, k2015}, // the year before
        {2, 1, 1, k2016}, {2, 1, 1, k2016},
        {8, 3, 1, k2016},
        {3, 1, 1, k2016}, {3, 1, 1, k2016}, {3, 2, 1, k2016},
        {4, 1, 1, k2016}, {4, 1, 1, k2016}, {4, 1, 1, k2016}, {4, 1, 1, k2016}, // evening course
        {5, 1, 1, k2016}, // adult course
        {7, 1, 1, k2016}, // no SIDI address
    };
    int id = 0;
    for (const Situazione &s : situazioni) {
        ++id;
        inserisci(db, "TANA_ANAGRAFICHE", {"IANAID"}, {id});
        inserisci(db, "TSIT_SITUAZIONI", {"ISITID", "IANAID", "ICLSPSTID", "DSTART", "ISITORDINE", "IPOSATTID"},
                  {id, id, s.classe, s.inizio, s.ordine, s.stato});
    }
}

using Conteggi = QList<QList<int>>; // per year 1..6: Frequentanti, Ritirati, Trasferiti

Conteggi conteggi(const TDokFrequenze &f)
{
    Conteggi c;
    for (int n = 1; n <= 6; ++n)
        c << QList<int>{f.DiAnno(n).Frequentanti, f.DiAnno(n).Ritirati, f.DiAnno(n).Trasferiti};
    return c;
}

void aggiungiCurriculum(dataset::Table &t, const QVariant &annoCorso, const QVariant &e)
{
    t.appendRecord();
    t.setValue("AnnoCorso", annoCorso);
    t.setValue("E", e);
    t.post();
}

} // namespace

class TestFrequenze : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath("scuola.fdb");
        schooldb::createSchoolDatabase(path, schooldb::kDefaultUser, QString(), riempi);
        m_db = schooldb::openSchoolDatabase("frequenze", path);
    }

    void cleanupTestCase() { m_db.close(); }

    void conta_data()
    {
        QTest::addColumn<QString>("anno");
        QTest::addColumn<QString>("codice");
        QTest::addColumn<Conteggi>("attesi");
        QTest::newRow("comprehensive site, every class")
            << "2016/2017" << "XXIC00000X"
            << Conteggi{{3, 1, 1}, {2, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}};
        QTest::newRow("upper secondary, day courses only")
            << "2016/2017" << "XXIS00000X"
            << Conteggi{{0, 0, 0}, {0, 0, 0}, {2, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
        QTest::newRow("the year before") << "2015/2016" << "XXIC00000X"
                                         << Conteggi{{1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
        QTest::newRow("unknown site") << "2016/2017" << "XXEE99999X"
                                      << Conteggi{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    }

    void conta()
    {
        QFETCH(QString, anno);
        QFETCH(QString, codice);
        QFETCH(Conteggi, attesi);
        TdmDokDataSetsAnagrafe store;
        QCOMPARE(conteggi(TDokFrequenze::Conta(m_db, anno, codice, store.cdsCurriculum)), attesi);
    }

    void esportatiAndCoherence()
    {
        TdmDokDataSetsAnagrafe store;
        dataset::Table &c = store.cdsCurriculum;
        for (int i = 0; i < 5; ++i)
            aggiungiCurriculum(c, 1, 0);
        aggiungiCurriculum(c, 1, 1);                                // rejected
        aggiungiCurriculum(c, 1, QVariant());                       // never checked
        aggiungiCurriculum(c, 2, 0);
        aggiungiCurriculum(c, 2, 2);                                // rejected
        aggiungiCurriculum(c, 7, 0);                                // no such year
        aggiungiCurriculum(c, 6, 0);
        // A filter left by someone else does not hide records from the count.
        c.setFilter([](const dataset::Record &r) { return r.asInteger("AnnoCorso") == 2; });

        const TDokFrequenze f = TDokFrequenze::Conta(m_db, "2016/2017", "XXIC00000X", c);
        QCOMPARE(f.DiAnno(1).Esportati, 5);
        QCOMPARE(f.DiAnno(2).Esportati, 1);
        QCOMPARE(f.DiAnno(3).Esportati, 0);
        QCOMPARE(f.DiAnno(6).Esportati, 1);
        QVERIFY(!c.isFiltered());
        QVERIFY(f.Coerente(1));  // 3 + 1 + 1 = 5
        QVERIFY(!f.Coerente(2)); // 2 attending, 1 exported
        QVERIFY(f.Coerente(3));  // nothing on either side
        QVERIFY(f.Coerente(6));  // 1 transferred, 1 exported
    }

    void coherenceNeedsExactEquality_data()
    {
        QTest::addColumn<int>("esportati");
        QTest::addColumn<bool>("coerente");
        QTest::newRow("fewer") << 5 << false;
        QTest::newRow("equal") << 6 << true;
        QTest::newRow("more") << 7 << false;
    }

    void coherenceNeedsExactEquality()
    {
        QFETCH(int, esportati);
        QFETCH(bool, coerente);
        TDokFrequenze f;
        f.DiAnno(4) = {3, 2, 1, esportati};
        QCOMPARE(f.Coerente(4), coerente);
    }

    void yearOutOfRange()
    {
        TDokFrequenze f;
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, f.DiAnno(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, f.DiAnno(7));
    }

    void databaseErrorThrows()
    {
        TdmDokDataSetsAnagrafe store;
        QSqlDatabase chiuso = QSqlDatabase::addDatabase("QIBASE", "chiuso");
        try {
            TDokFrequenze::Conta(chiuso, "2016/2017", "XXIC00000X", store.cdsCurriculum);
            QFAIL("no error");
        } catch (const std::runtime_error &e) {
            QVERIFY(*e.what() != '\0'); // the operator sees a reason
        }
    }

    void questionDetailsRoundTrip()
    {
        TDokFrequenze f;
        for (int n = 1; n <= 6; ++n)
            f.DiAnno(n) = {n * 10, n, 2 * n, n * 10 + 3 * n - (n == 2 ? 1 : 0)};
        const QVariantMap d = f.Dettagli("2016/2017", "XXIC00000X");
        QCOMPARE(d.value("AnnoScolastico").toString(), QString("2016/2017"));
        QCOMPARE(d.value("CodMecc").toString(), QString("XXIC00000X"));
        const QVariantList righe = d.value("Frequenze").toList();
        QCOMPARE(righe.size(), 6);
        QCOMPARE(righe.at(1).toMap(), QVariantMap({{"Frequentanti", 20}, {"Ritirati", 2}, {"Trasferiti", 4},
                                                   {"Esportati", 25}}));
        QVERIFY(TDokFrequenze::DaDettagli(d) == f);
        QVERIFY(!TDokFrequenze::DaDettagli(d).Coerente(2));
    }

    void malformedDetailsThrow()
    {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, TDokFrequenze::DaDettagli({}));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 TDokFrequenze::DaDettagli({{"Frequenze", QVariantList{QVariantMap{}}}}));
    }
};

QTEST_GUILESS_MAIN(TestFrequenze)
#include "test_frequenze.moc"
