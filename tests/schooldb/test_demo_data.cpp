#include "DemoData.h"
#include "SchoolDatabase.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A digest of the rows that carry the generated content, in key order.
QByteArray contentDigest(const QString &path)
{
    const QString name = QStringLiteral("digest-") + path;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    {
        QSqlDatabase db = schooldb::openSchoolDatabase(name, path);
        const QStringList dumps{
            "SELECT * FROM TANA_ANAGRAFICHE ORDER BY IANAID", "SELECT * FROM TSIT_SITUAZIONI ORDER BY ISITID",
            "SELECT * FROM TCLS_CLASSI ORDER BY ICLSID",      "SELECT * FROM TABT_ABITAZ ORDER BY IABTID",
            "SELECT * FROM TVOT_VOTI ORDER BY IVOTID",        "SELECT * FROM TASS_ASSENZE ORDER BY IASSID",
            "SELECT * FROM TCNT_CONTATORI ORDER BY SCNTTABELLA"};
        for (const QString &sql : dumps) {
            QSqlQuery q(db);
            if (!q.exec(sql))
                qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i)
                    hash.addData(q.value(i).toString().toUtf8() + '|');
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return hash.result();
}

} // namespace

class TestDemoData : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QSqlDatabase db;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("demo.fdb"));
        schooldb::createDemoDatabase(path, schooldb::DemoOptions{150, 11});
        db = schooldb::openSchoolDatabase(QStringLiteral("demo"), path);
    }
    void cleanupTestCase()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("demo"));
    }

    // Each query returns one value, compared as text.
    void casesArePresent_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        const QString mainSit = QStringLiteral(
            "FROM TSIT_SITUAZIONI s WHERE s.DSTART = '2016-09-01' AND s.ISITORDINE = 1 AND s.IANAID = ");
        QTest::newRow("pupils") << "SELECT COUNT(*) FROM TANA_ANAGRAFICHE" << "150";
        QTest::newRow("school years")
            << "SELECT LIST(SANSANNODESC, ' ') FROM (SELECT SANSANNODESC FROM VANS_ANNISCOLAST ORDER BY IANSVALORE)"
            << "2015/2016 2016/2017 2021/2022";
        QTest::newRow("comprehensive site") << "SELECT ISEDID || ' ' || cap.SCAPVALUE FROM TSEDINF_SEDEINFO s "
                                               "JOIN TCOMCAP cc ON cc.ICOMCAPID = s.ICOMCAPID JOIN TCAP cap ON "
                                               "cap.ICAPID = cc.ICAPID WHERE s.SSEDINFCODMECC = 'XXIC00000X'"
                                            << "5 00185";
        QTest::newRow("booking code and school type")
            << "SELECT s.SSCODPRENOTAZIONE || s.SSCODTIPOSCUOLA FROM TSCOD_CODICETEVO s JOIN VANS_ANNISCOLAST a "
               "ON a.IANSID = s.IANSID WHERE s.SSCODMECC = 'XXIC00000X' AND a.SANSANNODESC = '2016/2017'"
            << "ABCDEMM";
        QTest::newRow("Fase A done in 2016") << "SELECT MIN(COALESCE(ISCODCONFRAVVIOAS, 0)) FROM TCODIND_CODMECC "
                                                "WHERE CODSCUOLADEBOLE = 'XXIC00000X' AND ICODANSVALORE = 2016"
                                             << "1";
        QTest::newRow("Fase A missing in 2021") << "SELECT COUNT(*) FROM TCODIND_CODMECC WHERE CODSCUOLADEBOLE = "
                                                   "'XXIC00000X' AND ICODANSVALORE = 2021"
                                                << "0";
        QTest::newRow("pre-primary site") << "SELECT LIST(ISEDID) FROM TSEDINF_SEDEINFO WHERE "
                                             "SUBSTRING(SSEDINFCODMECC FROM 3 FOR 2) = 'AA'"
                                          << "6";
        QTest::newRow("one code, two sites") << "SELECT COUNT(*) FROM VSED_SEDI WHERE SSEDMECCOD = 'XXIS00000X'" << "2";
        QTest::newRow("SIDI address classes")
            << "SELECT LIST(c, ',') FROM (SELECT DISTINCT d.SDOKINDCLASS c FROM TCLS_CLASSI k JOIN TPST_PIANISTUDIO p "
               "ON p.IINDID = k.IINDID JOIN TIND_INDIRIZZO i ON i.IINDID = p.IINDID JOIN TDOKIND_INDIRIZZI d ON "
               "d.IDOKINDID = i.IINDID_P JOIN TDWGSED w ON w.IDWGSEDID = k.IDWGSEDID WHERE w.ISEDID IN (7, 8) ORDER BY 1)"
            << "IT,LI,Q3,Q4,SE";
        QTest::newRow("evening class") << "SELECT MAX(k.LCLSSERALE) FROM TCLS_CLASSI k JOIN TCLSPST cp ON "
                                          "cp.ICLSID = k.ICLSID JOIN TSIT_SITUAZIONI s ON s.ICLSPSTID = cp.ICLSPSTID "
                                          "WHERE s.IANAID = 29"
                                       << "1";
        QTest::newRow("1 born abroad") << "SELECT p.ISTAID || ' ' || c.SCOMDESC FROM TANA_ANAGRAFICHE a JOIN TSRPC p "
                                          "ON p.ISRPCID = a.ISRPCID JOIN TCOM_COMUNI c ON c.ICOMID = p.ICOMID "
                                          "WHERE a.IANAID = 1"
                                       << "2 BUCAREST";
        const QString residence = QStringLiteral(
            "FROM TANAABT aa JOIN TABTLOC l ON l.IANAABTID = aa.IANAABTID AND l.ILOCID = 2 JOIN TABT_ABITAZ b ON "
            "b.IABTID = aa.IABTID JOIN TCOMCAP cc ON cc.ICOMCAPID = b.ICOMCAPID JOIN TSRPC p ON p.ISRPCID = "
            "cc.ISRPCID WHERE aa.IANAID = ");
        QTest::newRow("2 living abroad") << "SELECT p.ISTAID || COALESCE(cc.ICAPID, '-') " + residence + "2" << "9-";
        QTest::newRow("3 without residence") << "SELECT COUNT(*) " + residence + "3" << "0";
        QTest::newRow("4 without postal code") << "SELECT p.ISTAID || COALESCE(cc.ICAPID, '-') " + residence + "4" << "1-";
        QTest::newRow("5 ended first citizenship")
            << "SELECT FIRST 1 CASE WHEN t.DEND IS NULL THEN t.SSTACODSISSI ELSE '#' || t.SSTACODSISSI END FROM "
               "TANACITT c JOIN TSTA_STATI t ON t.ISTAID = c.ISTAID WHERE c.IANAID = 5 ORDER BY c.ISTAID"
            << "#224";
        QTest::newRow("6 second citizenship ended")
            << "SELECT LIST(c.ISTAID) FROM TANACITT c WHERE c.IANAID = 6" << "1,8";
        QTest::newRow("7 sex U") << "SELECT x.SSEXSDESC FROM TANA_ANAGRAFICHE a JOIN TSEX_SESSO x ON x.ISEXID = "
                                    "a.ISEXID WHERE a.IANAID = 7"
                                 << "U";
        QTest::newRow("8 null state, made-up tax code")
            << "SELECT LANACODFISFITT || COALESCE(SANASTATOSOGEI, '-') FROM TANA_ANAGRAFICHE WHERE IANAID = 8" << "1-";
        QTest::newRow("9 null state, real tax code")
            << "SELECT LANACODFISFITT || COALESCE(SANASTATOSOGEI, '-') FROM TANA_ANAGRAFICHE WHERE IANAID = 9" << "0-";
        QTest::newRow("10 address with bar") << "SELECT b.SABTINDIRIZZO FROM TANAABT aa JOIN TABT_ABITAZ b ON "
                                                "b.IABTID = aa.IABTID WHERE aa.IANAID = 10"
                                             << "VIA ROMA | 5";
        QTest::newRow("11 withdrawn") << "SELECT s.IPOSATTID || ' ' || s.DSITTRARIT " + mainSit + "11" << "2 2017-01-20";
        QTest::newRow("12 transferred") << "SELECT s.IPOSATTID || ' ' || s.DSITTRARIT " + mainSit + "12" << "3 2016-11-15";
        QTest::newRow("13 twelve situations") << "SELECT COUNT(*) FROM TSIT_SITUAZIONI WHERE IANAID = 13" << "12";
        QTest::newRow("14 no birth place") << "SELECT COALESCE(ISRPCID, 0) FROM TANA_ANAGRAFICHE WHERE IANAID = 14" << "0";
        QTest::newRow("20 suspended judgement") << "SELECT s.IPOSFINID_SOSP || ' ' || s.IPOSFINID " + mainSit + "20" << "11 1";
        QTest::newRow("23 no SIDI code") << "SELECT COALESCE(SANACODALUSIDI, '-') FROM TANA_ANAGRAFICHE WHERE IANAID = 23"
                                         << "-";
        QTest::newRow("24 year does not count") << "SELECT s.IFREQID " + mainSit + "24" << "3";
        QTest::newRow("votes, absences, credits")
            << "SELECT SIGN((SELECT COUNT(*) FROM TVOT_VOTI)) || SIGN((SELECT COUNT(*) FROM TASS_ASSENZE)) || "
               "SIGN((SELECT COUNT(*) FROM TCRE_CREDITI)) FROM RDB$DATABASE"
            << "111";
        QTest::newRow("religion grades") << "SELECT SIGN(COUNT(*)) FROM TVOT_VOTI v JOIN TCLSMATCMP m ON "
                                            "m.ICLSMATCMPID = v.ICLSMATCMPID JOIN TCMPSCA c ON c.ICMPSCAID = "
                                            "m.ICMPSCAID JOIN TCMP_COMPONENTI k ON k.ICMPID = c.ICMPID WHERE "
                                            "UPPER(k.SCMPLDESC) LIKE '%RELIGIONE%'"
                                         << "1";
        QTest::newRow("pre-primary school times")
            << "SELECT SIGN(COUNT(*)) FROM TCLS_CLASSI k JOIN TTMS_TEMPOSCUOLA t ON t.ITMSID = k.ITMSID WHERE "
               "k.IDWGSEDID = 3 AND k.DSTART = '2016-09-01' AND t.STMSSIGLASCUOLA = 'AA'"
            << "1";
        // Drawn pupils of the comprehensive site pass the pupil checks: a birth
        // place, a residence (with postal code when in Italy), a first
        // citizenship of a state that still exists.
        QTest::newRow("drawn pupils are valid")
            << "SELECT COUNT(*) FROM TANA_ANAGRAFICHE a WHERE a.IANAID >= 101 AND (a.ISRPCID IS NULL OR NOT EXISTS "
               "(SELECT 1 FROM TANAABT aa JOIN TABTLOC l ON l.IANAABTID = aa.IANAABTID AND l.ILOCID = 2 JOIN "
               "TABT_ABITAZ b ON b.IABTID = aa.IABTID JOIN TCOMCAP cc ON cc.ICOMCAPID = b.ICOMCAPID JOIN TSRPC p ON "
               "p.ISRPCID = cc.ISRPCID WHERE aa.IANAID = a.IANAID AND (cc.ICAPID IS NOT NULL OR p.ISTAID > 1)) OR "
               "(SELECT FIRST 1 t.DEND FROM TANACITT c JOIN TSTA_STATI t ON t.ISTAID = c.ISTAID WHERE c.IANAID = "
               "a.IANAID ORDER BY c.ISTAID) IS NOT NULL)"
            << "0";
    }
    void casesArePresent()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QSqlQuery q(db);
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString().trimmed(), expected);
    }

    void keysGoOnAfterTheDemo()
    {
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("SELECT L_ICNTID FROM PYSETGETID('TANA_ANAGRAFICHE', 0)")));
        QVERIFY(q.next());
        const int key = q.value(0).toInt();
        QVERIFY(q.exec(QStringLiteral("SELECT MAX(IANAID) FROM TANA_ANAGRAFICHE")));
        QVERIFY(q.next());
        QCOMPARE(key, q.value(0).toInt() + 1);
    }

    void sameSeedSameContent()
    {
        const QString a = dir.filePath(QStringLiteral("a.fdb"));
        const QString b = dir.filePath(QStringLiteral("b.fdb"));
        const QString c = dir.filePath(QStringLiteral("c.fdb"));
        schooldb::createDemoDatabase(a, schooldb::DemoOptions{60, 5});
        schooldb::createDemoDatabase(b, schooldb::DemoOptions{60, 5});
        schooldb::createDemoDatabase(c, schooldb::DemoOptions{60, 6});
        const QByteArray digestA = contentDigest(a);
        QCOMPARE(contentDigest(b), digestA);
        QVERIFY(contentDigest(c) != digestA);
    }

    void taxCodes_data()
    {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("birth");
        QTest::addColumn<bool>("female");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("code");
        // Check letters worked out by hand from the odd/even tables.
        QTest::newRow("man, Rome") << "ROSSI" << "MARIO" << QDate(1980, 1, 1) << false << "H501" << "RSSMRA80A01H501U";
        QTest::newRow("woman, day plus 40") << "BIANCHI" << "ANNA" << QDate(1990, 5, 15) << true << "F205"
                                            << "BNCNNA90E55F205S";
        QTest::newRow("name with four consonants") << "ESPOSITO" << "FRANCESCO" << QDate(2010, 12, 31) << false
                                                   << "F839" << "SPSFNC10T31F839B";
        QTest::newRow("short surname, apostrophe") << "D'AMICO" << "LUCA" << QDate(2008, 3, 9) << false << "H501"
                                                   << "DMCLCU08C09H501L";
    }
    void taxCodes()
    {
        QFETCH(QString, surname);
        QFETCH(QString, name);
        QFETCH(QDate, birth);
        QFETCH(bool, female);
        QFETCH(QString, place);
        QFETCH(QString, code);
        QCOMPARE(schooldb::taxCode(surname, name, birth.year(), birth.month(), birth.day(), female, place), code);
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "test_demo_data.moc"
