#include "SoapDecoder.h"

#include "SoapError.h"

namespace sidi {

namespace {

// A structure nested deeper than this is not a SIDI answer.
constexpr int kMaxValueDepth = 64;
// Values one answer may produce; references shared many times over could
// otherwise multiply a small message into an enormous result.
constexpr qint64 kMaxValues = 2'000'000;
// Hops of a reference that points at another reference.
constexpr int kMaxHops = 16;

bool isTrue(const QString &text)
{
    const QString t = text.trimmed();
    return t == QLatin1String("true") || t == QLatin1String("1");
}

void indexIds(const XmlNode &node, QHash<QString, const XmlNode *> &ids)
{
    const QString id = node.attribute(u"id");
    if (!id.isEmpty() && !ids.contains(id))
        ids.insert(id, &node);
    for (const XmlNode &c : node.children)
        indexIds(c, ids);
}

} // namespace

SoapDecoder::SoapDecoder(const QByteArray &message) : m_root(parseXml(message))
{
    if (m_root.name != QLatin1String("Envelope"))
        invalid(QStringLiteral("l'elemento radice è %1 invece di Envelope").arg(m_root.name));
    m_body = m_root.child(u"Body");
    if (!m_body)
        invalid(QStringLiteral("manca l'elemento Body"));
    indexIds(m_root, m_ids);
}

void SoapDecoder::invalid(const QString &why) const
{
    throw SoapError(SoapError::Kind::NotSoap,
                    QStringLiteral("Risposta SOAP non valida: %1").arg(why));
}

const XmlNode &SoapDecoder::body() const
{
    return *m_body;
}

const XmlNode *SoapDecoder::header() const
{
    return m_root.child(u"Header");
}

const XmlNode *SoapDecoder::bodyElement() const
{
    for (const XmlNode &c : m_body->children) {
        if (!c.hasAttribute(u"id"))
            return &c;
    }
    return m_body->children.empty() ? nullptr : &m_body->children.front();
}

bool SoapDecoder::isFault() const
{
    const XmlNode *e = bodyElement();
    return e && e->name == QLatin1String("Fault");
}

void SoapDecoder::throwIfFault() const
{
    if (!isFault())
        return;
    const XmlNode &f = *bodyElement();
    const XmlNode *code = f.child(u"faultcode");
    const XmlNode *text = f.child(u"faultstring");
    const XmlNode *detail = f.child(u"detail");
    throw SoapError::fault(code ? code->allText().trimmed() : QString(),
                           text ? text->allText().trimmed() : QString(),
                           detail ? detail->allText().trimmed() : QString());
}

Value SoapDecoder::result(const Operation &operation) const
{
    throwIfFault();
    const XmlNode *element = bodyElement();
    if (!element)
        invalid(QStringLiteral("il Body è vuoto"));
    m_budget = 0;
    if (operation.port->style == Style::DocumentLiteral)
        return decode(*element, *operation.output.type);
    // SIDI's part names are not known to us: the return is the first part.
    const XmlNode *response = resolve(*element);
    if (!response || response->children.empty())
        return Value();
    return decode(response->children.front(), *operation.output.type);
}

QList<Value> SoapDecoder::parameters(const Operation &operation) const
{
    const XmlNode *element = bodyElement();
    if (!element)
        invalid(QStringLiteral("il Body è vuoto"));
    m_budget = 0;
    QList<Value> out;
    if (operation.port->style == Style::DocumentLiteral) {
        for (const Part &p : operation.input) {
            const XmlNode *node = nullptr;
            for (const XmlNode &c : m_body->children) {
                if (c.name == p.type->name()) {
                    node = &c;
                    break;
                }
            }
            out.append(node ? decode(*node, *p.type) : Value());
        }
        return out;
    }
    const XmlNode *call = resolve(*element);
    for (int i = 0; i < operation.input.size(); ++i) {
        const Part &p = operation.input[i];
        const XmlNode *node = call ? call->child(p.name) : nullptr;
        if (!node && call && size_t(i) < call->children.size())
            node = &call->children[size_t(i)];
        out.append(node ? decode(*node, *p.type) : Value());
    }
    return out;
}

Value SoapDecoder::decode(const XmlNode &element, const Type &type) const
{
    return decode(element, type, 0);
}

const XmlNode *SoapDecoder::resolve(const XmlNode &element) const
{
    const XmlNode *node = &element;
    for (int hop = 0; hop < kMaxHops; ++hop) {
        const QString href = node->attribute(u"href");
        if (href.isEmpty())
            return node;
        // A reference that leads nowhere reads as a value that is not there.
        node = m_ids.value(href.startsWith(QLatin1Char('#')) ? href.mid(1) : href);
        if (!node)
            return nullptr;
    }
    invalid(QStringLiteral("catena di riferimenti href troppo lunga"));
}

Value SoapDecoder::decode(const XmlNode &element, const Type &type, int depth) const
{
    if (depth > kMaxValueDepth)
        invalid(QStringLiteral("valori annidati troppo in profondità"));
    if (++m_budget > kMaxValues)
        invalid(QStringLiteral("troppi valori nella risposta"));
    const XmlNode *node = resolve(element);
    if (!node || isTrue(node->attribute(u"nil")))
        return Value();
    if (type.isScalar())
        return Value(node->text);
    if (type.isArray()) {
        Value array = Value::array(type);
        for (const XmlNode &c : node->children)
            array.append(decode(c, *type.element(), depth + 1));
        return array;
    }
    Value object = Value::object(type);
    const auto &props = type.properties();
    for (const XmlNode &c : node->children) {
        const int i = type.indexOf(c.name);
        if (i < 0)
            continue;
        const Property &p = props[i];
        if (p.type->isArray() && p.repeatable()) {
            // One element per item, without a wrapper; a nil one stands for
            // the whole list being nil.
            Value &slot = object.slot(i);
            const Value item = decode(c, *p.type->element(), depth + 1);
            if (item.isNil() && isTrue(c.attribute(u"nil")))
                continue;
            if (slot.kind() != Value::Kind::Array)
                slot = Value::array(*p.type);
            slot.append(item);
            continue;
        }
        object.setAt(i, decode(c, *p.type, depth + 1));
    }
    return object;
}

} // namespace sidi
