#include "SidiSimulator.h"

#include "SimBookingCodeHandler.h"

#include <SoapDecoder.h>
#include <SoapEncoder.h>
#include <SoapError.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHttpServerRequest>
#include <QPointer>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpSocket>
#include <QTimer>

#include <stdexcept>

namespace sidisim {

namespace {

[[noreturn]] void fail(const QString &text)
{
    throw std::runtime_error(text.toUtf8().toStdString());
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    default: return "Unknown";
    }
}

const char kServiceRoot[] = "/SSANWSTRS/";

QByteArray methodName(QHttpServerRequest::Method m)
{
    switch (m) {
    case QHttpServerRequest::Method::Get: return "GET";
    case QHttpServerRequest::Method::Post: return "POST";
    case QHttpServerRequest::Method::Put: return "PUT";
    case QHttpServerRequest::Method::Delete: return "DELETE";
    case QHttpServerRequest::Method::Head: return "HEAD";
    case QHttpServerRequest::Method::Options: return "OPTIONS";
    case QHttpServerRequest::Method::Patch: return "PATCH";
    default: return "OTHER";
    }
}

} // namespace

QStringList RecordedRequest::headerLines() const
{
    QStringList out;
    for (const auto &h : headers)
        out.append(QString::fromUtf8(h.first + ": " + h.second));
    return out;
}

QList<int> RecordedRequest::indicesOf(const QByteArray &name) const
{
    QList<int> out;
    for (int i = 0; i < headers.size(); ++i) {
        if (headers[i].first.compare(name, Qt::CaseInsensitive) == 0)
            out.append(i);
    }
    return out;
}

QByteArray RecordedRequest::header(const QByteArray &name) const
{
    const QList<int> at = indicesOf(name);
    return at.isEmpty() ? QByteArray() : headers[at.first()].second;
}

SidiSimulator::SidiSimulator(const SimFixture &fixture, QObject *parent)
    : QAbstractHttpServer(parent), m_fixture(fixture)
{
    addHandler(std::make_unique<SimBookingCodeHandler>());
}

SidiSimulator::~SidiSimulator() = default;

void SidiSimulator::addHandler(std::unique_ptr<SimPortHandler> handler)
{
    m_handlers.push_back(std::move(handler));
}

QString SidiSimulator::ensureCertificate(const QString &dir)
{
    QDir d(dir);
    if (!d.mkpath(QStringLiteral(".")))
        fail(QStringLiteral("Impossibile creare la cartella dei certificati %1").arg(dir));
    const QString cert = d.filePath(QStringLiteral("sidisim.crt"));
    const QString key = d.filePath(QStringLiteral("sidisim.key"));
    if (QFileInfo::exists(cert) && QFileInfo::exists(key))
        return cert;
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert,
                   QStringLiteral("-days"), QStringLiteral("3650"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=localhost/O=SIDI simulator"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1")});
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit
        || openssl.exitCode() != 0) {
        fail(QStringLiteral("Impossibile generare il certificato con openssl: %1 %2")
                 .arg(openssl.errorString(), QString::fromLocal8Bit(openssl.readAllStandardError())));
    }
    return cert;
}

void SidiSimulator::start(const Options &options)
{
    m_options = options;
    QString scheme = QStringLiteral("http");
    if (options.https) {
        const QString dir = options.certDir.isEmpty()
                                ? QDir::temp().filePath(QStringLiteral("sidisim-cert"))
                                : options.certDir;
        m_certFile = ensureCertificate(dir);
        QFile certFile(m_certFile);
        QFile keyFile(QDir(dir).filePath(QStringLiteral("sidisim.key")));
        if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
            fail(QStringLiteral("Impossibile leggere certificato e chiave in %1").arg(dir));
        const QSslCertificate cert(certFile.readAll(), QSsl::Pem);
        const QSslKey key(keyFile.readAll(), QSsl::Ec, QSsl::Pem);
        if (cert.isNull() || key.isNull())
            fail(QStringLiteral("Certificato o chiave non validi in %1").arg(dir));
        sslSetup(cert, key);
        scheme = QStringLiteral("https");
    }
    const quint16 port = listen(options.address, options.port);
    if (port == 0) {
        fail(QStringLiteral("Impossibile ascoltare su %1:%2")
                 .arg(options.address.toString())
                 .arg(options.port));
    }
    m_baseUrl = QUrl(QStringLiteral("%1://%2:%3").arg(scheme, options.address.toString()).arg(port));
}

