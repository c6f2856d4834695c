#include "SqlScript.h"

#include "Fail.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace schooldb {

namespace {

// The new terminator when the statement is a SET TERM line, else empty.
QString setTermArgument(const QString &statement)
{
    static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = setTerm.match(statement);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

QStringList splitSqlScript(const QString &script)
{
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    const qsizetype n = script.size();

    auto finish = [&] {
        const QString statement = current.trimmed();
        current.clear();
        if (statement.isEmpty())
            return;
        const QString newTerminator = setTermArgument(statement);
        if (!newTerminator.isEmpty())
            terminator = newTerminator;
        else
            statements << statement;
    };

    for (qsizetype i = 0; i < n;) {
        const QChar c = script.at(i);
        const QChar next = i + 1 < n ? script.at(i + 1) : QChar();
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = script.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end;
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = script.indexOf(QStringLiteral("*/"), i + 2);
            if (end < 0)
                fail(QStringLiteral("Script SQL non valido: commento non chiuso."));
            i = end + 2;
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside the text stands for the quote itself.
            qsizetype j = i + 1;
            for (;;) {
                j = script.indexOf(c, j);
                if (j < 0)
                    fail(QStringLiteral("Script SQL non valido: testo tra apici non chiuso."));
                if (j + 1 < n && script.at(j + 1) == c)
                    j += 2;
                else
                    break;
            }
            current += script.mid(i, j + 1 - i);
            i = j + 1;
        } else if (script.mid(i, terminator.size()) == terminator) {
            i += terminator.size();
            finish();
        } else {
            current += c;
            ++i;
        }
    }
    finish();
    return statements;
}

void runSqlScript(QSqlDatabase &db, const QString &script)
{
    const QStringList statements = splitSqlScript(script);
    for (const QString &statement : statements) {
        QSqlQuery query(db);
        if (!query.exec(statement))
            fail(QStringLiteral("Errore nello script SQL, nell'istruzione \"%1\": %2")
                     .arg(statement.left(80).simplified(), query.lastError().text()));
    }
}

} // namespace schooldb
