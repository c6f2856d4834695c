#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// One item of a filled list: the text shown and the id attached to it.
struct TQxEnumItem
{
    QString Text;
    int Id = 0;
};

// Runs sql (first column an integer id, second a text) and returns one item per row,
// in the order of the rows. Database errors throw with the driver's text.
QList<TQxEnumItem> LoadEnumValues(const QSqlDatabase &db, const QString &sql);
