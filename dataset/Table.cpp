#include "Table.h"

#include "DataPacket.h"
#include "DatasetError.h"

#include <algorithm>
#include <numeric>

namespace dataset {

Table::Table(const QList<Field> &fields)
{
    for (const Field &f : fields)
        addField(f.name, f.type, f.size);
}

// --- columns

void Table::addField(const QString &name, FieldType type, int size)
{
    if (m_rowCount > 0 || m_state != State::Browse)
        throw DatasetError(QStringLiteral("Impossibile aggiungere il campo '%1': la tabella contiene record").arg(name));
    if (name.isEmpty() || name.size() > kMaxFieldNameLength)
        throw DatasetError(QStringLiteral("Nome di campo non valido: '%1'").arg(name));
    if (fieldIndex(name) >= 0)
        throw DatasetError(QStringLiteral("Campo '%1' già definito").arg(name));
    if (fieldCount() >= kMaxFields)
        throw DatasetError(QStringLiteral("Troppi campi: al massimo %1").arg(kMaxFields));
    if (type == FieldType::String && (size < 1 || size > kMaxStringSize))
        throw DatasetError(QStringLiteral("Dimensione non valida per il campo '%1': %2").arg(name).arg(size));
    if (type != FieldType::String)
        size = 0;
    m_names.insert(name, fieldCount());
    m_foldedNames.insert(name.toCaseFolded(), fieldCount());
    m_columns.emplace_back(Field{name, type, size});
}

const Field &Table::field(int index) const
{
    checkColumn(index);
    return m_columns[index].field();
}

QList<Field> Table::fields() const
{
    QList<Field> out;
    out.reserve(fieldCount());
    for (const Column &c : m_columns)
        out.append(c.field());
    return out;
}

int Table::fieldIndex(const QString &name) const
{
    // The exact spelling first: it needs no case folding, and it is the usual case.
    auto it = m_names.constFind(name);
    if (it != m_names.constEnd())
        return it.value();
    return m_foldedNames.value(name.toCaseFolded(), -1);
}

int Table::column(const QString &name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DatasetError(QStringLiteral("Campo '%1' non trovato").arg(name));
    return i;
}

void Table::checkColumn(int field) const
{
    if (field < 0 || field >= fieldCount())
        throw DatasetError(QStringLiteral("Campo numero %1 inesistente").arg(field));
}

std::vector<int> Table::columnsOf(const QStringList &fields) const
{
    if (fields.isEmpty())
        throw DatasetError(QStringLiteral("Nessun campo indicato"));
    std::vector<int> cols;
    cols.reserve(fields.size());
    for (const QString &f : fields)
        cols.push_back(column(f));
    return cols;
}

Cell Table::cellAt(int row, int field) const
{
    checkColumn(field);
    if (row == Record::kBuffer)
        return m_buffer[field];
    if (row == Record::kNone)
        return Cell();
    return m_columns[field].cell(row);
}

// --- changing records

void Table::append(const QVariantList &values)
{
    if (values.size() > fieldCount())
        throw DatasetError(QStringLiteral("Troppi valori: la tabella ha %1 campi").arg(fieldCount()));
    browse();
    std::vector<Cell> cells(fieldCount());
    for (int i = 0; i < values.size(); ++i)
        cells[i] = m_columns[i].toCell(values[i]);
    m_buffer = std::move(cells);
    m_state = State::Insert;
    try {
        post();
    } catch (...) {
        cancel(); // a throwing filter must not leave a half-added record open
        throw;
    }
}

void Table::appendRecord()
{
    browse();
    m_buffer.assign(fieldCount(), Cell());
    m_state = State::Insert;
}

void Table::edit()
{
    if (m_state != State::Browse)
        return;
    if (m_pos < 0)
        throw DatasetError(QStringLiteral("Nessun record corrente da modificare"));
    m_editRow = rowAt(m_pos);
    m_buffer.resize(fieldCount());
    for (int c = 0; c < fieldCount(); ++c)
        m_buffer[c] = m_columns[c].cell(m_editRow);
    m_state = State::Edit;
}

void Table::setValue(int field, const QVariant &value)
{
    checkColumn(field);
    if (m_state == State::Browse)
        throw DatasetError(QStringLiteral("La tabella non è in modifica o inserimento"));
    m_buffer[field] = m_columns[field].toCell(value);
}

void Table::setValue(const QString &name, const QVariant &value)
{
    setValue(column(name), value);
}

void Table::post()
{
    if (m_state == State::Browse)
        return;
    // Ask the filter before changing anything, so that a throwing predicate leaves the table as it was.
    const bool passes = !m_filter || m_filter(Record(this, Record::kBuffer));
    std::vector<Cell> cells = std::move(m_buffer);
    m_buffer.clear();
    const State was = m_state;
    m_state = State::Browse;

    if (was == State::Insert) {
        appendCells(std::move(cells), passes);
        return;
    }

    const int row = m_editRow;
    m_editRow = -1;
    for (KeyIndex &index : m_indexes) {
        Key before = keyOf(index, row);
        Key after;
        after.reserve(index.columns().size());
        for (int c : index.columns())
            after.push_back(cells[c]);
        if (before != after) {
            index.remove(before, row);
            index.insert(after, row);
        }
    }
    for (int c = 0; c < fieldCount(); ++c)
        m_columns[c].set(row, std::move(cells[c]));

    if (m_filter) {
        auto it = std::lower_bound(m_view.begin(), m_view.end(), row);
        const bool present = it != m_view.end() && *it == row;
        if (passes && !present)
            it = m_view.insert(it, row);
        else if (!passes && present)
            it = m_view.erase(it);
        const int pos = int(it - m_view.begin());
        moveTo(passes ? pos : std::min(pos, visibleCount() - 1));
    } else {
        moveTo(row);
    }
}

void Table::cancel()
{
    m_state = State::Browse;
    m_buffer.clear();
    m_editRow = -1;
}

void Table::appendCells(std::vector<Cell> cells, bool passes)
{
    const int row = m_rowCount;
    for (KeyIndex &index : m_indexes) {
        Key key;
        key.reserve(index.columns().size());
        for (int c : index.columns())
            key.push_back(cells[c]);
        index.insert(key, row);
    }
    for (int c = 0; c < fieldCount(); ++c)
        m_columns[c].append(std::move(cells[c]));
    ++m_rowCount;
    if (m_filter && passes)
        m_view.push_back(row);
    // A record that the filter hides leaves the cursor on the last visible record.
    moveTo(passes ? positionOf(row) : visibleCount() - 1);
}

void Table::clear()
{
    cancel();
    for (Column &c : m_columns)
        c.clear();
    m_rowCount = 0;
    for (KeyIndex &index : m_indexes)
        index.clear();
    std::vector<int>().swap(m_view);
    moveTo(-1);
}

void Table::browse()
{
    post();
}

// --- navigation

int Table::visibleCount() const
{
    return m_filter ? int(m_view.size()) : m_rowCount;
}

int Table::rowAt(int pos) const
{
    return m_filter ? m_view[pos] : pos;
}

int Table::positionOf(int row) const
{
    if (!m_filter)
        return row;
    auto it = std::lower_bound(m_view.begin(), m_view.end(), row);
    return it != m_view.end() && *it == row ? int(it - m_view.begin()) : -1;
}

void Table::moveTo(int pos)
{
    m_pos = pos;
    m_eof = pos < 0;
}

int Table::recordCount() const
{
    return visibleCount();
}

int Table::recNo() const
{
    return m_state == State::Insert || m_pos < 0 ? 0 : m_pos + 1;
}

bool Table::setRecNo(int recNo)
{
    browse();
    if (recNo < 1 || recNo > visibleCount())
        return false;
    moveTo(recNo - 1);
    return true;
}

void Table::first()
{
    browse();
    moveTo(visibleCount() > 0 ? 0 : -1);
}

void Table::next()
{
    browse();
    if (m_pos >= 0 && m_pos + 1 < visibleCount())
        ++m_pos;
    else
        m_eof = true;
}

Record Table::current() const
{
    if (m_state != State::Browse)
        return Record(this, Record::kBuffer);
    return Record(this, m_pos < 0 ? Record::kNone : rowAt(m_pos));
}

Record Table::recordAt(int recNo) const
{
    if (recNo < 1 || recNo > visibleCount())
        return Record(this, Record::kNone);
    return Record(this, rowAt(recNo - 1));
}

// --- filter

void Table::setFilter(Filter filter)
{
    if (!filter) {
        clearFilter();
        return;
    }
    browse();
    std::vector<int> view;
    for (int row = 0; row < m_rowCount; ++row) {
        if (filter(Record(this, row)))
            view.push_back(row);
    }
    m_filter = std::move(filter);
    m_view = std::move(view);
    moveTo(visibleCount() > 0 ? 0 : -1);
}

void Table::clearFilter()
{
    browse();
    const int row = m_pos >= 0 ? rowAt(m_pos) : -1;
    m_filter = nullptr;
    std::vector<int>().swap(m_view);
    moveTo(row >= 0 ? row : (m_rowCount > 0 ? 0 : -1));
}

// --- lookups

Key Table::keyOf(const KeyIndex &index, int row) const
{
    Key key;
    key.reserve(index.columns().size());
    for (int c : index.columns())
        key.push_back(m_columns[c].cell(row));
    return key;
}

std::optional<Key> Table::lookupKey(const std::vector<int> &columns, const QVariantList &values) const
{
    if (values.size() != qsizetype(columns.size()))
        throw DatasetError(QStringLiteral("Numero di valori errato: attesi %1, ricevuti %2")
                               .arg(columns.size())
                               .arg(values.size()));
    Key key;
    key.reserve(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        std::optional<Cell> c = m_columns[columns[i]].toLookupCell(values[qsizetype(i)]);
        if (!c)
            return std::nullopt;
        key.push_back(std::move(*c));
    }
    return key;
}

int Table::firstVisible(const std::vector<int> *rows) const
{
    if (!rows)
        return -1;
    for (int row : *rows) {
        const int pos = positionOf(row);
        if (pos >= 0)
            return pos;
    }
    return -1;
}

bool Table::locate(const QString &field, const QVariant &value)
{
    return locate(QStringList{field}, QVariantList{value});
}

bool Table::locate(const QStringList &fields, const QVariantList &values)
{
    const std::vector<int> cols = columnsOf(fields);
    browse();
    const std::optional<Key> key = lookupKey(cols, values);
    if (!key)
        return false;
    int found = -1;
    auto index = std::find_if(m_indexes.begin(), m_indexes.end(),
                              [&](const KeyIndex &i) { return i.columns() == cols; });
    if (index != m_indexes.end()) {
        found = firstVisible(index->find(*key));
    } else {
        for (int pos = 0, n = visibleCount(); pos < n && found < 0; ++pos) {
            const int row = rowAt(pos);
            bool same = true;
            for (size_t i = 0; i < cols.size() && same; ++i)
                same = m_columns[cols[i]].cell(row) == (*key)[i];
            if (same)
                found = pos;
        }
    }
    if (found < 0)
        return false;
    moveTo(found);
    return true;
}

int Table::addIndex(const QStringList &fields)
{
    std::vector<int> cols = columnsOf(fields);
    for (size_t i = 0; i < m_indexes.size(); ++i) {
        if (m_indexes[i].columns() == cols)
            return int(i);
    }
    KeyIndex index(std::move(cols));
    for (int row = 0; row < m_rowCount; ++row)
        index.insert(keyOf(index, row), row);
    m_indexes.push_back(std::move(index));
    return int(m_indexes.size()) - 1;
}

bool Table::findKey(int index, const QVariantList &values)
{
    browse();
    const int pos = findPosition(index, values);
    if (pos < 0)
        return false;
    moveTo(pos);
    return true;
}

bool Table::hasKey(int index, const QVariantList &values) const
{
    return findPosition(index, values) >= 0;
}

int Table::findPosition(int index, const QVariantList &values) const
{
    if (index < 0 || index >= int(m_indexes.size()))
        throw DatasetError(QStringLiteral("Indice %1 inesistente").arg(index));
    const KeyIndex &i = m_indexes[index];
    const std::optional<Key> key = lookupKey(i.columns(), values);
    return key ? firstVisible(i.find(*key)) : -1;
}

// --- ordering

void Table::sortBy(const QStringList &fields)
{
    const std::vector<int> cols = columnsOf(fields);
    browse();
    std::vector<int> order(m_rowCount);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (int c : cols) {
            if (const int r = m_columns[c].compareRows(a, b))
                return r < 0;
        }
        return false;
    });
    for (Column &c : m_columns)
        c.permute(order);
    for (KeyIndex &index : m_indexes) {
        index.clear();
        for (int row = 0; row < m_rowCount; ++row)
            index.insert(keyOf(index, row), row);
    }
    if (m_filter) {
        // Sorting changes no value, so the same records stay visible at their new places.
        std::vector<int> newRow(m_rowCount);
        for (int i = 0; i < m_rowCount; ++i)
            newRow[order[i]] = i;
        for (int &row : m_view)
            row = newRow[row];
        std::sort(m_view.begin(), m_view.end());
    }
    moveTo(visibleCount() > 0 ? 0 : -1);
}

// --- data packets

QByteArray Table::toPacket() const
{
    return DataPacket::encode(*this);
}

Table Table::fromPacket(const QByteArray &packet)
{
    return DataPacket::decode(packet);
}

} // namespace dataset
