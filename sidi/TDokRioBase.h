#pragma once

#include "HttpTransport.h"
#include "SoapEncoder.h"
#include "SoapOperation.h"
#include "SoapValue.h"

#include <QObject>
#include <QString>

#include <functional>

namespace sidi {

// The base of every SIDI client: credentials, proxy and endpoint on the HTTP
// transport, the stored proxy credentials and Basic credentials text, the hooks
// around each call, and the generic synchronous SOAP call.
class TDokRioBase : public QObject
{
    Q_OBJECT

public:
    explicit TDokRioBase(QObject *parent = nullptr);
    ~TDokRioBase() override;

    QString Utente() const;
    void setUtente(const QString &value);
    QString Password() const;
    void setPassword(const QString &value);
    QString Proxy() const;
    void setProxy(const QString &value);
    QString ProxyUtente() const { return FProxyUtente; }
    void setProxyUtente(const QString &value) { FProxyUtente = value; }
    QString ProxyPassword() const { return FProxyPassword; }
    void setProxyPassword(const QString &value) { FProxyPassword = value; }
    QString AuthString() const { return FAuthString; }
    void setAuthString(const QString &value) { FAuthString = value; }

    // The endpoint address. Setting it drops any service-description
    // location, so the address is used as given.
    QString URL() const { return m_url; }
    void setURL(const QString &url);
    QString WSDLLocation() const { return m_wsdlLocation; }
    void setWSDLLocation(const QString &location);

    // The target namespace of the port; empty means the one configured for
    // the port interface (SidiConfig::current()).
    QString Namespace() const { return m_namespace; }
    void setNamespace(const QString &uri) { m_namespace = uri; }

    // Milliseconds without data before a call gives up; may be changed by the
    // before-call hook for the call about to be made.
    int ReceiveTimeout() const;
    void setReceiveTimeout(int ms);

    HttpTransport *transport() const { return m_transport; }

    // Hooks. BeforeExecute and AfterExecute get the SOAP method name and the
    // raw request (which they may change) or response; AfterExecute runs for
    // every answer that has a body, faults included, before it is decoded.
    std::function<void(const QString &method, QByteArray &request)> BeforeExecute;
    std::function<void(const QString &method, const QByteArray &response)> AfterExecute;
    // Just before a request is sent, after SOAPAction, ExtraHeader and
    // Content-Type: may add header lines.
    void setBeforePost(std::function<void(HttpHeaders &)> handler);
    // On HTTP 407: may supply proxy credentials and ask for a resend.
    void setOnProxyAuthentication(std::function<void(ProxyChallenge &)> handler);

    // Calls one operation and returns its result. Throws SoapError.
    Value Invoke(const Operation &operation, const QList<Value> &arguments,
                 const QList<SoapEncoder::HeaderEntry> &soapHeaders = {});

private:
    HttpTransport *m_transport;
    QString FProxyPassword;
    QString FProxyUtente;
    QString FAuthString;
    QString m_url;
    QString m_wsdlLocation;
    QString m_namespace;
};

} // namespace sidi
