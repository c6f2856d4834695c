#include "XmlNode.h"

#include "SoapError.h"

#include <QXmlStreamReader>

namespace sidi {

namespace {

// Deeper than any SIDI message; keeps recursion over the tree bounded.
constexpr int kMaxDepth = 256;

bool looksLikeXml(const QByteArray &bytes)
{
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r'
                                || bytes[i] == '\n'))
        ++i;
    return i < bytes.size() && bytes[i] == '<';
}

QString excerpt(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes.left(120)).simplified();
    if (bytes.size() > 120)
        text += QStringLiteral("...");
    return text;
}

[[noreturn]] void malformed(const QXmlStreamReader &reader, const QString &why)
{
    throw SoapError(SoapError::Kind::MalformedXml,
                    QStringLiteral("Risposta SOAP non valida: XML malformato alla riga %1, colonna %2 (%3)")
                        .arg(reader.lineNumber())
                        .arg(reader.columnNumber())
                        .arg(why));
}

} // namespace

QString XmlNode::attribute(QStringView localName) const
{
    for (const Attribute &a : attributes) {
        if (a.name == localName)
            return a.value;
    }
    return QString();
}

bool XmlNode::hasAttribute(QStringView localName) const
{
    for (const Attribute &a : attributes) {
        if (a.name == localName)
            return true;
    }
    return false;
}

const XmlNode *XmlNode::child(QStringView localName) const
{
    for (const XmlNode &c : children) {
        if (c.name == localName)
            return &c;
    }
    return nullptr;
}

QString XmlNode::allText() const
{
    QString out = text;
    for (const XmlNode &c : children)
        out += c.allText();
    return out;
}

XmlNode parseXml(const QByteArray &bytes)
{
    if (!looksLikeXml(bytes)) {
        throw SoapError(SoapError::Kind::NotXml,
                        QStringLiteral("La risposta di SIDI non è un messaggio XML: \"%1\"")
                            .arg(excerpt(bytes)));
    }
    QXmlStreamReader reader(bytes);
    reader.setNamespaceProcessing(true);

    XmlNode root;
    bool haveRoot = false;
    // Path of child indices from the root to the element being read; indices,
    // not pointers, since appending a child may move its siblings.
    std::vector<size_t> path;
    auto current = [&]() -> XmlNode & {
        XmlNode *n = &root;
        for (size_t i : path)
            n = &n->children[i];
        return *n;
    };
    bool open = false;  // inside the root element

    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // A message never needs one, and entity declarations are how
            // expansion bombs get in.
            malformed(reader, QStringLiteral("dichiarazione DTD non ammessa"));
        case QXmlStreamReader::EntityReference:
            malformed(reader, QStringLiteral("entità non dichiarata"));
        case QXmlStreamReader::StartElement: {
            XmlNode node;
            node.ns = reader.namespaceUri().toString();
            node.name = reader.name().toString();
            for (const QXmlStreamAttribute &a : reader.attributes())
                node.attributes.append({a.namespaceUri().toString(), a.name().toString(),
                                        a.value().toString()});
            if (!open) {
                if (haveRoot)
                    malformed(reader, QStringLiteral("più di un elemento radice"));
                root = std::move(node);
                haveRoot = true;
                open = true;
                break;
            }
            if (path.size() + 1 >= size_t(kMaxDepth))
                malformed(reader, QStringLiteral("annidamento troppo profondo"));
            XmlNode &parent = current();
            parent.children.push_back(std::move(node));
            path.push_back(parent.children.size() - 1);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (path.empty())
                open = false;
            else
                path.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (open)
                current().text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        malformed(reader, reader.errorString());
    if (!haveRoot)
        malformed(reader, QStringLiteral("nessun elemento"));
    return root;
}

} // namespace sidi
