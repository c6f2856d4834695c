#include "DemoData.h"
#include "FirebirdDatabase.h"
#include "LoadEnumValues.h"
#include "TQxScriptedInteraction.h"
#include "TQxSQLConnection.h"

#include <QFile>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using Versions = QList<QPair<QString, QString>>;

namespace {

// A database whose version table holds the given rows (code, version).
QString makeDatabase(const QTemporaryDir &dir, const QList<QPair<QString, QString>> &versions)
{
    static int n = 0;
    const QString path = dir.filePath(QStringLiteral("scuola%1.fdb").arg(++n));
    schooldb::createDatabaseFile(path);
    const QString name = QStringLiteral("setup%1").arg(n);
    {
        QSqlDatabase db = schooldb::addConnection(name, path);
        schooldb::openOrThrow(db);
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("CREATE TABLE TVER_VERSIONE (SVERCODDB VARCHAR(10) NOT NULL, "
                                   "SVERNUMERO VARCHAR(20) NOT NULL)")))
            qFatal("create");
        for (const auto &v : versions) {
            q.prepare(QStringLiteral("INSERT INTO TVER_VERSIONE VALUES (:C, :V)"));
            q.bindValue(QStringLiteral(":C"), v.first);
            q.bindValue(QStringLiteral(":V"), v.second);
            if (!q.exec())
                qFatal("insert");
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return path;
}

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    void opensWhenTheVersionIsHighEnough_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("same as Dok") << "6.95.13" << "6.95.13";
        QTest::newRow("newer than Zup") << "6.95.13" << "5.36.0";
        QTest::newRow("newer release") << "6.95.100" << "6.95.13";
    }
    void opensWhenTheVersionIsHighEnough()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = makeDatabase(dir, {{"XX", "1.0"}, {"KA", stored}});
        TQxSQLConnection conn;
        conn.DatabaseVersion = expected;
        conn.Database = path;
        TQxScriptedInteraction ui;
        ui.Answer(QStringLiteral("login"), QVariantMap{});
        QVERIFY(conn.Open(ui));
        QVERIFY(conn.Connected());
        QSqlQuery q(conn.Connection());
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM TVER_VERSIONE")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 2);
        QVERIFY(ui.Messages().isEmpty());
        // The embedded engine needs no password: the login says so.
        QCOMPARE(ui.AskedQuestions().first().Details.value("PasswordNeeded").toBool(), false);
    }

    // The demo institute opens for both programs and serves the school years.
    void opensTheDemoDatabase_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::newRow("Dok") << "6.95.13";
        QTest::newRow("Zup") << "5.36.0";
    }
    void opensTheDemoDatabase()
    {
        QFETCH(QString, expected);
        static QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("demo.fdb"));
        if (!QFile::exists(path))
            schooldb::createDemoDatabase(path, schooldb::DemoOptions{40, 1});
        TQxSQLConnection conn;
        conn.DatabaseVersion = expected;
        conn.Database = path;
        TQxScriptedInteraction ui;
        ui.Answer(QStringLiteral("login"), QVariantMap{});
        QVERIFY(conn.Open(ui));
        const auto years = LoadEnumValues(conn.Connection(),
                                          QStringLiteral("SELECT DISTINCT VAns.iAnsId, VAns.sAnsAnnoDesc  FROM "
                                                         "VAns_AnniScolast VAns ORDER BY VAns.iAnsValore"));
        QStringList labels;
        for (const auto &y : years)
            labels << y.Text + QLatin1Char('=') + QString::number(y.Id);
        QCOMPARE(labels, QStringList({"2015/2016=1", "2016/2017=2", "2021/2022=3"}));
    }

    void refusesWithAMessage_data()
    {
        QTest::addColumn<Versions>("versions");
        QTest::addColumn<bool>("missingFile");
        QTest::addColumn<QString>("message");
        QTest::newRow("lower version") << Versions{{"KA", "6.95.9"}} << false
                                       << "La versione del database (6.95.9) è inferiore a quella richiesta dal "
                                          "programma (6.95.13).\r\nAggiornare il database prima di proseguire.";
        QTest::newRow("no row for the code") << Versions{{"KB", "9.0"}} << false
                                             << "non riporta la propria versione (codice KA).";
        QTest::newRow("missing file") << Versions{} << true << "non esiste.";
    }
    void refusesWithAMessage()
    {
        QFETCH(Versions, versions);
        QFETCH(bool, missingFile);
        QFETCH(QString, message);
        QTemporaryDir dir;
        TQxSQLConnection conn;
        conn.DatabaseVersion = QStringLiteral("6.95.13");
        conn.Database = missingFile ? dir.filePath(QStringLiteral("manca.fdb")) : makeDatabase(dir, versions);
        TQxScriptedInteraction ui;
        ui.Answer(QStringLiteral("login"), QVariantMap{});
        QVERIFY(!conn.Open(ui));
        QVERIFY(!conn.Connected());
        QCOMPARE(ui.Messages().size(), 1);
        QVERIFY2(ui.Messages().first().endsWith(message), qPrintable(ui.Messages().first()));
        QCOMPARE(ui.AskedQuestions().last().Details.value("type").toString(), QStringLiteral("Errore"));
        QCOMPARE(conn.LastError(), ui.Messages().first());
    }

    void failedServerLoginIsReported()
    {
        // Nothing listens on this port: the login fails and says why.
        TQxSQLConnection conn;
        conn.DatabaseVersion = QStringLiteral("6.95.13");
        conn.Database = QStringLiteral("127.0.0.1/1:/nessuno/scuola.fdb");
        TQxScriptedInteraction ui;
        ui.Answer(QStringLiteral("login"), QVariantMap{{"Password", "x"}});
        QVERIFY(!conn.Open(ui));
        QVERIFY(!conn.Connected());
        QCOMPARE(ui.AskedQuestions().first().Details.value("PasswordNeeded").toBool(), true);
        QVERIFY(ui.Messages().first().startsWith(QStringLiteral("Accesso al database 127.0.0.1/1:/nessuno/scuola.fdb non riuscito.")));
    }

    void cancelledLoginStaysClosedSilently()
    {
        TQxSQLConnection conn;
        conn.DatabaseVersion = QStringLiteral("6.95.13");
        TQxScriptedInteraction ui;
        ui.Answer(QStringLiteral("login"), QVariant());
        QVERIFY(!conn.Open(ui));
        QVERIFY(!conn.Connected());
        QVERIFY(ui.Messages().isEmpty());
    }

    void settingsComeFromTheIniFile()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("database.ini"));
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("Database/Database"), QStringLiteral("server/3051:/dati/scuola.fdb"));
            s.setValue(QStringLiteral("Database/User"), QStringLiteral("SEGRETERIA"));
        }
        TQxSQLConnection conn;
        conn.LoadSettings(ini);
        QCOMPARE(conn.Database, QStringLiteral("server/3051:/dati/scuola.fdb"));
        QCOMPARE(conn.UserName, QStringLiteral("SEGRETERIA"));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "test_connection.moc"
