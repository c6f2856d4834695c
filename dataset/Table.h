#pragma once

#include "Column.h"
#include "Field.h"
#include "KeyIndex.h"
#include "Record.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

namespace dataset {

// An in-memory table: typed, ordered columns and records held in memory until
// clear() empties them. It plays the part of the client dataset of the original
// programs (record tables, gateway datasets, the certified-pupil dataset).
//
// Columns (Field): String(n), Integer (32-bit), Date, Boolean; every value may be
// Null. Names are matched without regard to case. Columns are added before the
// first record.
//
// Values. setValue() and append() convert what they get to the column's type:
//   - an invalid or null QVariant is Null (SQL nulls from QSqlQuery included);
//   - String: any value's text; a text longer than the width is cut to the
//     width (never an error); a date is written yyyy-MM-dd;
//   - Integer: integers within 32 bits, integral doubles, booleans as 0/1, a text
//     holding a decimal number (blanks around it allowed); an empty text is Null;
//   - Date: QDate, QDateTime (its date), a text yyyy-MM-dd; an empty text or an
//     invalid QDate is Null; years 1 to 9999 only;
//   - Boolean: bool, integers (non-zero is true), the texts true/false/1/0.
//   Anything else throws DatasetError ("Il valore 'x' non è un intero a 32 bit
//   valido per il campo 'Y'"), and the record is left as it was.
// value() gives QString, int, QDate or bool, and an invalid QVariant for Null.
// An empty text is a value, not Null; packets keep the difference.
//
// Records and the cursor. The table is always open. It has a current record and
// the state Browse, Edit (edit() copied the current record into a buffer) or
// Insert (appendRecord() started a blank record). setValue() writes into the
// buffer; post() stores it, cancel() drops it. Moving the cursor (first, next,
// setRecNo, locate, findKey), append(), appendRecord(), sortBy() and the filter
// calls post a pending buffer first, like the original dataset; clear() drops
// it. While a buffer is open the value readers show the buffer.
//
// Filter. setFilter() restricts the table to the records the predicate accepts:
// recordCount(), recNo(), navigation, locate() and findKey()/hasKey() then see
// only those records, in table order. The predicate is evaluated for every
// record when it is set (one pass) and again for a record whenever it is posted
// or appended; a predicate that depends on outside state must be set again when
// that state changes. A posted record that no longer passes leaves the filtered
// view and the cursor moves to the record after it (or the last one). toPacket()
// ignores the filter.
//
// Hash indexes. addIndex(columns) keeps a hash of the given columns up to date
// through append, post, clear and sortBy; findKey()/hasKey() then cost O(1) on
// average. A reference check that must see only accepted records indexes the key
// and the error column together, e.g. addIndex({"IDScuola", "E"}) and
// hasKey(i, {id, 0}), instead of setting a filter for every lookup. locate() uses
// an index on exactly its columns when there is one and scans otherwise.
//
// Lookup values (locate, findKey, hasKey) are converted like stored values but
// never cut: a longer text, or a value the column cannot hold, matches nothing.
// Comparison is exact and case-sensitive; Null matches only Null.
//
// Ordering. sortBy(columns) reorders the records once, ascending, stable, Null
// before any value, texts by UTF-16 code units. Records appended later go to the
// end; sort again when needed.
//
// Costs: append O(1) amortised; post O(number of indexes) (plus O(n) when a
// filtered record enters or leaves the view); setFilter O(n); sortBy O(n log n).
//
// Errors are DatasetError (PacketError for packets) with Italian texts.
class Table
{
public:
    enum class State { Browse, Edit, Insert };
    using Filter = std::function<bool(const Record &)>;

    Table() = default;
    explicit Table(const QList<Field> &fields);

    // --- columns
    void addField(const QString &name, FieldType type, int size = 0); // size: String width, ignored otherwise
    int fieldCount() const { return int(m_columns.size()); }
    const Field &field(int index) const;
    QList<Field> fields() const;
    int fieldIndex(const QString &name) const; // -1 when there is no such column
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }

