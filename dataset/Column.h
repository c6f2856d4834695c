#pragma once

// Internal to the dataset library: the stored values of one table column, kept
// column by column so that a cell costs only what its type needs.

#include "Cell.h"
#include "Field.h"

#include <QDate>
#include <QVariant>

#include <optional>
#include <vector>

namespace dataset {

class Column
{
public:
    explicit Column(Field field);

    const Field &field() const { return m_field; }

    Cell cell(int row) const;
    bool isNull(int row) const;
    void append(Cell cell);
    void set(int row, Cell cell);
    void clear();
    void reserve(size_t rows);
    // Reorders the values: the new row i holds the old row order[i].
    void permute(const std::vector<int> &order);
    // Orders two rows as Cell::compare does, without copying the values.
    int compareRows(int a, int b) const;

    // A value for storing: Null for an invalid or null QVariant, text cut to the
    // width. Throws DatasetError when the value does not fit the type.
    Cell toCell(const QVariant &value) const;
    // A value for looking up: no cutting (a longer text matches nothing);
    // std::nullopt when the value cannot equal any stored value.
    std::optional<Cell> toLookupCell(const QVariant &value) const;

    QVariant toVariant(const Cell &cell) const;
    QString toText(const Cell &cell) const;

    // "yyyy-MM-dd" with a year from 1 to 9999, as dates travel in packets.
    static std::optional<QDate> parseDate(QStringView text);
    static bool dateInRange(const QDate &date);
    // Cuts text to width UTF-16 units without leaving half a surrogate pair.
    static QString cut(QString text, int width);

private:
    std::optional<Cell> convert(const QVariant &value, bool forLookup, QString *error) const;

    Field m_field;
    std::vector<QString> m_text; // String columns
    std::vector<bool> m_textNull; // String columns
    std::vector<qint64> m_number; // the other columns, Cell::kNull for Null
};

} // namespace dataset
