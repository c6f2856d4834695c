#include "Base64.h"

namespace sidi {

QString Base64Encode(const QByteArray &bytes)
{
    constexpr qsizetype lineLength = 76;
    const QByteArray plain = bytes.toBase64();
    QByteArray out;
    out.reserve(plain.size() + (plain.size() / lineLength + 1) * 2);
    for (qsizetype i = 0; i < plain.size(); i += lineLength) {
        const QByteArray line = plain.mid(i, lineLength);
        out += line;
        if (line.size() == lineLength)
            out += "\r\n";
    }
    return QString::fromLatin1(out);
}

QString Base64EncodeNoLineBreaks(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

} // namespace sidi
