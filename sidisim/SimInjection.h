#pragma once

#include <QString>

namespace sidisim {

// A fault the simulator puts into its answers on request.
struct SimInjection
{
    enum class Kind {
        SoapFault,     // HTTP 500 with a SOAP Fault whose fault string is text
        Http500,       // HTTP 500 with an HTML error page
        Slow,          // the normal answer, delayMs late
        EmptyBody,     // HTTP 200 with nothing in the body
        NotXml,        // HTTP 200 with plain text
        MalformedXml,  // HTTP 200 with an envelope cut short
    };

    Kind kind = Kind::SoapFault;
    QString text;          // fault string (SoapFault)
    int delayMs = 0;       // Slow
    int times = -1;        // requests it applies to; -1 for every one
    QString operation;     // only this operation; empty for any

    // "soap-fault", "http-500", "slow", "empty", "not-xml", "malformed".
    static bool kindFromName(const QString &name, Kind *kind);
    static QString kindName(Kind kind);
};

} // namespace sidisim
