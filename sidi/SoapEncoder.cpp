#include "SoapEncoder.h"

#include <QSet>
#include <QXmlStreamWriter>
#include <deque>

namespace sidi {

namespace {

const QString kEnc = QStringLiteral("SOAP-ENC");

class Writer
{
public:
    Writer(const Operation &op, const QString &target, bool multiRef)
        : m_port(*op.port), m_target(target), m_multiRef(multiRef), m_xml(&m_bytes)
    {
    }

    QByteArray run(const std::function<void()> &body, const QList<const Type *> &roots,
                   const QList<SoapEncoder::HeaderEntry> &headers)
    {
        collectNamespaces(roots);
        for (const auto &h : headers)
            collectNamespaces({h.type});
        m_xml.writeStartDocument();
        m_xml.writeNamespace(QString::fromLatin1(kEnvelopeNamespace), QStringLiteral("SOAP-ENV"));
        m_xml.writeNamespace(QString::fromLatin1(kSchemaNamespace), QStringLiteral("xsd"));
        m_xml.writeNamespace(QString::fromLatin1(kInstanceNamespace), QStringLiteral("xsi"));
        m_xml.writeNamespace(QString::fromLatin1(kEncodingNamespace), kEnc);
        m_xml.writeStartElement(QString::fromLatin1(kEnvelopeNamespace), QStringLiteral("Envelope"));
        for (const QString &ns : m_order)
            m_xml.writeNamespace(ns, m_prefixes.value(ns));
        if (!headers.isEmpty()) {
            m_xml.writeStartElement(QString::fromLatin1(kEnvelopeNamespace), QStringLiteral("Header"));
            for (const auto &h : headers) {
                if (rpc())
                    writeEncoded(h.name, *h.type, h.value, true, typeNamespace(*h.type));
                else
                    writeLiteral(h.name, typeNamespace(*h.type), *h.type, h.value);
            }
            m_xml.writeEndElement();
        }
        m_xml.writeStartElement(QString::fromLatin1(kEnvelopeNamespace), QStringLiteral("Body"));
        if (rpc())
            m_xml.writeAttribute(QString::fromLatin1(kEnvelopeNamespace), QStringLiteral("encodingStyle"),
                                 QString::fromLatin1(kEncodingNamespace));
        body();
        writePendingReferences();
        m_xml.writeEndElement();  // Body
        m_xml.writeEndElement();  // Envelope
        m_xml.writeEndDocument();
        return m_bytes;
    }

    bool rpc() const { return m_port.style == Style::RpcEncoded; }
    QString target() const { return m_target; }
    QXmlStreamWriter &xml() { return m_xml; }

    QString typeNamespace(const Type &type) const
    {
        if (type.isScalar())
            return QString::fromLatin1(kSchemaNamespace);
        return m_port.typeNamespace(type, m_target);
    }

    // RPC/encoded: every element carries xsi:type; the element itself is
    // unqualified unless it is a header entry.
    void writeEncoded(const QString &name, const Type &type, const Value &value, bool set,
                      const QString &elementNs = QString())
    {
        startElement(elementNs, name);
        if (value.isNil() && (!type.isScalar() || set)) {
            m_xml.writeAttribute(QString::fromLatin1(kInstanceNamespace), QStringLiteral("nil"),
                                 QStringLiteral("true"));
            m_xml.writeEndElement();
            return;
        }
        if (m_multiRef && !type.isScalar()) {
            m_xml.writeAttribute(QStringLiteral("href"), QStringLiteral("#%1").arg(refer(type, value)));
            m_xml.writeEndElement();
            return;
        }
        writeEncodedContent(type, value);
        m_xml.writeEndElement();
    }

