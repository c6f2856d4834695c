#pragma once

#include "SoapType.h"

#include <QString>
#include <vector>

namespace sidi {

// A value of a remote type as it travels: nil, a scalar (kept as its wire text),
// a structure (one slot per property of its type, each set or not) or an array.
class Value
{
public:
    enum class Kind { Nil, Text, Object, Array };

    Value() = default;  // nil
    Value(const QString &text);
    Value(const char *text);
    Value(qint32 number);
    Value(bool flag);
    static Value object(const Type &type);
    static Value array(const Type &arrayType);

    Kind kind() const { return m_kind; }
    bool isNil() const { return m_kind == Kind::Nil; }
    // The structure or array type; nullptr for nil and scalars.
    const Type *type() const { return m_type; }

    // Scalars: the wire text (empty for nil); toInt/toBool read it as the wire does.
    QString toString() const { return m_text; }
    qint32 toInt(bool *ok = nullptr) const;
    bool toBool() const;

    // Structures. set() throws std::invalid_argument for a name the type lacks.
    bool has(QStringView property) const;
    Value get(QStringView property) const;  // nil when not set
    Value &set(QStringView property, const Value &value);
    bool hasAt(int index) const;
    const Value &at(int index) const;
    void setAt(int index, const Value &value);
    // The slot of property number index, marked as set, for filling in place.
    Value &slot(int index);

    // Arrays.
    int size() const { return int(m_items.size()); }
    const Value &item(int index) const { return m_items.at(size_t(index)); }
    void append(const Value &value);
    const std::vector<Value> &items() const { return m_items; }

    bool operator==(const Value &other) const;
    bool operator!=(const Value &other) const { return !(*this == other); }

private:
    Kind m_kind = Kind::Nil;
    const Type *m_type = nullptr;
    QString m_text;
    std::vector<Value> m_items;  // array items, or one slot per property
    std::vector<bool> m_set;     // structures: which slots hold a value
};

} // namespace sidi
