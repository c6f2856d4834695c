#pragma once

#include <QSqlDatabase>
#include <QString>

// Access to the school database file or server at the lowest level: creating an
// empty database and adding a Qt SQL connection to one. Every error is a
// std::runtime_error whose what() is the Italian text in UTF-8.
namespace schooldb {

// The user the embedded engine runs as when none is given; it checks no password.
inline constexpr const char *kDefaultUser = "SYSDBA";

// True for "host:path" or "host/port:path"; false for a local file path
// (a single drive letter such as "C:\..." counts as a path).
bool isServerDatabase(const QString &database);

// Creates an empty dialect-3 database with default character set WIN1252.
// Refuses to overwrite an existing file.
void createDatabaseFile(const QString &database, const QString &user = kDefaultUser,
                        const QString &password = QString());

// Switches the database's forced (synchronous) writes on or off. A new
// database is loaded with them off, since every DDL statement commits and
// would wait for the disk, and switched back on when it is complete.
void setForcedWrites(const QString &database, bool on, const QString &user = kDefaultUser,
                     const QString &password = QString());

// Adds (does not open) a QIBASE connection named connectionName that talks
// WIN1252 to the database, which is a file path (embedded engine) or
// host[/port]:path (server).
QSqlDatabase addConnection(const QString &connectionName, const QString &database,
                           const QString &user = kDefaultUser, const QString &password = QString());

// Opens a connection added by addConnection; throws with the driver's text.
void openOrThrow(QSqlDatabase &db);

} // namespace schooldb
