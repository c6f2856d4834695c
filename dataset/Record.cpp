#include "Record.h"

#include "Table.h"

namespace dataset {

Cell Record::cell(int field) const
{
    return m_table->cellAt(m_row, field);
}

QVariant Record::value(int field) const
{
    const Cell c = cell(field);
    return m_table->m_columns[field].toVariant(c);
}

QVariant Record::value(const QString &name) const
{
    return value(m_table->column(name));
}

bool Record::isNull(int field) const
{
    return cell(field).isNull();
}

bool Record::isNull(const QString &name) const
{
    return isNull(m_table->column(name));
}

QString Record::asString(int field) const
{
    const Cell c = cell(field);
    return m_table->m_columns[field].toText(c);
}

QString Record::asString(const QString &name) const
{
    return asString(m_table->column(name));
}

int Record::asInteger(int field) const
{
    const Cell c = cell(field);
    if (c.isNull())
        return 0;
    switch (m_table->m_columns[field].field().type) {
    case FieldType::String:
        return c.text.trimmed().toInt();
    case FieldType::Date:
        return 0;
    default:
        return int(c.number);
    }
}

int Record::asInteger(const QString &name) const
{
    return asInteger(m_table->column(name));
}

} // namespace dataset
