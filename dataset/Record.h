#pragma once

#include <QString>
#include <QVariant>

namespace dataset {

class Table;
struct Cell;

// A read-only view of one record of a Table: the record a filter is asked about,
// the current record (Table::current()) or any record (Table::recordAt()).
// It reads the table's storage directly, so it is valid only while the table is
// not changed. Fields are given by position (0-based) or by name (any case); an
// unknown field throws DatasetError.
class Record
{
public:
    // The value as QVariant: QString, int, QDate or bool; an invalid QVariant for Null.
    QVariant value(int field) const;
    QVariant value(const QString &name) const;
    bool isNull(int field) const;
    bool isNull(const QString &name) const;
    // The value as record files write it: Null as "", integers in decimal, dates
    // as yyyy-MM-dd, booleans as "True"/"False".
    QString asString(int field) const;
    QString asString(const QString &name) const;
    // Integers and booleans as numbers, a text holding a number as that number,
    // 0 for Null and anything else.
    int asInteger(int field) const;
    int asInteger(const QString &name) const;

private:
    friend class Table;
    // row >= 0: a stored record; kBuffer: the record being edited or appended;
    // kNone: no record (every value Null).
    static constexpr int kBuffer = -1;
    static constexpr int kNone = -2;
    Record(const Table *table, int row) : m_table(table), m_row(row) {}
    Cell cell(int field) const;

    const Table *m_table;
    int m_row;
};

} // namespace dataset
