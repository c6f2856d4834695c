#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Scripts of several SQL statements, in the form isql reads them: statements
// end with the current terminator (";" to begin with), "SET TERM x y" changes
// it so that procedure bodies can hold ";", comments ("--" to the end of the
// line, "/* ... */") are dropped, and terminators inside quoted texts and
// quoted names do not count.
namespace schooldb {

// The statements of a script, trimmed, without terminators and without the
// SET TERM lines. A last statement without terminator is kept. Throws
// std::runtime_error for a text or comment left open.
QStringList splitSqlScript(const QString &script);

// Runs every statement of the script on the open connection, each committed on
// its own; stops at the first failure with an error naming the statement.
void runSqlScript(QSqlDatabase &db, const QString &script);

} // namespace schooldb
