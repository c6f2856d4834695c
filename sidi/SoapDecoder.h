#pragma once

#include "SoapOperation.h"
#include "SoapValue.h"
#include "XmlNode.h"

#include <QByteArray>
#include <QHash>
#include <QList>

namespace sidi {

// Reads a SOAP 1.1 message into values of the declared types. It matches
// elements by local name whatever their prefix or namespace, ignores elements
// it does not know, and follows href/id multi-references as if the referenced
// element stood inline. Every problem is a SoapError; nothing in the input can
// make it crash or run without end.
class SoapDecoder
{
public:
    // Parses the message; throws NotXml, MalformedXml, or NotSoap when there is
    // no Envelope with a Body.
    explicit SoapDecoder(const QByteArray &message);
    SoapDecoder(const SoapDecoder &) = delete;
    SoapDecoder &operator=(const SoapDecoder &) = delete;

    const XmlNode &envelope() const { return m_root; }
    const XmlNode &body() const;
    const XmlNode *header() const;
    // The first element of the Body that is not a referenced multi-reference
    // element: the operation element in RPC style, the wrapper in document style.
    const XmlNode *bodyElement() const;

    bool isFault() const;
    // Throws SoapError::fault with the fault's code, string and detail.
    void throwIfFault() const;

    // An answer: in RPC style the first child of the response element, whatever
    // its name; in document style the body element. Throws on a fault.
    Value result(const Operation &operation) const;
    // A request, as a server reads it: the parameters in the declared order
    // (RPC parts by name, else by position).
    QList<Value> parameters(const Operation &operation) const;

    Value decode(const XmlNode &element, const Type &type) const;

private:
    Value decode(const XmlNode &element, const Type &type, int depth) const;
    const XmlNode *resolve(const XmlNode &element) const;
    [[noreturn]] void invalid(const QString &why) const;

    XmlNode m_root;
    const XmlNode *m_body = nullptr;
    QHash<QString, const XmlNode *> m_ids;
    mutable qint64 m_budget = 0;
};

} // namespace sidi
