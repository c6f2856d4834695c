#pragma once

#include <QSqlDatabase>
#include <QString>

// The version check of a program's connection: table TVER_VERSIONE holds, per
// database code, the version of the database's structure; a program runs only
// on a database at least as recent as the one it was built for.
namespace schooldb {

// Compares two versions such as "6.95.13" part by part as numbers (a missing or
// non-numeric part counts as 0): negative, zero or positive like strcmp.
int compareVersions(const QString &a, const QString &b);

// Throws std::runtime_error with the Italian text when the database has no
// version for databaseCode or an older one than expected.
void checkDatabaseVersion(QSqlDatabase &db, const QString &databaseCode, const QString &expected);

} // namespace schooldb