    void writeEncodedContent(const Type &type, const Value &value)
    {
        if (type.isScalar()) {
            m_xml.writeAttribute(QString::fromLatin1(kInstanceNamespace), QStringLiteral("type"),
                                 qualified(type));
            m_xml.writeCharacters(value.toString());
        } else if (type.isStruct()) {
            m_xml.writeAttribute(QString::fromLatin1(kInstanceNamespace), QStringLiteral("type"),
                                 qualified(type));
            const auto &props = type.properties();
            for (int i = 0; i < props.size(); ++i) {
                const bool set = value.kind() == Value::Kind::Object && value.type() == &type
                                 && value.hasAt(i);
                writeEncoded(props[i].name, *props[i].type, set ? value.at(i) : Value(), set);
            }
        } else {
            const Type &element = *type.element();
            m_xml.writeAttribute(QString::fromLatin1(kInstanceNamespace), QStringLiteral("type"),
                                 kEnc + QStringLiteral(":Array"));
            m_xml.writeAttribute(QString::fromLatin1(kEncodingNamespace), QStringLiteral("arrayType"),
                                 QStringLiteral("%1[%2]").arg(qualified(element)).arg(value.size()));
            for (const Value &item : value.items())
                writeEncoded(QStringLiteral("item"), element, item, true);
        }
    }

    // Document/literal: elements qualified by the namespace of the type that
    // declares them; no xsi:type.
    void writeLiteral(const QString &name, const QString &ns, const Type &type, const Value &value)
    {
        m_xml.writeStartElement(ns, name);
        if (value.isNil()) {
            m_xml.writeAttribute(QString::fromLatin1(kInstanceNamespace), QStringLiteral("nil"),
                                 QStringLiteral("true"));
        } else if (type.isScalar()) {
            m_xml.writeCharacters(value.toString());
        } else if (type.isStruct()) {
            const auto &props = type.properties();
            for (int i = 0; i < props.size(); ++i) {
                const Property &p = props[i];
                const QString pns = typeNamespace(*type.declaringType(i));
                const bool set = value.kind() == Value::Kind::Object && value.type() == &type
                                 && value.hasAt(i);
                if (!set) {
                    if (p.optional())
                        continue;
                    if (p.nillable() || !p.type->isScalar()) {
                        if (p.nillable())
                            writeLiteral(p.name, pns, *p.type, Value());
                        continue;
                    }
                    writeLiteral(p.name, pns, *p.type, Value(QString()));
                    continue;
                }
                const Value &v = value.at(i);
                if (v.isNil() && !p.nillable())
                    continue;
                if (p.type->isArray() && p.repeatable() && !v.isNil()) {
                    for (const Value &item : v.items())
                        writeLiteral(p.name, pns, *p.type->element(), item);
                    continue;
                }
                writeLiteral(p.name, pns, *p.type, v);
            }
        } else {
            for (const Value &item : value.items())
                writeLiteral(QStringLiteral("item"), ns, *type.element(), item);
        }
        m_xml.writeEndElement();
    }

    // A top-level part in multi-reference form, scalars included.
    void writeReferencedPart(const QString &name, const Type &type, const Value &value)
    {
        if (value.isNil()) {
            writeEncoded(name, type, value, true);
            return;
        }
        m_xml.writeStartElement(name);
        m_xml.writeAttribute(QStringLiteral("href"), QStringLiteral("#%1").arg(refer(type, value)));
        m_xml.writeEndElement();
    }

private:
    void startElement(const QString &ns, const QString &name)
    {
        if (ns.isEmpty())
            m_xml.writeStartElement(name);
        else
            m_xml.writeStartElement(ns, name);
    }

    QString qualified(const Type &type) const
    {
        const QString ns = typeNamespace(type);
        if (ns == QLatin1String(kSchemaNamespace))
            return QStringLiteral("xsd:") + type.name();
        return m_prefixes.value(ns) + QLatin1Char(':') + type.name();
    }

    int refer(const Type &type, const Value &value)
    {
        m_pending.push_back({++m_lastId, &type, value});
        return m_lastId;
    }

    void writePendingReferences()
    {
        while (!m_pending.empty()) {
            const Pending p = m_pending.front();
            m_pending.pop_front();
            m_xml.writeStartElement(QStringLiteral("ref%1").arg(p.id));
            m_xml.writeAttribute(QStringLiteral("id"), QString::number(p.id));
            m_xml.writeAttribute(QString::fromLatin1(kEncodingNamespace), QStringLiteral("root"),
                                 QStringLiteral("0"));
            writeEncodedContent(*p.type, p.value);
            m_xml.writeEndElement();
        }
    }

