#pragma once

#include "SimFixture.h"
#include "SimInjection.h"
#include "SimPortHandler.h"

#include <SidiConfig.h>

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QDateTime>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QUrl>

#include <memory>
#include <vector>

namespace sidisim {

// One request as the simulator received it.
struct RecordedRequest
{
    int sequence = 0;   // 1 for the first request the simulator received
    QDateTime at;
    QByteArray method;
    QString path;
    // Header lines in the order they arrived, names as sent, values trimmed.
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    QString operation;  // empty when none was recognised
    QString user;       // the authenticated user; empty when refused
    int status = 0;     // the HTTP status answered (0 while a slow answer waits)

    // "Name: value" per header line, in order.
    QStringList headerLines() const;
    // Indices of the header lines with this name (case aside).
    QList<int> indicesOf(const QByteArray &name) const;
    QByteArray header(const QByteArray &name) const;
};

// SIDI on loopback: every port it knows under /SSANWSTRS/<port name>, over HTTP
// or HTTPS, with Basic credentials checked against its fixture, every request
// recorded and faults injected on request. Runs on the thread that created it.
class SidiSimulator : public QAbstractHttpServer
{
    Q_OBJECT

public:
    struct Options
    {
        QHostAddress address = QHostAddress::LocalHost;
        quint16 port = 0;         // 0: any free port
        bool https = false;
        QString certDir;          // where the certificate and key are (made when missing)
        bool multiReference = false;
        QString logFile;          // every request appended here when set
    };

    explicit SidiSimulator(const SimFixture &fixture = SimFixture::defaults(),
                           QObject *parent = nullptr);
    ~SidiSimulator() override;

    // Starts listening; throws std::runtime_error with the reason.
    void start(const Options &options);

    QUrl baseUrl() const { return m_baseUrl; }
    // The PEM certificate a client has to trust (HTTPS only).
    QString certificateFile() const { return m_certFile; }
    // A configuration that points at this simulator: both bases are its own
    // address, CaFile its certificate, the namespaces its own.
    sidi::SidiConfig config() const;
    void writeConfig(const QString &path) const;
    // The target namespace the simulator serves a port interface under.
    QString namespaceOf(const QString &portInterface) const;

    SimFixture &fixture() { return m_fixture; }
    void inject(const SimInjection &injection);
    void clearInjections();
    void setMultiReference(bool on) { m_options.multiReference = on; }

    QList<RecordedRequest> requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

    void addHandler(std::unique_ptr<SimPortHandler> handler);

    // Makes a self-signed certificate for localhost and 127.0.0.1 in dir with
    // the openssl command, unless one is there. Returns the certificate's path.
    static QString ensureCertificate(const QString &dir);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct Answer
    {
        int status = 200;
        QByteArray contentType = "text/xml; charset=utf-8";
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> extraHeaders;
        int delayMs = 0;
    };

    Answer dispatch(RecordedRequest &record);
    bool takeInjection(const QString &operation, SimInjection *out);
    void send(QTcpSocket *socket, int sequence, const Answer &answer);
    void appendLog(const RecordedRequest &record) const;

    SimFixture m_fixture;
    Options m_options;
    QUrl m_baseUrl;
    QString m_certFile;
    QList<RecordedRequest> m_requests;
    int m_sequence = 0;
    std::vector<std::unique_ptr<SimPortHandler>> m_handlers;
};

} // namespace sidisim