    // --- changing records
    // Adds one record with values in column order (fewer values leave the rest
    // Null) and makes it current. Nothing is added when a value does not convert.
    void append(const QVariantList &values);
    // Starts a blank record (all Null); fill it with setValue() and post() it.
    void appendRecord();
    // Starts editing the current record. Throws when there is none.
    void edit();
    void setValue(int field, const QVariant &value);
    void setValue(const QString &name, const QVariant &value);
    void post();
    void cancel();
    State state() const { return m_state; }
    // Deletes every record; columns, indexes (emptied) and the filter stay.
    void clear();

    // --- navigation (all within the filter)
    int recordCount() const;
    int recNo() const; // 1-based; 0 when there is no current record or a new one is open
    bool setRecNo(int recNo); // false (cursor unchanged) when out of range
    void first();
    void next(); // past the last record: eof() becomes true, the last record stays current
    bool eof() const { return m_eof; }

    // --- reading
    Record current() const; // all Null when there is no current record
    Record recordAt(int recNo) const; // without moving the cursor; all Null when out of range
    QVariant value(int field) const { return current().value(field); }
    QVariant value(const QString &name) const { return current().value(name); }
    bool isNull(int field) const { return current().isNull(field); }
    bool isNull(const QString &name) const { return current().isNull(name); }
    QString asString(int field) const { return current().asString(field); }
    QString asString(const QString &name) const { return current().asString(name); }
    int asInteger(int field) const { return current().asInteger(field); }
    int asInteger(const QString &name) const { return current().asInteger(name); }

    // --- filter
    void setFilter(Filter filter); // moves to the first record that passes; an empty Filter clears
    void clearFilter(); // keeps the current record
    bool isFiltered() const { return bool(m_filter); }

    // --- lookups
    // Moves to the first record whose columns equal the values; false (cursor
    // unchanged) when there is none.
    bool locate(const QString &field, const QVariant &value);
    bool locate(const QStringList &fields, const QVariantList &values);
    // Returns the id of a hash index on the columns (the same id for the same
    // columns), building it over the present records when new.
    int addIndex(const QStringList &fields);
    bool findKey(int index, const QVariantList &values); // moves like locate()
    bool hasKey(int index, const QVariantList &values) const; // the cursor stays

    // --- ordering
    void sortBy(const QStringList &fields);

    // --- data packets (CBOR, see DataPacket.h)
    QByteArray toPacket() const; // every record, table order, no filter, no open buffer
    static Table fromPacket(const QByteArray &packet); // throws PacketError

private:
    friend class Record;
    friend class DataPacket;
    friend class DataPacketReader;

    int column(const QString &name) const; // throws when unknown
    void checkColumn(int field) const;
    Cell cellAt(int row, int field) const;
    int visibleCount() const;
    int rowAt(int pos) const;
    int positionOf(int row) const; // -1 when the row is outside the filter
    Key keyOf(const KeyIndex &index, int row) const;
    std::optional<Key> lookupKey(const std::vector<int> &columns, const QVariantList &values) const;
    int firstVisible(const std::vector<int> *rows) const; // position of the first visible row, or -1
    int findPosition(int index, const QVariantList &values) const;
    std::vector<int> columnsOf(const QStringList &fields) const;
    void browse(); // posts an open buffer
    void appendCells(std::vector<Cell> cells, bool passes);
    void moveTo(int pos);

    std::vector<Column> m_columns;
    QHash<QString, int> m_names; // as written
    QHash<QString, int> m_foldedNames; // case-folded
    int m_rowCount = 0;

    State m_state = State::Browse;
    std::vector<Cell> m_buffer;
    int m_editRow = -1;

    int m_pos = -1; // position of the current record within the visible records
    bool m_eof = true;

    Filter m_filter;
    std::vector<int> m_view; // rows that pass the filter, ascending; used only when filtered

    std::vector<KeyIndex> m_indexes;
};

} // namespace dataset
