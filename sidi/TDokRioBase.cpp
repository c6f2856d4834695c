#include "TDokRioBase.h"

#include "SidiConfig.h"
#include "SoapDecoder.h"
#include "SoapError.h"

namespace sidi {

TDokRioBase::TDokRioBase(QObject *parent)
    : QObject(parent), m_transport(new HttpTransport(this))
{
}

TDokRioBase::~TDokRioBase() = default;

QString TDokRioBase::Utente() const
{
    return m_transport ? m_transport->userName() : QString();
}

void TDokRioBase::setUtente(const QString &value)
{
    m_transport->setUserName(value);
}

QString TDokRioBase::Password() const
{
    return m_transport ? m_transport->password() : QString();
}

void TDokRioBase::setPassword(const QString &value)
{
    m_transport->setPassword(value);
}

QString TDokRioBase::Proxy() const
{
    return m_transport ? m_transport->proxy() : QString();
}

void TDokRioBase::setProxy(const QString &value)
{
    m_transport->setProxy(value);
}

void TDokRioBase::setURL(const QString &url)
{
    m_wsdlLocation.clear();
    m_url = url;
}

void TDokRioBase::setWSDLLocation(const QString &location)
{
    m_wsdlLocation = location;
}

int TDokRioBase::ReceiveTimeout() const
{
    return m_transport->receiveTimeout();
}

void TDokRioBase::setReceiveTimeout(int ms)
{
    m_transport->setReceiveTimeout(ms);
}

void TDokRioBase::setBeforePost(std::function<void(HttpHeaders &)> handler)
{
    m_transport->beforePost = std::move(handler);
}

void TDokRioBase::setOnProxyAuthentication(std::function<void(ProxyChallenge &)> handler)
{
    m_transport->onProxyAuthentication = std::move(handler);
}

Value TDokRioBase::Invoke(const Operation &operation, const QList<Value> &arguments,
                          const QList<SoapEncoder::HeaderEntry> &soapHeaders)
{
    if (m_url.isEmpty()) {
        throw SoapError(SoapError::Kind::Configuration,
                        QStringLiteral("Indirizzo del servizio SIDI non impostato per %1")
                            .arg(operation.name));
    }
    const QUrl url(m_url);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        throw SoapError(SoapError::Kind::Configuration,
                        QStringLiteral("Indirizzo del servizio SIDI non valido: %1").arg(m_url));
    }
    const SidiConfig &config = SidiConfig::current();
    const QString ns = m_namespace.isEmpty() ? config.namespaceOf(operation.port->interfaceName)
                                             : m_namespace;
    m_transport->setExtraCaCertificates(config.caCertificates());

    QByteArray request = SoapEncoder::request(operation, ns, arguments, soapHeaders);
    if (BeforeExecute)
        BeforeExecute(operation.name, request);

    // The order of these three lines is part of what SIDI's gateway sees.
    HttpHeaders headers;
    headers.add("SOAPAction", '"' + operation.soapAction(ns).toUtf8() + '"');
    for (const auto &line : HttpTransport::extraHeaderLines())
        headers.add(line.first, line.second);
    headers.add("Content-Type", "text/xml; charset=utf-8");

    const HttpResponse response = m_transport->post(url, headers, request);
    if (!response.body.isEmpty() && AfterExecute)
        AfterExecute(operation.name, response.body);

    if (response.status < 200 || response.status >= 300) {
        // A SOAP fault (sent with status 500) says more than the status does.
        if (!response.body.trimmed().isEmpty()) {
            try {
                SoapDecoder(response.body).throwIfFault();
            } catch (const SoapError &e) {
                if (e.kind() == SoapError::Kind::Fault)
                    throw;
            }
        }
        throw SoapError::httpStatus(response.status,
                                    QStringLiteral("SIDI ha risposto con l'errore HTTP %1 %2")
                                        .arg(response.status)
                                        .arg(QString::fromLatin1(response.reason))
                                        .trimmed());
    }
    if (response.body.trimmed().isEmpty()) {
        throw SoapError(SoapError::Kind::EmptyBody,
                        QStringLiteral("SIDI ha inviato una risposta vuota a %1").arg(operation.name));
    }
    return SoapDecoder(response.body).result(operation);
}

} // namespace sidi
