#pragma once

#include <QList>
#include <QString>
#include <initializer_list>

namespace sidi {

class Type;

// One property of a remote type, in the order the type declares it.
struct Property
{
    enum Flag {
        None = 0,
        // Document/literal: left out of the message when it was never set.
        Optional = 1,
        // Document/literal array: sent as the property element once per item,
        // without a wrapper element around the items.
        Repeatable = 2,
        // May be sent as xsi:nil="true" when it holds no value.
        Nillable = 4,
    };

    Property(const char *name, const Type &type, int flags = None)
        : name(QString::fromLatin1(name)), type(&type), flags(flags)
    {
    }

    QString name;
    const Type *type;
    int flags;

    bool optional() const { return flags & Optional; }
    bool repeatable() const { return flags & Repeatable; }
    bool nillable() const { return flags & Nillable; }
};

// A remote type: a scalar of XML Schema, a structure (its base's properties
// first, then its own) or an array of one element type. Types are declared once,
// as function-local statics, and referred to by address; they live for the
// whole process.
class Type
{
public:
    enum class Kind { String, Int, Long, Double, Boolean, Struct, Array };

    static const Type &String();
    static const Type &Int();
    static const Type &Long();
    static const Type &Double();
    static const Type &Boolean();

    // A structure; base, when given, contributes its properties first.
    Type(const char *name, std::initializer_list<Property> properties,
         const Type *base = nullptr);
    // An array whose items are of the element type.
    static Type arrayOf(const char *name, const Type &element);

    Kind kind() const { return m_kind; }
    bool isScalar() const { return m_kind != Kind::Struct && m_kind != Kind::Array; }
    bool isStruct() const { return m_kind == Kind::Struct; }
    bool isArray() const { return m_kind == Kind::Array; }

    // The wire name: "string", "int"... for scalars (XML Schema), else as declared.
    const QString &name() const { return m_name; }
    const Type *base() const { return m_base; }
    const Type *element() const { return m_element; }

    // Every property, inherited ones first.
    const QList<Property> &properties() const { return m_all; }
    // Index into properties(), or -1.
    int indexOf(QStringView name) const;
    // The type whose declaration holds property number index (itself or a base).
    const Type *declaringType(int index) const;

private:
    Type(Kind kind, const char *name);

    Kind m_kind;
    QString m_name;
    const Type *m_base = nullptr;
    const Type *m_element = nullptr;
    QList<Property> m_all;
    int m_ownFrom = 0;  // first own property in m_all
};

} // namespace sidi
