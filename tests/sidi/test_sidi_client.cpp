// The client base and the booking-code client against the simulator over real
// HTTP and HTTPS on loopback.
#include "ErrorOf.h"
#include "TestProxy.h"

#include <Base64.h>
#include <HttpTransport.h>
#include <SidiConfig.h>
#include <SidiSimulator.h>
#include <SimBookingCodeHandler.h>
#include <SoapError.h>
#include <TDokRIOPrenota.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace sidi;
using namespace sidisim;

Q_DECLARE_METATYPE(sidi::SoapError::Kind)
Q_DECLARE_METATYPE(sidisim::SimInjection::Kind)

namespace {

const QString kSchool = QStringLiteral("RMIC81200X");

// What the login dialog puts into the process-wide header.
void login(const QString &user, const QString &password)
{
    HttpTransport::setExtraHeader(QStringLiteral("AUTHORIZATION: Basic ")
                                  + Base64Encode((user + QLatin1Char(':') + password).toLatin1()));
}

} // namespace

class TestSidiClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void credentialsLineBetweenSoapActionAndContentType_data();
    void credentialsLineBetweenSoapActionAndContentType();
    void secondLoginReplacesCredentials();
    void longCredentialsStillAuthenticate();
    void transportCredentialsAnswerChallenge();
    void refusedCredentials();
    void oddAnswersComeBackAsSent_data();
    void oddAnswersComeBackAsSent();
    void faultReachesCaller();
    void multiReferenceAnswerDecodesLikeInline();
    void hooksSeeMethodAndRawMessages();
    void failuresGiveClearErrors_data();
    void failuresGiveClearErrors();
    void untrustedCertificateRefused();
    void connectionRefused();
    void proxyChallenge();

private:
    SidiSimulator *simulator(bool https);

    QTemporaryDir m_dir;
    std::unique_ptr<SidiSimulator> m_http;
    std::unique_ptr<SidiSimulator> m_https;
};

void TestSidiClient::initTestCase()
{
    SimFixture fixture;
    fixture.users.insert(QStringLiteral("mario.rossi"), QStringLiteral("Segreta1"));
    fixture.users.insert(QStringLiteral("anna.bianchi"), QStringLiteral("Altra2"));
    fixture.users.insert(QStringLiteral("utente.con.un.nome.davvero.lungo@istruzione.it"),
                         QStringLiteral("parola-chiave-lunga"));
    fixture.bookingCodes.insert(kSchool, QStringLiteral("A1B2C"));
    fixture.bookingCodes.insert(QStringLiteral("RMEE00000E"), QString());
    fixture.bookingCodes.insert(QStringLiteral("RMEE00000F"), QStringLiteral("ABCD"));
    fixture.bookingCodes.insert(QStringLiteral("RMEE00000G"), QStringLiteral("ABCDEF"));
    fixture.bookingCodes.insert(QStringLiteral("RMEE00000H"),
                                QStringLiteral("Scuola non abilitata alla prenotazione"));
    m_http = std::make_unique<SidiSimulator>(fixture);
    m_http->start({});
    m_https = std::make_unique<SidiSimulator>(fixture);
    SidiSimulator::Options tls;
    tls.https = true;
    tls.certDir = m_dir.filePath(QStringLiteral("cert"));
    m_https->start(tls);
    QCOMPARE(m_https->baseUrl().scheme(), QStringLiteral("https"));
}

void TestSidiClient::init()
{
    m_http->clearRequests();
    m_https->clearRequests();
    m_http->clearInjections();
    m_https->clearInjections();
    m_http->setMultiReference(false);
    // The configuration the programs would read, written by the simulator.
    const QString ini = m_dir.filePath(QStringLiteral("sidi.ini"));
    m_https->writeConfig(ini);
    SidiConfig::setCurrent(SidiConfig::fromFile(ini));
    login(QStringLiteral("mario.rossi"), QStringLiteral("Segreta1"));
}

void TestSidiClient::cleanup()
{
    HttpTransport::setExtraHeader(QString());
}

SidiSimulator *TestSidiClient::simulator(bool https)
{
    return https ? m_https.get() : m_http.get();
}

void TestSidiClient::credentialsLineBetweenSoapActionAndContentType_data()
{
    QTest::addColumn<bool>("https");
    QTest::newRow("http") << false;
    QTest::newRow("https") << true;
}

