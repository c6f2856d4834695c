#include "SoapValue.h"

#include <stdexcept>

namespace sidi {

Value::Value(const QString &text) : m_kind(Kind::Text), m_text(text) {}

Value::Value(const char *text) : m_kind(Kind::Text), m_text(QString::fromUtf8(text)) {}

Value::Value(qint32 number) : m_kind(Kind::Text), m_text(QString::number(number)) {}

Value::Value(bool flag)
    : m_kind(Kind::Text), m_text(flag ? QStringLiteral("true") : QStringLiteral("false"))
{
}

Value Value::object(const Type &type)
{
    Value v;
    v.m_kind = Kind::Object;
    v.m_type = &type;
    v.m_items.resize(size_t(type.properties().size()));
    v.m_set.resize(size_t(type.properties().size()), false);
    return v;
}

Value Value::array(const Type &arrayType)
{
    Value v;
    v.m_kind = Kind::Array;
    v.m_type = &arrayType;
    return v;
}

qint32 Value::toInt(bool *ok) const
{
    return m_text.trimmed().toInt(ok);
}

bool Value::toBool() const
{
    const QString t = m_text.trimmed();
    return t == QLatin1String("true") || t == QLatin1String("1");
}

bool Value::has(QStringView property) const
{
    if (m_kind != Kind::Object)
        return false;
    const int i = m_type->indexOf(property);
    return i >= 0 && m_set[size_t(i)];
}

Value Value::get(QStringView property) const
{
    if (m_kind != Kind::Object)
        return Value();
    const int i = m_type->indexOf(property);
    return i >= 0 ? m_items[size_t(i)] : Value();
}

Value &Value::set(QStringView property, const Value &value)
{
    const int i = m_kind == Kind::Object ? m_type->indexOf(property) : -1;
    if (i < 0) {
        throw std::invalid_argument(
            QStringLiteral("Proprietà sconosciuta %1 del tipo %2")
                .arg(property, m_type ? m_type->name() : QStringLiteral("(nessuno)"))
                .toStdString());
    }
    setAt(i, value);
    return *this;
}

bool Value::hasAt(int index) const
{
    return m_kind == Kind::Object && index >= 0 && size_t(index) < m_set.size()
           && m_set[size_t(index)];
}

const Value &Value::at(int index) const
{
    return m_items.at(size_t(index));
}

void Value::setAt(int index, const Value &value)
{
    m_items.at(size_t(index)) = value;
    m_set[size_t(index)] = true;
}

Value &Value::slot(int index)
{
    m_set.at(size_t(index)) = true;
    return m_items.at(size_t(index));
}

void Value::append(const Value &value)
{
    if (m_kind != Kind::Array)
        throw std::invalid_argument("Value::append on a value that is not an array");
    m_items.push_back(value);
}

bool Value::operator==(const Value &other) const
{
    return m_kind == other.m_kind && m_type == other.m_type && m_text == other.m_text
           && m_items == other.m_items && m_set == other.m_set;
}

} // namespace sidi