QString SidiSimulator::namespaceOf(const QString &portInterface) const
{
    return sidi::SidiConfig::defaultNamespace(portInterface);
}

sidi::SidiConfig SidiSimulator::config() const
{
    sidi::SidiConfig c;
    c.setProduzione(m_baseUrl.toString());
    c.setTest(m_baseUrl.toString());
    c.setCaFile(m_certFile);
    for (const QString &port : sidi::SidiConfig::portInterfaces())
        c.setNamespace(port, namespaceOf(port));
    return c;
}

void SidiSimulator::writeConfig(const QString &path) const
{
    config().save(path);
}

void SidiSimulator::inject(const SimInjection &injection)
{
    m_fixture.injections.append(injection);
}

void SidiSimulator::clearInjections()
{
    m_fixture.injections.clear();
}

bool SidiSimulator::takeInjection(const QString &operation, SimInjection *out)
{
    for (int i = 0; i < m_fixture.injections.size(); ++i) {
        SimInjection &inj = m_fixture.injections[i];
        if (!inj.operation.isEmpty() && inj.operation != operation)
            continue;
        *out = inj;
        if (inj.times > 0 && --inj.times == 0)
            m_fixture.injections.removeAt(i);
        return true;
    }
    return false;
}

bool SidiSimulator::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    RecordedRequest record;
    record.sequence = ++m_sequence;
    record.at = QDateTime::currentDateTime();
    record.method = methodName(request.method());
    record.path = request.url().path();
    record.headers = request.headers();
    record.body = request.body();
    const Answer answer = dispatch(record);
    m_requests.append(record);
    appendLog(record);
    send(socket, record.sequence, answer);
    return true;
}

void SidiSimulator::missingHandler(const QHttpServerRequest &, QTcpSocket *)
{
    // Every request is answered by handleRequest.
}

