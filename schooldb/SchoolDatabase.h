#pragma once

#include "FirebirdDatabase.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

// The school database as SIDI link knows it: the schema of every table, view
// and procedure the programs use (schema.sql, compiled into the library).
namespace schooldb {

// The text of schema.sql.
QString schemaScript();

// Creates an empty database file at path and loads the schema into it, then
// lets fill (when given) add rows through the open connection. Refuses an
// existing file; a database whose schema or rows fail to load is removed again.
void createSchoolDatabase(const QString &path, const QString &user = kDefaultUser,
                          const QString &password = QString(),
                          const std::function<void(QSqlDatabase &)> &fill = {});

// Opens a connection to an existing database under the given name (see
// addConnection); throws with the Italian text when it cannot be opened.
QSqlDatabase openSchoolDatabase(const QString &connectionName, const QString &database,
                                const QString &user = kDefaultUser, const QString &password = QString());

// After rows were written with keys chosen by hand: moves the counter of
// PYSETGETID of every table with a one-column integer primary key up to the
// highest key in use, so that the next key it hands out is free.
void syncKeyCounters(QSqlDatabase &db);

} // namespace schooldb
