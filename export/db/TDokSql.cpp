#include "TDokSql.h"

#include <QSqlError>

#include <stdexcept>

namespace TDokSql {

// The driver leaves the error empty for some failures (a closed connection):
// the operator still has to learn that the statement did not run.
void Errore(const QSqlQuery &query, const QSqlDatabase &Db)
{
    QString testo = query.lastError().text().trimmed();
    if (testo.isEmpty())
        testo = Db.isOpen() ? QStringLiteral("Errore del database nell'esecuzione dell'istruzione SQL.")
                            : QStringLiteral("Connessione al database non aperta.");
    throw std::runtime_error(testo.toUtf8().toStdString());
}

QSqlQuery Esegui(const QSqlDatabase &Db, const QString &Sql, const Valori &Parametri)
{
    QSqlQuery query(Db);
    query.setForwardOnly(true);
    if (!query.prepare(Sql))
        Errore(query, Db);
    for (const auto &[nome, valore] : Parametri)
        query.bindValue(nome, valore);
    if (!query.exec())
        Errore(query, Db);
    return query;
}

QVariant TestoNonNullo(const QString &Testo)
{
    // A null QString is bound as SQL null; an empty one built from a literal is not.
    return Testo.isNull() ? QVariant(QString::fromLatin1("")) : QVariant(Testo);
}

} // namespace TDokSql
