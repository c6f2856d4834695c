#pragma once

#include "SoapType.h"

#include <QHash>
#include <QList>
#include <QString>

namespace sidi {

enum class Style {
    RpcEncoded,       // operation element, typed parts, SOAP-encoded arrays
    DocumentLiteral,  // the part is the body element itself, untyped
};

// Where the XML type of a remote type lives, relative to the port's target
// namespace.
enum class NamespaceRole {
    Target,  // the target namespace itself
    Types,   // the target namespace followed by "types/"
    Schema,  // the XML Schema namespace
};

// One port of a SIDI service: its interface name (also the configuration key of
// its namespace), the port name that ends its address, the message style and the
// namespace of its types.
struct Port
{
    QString interfaceName;
    QString portName;
    Style style = Style::RpcEncoded;
    NamespaceRole typesRole = NamespaceRole::Target;
    // Types that live elsewhere than typesRole says, by type name.
    QHash<QString, NamespaceRole> typeRoles;

    // The namespace URI of a structure or array type for the given target namespace.
    QString typeNamespace(const Type &type, const QString &targetNamespace) const;
};

struct Part
{
    Part(const char *name, const Type &type) : name(QString::fromLatin1(name)), type(&type) {}
    QString name;
    const Type *type;
};

// One operation of a port: its parameters in order and its result. In
// document/literal style the single parameter and the result are wrapper
// elements named after their types.
struct Operation
{
    const Port *port;
    QString name;
    QList<Part> input;
    Part output;

    QString soapAction(const QString &targetNamespace) const
    {
        return targetNamespace + QLatin1Char('/') + name;
    }
};

inline constexpr char kSchemaNamespace[] = "http://www.w3.org/2001/XMLSchema";

inline QString Port::typeNamespace(const Type &type, const QString &targetNamespace) const
{
    const NamespaceRole role = typeRoles.value(type.name(), typesRole);
    switch (role) {
    case NamespaceRole::Target:
        return targetNamespace;
    case NamespaceRole::Types:
        return targetNamespace + QLatin1String("types/");
    case NamespaceRole::Schema:
        break;
    }
    return QString::fromLatin1(kSchemaNamespace);
}

} // namespace sidi
