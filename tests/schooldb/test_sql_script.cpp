#include "SqlScript.h"

#include <QTest>

class TestSqlScript : public QObject
{
    Q_OBJECT
private slots:
    void splits_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("two statements") << "create table a (x integer);\ninsert into a values (1);"
                                        << QStringList{"create table a (x integer)", "insert into a values (1)"};
        QTest::newRow("last without terminator") << "select 1 from rdb$database; select 2 from rdb$database"
                                                 << QStringList{"select 1 from rdb$database", "select 2 from rdb$database"};
        QTest::newRow("line comment with quote") << "-- the suite's table; not a statement\nselect 1 from t;"
                                                 << QStringList{"select 1 from t"};
        QTest::newRow("block comment with terminator") << "select /* a; b */ 1 from t;"
                                                       << QStringList{"select   1 from t"};
        QTest::newRow("terminator in text") << "insert into t values ('a;b', 'it''s; ok');"
                                            << QStringList{"insert into t values ('a;b', 'it''s; ok')"};
        QTest::newRow("terminator in quoted name") << "select \"a;b\" from t;" << QStringList{"select \"a;b\" from t"};
        QTest::newRow("comment marker in text") << "select '--x', '/*y*/' from t;"
                                                << QStringList{"select '--x', '/*y*/' from t"};
        QTest::newRow("set term block")
            << "create table t (x integer);\nSET TERM ^ ;\ncreate procedure p as\nbegin\n  x = 1;\nend^\n"
               "set term ; ^\ninsert into t values (1);"
            << QStringList{"create table t (x integer)", "create procedure p as\nbegin\n  x = 1;\nend",
                           "insert into t values (1)"};
        QTest::newRow("two-character terminator") << "set term !! ;\nselect 1 from t; select 2 from t!!"
                                                  << QStringList{"select 1 from t; select 2 from t"};
        QTest::newRow("empty statements") << ";;  \n -- only a comment\n;" << QStringList{};
    }
    void splits()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, statements);
        QCOMPARE(schooldb::splitSqlScript(script), statements);
    }

    void openTextOrCommentIsAnError_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("open text") << "insert into t values ('abc);";
        QTest::newRow("open name") << "select \"abc from t;";
        QTest::newRow("open comment") << "select 1 from t; /* never closed";
    }
    void openTextOrCommentIsAnError()
    {
        QFETCH(QString, script);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, schooldb::splitSqlScript(script));
    }
};

QTEST_GUILESS_MAIN(TestSqlScript)
#include "test_sql_script.moc"
