#include "TQxFilterString.h"

namespace {

// Letters that have no decomposition into a plain letter and a mark.
QString plainLetter(QChar c)
{
    switch (c.unicode()) {
    case 0x00C6: return QStringLiteral("AE");
    case 0x00E6: return QStringLiteral("ae");
    case 0x0152: return QStringLiteral("OE");
    case 0x0153: return QStringLiteral("oe");
    case 0x00DF: return QStringLiteral("ss");
    case 0x00D8: return QStringLiteral("O");
    case 0x00F8: return QStringLiteral("o");
    case 0x00D0: return QStringLiteral("D");
    case 0x00F0: return QStringLiteral("d");
    case 0x0110: return QStringLiteral("D");
    case 0x0111: return QStringLiteral("d");
    case 0x0141: return QStringLiteral("L");
    case 0x0142: return QStringLiteral("l");
    case 0x00DE: return QStringLiteral("TH");
    case 0x00FE: return QStringLiteral("th");
    default: return QString(c);
    }
}

QString withoutAccents(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out += plainLetter(c);
    }
    return out;
}

} // namespace

QString TQxFilterString::Filter(const QString &text) const
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (DeleteChars.contains(c))
            continue;
        if (!KeepSpaces && c.isSpace())
            continue;
        out += c;
    }
    if (!KeepAccents)
        out = withoutAccents(out);
    if (UpperCase)
        out = out.toUpper();
    return out;
}

QString filterString(const QString &text)
{
    return TQxFilterString().Filter(text);
}