void TestSidiClient::credentialsLineBetweenSoapActionAndContentType()
{
    QFETCH(bool, https);
    SidiSimulator *sim = simulator(https);
    TDokRIOPrenota client;
    client.setURL(sim->baseUrl().toString() + QStringLiteral("/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort"));
    QCOMPARE(client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")), QStringLiteral("A1B2C"));

    QCOMPARE(sim->requests().size(), 1);
    const RecordedRequest r = sim->requests().first();
    QCOMPARE(r.path, QStringLiteral("/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort"));
    QCOMPARE(r.user, QStringLiteral("mario.rossi"));
    const QList<int> auth = r.indicesOf("Authorization");
    const QList<int> action = r.indicesOf("SOAPAction");
    const QList<int> type = r.indicesOf("Content-Type");
    QCOMPARE(auth.size(), 1);
    QCOMPARE(action.size(), 1);
    QCOMPARE(type.size(), 1);
    QCOMPARE(auth.first(), action.first() + 1);
    QCOMPARE(type.first(), auth.first() + 1);
    QCOMPARE(r.headers[auth.first()].first, QByteArray("AUTHORIZATION"));
    QCOMPARE(r.headers[auth.first()].second, "Basic " + QByteArray("mario.rossi:Segreta1").toBase64());
    // The namespace ends in "/", so two slashes stand before the operation.
    const QString ns = sim->namespaceOf(QStringLiteral("EstraiCodicePrenotazioneWSTrs"));
    QVERIFY(ns.endsWith(QLatin1Char('/')));
    QCOMPARE(QString::fromUtf8(r.header("SOAPAction")),
             QLatin1Char('"') + ns + QStringLiteral("/getCodicePrenotazione\""));
    QVERIFY(r.header("SOAPAction").endsWith("//getCodicePrenotazione\""));
    QVERIFY(r.header("Content-Type").startsWith("text/xml"));
    QVERIFY(r.body.contains("<codiceDebole xsi:type=\"xsd:string\">RMIC81200X</codiceDebole>"));
    QVERIFY(r.body.contains("<codMigAre xsi:type=\"xsd:string\">3</codMigAre>"));
}

void TestSidiClient::secondLoginReplacesCredentials()
{
    SidiSimulator *sim = simulator(true);
    TDokRIOPrenota first;
    first.ChiediCodicePrenotazione(kSchool, QStringLiteral("3"));
    login(QStringLiteral("anna.bianchi"), QStringLiteral("Altra2"));
    // A new client object: the header is the process's, not the client's.
    TDokRIOPrenota second;
    second.ChiediCodicePrenotazione(kSchool, QStringLiteral("3"));

    const QList<RecordedRequest> requests = sim->requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].user, QStringLiteral("mario.rossi"));
    QCOMPARE(requests[1].user, QStringLiteral("anna.bianchi"));
    QCOMPARE(requests[1].indicesOf("Authorization").size(), 1);
    QCOMPARE(requests[1].header("Authorization"), "Basic " + QByteArray("anna.bianchi:Altra2").toBase64());
}

void TestSidiClient::longCredentialsStillAuthenticate()
{
    // 66 bytes of "user:password": the Base64 text breaks after 76 characters.
    const QString user = QStringLiteral("utente.con.un.nome.davvero.lungo@istruzione.it");
    const QString password = QStringLiteral("parola-chiave-lunga");
    QVERIFY((user + QLatin1Char(':') + password).size() > 57);
    login(user, password);
    TDokRIOPrenota client;
    QCOMPARE(client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")), QStringLiteral("A1B2C"));
    const RecordedRequest r = m_https->requests().first();
    QCOMPARE(r.user, user);
    QCOMPARE(r.indicesOf("Authorization").size(), 1);
    QCOMPARE(r.indicesOf("Content-Type").first(), r.indicesOf("Authorization").first() + 1);
}

void TestSidiClient::transportCredentialsAnswerChallenge()
{
    // No extra header: the transport's own user name and password answer the
    // server's 401 challenge.
    HttpTransport::setExtraHeader(QString());
    TDokRIOPrenota client;
    client.setUtente(QStringLiteral("anna.bianchi"));
    client.setPassword(QStringLiteral("Altra2"));
    QCOMPARE(client.Utente(), QStringLiteral("anna.bianchi"));
    QCOMPARE(client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")), QStringLiteral("A1B2C"));
    const QList<RecordedRequest> requests = m_https->requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].status, 401);
    QCOMPARE(requests[0].indicesOf("Authorization").size(), 0);
    QCOMPARE(requests[1].user, QStringLiteral("anna.bianchi"));
}

