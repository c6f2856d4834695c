#include "SoapType.h"

namespace sidi {

Type::Type(Kind kind, const char *name) : m_kind(kind), m_name(QString::fromLatin1(name)) {}

const Type &Type::String()
{
    static const Type t(Kind::String, "string");
    return t;
}

const Type &Type::Int()
{
    static const Type t(Kind::Int, "int");
    return t;
}

const Type &Type::Long()
{
    static const Type t(Kind::Long, "long");
    return t;
}

const Type &Type::Double()
{
    static const Type t(Kind::Double, "double");
    return t;
}

const Type &Type::Boolean()
{
    static const Type t(Kind::Boolean, "boolean");
    return t;
}

Type::Type(const char *name, std::initializer_list<Property> properties, const Type *base)
    : m_kind(Kind::Struct), m_name(QString::fromLatin1(name)), m_base(base)
{
    if (base)
        m_all = base->properties();
    m_ownFrom = int(m_all.size());
    m_all.append(QList<Property>(properties));
}

Type Type::arrayOf(const char *name, const Type &element)
{
    Type t(Kind::Array, name);
    t.m_element = &element;
    return t;
}

int Type::indexOf(QStringView name) const
{
    for (int i = 0; i < m_all.size(); ++i) {
        if (m_all[i].name == name)
            return i;
    }
    return -1;
}

const Type *Type::declaringType(int index) const
{
    if (index >= m_ownFrom || !m_base)
        return this;
    return m_base->declaringType(index);
}

} // namespace sidi
