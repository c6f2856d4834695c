#pragma once

#include <QString>
#include <stdexcept>

namespace sidi {

// Every failure of a SIDI call: what() is the Italian text for the operator
// (UTF-8); kind() tells the failures apart for the callers that react to them.
class SoapError : public std::runtime_error
{
public:
    enum class Kind {
        Configuration,        // no address, unreadable configuration or CA file
        Transport,            // connection refused, reset, host not found
        Timeout,              // no answer within the receive time-out
        Certificate,          // server certificate refused
        Authentication,       // HTTP 401: credentials refused
        ProxyAuthentication,  // HTTP 407 not answered
        HttpStatus,           // any other HTTP error status without a SOAP fault
        EmptyBody,            // success status but nothing in the body
        NotXml,               // a body that is not XML at all
        MalformedXml,         // XML that does not parse
        NotSoap,              // well-formed XML that is not a SOAP answer
        Fault,                // SOAP Fault: what() is the fault string
    };

    SoapError(Kind kind, const QString &message);
    static SoapError fault(const QString &faultCode, const QString &faultString,
                           const QString &detail = QString());
    static SoapError httpStatus(int status, const QString &message);

    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }
    QString faultCode() const { return m_faultCode; }
    QString faultString() const { return m_faultString; }
    QString faultDetail() const { return m_faultDetail; }
    int httpStatus() const { return m_httpStatus; }

private:
    Kind m_kind;
    QString m_faultCode;
    QString m_faultString;
    QString m_faultDetail;
    int m_httpStatus = 0;
};

} // namespace sidi
