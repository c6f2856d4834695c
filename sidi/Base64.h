#pragma once

#include <QByteArray>
#include <QString>

namespace sidi {

// Standard Base64 (RFC 4648 alphabet, "=" padding) with MIME line length: a CR LF
// after every 76 output characters (57 input bytes), also when the text ends
// exactly at such a boundary. This is the form the login puts into the
// credentials header.
QString Base64Encode(const QByteArray &bytes);

// The same alphabet and padding on one line, without any line break.
QString Base64EncodeNoLineBreaks(const QByteArray &bytes);

} // namespace sidi
