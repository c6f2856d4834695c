#pragma once

#include <QSqlDatabase>
#include <QString>

// Versions of the database structure, as table TVER_VERSIONE holds them per
// database code; the connection refuses a database older than its program.
namespace schooldb {

// Compares two versions such as "6.95.13" part by part as numbers (a missing or
// non-numeric part counts as 0): negative, zero or positive like strcmp.
int compareVersions(const QString &a, const QString &b);


} // namespace schooldb
