#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString err;
};

Run runTool(const QStringList &args)
{
    QProcess p;
    p.start(qEnvironmentVariable("SIDILINK_BIN_DIR") + QStringLiteral("/schooldb"), args);
    if (!p.waitForFinished(120000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestSchooldbTool : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void badCommandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("no path") << QStringList{"create"};
        QTest::newRow("unknown command") << QStringList{"drop", "x.fdb"};
        QTest::newRow("unknown option") << QStringList{"demo", "x.fdb", "--students", "5"};
        QTest::newRow("pupils not a number") << QStringList{"demo", "x.fdb", "--pupils", "molti"};
        QTest::newRow("too few pupils") << QStringList{"demo", "x.fdb", "--pupils", "3"};
        QTest::newRow("seed not a number") << QStringList{"demo", "x.fdb", "--seed", "-1x"};
        QTest::newRow("seed for create") << QStringList{"create", "x.fdb", "--seed", "4"};
    }
    void badCommandLine()
    {
        QFETCH(QStringList, args);
        const Run run = runTool(args);
        QCOMPARE(run.exitCode, 64);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("x.fdb")));
    }

    void helpExitsZero() { QCOMPARE(runTool({QStringLiteral("--help")}).exitCode, 0); }

    void createsAndRefusesToOverwrite()
    {
        const QString path = dir.filePath(QStringLiteral("nuovo.fdb"));
        QCOMPARE(runTool({QStringLiteral("create"), path}).exitCode, 0);
        QVERIFY(QFile::exists(path));
        const qint64 size = QFile(path).size();
        const Run again = runTool({QStringLiteral("demo"), path});
        QCOMPARE(again.exitCode, 1);
        QCOMPARE(again.err.trimmed(), QStringLiteral("Il database %1 esiste già.").arg(path));
        QCOMPARE(QFile(path).size(), size);
    }

    void demoWithOptions()
    {
        const QString path = dir.filePath(QStringLiteral("demo.fdb"));
        QCOMPARE(runTool({QStringLiteral("demo"), path, QStringLiteral("--pupils"), QStringLiteral("40"),
                          QStringLiteral("--seed"), QStringLiteral("3")})
                     .exitCode,
                 0);
        QVERIFY(QFile::exists(path));
    }

    void unwritableFolderIsAnError()
    {
        const Run run = runTool({QStringLiteral("create"), dir.filePath(QStringLiteral("manca/scuola.fdb"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith(QStringLiteral("Impossibile creare il database")));
    }
};

QTEST_GUILESS_MAIN(TestSchooldbTool)
#include "test_schooldb_tool.moc"
