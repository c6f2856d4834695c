#include "DatabaseVersion.h"

#include "Fail.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>

namespace schooldb {

int compareVersions(const QString &a, const QString &b)
{
    const QStringList pa = a.trimmed().split(QLatin1Char('.'));
    const QStringList pb = b.trimmed().split(QLatin1Char('.'));
    const qsizetype parts = std::max(pa.size(), pb.size());
    for (qsizetype i = 0; i < parts; ++i) {
        const qlonglong x = i < pa.size() ? pa.at(i).trimmed().toLongLong() : 0;
        const qlonglong y = i < pb.size() ? pb.at(i).trimmed().toLongLong() : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

void checkDatabaseVersion(QSqlDatabase &db, const QString &databaseCode, const QString &expected)
{
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("SELECT SVERNUMERO FROM TVER_VERSIONE WHERE SVERCODDB = :SVERCODDB")))
        fail(QStringLiteral("Impossibile leggere la versione del database: %1").arg(query.lastError().text()));
    query.bindValue(QStringLiteral(":SVERCODDB"), databaseCode);
    if (!query.exec())
        fail(QStringLiteral("Impossibile leggere la versione del database: %1").arg(query.lastError().text()));
    if (!query.next())
        fail(QStringLiteral("Il database non riporta la versione per il codice %1.").arg(databaseCode));
    const QString actual = query.value(0).toString().trimmed();
    if (compareVersions(actual, expected) < 0)
        fail(QStringLiteral("La versione del database (%1) è precedente a quella richiesta dal programma (%2): "
                            "aggiornare il database.")
                 .arg(actual, expected));
}

} // namespace schooldb
