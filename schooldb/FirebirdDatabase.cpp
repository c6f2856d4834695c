#include "FirebirdDatabase.h"

#include "Fail.h"

#include <QFileInfo>
#include <QSqlError>

#include <ibase.h>

namespace schooldb {

namespace {

QString statusText(const ISC_STATUS *status)
{
    QString text;
    char buffer[1024];
    const ISC_STATUS *cursor = status;
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QString::fromLocal8Bit(buffer);
    }
    return text;
}

QString quoted(const QString &text)
{
    QString copy = text;
    copy.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + copy + QLatin1Char('\'');
}

} // namespace

bool isServerDatabase(const QString &database)
{
    const int colon = database.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    // "C:\dati\scuola.fdb" is a Windows path, not a host named C.
    return !(colon == 1 && database.at(0).isLetter());
}

void createDatabaseFile(const QString &database, const QString &user, const QString &password)
{
    if (!isServerDatabase(database) && QFileInfo::exists(database))
        fail(QStringLiteral("Il database %1 esiste già.").arg(database));

    QString sql = QStringLiteral("CREATE DATABASE %1 USER %2").arg(quoted(database), quoted(user));
    if (!password.isEmpty())
        sql += QStringLiteral(" PASSWORD %1").arg(quoted(password));
    sql += QStringLiteral(" PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252");

    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    const QByteArray text = sql.toUtf8();
    if (isc_dsql_execute_immediate(status, &db, &tr, 0, text.constData(), SQL_DIALECT_V6, nullptr))
        fail(QStringLiteral("Impossibile creare il database %1: %2").arg(database, statusText(status)));
    if (db && isc_detach_database(status, &db))
        fail(QStringLiteral("Impossibile chiudere il database %1: %2").arg(database, statusText(status)));
}

void setForcedWrites(const QString &database, bool on, const QString &user, const QString &password)
{
    // Database parameter block: version, user, password, forced-writes flag.
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    const auto add = [&dpb](char item, const QByteArray &value) {
        dpb.append(item);
        dpb.append(char(value.size()));
        dpb.append(value);
    };
    add(char(isc_dpb_user_name), (user.isEmpty() ? QString::fromLatin1(kDefaultUser) : user).toUtf8());
    if (!password.isEmpty())
        add(char(isc_dpb_password), password.toUtf8());
    dpb.append(char(isc_dpb_force_write));
    dpb.append(char(1));
    dpb.append(char(on ? 1 : 0));

    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    const QByteArray name = database.toUtf8();
    if (isc_attach_database(status, short(name.size()), name.constData(), &db, short(dpb.size()), dpb.constData()))
        fail(QStringLiteral("Impossibile aprire il database %1: %2").arg(database, statusText(status)));
    if (isc_detach_database(status, &db))
        fail(QStringLiteral("Impossibile chiudere il database %1: %2").arg(database, statusText(status)));
}

QSqlDatabase addConnection(const QString &connectionName, const QString &database,
                           const QString &user, const QString &password)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), connectionName);
    if (!db.isValid())
        fail(QStringLiteral("Il driver del database Firebird (QIBASE) non è installato."));
    // Firebird understands "host/port:path" itself, so the text goes through whole.
    db.setDatabaseName(database);
    db.setUserName(user.isEmpty() ? QString::fromLatin1(kDefaultUser) : user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1252"));
    return db;
}

void openOrThrow(QSqlDatabase &db)
{
    if (!db.open())
        fail(QStringLiteral("Impossibile aprire il database %1: %2")
                 .arg(db.databaseName(), db.lastError().text()));
}

} // namespace schooldb
