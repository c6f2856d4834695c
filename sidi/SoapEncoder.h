#pragma once

#include "SoapOperation.h"
#include "SoapValue.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace sidi {

inline constexpr char kEnvelopeNamespace[] = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr char kEncodingNamespace[] = "http://schemas.xmlsoap.org/soap/encoding/";
inline constexpr char kInstanceNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";

// Builds SOAP 1.1 messages (UTF-8) from the declared types: RPC style with SOAP
// encoding (typed parts, SOAP-encoded arrays) or document/literal, as the port
// of the operation says.
class SoapEncoder
{
public:
    // An entry of the SOAP Header: an element of the given name in the
    // namespace of its type on the port, holding a structure.
    struct HeaderEntry
    {
        QString name;
        const Type *type;
        Value value;
    };

    static QByteArray request(const Operation &operation, const QString &targetNamespace,
                              const QList<Value> &arguments,
                              const QList<HeaderEntry> &headers = {});

    // The answer a server gives. With multiReference the result (and every
    // structure and array inside it) is sent as a separate element that the
    // result refers to by href, as some SOAP stacks do.
    static QByteArray response(const Operation &operation, const QString &targetNamespace,
                               const Value &result, bool multiReference = false);

    static QByteArray fault(const QString &faultCode, const QString &faultString,
                            const QString &detail = QString());
};

} // namespace sidi
