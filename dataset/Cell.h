#pragma once

// Internal to the dataset library: one stored value and the key built from
// several of them for the hash indexes.

#include <QHash>
#include <QString>

#include <limits>
#include <vector>

namespace dataset {

// A value as a table stores it. Text columns use `text` (with number 0, or kNull
// for Null); integer, date (Julian day) and boolean (0/1) columns use `number`.
// kNull is also the Julian day of a null QDate, so the two agree.
struct Cell
{
    static constexpr qint64 kNull = std::numeric_limits<qint64>::min();

    QString text;
    qint64 number = kNull;

    bool isNull() const { return number == kNull; }
    static Cell ofText(QString s) { return Cell{std::move(s), 0}; }
    static Cell ofNumber(qint64 n) { return Cell{QString(), n}; }

    friend bool operator==(const Cell &, const Cell &) = default;

    // Null first, then numbers, then texts in UTF-16 code unit order.
    static int compare(const Cell &a, const Cell &b)
    {
        if (a.isNull() != b.isNull())
            return a.isNull() ? -1 : 1;
        if (a.number != b.number)
            return a.number < b.number ? -1 : 1;
        return QString::compare(a.text, b.text, Qt::CaseSensitive);
    }
};

using Key = std::vector<Cell>;

struct KeyHash
{
    size_t operator()(const Key &key) const noexcept
    {
        size_t h = 0;
        for (const Cell &c : key)
            h = h * 1000003u ^ qHash(c.text, qHash(c.number));
        return h;
    }
};

} // namespace dataset
