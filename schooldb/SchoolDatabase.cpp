#include "SchoolDatabase.h"

#include "Fail.h"
#include "SqlScript.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace schooldb {

namespace {

QString uniqueConnectionName()
{
    return QStringLiteral("schooldb-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void execOrThrow(QSqlQuery &query, const QString &sql)
{
    if (!query.exec(sql))
        fail(QStringLiteral("Errore del database: %1").arg(query.lastError().text()));
}

} // namespace

QString schemaScript()
{
    QFile file(QStringLiteral(":/schooldb/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Lo schema del database non è disponibile."));
    return QString::fromUtf8(file.readAll());
}

void createSchoolDatabase(const QString &path, const QString &user, const QString &password,
                          const std::function<void(QSqlDatabase &)> &fill)
{
    const QString script = schemaScript();
    createDatabaseFile(path, user, password);
    const QString name = uniqueConnectionName();
    try {
        setForcedWrites(path, false, user, password);
        {
            QSqlDatabase db = addConnection(name, path, user, password);
            openOrThrow(db);
            runSqlScript(db, script);
            if (fill)
                fill(db);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        setForcedWrites(path, true, user, password);
    } catch (...) {
        QSqlDatabase::removeDatabase(name);
        if (!isServerDatabase(path))
            QFile::remove(path);
        throw;
    }
}

QSqlDatabase openSchoolDatabase(const QString &connectionName, const QString &database,
                                const QString &user, const QString &password)
{
    QSqlDatabase db = addConnection(connectionName, database, user, password);
    openOrThrow(db);
    return db;
}

void syncKeyCounters(QSqlDatabase &db)
{
    // Tables whose primary key is a single INTEGER column.
    QSqlQuery keys(db);
    execOrThrow(keys, QStringLiteral(
        "SELECT TRIM(rc.RDB$RELATION_NAME), TRIM(seg.RDB$FIELD_NAME) "
        "FROM RDB$RELATION_CONSTRAINTS rc "
        "JOIN RDB$INDEX_SEGMENTS seg ON seg.RDB$INDEX_NAME = rc.RDB$INDEX_NAME "
        "JOIN RDB$RELATION_FIELDS rf ON rf.RDB$RELATION_NAME = rc.RDB$RELATION_NAME "
        " AND rf.RDB$FIELD_NAME = seg.RDB$FIELD_NAME "
        "JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
        "WHERE rc.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' AND f.RDB$FIELD_TYPE IN (7, 8, 16) "
        "AND (SELECT COUNT(*) FROM RDB$INDEX_SEGMENTS s2 WHERE s2.RDB$INDEX_NAME = rc.RDB$INDEX_NAME) = 1"));
    QList<QPair<QString, QString>> tables;
    while (keys.next())
        tables.append({keys.value(0).toString(), keys.value(1).toString()});

    QSqlQuery query(db);
    for (const auto &[table, column] : tables) {
        // Names come from the system tables, never from outside.
        execOrThrow(query, QStringLiteral("SELECT MAX(%1) FROM %2").arg(column, table));
        if (!query.next() || query.value(0).isNull())
            continue;
        bool ok = false;
        const qlonglong highest = query.value(0).toLongLong(&ok);
        if (!ok)
            continue;
        if (!query.prepare(QStringLiteral(
                "UPDATE OR INSERT INTO TCNT_CONTATORI (SCNTTABELLA, ICNTVALORE) "
                "VALUES (:TABELLA, MAXVALUE(:VALORE, COALESCE((SELECT ICNTVALORE FROM TCNT_CONTATORI "
                "WHERE SCNTTABELLA = :TABELLA2), 0))) MATCHING (SCNTTABELLA)")))
            fail(QStringLiteral("Errore del database: %1").arg(query.lastError().text()));
        query.bindValue(QStringLiteral(":TABELLA"), table);
        query.bindValue(QStringLiteral(":TABELLA2"), table);
        query.bindValue(QStringLiteral(":VALORE"), highest);
        if (!query.exec())
            fail(QStringLiteral("Errore del database: %1").arg(query.lastError().text()));
    }
}

} // namespace schooldb