SidiSimulator::Answer SidiSimulator::dispatch(RecordedRequest &record)
{
    Answer a;
    auto plain = [&a](int status, const QString &text) {
        a.status = status;
        a.contentType = "text/plain; charset=utf-8";
        a.body = text.toUtf8();
    };
    auto faultAnswer = [&a](const QString &code, const QString &text) {
        a.status = 500;
        a.body = sidi::SoapEncoder::fault(code, text);
    };

    SimPortHandler *handler = nullptr;
    if (record.path.startsWith(QLatin1String(kServiceRoot))) {
        const QString portName = record.path.mid(int(qstrlen(kServiceRoot)));
        for (const auto &h : m_handlers) {
            if (h->port().portName == portName)
                handler = h.get();
        }
    }
    if (!handler) {
        plain(404, QStringLiteral("Servizio sconosciuto: %1").arg(record.path));
        return a;
    }
    if (record.method != "POST") {
        plain(405, QStringLiteral("Solo POST"));
        a.extraHeaders.append(qMakePair(QByteArray("Allow"), QByteArray("POST")));
        return a;
    }

    // Basic credentials in any Authorization line, whatever the case of its name.
    for (int i : record.indicesOf("Authorization")) {
        const QByteArray value = record.headers[i].second.trimmed();
        if (!value.left(6).toLower().startsWith("basic"))
            continue;
        const auto decoded = QByteArray::fromBase64Encoding(value.mid(5).trimmed(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            continue;
        const qsizetype colon = decoded.decoded.indexOf(':');
        if (colon < 0)
            continue;
        const QString user = QString::fromUtf8(decoded.decoded.left(colon));
        const QString password = QString::fromUtf8(decoded.decoded.mid(colon + 1));
        if (m_fixture.users.contains(user) && m_fixture.users.value(user) == password) {
            record.user = user;
            break;
        }
    }
    if (record.user.isEmpty()) {
        plain(401, QStringLiteral("Credenziali SIDI mancanti o non valide"));
        a.extraHeaders.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Basic realm=\"SIDI\"")));
        return a;
    }

    const sidi::Operation *operation = nullptr;
    QList<sidi::Value> parameters;
    try {
        sidi::SoapDecoder decoder(record.body);
        const sidi::XmlNode *element = decoder.bodyElement();
        for (const sidi::Operation *op : handler->operations()) {
            const QString wireName = handler->port().style == sidi::Style::RpcEncoded
                                         ? op->name
                                         : op->input.value(0, op->output).type->name();
            if (element && element->name == wireName)
                operation = op;
        }
        if (!operation) {
            faultAnswer(QStringLiteral("SOAP-ENV:Client"),
                        QStringLiteral("Operazione sconosciuta: %1").arg(element ? element->name : QString()));
            return a;
        }
        record.operation = operation->name;
        parameters = decoder.parameters(*operation);
    } catch (const sidi::SoapError &e) {
        faultAnswer(QStringLiteral("SOAP-ENV:Client"), e.message());
        return a;
    }

    const QString ns = namespaceOf(handler->port().interfaceName);
    QByteArray action = record.header("SOAPAction").trimmed();
    if (action.size() >= 2 && action.startsWith('"') && action.endsWith('"'))
        action = action.mid(1, action.size() - 2);
    if (QString::fromUtf8(action) != operation->soapAction(ns)) {
        faultAnswer(QStringLiteral("SOAP-ENV:Client"),
                    QStringLiteral("SOAPAction non valida: \"%1\" invece di \"%2\"")
                        .arg(QString::fromUtf8(action), operation->soapAction(ns)));
        return a;
    }

    SimInjection injection;
    const bool injected = takeInjection(operation->name, &injection);
    if (injected) {
        switch (injection.kind) {
        case SimInjection::Kind::SoapFault:
            faultAnswer(QStringLiteral("SOAP-ENV:Server"),
                        injection.text.isEmpty() ? QStringLiteral("Errore simulato") : injection.text);
            return a;
        case SimInjection::Kind::Http500:
            a.status = 500;
            a.contentType = "text/html; charset=utf-8";
            a.body = "<html><head><title>500 Internal Server Error</title></head>"
                     "<body><h1>Internal Server Error</h1></body></html>";
            return a;
        case SimInjection::Kind::EmptyBody:
            a.body.clear();
            return a;
        case SimInjection::Kind::NotXml:
            plain(200, QStringLiteral("Servizio momentaneamente non disponibile"));
            return a;
        case SimInjection::Kind::Slow:
            a.delayMs = injection.delayMs;
            break;
        case SimInjection::Kind::MalformedXml:
            break;
        }
    }

    try {
        SimCall call{record.user, m_fixture};
        const sidi::Value result = handler->answer(*operation, parameters, call);
        a.body = sidi::SoapEncoder::response(*operation, ns, result, m_options.multiReference);
    } catch (const SimFault &f) {
        faultAnswer(f.faultCode, f.faultString);
        return a;
    }
    if (injected && injection.kind == SimInjection::Kind::MalformedXml)
        a.body.truncate(a.body.size() * 2 / 3);
    return a;
}

void SidiSimulator::send(QTcpSocket *socket, int sequence, const Answer &answer)
{
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(answer.status) + ' '
                       + reasonPhrase(answer.status) + "\r\n";
    bytes += "Content-Type: " + answer.contentType + "\r\n";
    bytes += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    for (const auto &h : answer.extraHeaders)
        bytes += h.first + ": " + h.second + "\r\n";
    bytes += "\r\n" + answer.body;
    // Written straight to the connection, so that a late answer needs nothing
    // of the request that is gone by then; a client that gave up has closed it.
    QPointer<QTcpSocket> target(socket);
    auto deliver = [this, target, bytes, sequence, status = answer.status] {
        for (RecordedRequest &r : m_requests) {
            if (r.sequence == sequence)
                r.status = status;
        }
        if (target && target->state() == QAbstractSocket::ConnectedState)
            target->write(bytes);
    };
    if (answer.delayMs > 0)
        QTimer::singleShot(answer.delayMs, this, deliver);
    else
        deliver();
}

void SidiSimulator::appendLog(const RecordedRequest &record) const
{
    if (m_options.logFile.isEmpty())
        return;
    QFile f(m_options.logFile);
    if (!f.open(QIODevice::Append | QIODevice::Text))
        return;
    QByteArray out = "=== " + record.at.toString(Qt::ISODateWithMs).toUtf8() + ' ' + record.method
                     + ' ' + record.path.toUtf8() + " (" + record.operation.toUtf8() + ")\n";
    for (const QString &line : record.headerLines())
        out += line.toUtf8() + '\n';
    out += '\n' + record.body + "\n\n";
    f.write(out);
}

} // namespace sidisim
