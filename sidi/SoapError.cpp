#include "SoapError.h"

namespace sidi {

SoapError::SoapError(Kind kind, const QString &message)
    : std::runtime_error(message.toUtf8().toStdString()), m_kind(kind)
{
}

SoapError SoapError::fault(const QString &faultCode, const QString &faultString,
                           const QString &detail)
{
    // The operator sees SIDI's own text; an empty one still says what happened.
    SoapError e(Kind::Fault, faultString.isEmpty()
                                 ? QStringLiteral("SIDI ha risposto con un errore SOAP (%1) senza descrizione")
                                       .arg(faultCode)
                                 : faultString);
    e.m_faultCode = faultCode;
    e.m_faultString = faultString;
    e.m_faultDetail = detail;
    return e;
}

SoapError SoapError::httpStatus(int status, const QString &message)
{
    SoapError e(Kind::HttpStatus, message);
    e.m_httpStatus = status;
    return e;
}

} // namespace sidi
