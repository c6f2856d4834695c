// The sidisim program as a person or a script runs it: options, readiness
// line, written configuration, fixture, log, and its answers to bad requests.
#include "ErrorOf.h"

#include <Base64.h>
#include <HttpTransport.h>
#include <SidiConfig.h>
#include <SoapError.h>
#include <TDokRIOPrenota.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace sidi;

class TestSidisim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void helpDocumentsOptions();
    void readyLineAndConfiguration();
    void fixtureAnswersAndInjection();
    void badRequestsAreRefused_data();
    void badRequestsAreRefused();
    void badFixtureStopsWithMessage();

private:
    QString program() const;
    QTemporaryDir m_dir;
    QProcess m_sim;
    QString m_ini;
};

QString TestSidisim::program() const
{
    return qEnvironmentVariable("SIDILINK_BIN_DIR") + QStringLiteral("/sidisim");
}

void TestSidisim::initTestCase()
{
    QFile fixture(m_dir.filePath(QStringLiteral("fixture.json")));
    QVERIFY(fixture.open(QIODevice::WriteOnly));
    fixture.write(R"({ "users": { "mario.rossi": "Segreta1" },
        "bookingCodes": { "RMIC81200X": "Q7W8E", "RMEE81201Y": "ABCD" },
        "injections": [ { "kind": "soap-fault", "text": "Servizio in manutenzione",
                          "operation": "getCodicePrenotazione", "times": 1 } ] })");
    fixture.close();
    m_ini = m_dir.filePath(QStringLiteral("sidi.ini"));
    m_sim.start(program(), {QStringLiteral("--https"), QStringLiteral("--cert-dir"),
                            m_dir.filePath(QStringLiteral("cert")), QStringLiteral("--fixture"),
                            fixture.fileName(), QStringLiteral("--write-config"), m_ini,
                            QStringLiteral("--log"), m_dir.filePath(QStringLiteral("requests.log"))});
    QVERIFY(m_sim.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine(), 30000);
}

void TestSidisim::cleanupTestCase()
{
    m_sim.terminate();
    m_sim.waitForFinished();
}

void TestSidisim::helpDocumentsOptions()
{
    QProcess help;
    help.start(program(), {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished());
    QCOMPARE(help.exitCode(), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char *word : {"--port", "--https", "--cert-dir", "--fixture", "--write-config", "--inject",
                             "--fault-text", "--delay", "--multiref", "--log", "soap-fault", "http-500",
                             "slow", "not-xml", "malformed", "empty", "bookingCodes",
                             "EstraiCodicePrenotazioneWSTrsSoapHttpPort", "[Namespace]"})
        QVERIFY2(text.contains(QLatin1String(word)), word);
}

void TestSidisim::readyLineAndConfiguration()
{
    const QUrl base(QString::fromUtf8(m_sim.readLine().trimmed()));
    QCOMPARE(base.scheme(), QStringLiteral("https"));
    QCOMPARE(base.host(), QStringLiteral("127.0.0.1"));
    QVERIFY(base.port() > 0);
    const SidiConfig c = SidiConfig::fromFile(m_ini);
    QCOMPARE(c.produzione(), base.toString());
    QCOMPARE(c.test(), base.toString());
    QVERIFY(QFile::exists(c.caFile()));
    QCOMPARE(c.caCertificates().size(), 1);
    for (const QString &port : SidiConfig::portInterfaces())
        QVERIFY(c.namespaceOf(port).endsWith(QLatin1Char('/')));
    SidiConfig::setCurrent(c);
}

void TestSidisim::fixtureAnswersAndInjection()
{
    HttpTransport::setExtraHeader(QStringLiteral("AUTHORIZATION: Basic ") + Base64Encode("mario.rossi:Segreta1"));
    TDokRIOPrenota client;
    // The fixture's injection hits the first call only.
    const SoapError e =
        errorOf([&] { client.ChiediCodicePrenotazione(QStringLiteral("RMIC81200X"), QStringLiteral("3")); });
    QCOMPARE(e.kind(), SoapError::Kind::Fault);
    QCOMPARE(e.message(), QStringLiteral("Servizio in manutenzione"));
    QCOMPARE(client.ChiediCodicePrenotazione(QStringLiteral("RMIC81200X"), QStringLiteral("3")),
             QStringLiteral("Q7W8E"));
    QCOMPARE(client.ChiediCodicePrenotazione(QStringLiteral("RMEE81201Y"), QStringLiteral("3")),
             QStringLiteral("ABCD"));

    QFile log(m_dir.filePath(QStringLiteral("requests.log")));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QCOMPARE(text.count("(getCodicePrenotazione)"), 3);
    QVERIFY(text.contains("SOAPAction: \"http://ws.sidi.istruzione.it/EstraiCodicePrenotazioneWSTrs//getCodicePrenotazione\""));
    QVERIFY(text.contains("<codiceDebole xsi:type=\"xsd:string\">RMEE81201Y</codiceDebole>"));
}

void TestSidisim::badRequestsAreRefused_data()
{
    QTest::addColumn<QString>("credentials");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("ns");
    QTest::addColumn<QString>("expected");
    const QString good = QStringLiteral("mario.rossi:Segreta1");
    const QString port = QStringLiteral("/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort");
    QTest::newRow("wrong password") << "mario.rossi:x" << port << QString() << "HTTP 401";
    QTest::newRow("unknown user") << "chi:Segreta1" << port << QString() << "HTTP 401";
    QTest::newRow("unknown port") << good << "/SSANWSTRS/NessunaPort" << QString() << "HTTP 404";
    QTest::newRow("other namespace in the SOAPAction")
        << good << port << "http://altro.example/" << "SOAPAction non valida";
}

void TestSidisim::badRequestsAreRefused()
{
    QFETCH(QString, credentials);
    QFETCH(QString, path);
    QFETCH(QString, ns);
    QFETCH(QString, expected);
    HttpTransport::setExtraHeader(QStringLiteral("AUTHORIZATION: Basic ") + Base64Encode(credentials.toUtf8()));
    TDokRIOPrenota client;
    client.setURL(SidiConfig::current().produzione() + path);
    client.setNamespace(ns);
    const SoapError e =
        errorOf([&] { client.ChiediCodicePrenotazione(QStringLiteral("RMIC81200X"), QStringLiteral("3")); });
    QVERIFY2(e.message().contains(expected), qPrintable(e.message()));
}

void TestSidisim::badFixtureStopsWithMessage()
{
    QFile fixture(m_dir.filePath(QStringLiteral("bad.json")));
    QVERIFY(fixture.open(QIODevice::WriteOnly));
    fixture.write(R"({ "injections": [ { "kind": "earthquake" } ] })");
    fixture.close();
    QProcess sim;
    sim.start(program(), {QStringLiteral("--fixture"), fixture.fileName()});
    QVERIFY(sim.waitForFinished());
    QCOMPARE(sim.exitCode(), 1);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(QString::fromUtf8(sim.readAllStandardError()).contains(QLatin1String("earthquake")));
}

QTEST_GUILESS_MAIN(TestSidisim)
#include "test_sidisim.moc"
