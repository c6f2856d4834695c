#include "HttpTransport.h"

#include "SoapError.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

namespace sidi {

namespace {

QString &extraHeaderText()
{
    static QString text;
    return text;
}

// Header text never carries a line break onto the wire.
QByteArray oneLine(QByteArray text)
{
    text.replace('\r', "");
    text.replace('\n', "");
    return text;
}

QNetworkProxy parseProxy(const QString &setting)
{
    QString text = setting.trimmed();
    if (text.isEmpty())
        return QNetworkProxy(QNetworkProxy::DefaultProxy);
    // "http=host:port" as the Windows settings write it.
    const int eq = text.indexOf(QLatin1Char('='));
    if (eq > 0 && !text.left(eq).contains(QLatin1Char('/')))
        text = text.mid(eq + 1).section(QLatin1Char(';'), 0, 0).trimmed();
    if (!text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("http://"));
    const QUrl url(text);
    return QNetworkProxy(QNetworkProxy::HttpProxy, url.host(), quint16(url.port(8080)),
                         url.userName(), url.password());
}

} // namespace

void HttpHeaders::add(const QByteArray &name, const QByteArray &value)
{
    const QByteArray n = oneLine(name.trimmed());
    if (n.isEmpty() || contains(n))
        return;
    m_lines.append({n, oneLine(value)});
}

bool HttpHeaders::contains(const QByteArray &name) const
{
    for (const auto &l : m_lines) {
        if (l.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QByteArray HttpHeaders::value(const QByteArray &name) const
{
    for (const auto &l : m_lines) {
        if (l.first.compare(name, Qt::CaseInsensitive) == 0)
            return l.second;
    }
    return QByteArray();
}

HttpTransport::HttpTransport(QObject *parent)
    : QObject(parent), m_nam(new QNetworkAccessManager(this))
{
}

HttpTransport::~HttpTransport() = default;

QString HttpTransport::ExtraHeader()
{
    return extraHeaderText();
}

void HttpTransport::setExtraHeader(const QString &lines)
{
    extraHeaderText() = lines;
}

QList<QPair<QByteArray, QByteArray>> HttpTransport::extraHeaderLines()
{
    QList<QPair<QByteArray, QByteArray>> out;
    const QByteArray text = extraHeaderText().toUtf8();
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) {
            if (!out.isEmpty())
                out.last().second += line;
            continue;
        }
        out.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return out;
}

HttpResponse HttpTransport::post(const QUrl &url, HttpHeaders headers, const QByteArray &body)
{
    if (beforePost)
        beforePost(headers);

    QNetworkRequest request(url);
    // One HTTP/1.1 exchange, as SIDI's services expect; no redirect, no cache.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    for (const auto &line : headers.lines())
        request.setRawHeader(line.first, line.second);
    if (url.scheme() == QLatin1String("https")) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + m_extraCa);
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
        request.setSslConfiguration(tls);
    }
    m_nam->setProxy(parseProxy(m_proxy));
    // Credentials from an earlier call must not answer this one's challenges.
    m_nam->clearAccessCache();
    m_nam->clearConnectionCache();

    QNetworkReply *reply = m_nam->post(request, body);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    const int timeout = m_receiveTimeout > 0 ? m_receiveTimeout : kDefaultReceiveTimeout;
    bool timedOut = false;
    QStringList sslProblems;
    int authAttempts = 0;
    int proxyAttempts = 0;
    QString currentProxyUser = m_nam->proxy().user();
    QString currentProxyPassword = m_nam->proxy().password();

    auto restart = [&] { timer.start(timeout); };
    connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::uploadProgress, &loop, [&](qint64 sent, qint64) {
        if (sent > 0)
            restart();
    });
    connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 got, qint64) {
        if (got > 0)
            restart();
    });
    connect(reply, &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError> &errors) {
        for (const QSslError &e : errors)
            sslProblems.append(e.errorString());
    });
    connect(m_nam, &QNetworkAccessManager::authenticationRequired, &loop,
            [&](QNetworkReply *r, QAuthenticator *auth) {
                // Answer a server challenge once with the transport's credentials;
                // a second challenge means they were refused.
                if (r != reply || authAttempts++ > 0 || (m_user.isEmpty() && m_password.isEmpty()))
                    return;
                auth->setUser(m_user);
                auth->setPassword(m_password);
            });
    connect(m_nam, &QNetworkAccessManager::proxyAuthenticationRequired, &loop,
            [&](const QNetworkProxy &, QAuthenticator *auth) {
                if (!onProxyAuthentication || proxyAttempts++ >= 8)
                    return;
                ProxyChallenge c{currentProxyUser, currentProxyPassword, m_user, m_password, false};
                onProxyAuthentication(c);
                if (!c.retry)
                    return;
                currentProxyUser = c.proxyUser;
                currentProxyPassword = c.proxyPassword;
                m_user = c.user;
                m_password = c.password;
                auth->setUser(c.proxyUser);
                auth->setPassword(c.proxyPassword);
            });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    restart();
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    timer.stop();
    disconnect(m_nam, nullptr, &loop, nullptr);

    const QString where = url.toString(QUrl::RemoveUserInfo);
    const QVariant statusAttr = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    HttpResponse response;
    response.status = statusAttr.isValid() ? statusAttr.toInt() : 0;
    response.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    response.contentType = reply->rawHeader("Content-Type");
    if (reply->isOpen())
        response.body = reply->readAll();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    reply->deleteLater();

    if (timedOut) {
        throw SoapError(SoapError::Kind::Timeout,
                        QStringLiteral("Tempo di attesa scaduto: %1 non ha risposto entro %2 secondi")
                            .arg(where)
                            .arg(timeout / 1000.0, 0, 'g', 3));
    }
    if (error == QNetworkReply::SslHandshakeFailedError || !sslProblems.isEmpty()) {
        throw SoapError(SoapError::Kind::Certificate,
                        QStringLiteral("Certificato del server %1 non accettato: %2")
                            .arg(where,
                                 sslProblems.isEmpty() ? errorText : sslProblems.join(QStringLiteral("; "))));
    }
    if (response.status == 401 || error == QNetworkReply::AuthenticationRequiredError) {
        throw SoapError(SoapError::Kind::Authentication,
                        QStringLiteral("Accesso a SIDI negato (HTTP 401): utente o password non validi"));
    }
    if (response.status == 407 || error == QNetworkReply::ProxyAuthenticationRequiredError) {
        throw SoapError(SoapError::Kind::ProxyAuthentication,
                        QStringLiteral("Il proxy richiede l'autenticazione (HTTP 407): credenziali del proxy mancanti o rifiutate"));
    }
    if (response.status == 0) {
        throw SoapError(SoapError::Kind::Transport,
                        QStringLiteral("Errore di comunicazione con %1: %2").arg(where, errorText));
    }
    return response;
}

} // namespace sidi
