#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

namespace sidi {

// An element of a parsed message: namespace URI and local name (prefixes are
// gone), attributes, its own text and its child elements in order.
struct XmlNode
{
    struct Attribute
    {
        QString ns;
        QString name;
        QString value;
    };

    QString ns;
    QString name;
    QList<Attribute> attributes;
    QString text;
    std::vector<XmlNode> children;

    // The value of the first attribute with this local name, whatever its prefix.
    QString attribute(QStringView localName) const;
    bool hasAttribute(QStringView localName) const;
    // The first child with this local name, or nullptr.
    const XmlNode *child(QStringView localName) const;
    // The text of the element and of every element inside it.
    QString allText() const;
};

// Parses a whole message. Throws SoapError (NotXml when the bytes do not even
// start like XML, MalformedXml when they do not parse, nest too deeply or carry a
// document type declaration).
XmlNode parseXml(const QByteArray &bytes);

} // namespace sidi
