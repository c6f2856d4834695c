#pragma once

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// One statement of the export client on the school database: prepared, its values
// bound by name, executed. Database errors throw std::runtime_error with the
// driver's text, so that no caller can forget to look at the result.
namespace TDokSql {

using Valori = QList<QPair<QString, QVariant>>;

QSqlQuery Esegui(const QSqlDatabase &Db, const QString &Sql, const Valori &Parametri = {});

// Throws the error of a statement that failed (to prepare, execute or read), with
// the driver's text or, when the driver gives none, a text that still says why.
[[noreturn]] void Errore(const QSqlQuery &Query, const QSqlDatabase &Db);

// A text value that the database stores as an empty text rather than as null.
QVariant TestoNonNullo(const QString &Testo);

} // namespace TDokSql
