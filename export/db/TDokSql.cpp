#include "TDokSql.h"

#include <QSqlError>

#include <stdexcept>

namespace TDokSql {

QSqlQuery Esegui(const QSqlDatabase &Db, const QString &Sql, const Valori &Parametri)
{
    QSqlQuery query(Db);
    query.setForwardOnly(true);
    if (!query.prepare(Sql))
        throw std::runtime_error(query.lastError().text().toStdString());
    for (const auto &[nome, valore] : Parametri)
        query.bindValue(nome, valore);
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
    return query;
}

QVariant TestoNonNullo(const QString &Testo)
{
    // A null QString is bound as SQL null; an empty one built from a literal is not.
    return Testo.isNull() ? QVariant(QString::fromLatin1("")) : QVariant(Testo);
}

} // namespace TDokSql