    void collectNamespaces(const QList<const Type *> &roots)
    {
        addNamespace(m_target);
        QSet<const Type *> seen;
        QList<const Type *> todo = roots;
        while (!todo.isEmpty()) {
            const Type *t = todo.takeLast();
            if (!t || t->isScalar() || seen.contains(t))
                continue;
            seen.insert(t);
            addNamespace(typeNamespace(*t));
            if (t->isArray())
                todo.append(t->element());
            for (const Property &p : t->properties())
                todo.append(p.type);
        }
    }

    void addNamespace(const QString &ns)
    {
        if (ns == QLatin1String(kSchemaNamespace) || m_prefixes.contains(ns))
            return;
        m_order.append(ns);
        m_prefixes.insert(ns, QStringLiteral("NS%1").arg(m_order.size()));
    }

    struct Pending
    {
        int id;
        const Type *type;
        Value value;
    };

    const Port &m_port;
    QString m_target;
    bool m_multiRef;
    QByteArray m_bytes;
    QXmlStreamWriter m_xml;
    QHash<QString, QString> m_prefixes;
    QStringList m_order;
    std::deque<Pending> m_pending;
    int m_lastId = 0;
};

} // namespace

QByteArray SoapEncoder::request(const Operation &operation, const QString &targetNamespace,
                                const QList<Value> &arguments, const QList<HeaderEntry> &headers)
{
    Writer w(operation, targetNamespace, false);
    QList<const Type *> roots;
    for (const Part &p : operation.input)
        roots.append(p.type);
    return w.run(
        [&] {
            if (w.rpc()) {
                w.xml().writeStartElement(w.target(), operation.name);
                for (int i = 0; i < operation.input.size(); ++i) {
                    const Part &p = operation.input[i];
                    const Value v = i < arguments.size() ? arguments[i] : Value();
                    w.writeEncoded(p.name, *p.type, v, i < arguments.size());
                }
                w.xml().writeEndElement();
            } else {
                for (int i = 0; i < operation.input.size(); ++i) {
                    const Part &p = operation.input[i];
                    const Value v = i < arguments.size() ? arguments[i] : Value();
                    w.writeLiteral(p.type->name(), w.typeNamespace(*p.type), *p.type, v);
                }
            }
        },
        roots, headers);
}

QByteArray SoapEncoder::response(const Operation &operation, const QString &targetNamespace,
                                 const Value &result, bool multiReference)
{
    Writer w(operation, targetNamespace, multiReference && operation.port->style == Style::RpcEncoded);
    return w.run(
        [&] {
            const Part &out = operation.output;
            if (w.rpc()) {
                w.xml().writeStartElement(w.target(), operation.name + QStringLiteral("Response"));
                if (multiReference)
                    w.writeReferencedPart(out.name, *out.type, result);
                else
                    w.writeEncoded(out.name, *out.type, result, true);
                w.xml().writeEndElement();
            } else {
                w.writeLiteral(out.type->name(), w.typeNamespace(*out.type), *out.type, result);
            }
        },
        {operation.output.type}, {});
}

QByteArray SoapEncoder::fault(const QString &faultCode, const QString &faultString,
                              const QString &detail)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    const QString env = QString::fromLatin1(kEnvelopeNamespace);
    xml.writeStartDocument();
    xml.writeNamespace(env, QStringLiteral("SOAP-ENV"));
    xml.writeStartElement(env, QStringLiteral("Envelope"));
    xml.writeStartElement(env, QStringLiteral("Body"));
    xml.writeStartElement(env, QStringLiteral("Fault"));
    xml.writeTextElement(QStringLiteral("faultcode"), faultCode);
    xml.writeTextElement(QStringLiteral("faultstring"), faultString);
    if (!detail.isEmpty())
        xml.writeTextElement(QStringLiteral("detail"), detail);
    xml.writeEndDocument();
    return bytes;
}

} // namespace sidi
