#include "LoadEnumValues.h"

#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

QList<TQxEnumItem> LoadEnumValues(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw std::runtime_error(query.lastError().text().toStdString());
    QList<TQxEnumItem> items;
    while (query.next())
        items.append({query.value(1).toString(), query.value(0).toInt()});
    return items;
}
