#include "DatabaseVersion.h"
#include "SchoolDatabase.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The views and the procedure the programs' queries name; the tables are
// covered by the table of SQL texts, which prepares every query against them.
const QStringList kViews{"VANS_ANNISCOLAST", "VSED_SEDI", "VCLS_CLASSI", "VPOSFIN"};

int nextKey(QSqlDatabase &db, const QString &table, int count)
{
    QSqlQuery q(db);
    if (!q.prepare(QStringLiteral("SELECT L_ICNTID FROM PYSETGETID(:T, :N)")))
        return -1;
    q.bindValue(QStringLiteral(":T"), table);
    q.bindValue(QStringLiteral(":N"), count);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

} // namespace

class TestSchoolDatabase : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString path;
    QSqlDatabase db;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("scuola.fdb"));
        schooldb::createSchoolDatabase(path);
        db = schooldb::openSchoolDatabase(QStringLiteral("scuola"), path);
    }
    void cleanupTestCase()
    {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("scuola"));
    }

    void schemaHasViewsProcedureAndCharset()
    {
        QSqlQuery q(db);
        for (const QString &view : kViews) {
            QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = '%1' "
                                          "AND RDB$VIEW_BLR IS NOT NULL").arg(view)));
            QVERIFY(q.next());
            QVERIFY2(q.value(0).toInt() == 1, qPrintable(view));
        }
        QVERIFY(q.exec(QStringLiteral("SELECT RDB$PROCEDURE_TYPE FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = 'PYSETGETID'")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1); // selectable
        QVERIFY(q.exec(QStringLiteral("SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString().trimmed(), QStringLiteral("WIN1252"));
        QVERIFY(q.exec(QStringLiteral("SELECT MON$SQL_DIALECT FROM MON$DATABASE")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 3);
    }

    void rtrimDropsTrailingBlanksOnly()
    {
        QSqlQuery q(db);
        QVERIFY2(q.exec(QStringLiteral("SELECT '[' || RTRIM('  ab  ') || ']', CAST(RTRIM('A1 ') AS VARCHAR(2)), "
                                       "RTRIM(NULL) FROM RDB$DATABASE")),
                 qPrintable(q.lastError().text()));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("[  ab]"));
        QCOMPARE(q.value(1).toString(), QStringLiteral("A1"));
        QVERIFY(q.value(2).isNull());
    }

    void keysAreFreshPerTable()
    {
        const int first = nextKey(db, QStringLiteral("TPROVA_UNO"), 0);
        QCOMPARE(first, 1);
        QCOMPARE(nextKey(db, QStringLiteral("TPROVA_UNO"), 0), 2);
        QCOMPARE(nextKey(db, QStringLiteral("TPROVA_DUE"), 1), 1);
        // Reserving three keys returns the first; the next call starts after them.
        QCOMPARE(nextKey(db, QStringLiteral("tprova_uno"), 3), 3);
        QCOMPARE(nextKey(db, QStringLiteral("TPROVA_UNO"), 0), 6);
    }

    void keyCountersFollowKeysWrittenByHand()
    {
        QSqlQuery q(db);
        QVERIFY2(q.exec(QStringLiteral("INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC) VALUES (41, 'XXIC00000X')")),
                 qPrintable(q.lastError().text()));
        schooldb::syncKeyCounters(db);
        QCOMPARE(nextKey(db, QStringLiteral("TSCOD_CODICETEVO"), 0), 42);
        // A counter already past the highest key is left alone.
        schooldb::syncKeyCounters(db);
        QCOMPARE(nextKey(db, QStringLiteral("TSCOD_CODICETEVO"), 0), 43);
        // Fixed rows of the schema count too.
        QVERIFY(nextKey(db, QStringLiteral("TPOSFIN"), 0) > 13);
    }

    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("equal") << "6.95.13" << "6.95.13" << 0;
        QTest::newRow("numbers, not text") << "6.95.13" << "6.95.9" << 1;
        QTest::newRow("major wins") << "5.36.0" << "6.1.1" << -1;
        QTest::newRow("missing part is zero") << "6.95" << "6.95.0" << 0;
        QTest::newRow("longer is newer") << "6.95.13.1" << "6.95.13" << 1;
        QTest::newRow("blanks") << " 6.95.13 " << "6.95.13" << 0;
    }
    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        const int r = schooldb::compareVersions(a, b);
        QCOMPARE((r > 0) - (r < 0), sign);
    }

    void createRefusesAnExistingFile()
    {
        QFile file(dir.filePath(QStringLiteral("altro.fdb")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a database");
        file.close();
        try {
            schooldb::createSchoolDatabase(file.fileName());
            QFAIL("created over an existing file");
        } catch (const std::runtime_error &e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(QStringLiteral("esiste già")));
        }
        // The file that was there is untouched.
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("not a database"));
    }
};

QTEST_GUILESS_MAIN(TestSchoolDatabase)
#include "test_school_database.moc"
