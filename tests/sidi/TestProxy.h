#pragma once

// A small HTTP forward proxy on its own thread, asking for Basic proxy
// credentials: enough to see the 407 exchange of a client for real. Blocking
// sockets are fine here since nothing else runs on its thread.
#include <QByteArray>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

class TestProxy : public QThread
{
public:
    TestProxy(const QByteArray &user, const QByteArray &password)
        : m_expected("Basic " + (user + ':' + password).toBase64())
    {
    }
    ~TestProxy() override
    {
        m_stop = true;
        wait();
    }

    quint16 startAndWait()
    {
        start();
        while (m_port == 0)
            QThread::msleep(5);
        return m_port;
    }

    // Proxy-Authorization of every request seen, "" when there was none.
    QList<QByteArray> seen() const
    {
        QMutexLocker lock(&m_mutex);
        return m_seen;
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        while (!m_stop) {
            if (!server.waitForNewConnection(50))
                continue;
            std::unique_ptr<QTcpSocket> client(server.nextPendingConnection());
            serve(*client);
        }
    }

private:
    static bool readMessage(QTcpSocket &s, QByteArray &head, QByteArray &body)
    {
        QByteArray data;
        while (!data.contains("\r\n\r\n")) {
            if (!s.waitForReadyRead(5000))
                return false;
            data += s.readAll();
        }
        const qsizetype end = data.indexOf("\r\n\r\n") + 4;
        head = data.left(end);
        body = data.mid(end);
        qsizetype length = 0;
        for (const QByteArray &line : head.split('\n')) {
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        }
        while (body.size() < length) {
            if (!s.waitForReadyRead(5000))
                return false;
            body += s.readAll();
        }
        return true;
    }

    void serve(QTcpSocket &client)
    {
        QByteArray head, body;
        if (!readMessage(client, head, body))
            return;
        QByteArray auth;
        QByteArray forwarded;
        const QList<QByteArray> lines = head.split('\n');
        QUrl target;
        for (int i = 0; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            if (i == 0) {
                const QList<QByteArray> parts = line.split(' ');
                target = QUrl(QString::fromLatin1(parts.value(1)));
                forwarded = parts.value(0) + ' ' + target.path().toLatin1() + " HTTP/1.1\r\n";
            } else if (line.toLower().startsWith("proxy-authorization:")) {
                auth = line.mid(20).trimmed();
            } else if (!line.isEmpty() && !line.toLower().startsWith("proxy-connection:")
                       && !line.toLower().startsWith("connection:")) {
                forwarded += line + "\r\n";
            }
        }
        {
            QMutexLocker lock(&m_mutex);
            m_seen.append(auth);
        }
        if (auth != m_expected) {
            client.write("HTTP/1.1 407 Proxy Authentication Required\r\n"
                         "Proxy-Authenticate: Basic realm=\"proxy\"\r\n"
                         "Content-Length: 0\r\nConnection: close\r\n\r\n");
            client.waitForBytesWritten(2000);
            return;
        }
        QTcpSocket upstream;
        upstream.connectToHost(QHostAddress::LocalHost, quint16(target.port()));
        if (!upstream.waitForConnected(5000))
            return;
        upstream.write(forwarded + "Connection: close\r\n\r\n" + body);
        QByteArray answerHead, answerBody;
        if (!readMessage(upstream, answerHead, answerBody))
            return;
        client.write(answerHead + answerBody);
        client.waitForBytesWritten(2000);
    }

    QByteArray m_expected;
    std::atomic<quint16> m_port{0};
    std::atomic<bool> m_stop{false};
    mutable QMutex m_mutex;
    QList<QByteArray> m_seen;
};
