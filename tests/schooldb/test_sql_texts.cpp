// Every SQL text of the programs, from the files in sql/, must prepare against
// the schema and run: read-only texts on the demo institute, texts that write
// on an empty database.

#include "DemoData.h"
#include "SchoolDatabase.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct SqlText
{
    QString name;
    QString sql;
    bool writes = false;
    bool nonEmpty = false;
    QHash<QString, QVariant> bindings; // upper-case parameter name -> value
};

// Values for parameters by name (upper case), chosen to hit the demo
// institute's comprehensive site in 2016/2017.
const QHash<QString, QVariant> &sampleValues()
{
    static const QHash<QString, QVariant> values{
        {"DSTART", QDate(2016, 9, 1)},
        {"COD_MECC", "XXIC00000X"},
        {"MECC_COD", "XXIC00000X"},
        {"COD_MEC", "XXIC00000X"},
        {"SED_MECC", "XXIC00000X"},
        {"SSEDMECCOD", "XXIC00000X"},
        {"SSCODMECC", "XXIC00000X"},
        {"CODSCUOLADEBOLE", "XXIC00000X"},
        {"SCSOGCODSCUUTE", "XXIC00000X"},
        {"ICODANSVALORE", 2016},
        {"ICSOGPERANNSCO", 2016},
        {"SANSANNODESC", "2016/2017"},
        {"SANNODESC", "2016/2017"},
        {"IANSID", 2},
        {"ID_SCUOLA", 5},
        {"IPRMVAL", 1},
        {"SSCODPRENOTAZIONE", "ABCDE"},
    };
    return values;
}

QList<SqlText> readSqlFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(path));
    QList<SqlText> texts;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("-- @ "))) {
            texts.append(SqlText{line.mid(5).trimmed(), {}, false, false, {}});
        } else if (texts.isEmpty()) {
            continue; // file header
        } else if (texts.last().sql.isEmpty() && line.startsWith(QLatin1String("-- "))) {
            SqlText &t = texts.last();
            const QString directive = line.mid(3).trimmed();
            if (directive == QLatin1String("writes"))
                t.writes = true;
            else if (directive == QLatin1String("nonempty"))
                t.nonEmpty = true;
            else if (directive.startsWith(QLatin1String("fill:")))
                t.bindings.insert(QStringLiteral("%s"), directive.mid(5).trimmed());
            else if (directive.startsWith(QLatin1String("bind:"))) {
                const QString assignment = directive.mid(5).trimmed();
                const qsizetype eq = assignment.indexOf(QLatin1Char('='));
                t.bindings.insert(assignment.left(eq).trimmed().toUpper(), assignment.mid(eq + 1));
            } else
                qFatal("%s: unknown directive %s", qPrintable(path), qPrintable(directive));
        } else {
            SqlText &t = texts.last();
            if (!t.sql.isEmpty() || !line.trimmed().isEmpty())
                t.sql += (t.sql.isEmpty() ? QString() : QStringLiteral("\n")) + line;
        }
    }
    for (SqlText &t : texts) {
        while (t.sql.endsWith(QLatin1Char('\n')))
            t.sql.chop(1);
        if (t.bindings.contains(QStringLiteral("%s")))
            t.sql.replace(QStringLiteral("%s"), t.bindings.take(QStringLiteral("%s")).toString());
    }
    return texts;
}

// The named parameters of a text (":NAME" outside quoted texts), in order.
QStringList parameterNames(const QString &sql)
{
    QStringList names;
    bool quoted = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char(':'))
            continue;
        qsizetype j = i + 1;
        while (j < sql.size() && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_')))
            ++j;
        if (j > i + 1 && !names.contains(sql.mid(i + 1, j - i - 1)))
            names << sql.mid(i + 1, j - i - 1);
        i = j - 1;
    }
    return names;
}

void bindAll(QSqlQuery &query, const SqlText &text)
{
    for (const QString &name : parameterNames(text.sql)) {
        const QString key = name.toUpper();
        query.bindValue(QLatin1Char(':') + name, text.bindings.value(key, sampleValues().value(key)));
    }
}

} // namespace

Q_DECLARE_METATYPE(SqlText)

class TestSqlTexts : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QSqlDatabase empty;
    QSqlDatabase demo;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        const QString emptyPath = dir.filePath(QStringLiteral("vuoto.fdb"));
        schooldb::createSchoolDatabase(emptyPath);
        empty = schooldb::openSchoolDatabase(QStringLiteral("vuoto"), emptyPath);
        const QString demoPath = dir.filePath(QStringLiteral("demo.fdb"));
        schooldb::createDemoDatabase(demoPath, schooldb::DemoOptions{200, 7});
        demo = schooldb::openSchoolDatabase(QStringLiteral("demo"), demoPath);
    }
    void cleanupTestCase()
    {
        empty.close();
        demo.close();
        empty = demo = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("vuoto"));
        QSqlDatabase::removeDatabase(QStringLiteral("demo"));
    }

    void preparesAndRuns_data()
    {
        QTest::addColumn<SqlText>("text");
        const QDir sqlDir(qEnvironmentVariable("SIDILINK_SOURCE_DIR") + QStringLiteral("/tests/schooldb/sql"));
        const QStringList files = sqlDir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable(sqlDir.path()));
        QSet<QString> names;
        for (const QString &file : files) {
            for (const SqlText &text : readSqlFile(sqlDir.filePath(file))) {
                QVERIFY2(!names.contains(text.name), qPrintable(QStringLiteral("two texts named ") + text.name));
                QVERIFY2(!text.sql.isEmpty(), qPrintable(text.name));
                names.insert(text.name);
                QTest::newRow(qPrintable(text.name)) << text;
            }
        }
    }
    void preparesAndRuns()
    {
        QFETCH(SqlText, text);
        {
            QSqlQuery query(empty);
            QVERIFY2(query.prepare(text.sql), qPrintable(query.lastError().text()));
        }
        QSqlQuery query(text.writes ? empty : demo);
        QVERIFY2(query.prepare(text.sql), qPrintable(query.lastError().text()));
        bindAll(query, text);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        int rows = 0;
        while (query.isSelect() && query.next())
            ++rows;
        QVERIFY2(query.lastError().type() == QSqlError::NoError, qPrintable(query.lastError().text()));
        if (text.nonEmpty)
            QVERIFY2(rows > 0, "no row from the demo institute");
    }
};

QTEST_GUILESS_MAIN(TestSqlTexts)
#include "test_sql_texts.moc"
