#include "FirebirdDatabase.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestFirebirdDatabase : public QObject
{
    Q_OBJECT
private slots:
    void serverOrFile_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<bool>("server");
        QTest::newRow("file") << "/var/lib/scuola/scuola.fdb" << false;
        QTest::newRow("relative") << "demo/scuola.fdb" << false;
        QTest::newRow("windows drive") << "C:\\dati\\scuola.fdb" << false;
        QTest::newRow("host") << "server:/dati/scuola.fdb" << true;
        QTest::newRow("host and port") << "127.0.0.1/3051:/dati/scuola.fdb" << true;
        QTest::newRow("host and windows path") << "srv:C:\\dati\\scuola.fdb" << true;
    }
    void serverOrFile()
    {
        QFETCH(QString, database);
        QFETCH(bool, server);
        QCOMPARE(schooldb::isServerDatabase(database), server);
    }

    void createsWin1252DatabaseAndRefusesToOverwrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("prova.fdb"));
        schooldb::createDatabaseFile(path);
        {
            QSqlDatabase db = schooldb::addConnection(QStringLiteral("t1"), path);
            schooldb::openOrThrow(db);
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("select rdb$character_set_name from rdb$database")));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString().trimmed(), QStringLiteral("WIN1252"));
            QVERIFY(q.exec(QStringLiteral("create table t (s varchar(20))")));
            QVERIFY(q.prepare(QStringLiteral("insert into t values (:S)")));
            q.bindValue(QStringLiteral(":S"), QStringLiteral("Città Niccolò"));
            QVERIFY(q.exec());
            QVERIFY(q.exec(QStringLiteral("select s from t")));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("Città Niccolò"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("t1"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, schooldb::createDatabaseFile(path));
    }

    void missingFileIsAClearError()
    {
        QTemporaryDir dir;
        {
            QSqlDatabase db = schooldb::addConnection(QStringLiteral("t2"), dir.filePath(QStringLiteral("manca.fdb")));
            try {
                schooldb::openOrThrow(db);
                QFAIL("opened a missing database");
            } catch (const std::runtime_error &e) {
                QVERIFY(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Impossibile aprire il database")));
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("t2"));
    }
};

QTEST_GUILESS_MAIN(TestFirebirdDatabase)
#include "test_firebird_database.moc"
