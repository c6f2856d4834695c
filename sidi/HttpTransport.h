#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

namespace sidi {

// Request header lines in the order they go on the wire.
class HttpHeaders
{
public:
    // Adds a line unless one of the same name (case aside) is already there:
    // an existing header is never replaced.
    void add(const QByteArray &name, const QByteArray &value);
    bool contains(const QByteArray &name) const;
    QByteArray value(const QByteArray &name) const;
    const QList<QPair<QByteArray, QByteArray>> &lines() const { return m_lines; }

private:
    QList<QPair<QByteArray, QByteArray>> m_lines;
};

struct HttpResponse
{
    int status = 0;
    QByteArray reason;
    QByteArray contentType;
    QByteArray body;
};

// What a proxy-authentication handler sees and may change: the proxy
// credentials the request carries now and the request's own credentials. Set
// retry to send the request again with what the handler left here.
struct ProxyChallenge
{
    QString proxyUser;
    QString proxyPassword;
    QString user;
    QString password;
    bool retry = false;
};

// HTTP POST for SOAP on Qt Network, one request at a time, waiting for the answer
// in a local event loop bounded by the receive time-out. Header lines go out in
// the order given; the server's own lines (Host, Content-Length...) are the
// network stack's.
class HttpTransport : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultReceiveTimeout = 120000;  // ms

    explicit HttpTransport(QObject *parent = nullptr);
    ~HttpTransport() override;

    // The process-wide extra header: one or more complete "Name: value" lines
    // that every request of the process carries between its SOAPAction and
    // Content-Type lines. Empty at start; setting it again replaces it.
    static QString ExtraHeader();
    static void setExtraHeader(const QString &lines);
    // ExtraHeader as header lines. A line without a colon continues the value
    // of the line before it (a Base64 text broken at 76 characters); empty
    // lines are dropped, so the lines can never end the header early.
    static QList<QPair<QByteArray, QByteArray>> extraHeaderLines();

    // Credentials for an HTTP 401 challenge.
    QString userName() const { return m_user; }
    void setUserName(const QString &user) { m_user = user; }
    QString password() const { return m_password; }
    void setPassword(const QString &password) { m_password = password; }
    // "host:port" or "http://[user:password@]host:port"; empty for the
    // application's default proxy.
    QString proxy() const { return m_proxy; }
    void setProxy(const QString &proxy) { m_proxy = proxy; }

    // Milliseconds without any data from the server before the call gives up;
    // zero or less means the default.
    int receiveTimeout() const { return m_receiveTimeout; }
    void setReceiveTimeout(int ms) { m_receiveTimeout = ms; }

    // Trusted besides the system's certificate authorities.
    void setExtraCaCertificates(const QList<QSslCertificate> &certs) { m_extraCa = certs; }

    // Runs just before a request is sent; may add header lines.
    std::function<void(HttpHeaders &)> beforePost;
    // Runs on HTTP 407; may supply proxy credentials and ask for a resend.
    std::function<void(ProxyChallenge &)> onProxyAuthentication;

    // Sends the request and returns whatever HTTP answer came back, error
    // statuses included. Throws SoapError when there is no HTTP answer
    // (time-out, refused certificate, connection failure, 401, 407).
    HttpResponse post(const QUrl &url, HttpHeaders headers, const QByteArray &body);

private:
    QString m_user;
    QString m_password;
    QString m_proxy;
    int m_receiveTimeout = kDefaultReceiveTimeout;
    QList<QSslCertificate> m_extraCa;
    QNetworkAccessManager *m_nam;
};

} // namespace sidi