void TestSidiClient::refusedCredentials()
{
    login(QStringLiteral("mario.rossi"), QStringLiteral("sbagliata"));
    TDokRIOPrenota client;
    client.setUtente(QStringLiteral("mario.rossi"));
    client.setPassword(QStringLiteral("sbagliata"));
    const SoapError e = errorOf([&] { client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")); });
    QCOMPARE(e.kind(), SoapError::Kind::Authentication);
    QVERIFY(e.message().contains(QLatin1String("401")));
    // One answer to the challenge, then it gives up.
    QCOMPARE(m_https->requests().size(), 2);
}

void TestSidiClient::oddAnswersComeBackAsSent_data()
{
    QTest::addColumn<QString>("school");
    QTest::addColumn<QString>("answer");
    QTest::newRow("empty") << "RMEE00000E" << "";
    QTest::newRow("4 characters") << "RMEE00000F" << "ABCD";
    QTest::newRow("6 characters") << "RMEE00000G" << "ABCDEF";
    QTest::newRow("a message") << "RMEE00000H" << "Scuola non abilitata alla prenotazione";
    QTest::newRow("not in the fixture: a fixed code")
        << "RMPS99999Z" << SimBookingCodeHandler::generatedCode(QStringLiteral("RMPS99999Z"));
}

void TestSidiClient::oddAnswersComeBackAsSent()
{
    QFETCH(QString, school);
    QFETCH(QString, answer);
    TDokRIOPrenota client;
    QCOMPARE(client.ChiediCodicePrenotazione(school, QStringLiteral("3")), answer);
}

void TestSidiClient::faultReachesCaller()
{
    SimInjection fault;
    fault.kind = SimInjection::Kind::SoapFault;
    fault.text = QStringLiteral("Servizio di prenotazione sospeso");
    fault.times = 1;
    m_https->inject(fault);
    TDokRIOPrenota client;
    const SoapError e = errorOf([&] { client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")); });
    QCOMPARE(e.kind(), SoapError::Kind::Fault);
    QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Servizio di prenotazione sospeso"));
    QCOMPARE(e.faultCode(), QStringLiteral("SOAP-ENV:Server"));
    // Injected once: the next call is answered.
    QCOMPARE(client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")), QStringLiteral("A1B2C"));
}

void TestSidiClient::multiReferenceAnswerDecodesLikeInline()
{
    TDokRIOPrenota client;
    client.setURL(m_http->baseUrl().toString() + QStringLiteral("/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort"));
    QByteArray inlineAnswer, referenced;
    client.AfterExecute = [&](const QString &, const QByteArray &response) { inlineAnswer = response; };
    const QString a = client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3"));
    m_http->setMultiReference(true);
    client.AfterExecute = [&](const QString &, const QByteArray &response) { referenced = response; };
    const QString b = client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3"));
    QVERIFY(!inlineAnswer.contains("href="));
    QVERIFY(referenced.contains("href=\"#1\""));
    QCOMPARE(a, QStringLiteral("A1B2C"));
    QCOMPARE(b, a);
}

void TestSidiClient::hooksSeeMethodAndRawMessages()
{
    TDokRIOPrenota client;
    QStringList calls;
    QByteArray request, response;
    client.BeforeExecute = [&](const QString &method, QByteArray &raw) {
        calls << QStringLiteral("before ") + method;
        request = raw;
    };
    client.AfterExecute = [&](const QString &method, const QByteArray &raw) {
        calls << QStringLiteral("after ") + method;
        response = raw;
    };
    client.setBeforePost([](HttpHeaders &headers) {
        headers.add("X-Prova", "1");
        headers.add("SOAPAction", "\"replaced?\"");  // already there: kept as it was
    });
    client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3"));
    QCOMPARE(calls, (QStringList{"before getCodicePrenotazione", "after getCodicePrenotazione"}));
    const RecordedRequest r = m_https->requests().first();
    QCOMPARE(request, r.body);
    QVERIFY(response.contains("A1B2C"));
    QCOMPARE(r.indicesOf("X-Prova").first(), r.indicesOf("Content-Type").first() + 1);
    QVERIFY(r.header("SOAPAction").endsWith("//getCodicePrenotazione\""));
}

void TestSidiClient::failuresGiveClearErrors_data()
{
    QTest::addColumn<SimInjection::Kind>("injection");
    QTest::addColumn<SoapError::Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("HTTP 500") << SimInjection::Kind::Http500 << SoapError::Kind::HttpStatus << "HTTP 500";
    QTest::newRow("empty body") << SimInjection::Kind::EmptyBody << SoapError::Kind::EmptyBody << "risposta vuota";
    QTest::newRow("not XML") << SimInjection::Kind::NotXml << SoapError::Kind::NotXml << "non è un messaggio XML";
    QTest::newRow("malformed XML") << SimInjection::Kind::MalformedXml << SoapError::Kind::MalformedXml
                                   << "XML malformato";
    QTest::newRow("slow answer") << SimInjection::Kind::Slow << SoapError::Kind::Timeout << "Tempo di attesa scaduto";
}

void TestSidiClient::failuresGiveClearErrors()
{
    QFETCH(SimInjection::Kind, injection);
    QFETCH(SoapError::Kind, kind);
    QFETCH(QString, text);
    SimInjection inj;
    inj.kind = injection;
    inj.delayMs = 3000;
    inj.times = 1;
    m_https->inject(inj);
    TDokRIOPrenota client;
    client.setReceiveTimeout(400);
    QElapsedTimer clock;
    clock.start();
    const SoapError e = errorOf([&] { client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")); });
    QCOMPARE(e.kind(), kind);
    QVERIFY2(e.message().contains(text), qPrintable(e.message()));
    QVERIFY(clock.elapsed() < 2500);
    // The simulator's late answer finds the connection gone; the next call works.
    QTest::qWait(injection == SimInjection::Kind::Slow ? 2800 : 0);
    QCOMPARE(client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")), QStringLiteral("A1B2C"));
}

void TestSidiClient::untrustedCertificateRefused()
{
    // The same simulator, but the configuration does not name its certificate.
    SidiConfig config = m_https->config();
    config.setCaFile(QString());
    SidiConfig::setCurrent(config);
    TDokRIOPrenota client;
    const SoapError e = errorOf([&] { client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")); });
    QCOMPARE(e.kind(), SoapError::Kind::Certificate);
    QVERIFY2(e.message().startsWith(QLatin1String("Certificato del server")), qPrintable(e.message()));
    QCOMPARE(m_https->requests().size(), 0);
}

void TestSidiClient::connectionRefused()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    TDokRIOPrenota client;
    client.setURL(QStringLiteral("http://127.0.0.1:%1/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort").arg(port));
    const SoapError e = errorOf([&] { client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")); });
    QCOMPARE(e.kind(), SoapError::Kind::Transport);
    QVERIFY(e.message().contains(QString::number(port)));
}

void TestSidiClient::proxyChallenge()
{
    TestProxy proxy("proxyuser", "proxypass");
    const quint16 port = proxy.startAndWait();
    const QString url = m_http->baseUrl().toString() + QStringLiteral("/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort");

    // No handler: the 407 stands.
    {
        TDokRIOPrenota client;
        client.setURL(url);
        client.setProxy(QStringLiteral("127.0.0.1:%1").arg(port));
        const SoapError e = errorOf([&] { client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")); });
        QCOMPARE(e.kind(), SoapError::Kind::ProxyAuthentication);
    }
    // A handler that supplies the stored proxy credentials once.
    for (const QString &password : {QStringLiteral("proxypass"), QStringLiteral("wrong")}) {
        TDokRIOPrenota client;
        client.setURL(url);
        client.setProxy(QStringLiteral("127.0.0.1:%1").arg(port));
        client.setProxyUtente(QStringLiteral("proxyuser"));
        client.setProxyPassword(password);
        int challenges = 0;
        client.setOnProxyAuthentication([&](ProxyChallenge &c) {
            ++challenges;
            if (c.proxyUser == client.ProxyUtente() && c.proxyPassword == client.ProxyPassword())
                return;  // already tried: give up
            c.proxyUser = client.ProxyUtente();
            c.proxyPassword = client.ProxyPassword();
            c.retry = true;
        });
        if (password == QLatin1String("proxypass")) {
            QCOMPARE(client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")), QStringLiteral("A1B2C"));
            QCOMPARE(challenges, 1);
        } else {
            const SoapError e = errorOf([&] { client.ChiediCodicePrenotazione(kSchool, QStringLiteral("3")); });
            QCOMPARE(e.kind(), SoapError::Kind::ProxyAuthentication);
            QCOMPARE(challenges, 2);
        }
    }
    QVERIFY(proxy.seen().contains("Basic " + QByteArray("proxyuser:proxypass").toBase64()));
}

QTEST_GUILESS_MAIN(TestSidiClient)
#include "test_sidi_client.moc"
