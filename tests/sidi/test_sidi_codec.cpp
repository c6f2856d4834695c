// The message layer on its own: Base64, encoding and decoding of the declared
// types, faults, hostile input, the extra header lines and the configuration.
#include "ErrorOf.h"
#include "TestTypes.h"

#include <Base64.h>
#include <HttpTransport.h>
#include <SidiConfig.h>
#include <SoapDecoder.h>
#include <SoapEncoder.h>
#include <SoapError.h>
#include <TDokRIOPrenota.h>

#include <QTemporaryDir>
#include <QTest>

using namespace sidi;
using namespace testtypes;

Q_DECLARE_METATYPE(sidi::SoapError::Kind)

namespace {

const QString kNs = QStringLiteral("http://sidi.test/UtilitySidiWSTrs/");

QByteArray envelope(const QByteArray &body, const QByteArray &extraNs = QByteArray())
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:x=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\" " + extraNs + ">"
           "<soapenv:Body>" + body + "</soapenv:Body></soapenv:Envelope>";
}

Value messaggio(const char *area, const char *codice, const char *descr)
{
    Value m = Value::object(MessaggioBean());
    m.set(u"area", area).set(u"codice", codice).set(u"descr", descr);
    return m;
}

// The answer most tests expect: a derived type with one message and no error.
Value expectedEsito()
{
    Value messages = Value::array(ArrayOfMessaggioBean());
    messages.append(messaggio("A6", "100", "Scuola in gestione SIDI"));
    Value esito = Value::object(ModOpeScuolaEsito());
    esito.set(u"esito", 1)
        .set(u"listaErrori", Value::array(ArrayOfMessaggioBean()))
        .set(u"listaMessaggi", messages)
        .set(u"annoScolastico", "2016")
        .set(u"codiceDeboleScuola", "RMIC81200X")
        .set(u"gestioneSidi", true);
    return esito;
}

} // namespace

class TestSidiCodec : public QObject
{
    Q_OBJECT

private slots:
    void base64_data();
    void base64();
    void base64WithoutLineBreaks();

    void rpcRoundTrip();
    void rpcRequestShape();
    void answersDecodeAlike_data();
    void answersDecodeAlike();
    void headerTakesNamespaceOfCalledPort();
    void documentLiteral();
    void documentLiteralAnswer();
    void serverReadsParameters();

    void referenceToEnclosingElementEnds();
    void faultBecomesError();
    void hostileInput_data();
    void hostileInput();

    void extraHeaderLines_data();
    void extraHeaderLines();
    void headerAddKeepsExisting();

    void configSearch();
    void configFile();
    void configArguments_data();
    void configArguments();
    void clientStartsOnProductionAddress();
};

void TestSidiCodec::base64_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("expected");
    const QString line76 = QString::fromLatin1(QByteArray(57, 'a').toBase64());
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("one byte, padded") << QByteArray("a") << QStringLiteral("YQ==");
    QTest::newRow("credentials") << QByteArray("utente:segreta") << QStringLiteral("dXRlbnRlOnNlZ3JldGE=");
    QTest::newRow("57 bytes: one full line and its CR LF")
        << QByteArray(57, 'a') << line76 + QStringLiteral("\r\n");
    QTest::newRow("58 bytes: full line, CR LF, 4 more")
        << QByteArray(58, 'a') << line76 + QStringLiteral("\r\nYQ==");
    QTest::newRow("114 bytes: two full lines")
        << QByteArray(114, 'a') << line76 + QStringLiteral("\r\n") + line76 + QStringLiteral("\r\n");
}

void TestSidiCodec::base64()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, expected);
    QCOMPARE(Base64Encode(input), expected);
}

void TestSidiCodec::base64WithoutLineBreaks()
{
    const QString text = Base64EncodeNoLineBreaks(QByteArray(58, 'a'));
    QCOMPARE(text.size(), 80);
    QVERIFY(!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')));
    QCOMPARE(Base64EncodeNoLineBreaks(":"), QStringLiteral("Og=="));
    // UTF-8 bytes in, as the gateway encodes a name with accents.
    QCOMPARE(Base64EncodeNoLineBreaks(QStringLiteral("è").toUtf8()), QStringLiteral("w6g="));
}

void TestSidiCodec::rpcRoundTrip()
{
    // A server answer built by the encoder reads back as the same value,
    // inline and in multi-reference form.
    const Value esito = expectedEsito();
    for (bool multiRef : {false, true}) {
        const QByteArray bytes =
            SoapEncoder::response(leggiModalitaOperativaScuola(), kNs, esito, multiRef);
        QCOMPARE(bytes.contains("href=\"#"), multiRef);
        SoapDecoder decoder(bytes);
        QCOMPARE(decoder.result(leggiModalitaOperativaScuola()), esito);
    }
}

void TestSidiCodec::rpcRequestShape()
{
    Value header = Value::object(HeaderOperation());
    header.set(u"annoScolastico", "2016").set(u"codicedDeboleScuola", "RMIC81200X");
    Value input = Value::object(ModOpeScuolaInput());
    input.set(u"annoScolastico", "2016");
    const QByteArray bytes = SoapEncoder::request(leggiModalitaOperativaScuola(), kNs, {header, input});

    const XmlNode root = parseXml(bytes);
    const XmlNode &call = root.child(u"Body")->children.at(0);
    QCOMPARE(call.name, QStringLiteral("leggiModalitaOperativaScuola"));
    QCOMPARE(call.ns, kNs);
    QCOMPARE(call.children.size(), size_t(2));
    QCOMPARE(call.children[0].name, QStringLiteral("headerOperation"));
    QCOMPARE(call.children[1].name, QStringLiteral("modOpeScuola"));
    // Typed parts, properties in declaration order, unset ones sent empty.
    QVERIFY(call.children[0].attribute(u"type").endsWith(QLatin1String(":HeaderOperation")));
    const QStringList order = {"annoScolastico", "codFlusso", "codicedDeboleScuola", "fornitore", "versioneSw"};
    QCOMPARE(call.children[0].children.size(), size_t(order.size()));
    for (int i = 0; i < order.size(); ++i) {
        QCOMPARE(call.children[0].children[size_t(i)].name, order[i]);
        QCOMPARE(call.children[0].children[size_t(i)].attribute(u"type"), QStringLiteral("xsd:string"));
    }
    QCOMPARE(call.children[0].children[2].text, QStringLiteral("RMIC81200X"));
    QVERIFY(bytes.contains("xsi:type=\"xsd:string\"></codFlusso>")
            || bytes.contains("xsi:type=\"xsd:string\"/>"));

    // SOAP-encoded arrays name their item type and count.
    const QByteArray answer = SoapEncoder::response(leggiModalitaOperativaScuola(), kNs, expectedEsito());
    QVERIFY(answer.contains("SOAP-ENC:arrayType=\"NS1:MessaggioBean[1]\""));
    QVERIFY(answer.contains("SOAP-ENC:arrayType=\"NS1:MessaggioBean[0]\""));
}

void TestSidiCodec::answersDecodeAlike_data()
{
    QTest::addColumn<QByteArray>("message");
    const QByteArray esito =
        "<esito x:type=\"xsd:int\">1</esito>"
        "<listaErrori x:type=\"enc:Array\" enc:arrayType=\"t:MessaggioBean[0]\"/>";
    const QByteArray messaggio =
        "<area>A6</area><codice>100</codice><descr>Scuola in gestione SIDI</descr>";
    const QByteArray rest =
        "<annoScolastico>2016</annoScolastico><codiceDeboleScuola>RMIC81200X</codiceDeboleScuola>"
        "<gestioneSidi>true</gestioneSidi>";
    QTest::newRow("inline")
        << envelope("<ns1:leggiModalitaOperativaScuolaResponse xmlns:ns1=\"urn:a\"><result>" + esito
                    + "<listaMessaggi><item>" + messaggio + "</item></listaMessaggi>" + rest
                    + "</result></ns1:leggiModalitaOperativaScuolaResponse>");
    QTest::newRow("return part under another name, other prefixes, unknown elements")
        << envelope("<a:leggiModalitaOperativaScuolaResponse xmlns:a=\"urn:b\"><return><nuovo>x</nuovo>"
                    + esito + "<listaMessaggi><b:MessaggioBean xmlns:b=\"urn:c\">" + messaggio
                    + "<extra><deep/></extra></b:MessaggioBean></listaMessaggi>" + rest
                    + "</return><secondo>ignored</secondo></a:leggiModalitaOperativaScuolaResponse>");
    QTest::newRow("multi-reference, referenced elements before and after")
        << envelope("<m id=\"m1\">" + messaggio + "</m>"
                    "<ns1:leggiModalitaOperativaScuolaResponse xmlns:ns1=\"urn:a\"><result href=\"#r\"/>"
                    "</ns1:leggiModalitaOperativaScuolaResponse>"
                    "<multiRef id=\"r\" enc:root=\"0\">" + esito
                    + "<listaMessaggi href=\"#l\"/>" + rest + "</multiRef>"
                    "<multiRef id=\"l\"><item href=\"#m1\"/></multiRef>");
}

void TestSidiCodec::answersDecodeAlike()
{
    QFETCH(QByteArray, message);
    SoapDecoder decoder(message);
    QCOMPARE(decoder.result(leggiModalitaOperativaScuola()), expectedEsito());
}

void TestSidiCodec::headerTakesNamespaceOfCalledPort()
{
    // One header type, two ports: the study-address port keeps its types in
    // "types/", the utility port in its target namespace.
    Value header = Value::object(HeaderOperation());
    header.set(u"fornitore", "NORV");
    const QString indirizzi = QStringLiteral("http://sidi.test/GestioneIndirizzoSidiWSTrs/");
    const QByteArray a = SoapEncoder::request(ricercaIndirizzo(), indirizzi,
                                              {header, Value::object(ModOpeScuolaInput())});
    const QByteArray b = SoapEncoder::request(leggiModalitaOperativaScuola(), kNs,
                                              {header, Value::object(ModOpeScuolaInput())});
    auto headerTypeNamespace = [](const QByteArray &bytes) {
        const XmlNode root = parseXml(bytes);
        const XmlNode &part = root.child(u"Body")->children.at(0).children.at(0);
        const QString prefix = part.attribute(u"type").section(QLatin1Char(':'), 0, 0);
        // Find the declaration of that prefix in the text.
        const QByteArray decl = "xmlns:" + prefix.toUtf8() + "=\"";
        const qsizetype at = bytes.indexOf(decl) + decl.size();
        return QString::fromUtf8(bytes.mid(at, bytes.indexOf('"', at) - at));
    };
    QCOMPARE(headerTypeNamespace(a), indirizzi + QStringLiteral("types/"));
    QCOMPARE(headerTypeNamespace(b), kNs);
}

void TestSidiCodec::documentLiteral()
{
    const QString ns = QStringLiteral("http://sidi.test/AccessoSidiWSTrs/");
    Value filtro = Value::object(FiltroAlunni());
    filtro.set(u"codiceDebole", "RMIC81200X").set(u"sezione", "");
    Value wrapper = Value::object(RequestElement());
    wrapper.set(u"theFiltro", filtro);
    const QByteArray bytes = SoapEncoder::request(estraiSidiAnagrafeAlunni(), ns, {wrapper});

    QVERIFY(!bytes.contains("xsi:type"));
    const XmlNode root = parseXml(bytes);
    const XmlNode &element = root.child(u"Body")->children.at(0);
    QCOMPARE(element.name, QStringLiteral("estraiSidiAnagrafeAlunniElement"));
    QCOMPARE(element.ns, ns);
    const XmlNode &f = element.children.at(0);
    QCOMPARE(f.name, QStringLiteral("theFiltro"));
    // Base properties first; an unset nillable one is nil, a set empty one empty.
    QCOMPARE(f.children.size(), size_t(3));
    QCOMPARE(f.children[0].name, QStringLiteral("versioneSw"));
    QCOMPARE(f.children[0].attribute(u"nil"), QStringLiteral("true"));
    QCOMPARE(f.children[1].text, QStringLiteral("RMIC81200X"));
    QCOMPARE(f.children[1].ns, ns + QStringLiteral("types/"));
    QCOMPARE(f.children[2].name, QStringLiteral("sezione"));
    QVERIFY(!f.children[2].hasAttribute(u"nil"));
}

void TestSidiCodec::documentLiteralAnswer()
{
    const QString ns = QStringLiteral("http://sidi.test/AccessoSidiWSTrs/");
    Value alunni = Value::array(ArrayOfAlunnoSidi());
    for (const char *nome : {"Anna", "Luca"}) {
        Value a = Value::object(AlunnoSidi());
        a.set(u"nome", nome).set(u"cognome", Value());
        alunni.append(a);
    }
    Value result = Value::object(SidiAnagrafeAlunni());
    result.set(u"alunni", alunni);  // errors never set: left out
    Value response = Value::object(ResponseElement());
    response.set(u"result", result);

    const QByteArray bytes = SoapEncoder::response(estraiSidiAnagrafeAlunni(), ns, response);
    QVERIFY(!bytes.contains("errors"));
    QCOMPARE(bytes.count("<NS2:alunni>"), 2);  // one element per item, no wrapper
    QVERIFY(bytes.contains("<NS2:cognome xsi:nil=\"true\"/>"));
    SoapDecoder decoder(bytes);
    QCOMPARE(decoder.result(estraiSidiAnagrafeAlunni()), response);

    // Repeated errors from the server become one list, in order.
    const QByteArray withErrors = envelope(
        "<r:estraiSidiAnagrafeAlunniResponseElement xmlns:r=\"urn:r\"><r:result>"
        "<t:errors xmlns:t=\"urn:t\">primo</t:errors><t:errors xmlns:t=\"urn:t\">secondo</t:errors>"
        "</r:result></r:estraiSidiAnagrafeAlunniResponseElement>");
    const Value read = SoapDecoder(withErrors).result(estraiSidiAnagrafeAlunni());
    const Value errors = read.get(u"result").get(u"errors");
    QCOMPARE(errors.size(), 2);
    QCOMPARE(errors.item(0).toString(), QStringLiteral("primo"));
    QCOMPARE(errors.item(1).toString(), QStringLiteral("secondo"));
    QVERIFY(!read.get(u"result").has(u"alunni"));
}

void TestSidiCodec::serverReadsParameters()
{
    Value header = Value::object(HeaderOperation());
    header.set(u"codFlusso", "A6");
    Value input = Value::object(ModOpeScuolaInput());
    input.set(u"annoScolastico", "2016").set(u"codiceDeboleScuola", "RMIC81200X");
    SoapDecoder decoder(SoapEncoder::request(leggiModalitaOperativaScuola(), kNs, {header, input}));
    const QList<Value> params = decoder.parameters(leggiModalitaOperativaScuola());
    QCOMPARE(params.size(), 2);
    QCOMPARE(params[0].get(u"codFlusso").toString(), QStringLiteral("A6"));
    QCOMPARE(params[0].get(u"fornitore").toString(), QString());
    QCOMPARE(params[1], input);
}

void TestSidiCodec::referenceToEnclosingElementEnds()
{
    // The declared types bound how deep a reference is followed, so an
    // element that refers to itself reads as far as its type goes.
    const QByteArray message = envelope(
        "<r><result href=\"#a\"/></r>"
        "<x id=\"a\"><descrizione>uno</descrizione><listaPluriclassiSidi><i href=\"#a\"/></listaPluriclassiSidi></x>");
    const Value v = SoapDecoder(message).result(ricercaPluriclasse());
    QCOMPARE(v.get(u"listaPluriclassiSidi").size(), 1);
    QCOMPARE(v.get(u"listaPluriclassiSidi").item(0).get(u"descrizione").toString(), QStringLiteral("uno"));
}

void TestSidiCodec::faultBecomesError()
{
    const QByteArray bytes = SoapEncoder::fault("SOAP-ENV:Server", "Utente non abilitato al servizio",
                                                "codice 17");
    SoapDecoder decoder(bytes);
    QVERIFY(decoder.isFault());
    const SoapError e = errorOf([&] { decoder.result(leggiModalitaOperativaScuola()); });
    QCOMPARE(e.kind(), SoapError::Kind::Fault);
    QCOMPARE(e.message(), QStringLiteral("Utente non abilitato al servizio"));
    QCOMPARE(e.faultCode(), QStringLiteral("SOAP-ENV:Server"));
    QCOMPARE(e.faultDetail(), QStringLiteral("codice 17"));
}

void TestSidiCodec::hostileInput_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<SoapError::Kind>("kind");
    QTest::newRow("plain text") << QByteArray("Service Unavailable") << SoapError::Kind::NotXml;
    QTest::newRow("empty") << QByteArray() << SoapError::Kind::NotXml;
    QTest::newRow("cut short") << envelope("<a>").left(60) << SoapError::Kind::MalformedXml;
    QTest::newRow("mismatched tags") << QByteArray("<a><b></a></b>") << SoapError::Kind::MalformedXml;
    QTest::newRow("entity expansion")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x \"xxxxxxxx\">"
                      "<!ENTITY y \"&x;&x;&x;&x;&x;&x;&x;&x;\">]><a>&y;</a>")
        << SoapError::Kind::MalformedXml;
    QTest::newRow("nesting beyond limit")
        << QByteArray("<a>").repeated(300) + QByteArray("</a>").repeated(300)
        << SoapError::Kind::MalformedXml;
    QTest::newRow("html page") << QByteArray("<html><body>Errore</body></html>") << SoapError::Kind::NotSoap;
    QTest::newRow("no body")
        << QByteArray("<e:Envelope xmlns:e=\"http://schemas.xmlsoap.org/soap/envelope/\"/>")
        << SoapError::Kind::NotSoap;
    QTest::newRow("empty body") << envelope("") << SoapError::Kind::NotSoap;
    QTest::newRow("reference chain loop")
        << envelope("<r><result href=\"#a\"/></r><x id=\"a\" href=\"#b\"/><y id=\"b\" href=\"#a\"/>")
        << SoapError::Kind::NotSoap;
    // 1500 multi-grade classes that are all the same one, whose 1500 component
    // classes are all the same one: millions of values if followed blindly.
    QByteArray bomb = "<r><result><listaPluriclassiSidi>";
    bomb += QByteArray("<i href=\"#p\"/>").repeated(1500);
    bomb += "</listaPluriclassiSidi></result></r><p id=\"p\"><classiComponenti>";
    bomb += QByteArray("<i href=\"#c\"/>").repeated(1500);
    bomb += "</classiComponenti></p><c id=\"c\"><sezione>A</sezione></c>";
    QTest::newRow("reference bomb") << envelope(bomb) << SoapError::Kind::NotSoap;
}

void TestSidiCodec::hostileInput()
{
    QFETCH(QByteArray, message);
    QFETCH(SoapError::Kind, kind);
    const SoapError e = errorOf([&] { SoapDecoder(message).result(ricercaPluriclasse()); });
    QCOMPARE(e.kind(), kind);
    QVERIFY(!e.message().isEmpty());
}

void TestSidiCodec::extraHeaderLines_data()
{
    using Lines = QList<QPair<QByteArray, QByteArray>>;
    QTest::addColumn<QString>("extra");
    QTest::addColumn<Lines>("expected");
    QTest::newRow("empty adds nothing") << QString() << Lines();
    QTest::newRow("one line") << QStringLiteral("AUTHORIZATION: Basic dTpw")
                              << Lines{{"AUTHORIZATION", "Basic dTpw"}};
    QTest::newRow("trailing CR LF of an exact Base64 line")
        << QStringLiteral("AUTHORIZATION: Basic ") + Base64Encode(QByteArray(57, 'u'))
        << Lines{{"AUTHORIZATION", "Basic " + QByteArray(57, 'u').toBase64()}};
    QTest::newRow("Base64 broken over two lines joins up")
        << QStringLiteral("AUTHORIZATION: Basic ") + Base64Encode(QByteArray(60, 'u'))
        << Lines{{"AUTHORIZATION", "Basic " + QByteArray(60, 'u').toBase64()}};
    QTest::newRow("two lines") << QStringLiteral("X-Uno: 1\r\nX-Due:2")
                               << Lines{{"X-Uno", "1"}, {"X-Due", "2"}};
}

void TestSidiCodec::extraHeaderLines()
{
    QFETCH(QString, extra);
    using Lines = QList<QPair<QByteArray, QByteArray>>;
    QFETCH(Lines, expected);
    HttpTransport::setExtraHeader(extra);
    QCOMPARE(HttpTransport::extraHeaderLines(), expected);
    HttpTransport::setExtraHeader(QString());
}

void TestSidiCodec::headerAddKeepsExisting()
{
    HttpHeaders h;
    h.add("SOAPAction", "\"a\"");
    h.add("Authorization", "Basic x");
    h.add("AUTHORIZATION", "Basic y");
    h.add("X-Injected", "a\r\nEvil: 1");
    QCOMPARE(h.lines().size(), 3);
    QCOMPARE(h.value("authorization"), QByteArray("Basic x"));
    QCOMPARE(h.value("X-Injected"), QByteArray("aEvil: 1"));
}

void TestSidiCodec::configSearch()
{
    QTemporaryDir dir;
    const QString mainDir = dir.filePath(QStringLiteral("suite"));
    QVERIFY(QDir().mkpath(mainDir + QStringLiteral("/etc")));
    const QString inMain = mainDir + QStringLiteral("/etc/sidi.ini");
    const QString explicitFile = dir.filePath(QStringLiteral("explicit.ini"));
    const QString envFile = dir.filePath(QStringLiteral("env.ini"));
    for (const QString &f : {inMain, explicitFile, envFile}) {
        QFile file(f);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[SIDI]\nProduzione=https://" + QFileInfo(f).baseName().toUtf8() + ".test\n");
    }
    qunsetenv(SidiConfig::kEnvironmentVariable);
    QCOMPARE(SidiConfig::findFile(QString(), QString()), QString());
    QCOMPARE(SidiConfig::load(QString(), dir.path()).produzione(),
             QString::fromLatin1(SidiConfig::kDefaultProduzione));
    QCOMPARE(SidiConfig::load(QString(), mainDir).produzione(), QStringLiteral("https://sidi.test"));
    qputenv(SidiConfig::kEnvironmentVariable, envFile.toUtf8());
    QCOMPARE(SidiConfig::load(QString(), mainDir).produzione(), QStringLiteral("https://env.test"));
    QCOMPARE(SidiConfig::load(explicitFile, mainDir).produzione(), QStringLiteral("https://explicit.test"));
    // A file named on purpose must be there.
    for (const QString &missing : {dir.filePath(QStringLiteral("none.ini"))}) {
        QVERIFY_THROWS_EXCEPTION(SoapError, SidiConfig::load(missing, mainDir));
        qputenv(SidiConfig::kEnvironmentVariable, missing.toUtf8());
        QVERIFY_THROWS_EXCEPTION(SoapError, SidiConfig::load(QString(), mainDir));
    }
    qunsetenv(SidiConfig::kEnvironmentVariable);
}

void TestSidiCodec::configFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sidi.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[SIDI]\n"
               "Produzione=https://sidi.example:8443/     ; base of the production services\n"
               "Test=http://test.sidi.example\n"
               "CaFile=ca.pem\n"
               "[Namespace]\n"
               "EstraiCodicePrenotazioneWSTrs=http://ns.example/Prenota   ; no final slash\n");
    file.close();
    const SidiConfig c = SidiConfig::fromFile(path);
    QCOMPARE(c.serviceAddress(QStringLiteral("EstraiCodicePrenotazioneWSTrsSoapHttpPort")),
             QStringLiteral("https://sidi.example:8443/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort"));
    QCOMPARE(c.test(), QStringLiteral("http://test.sidi.example"));
    QCOMPARE(c.caFile(), dir.filePath(QStringLiteral("ca.pem")));
    QCOMPARE(c.namespaceOf(QStringLiteral("EstraiCodicePrenotazioneWSTrs")),
             QStringLiteral("http://ns.example/Prenota/"));
    QCOMPARE(c.namespaceOf(QStringLiteral("GestioneAlunnoSidiWSTrs")),
             SidiConfig::defaultNamespace(QStringLiteral("GestioneAlunnoSidiWSTrs")));
    // The CA file is missing: a clear error, not an untrusted connection later.
    QVERIFY_THROWS_EXCEPTION(SoapError, c.caCertificates());

    // What save writes, fromFile reads back.
    const QString copy = dir.filePath(QStringLiteral("copy.ini"));
    c.save(copy);
    const SidiConfig again = SidiConfig::fromFile(copy);
    QCOMPARE(again.produzione(), c.produzione());
    QCOMPARE(again.caFile(), c.caFile());
    for (const QString &port : SidiConfig::portInterfaces())
        QCOMPARE(again.namespaceOf(port), c.namespaceOf(port));
}

void TestSidiCodec::configArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("absent") << QStringList{"Dok", "--batch"} << QString();
    QTest::newRow("separate") << QStringList{"Dok", "--sidi-config", "/x/s.ini"} << QStringLiteral("/x/s.ini");
    QTest::newRow("joined") << QStringList{"Dok", "--sidi-config=/y.ini", "-v"} << QStringLiteral("/y.ini");
}

void TestSidiCodec::configArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QCOMPARE(SidiConfig::fileFromArguments(arguments), file);
}

void TestSidiCodec::clientStartsOnProductionAddress()
{
    SidiConfig config;
    config.setProduzione(QStringLiteral("https://sidi.example"));
    SidiConfig::setCurrent(config);
    TDokRIOPrenota client;
    QCOMPARE(client.URL(),
             QStringLiteral("https://sidi.example/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort"));
    QCOMPARE(client.Utente(), QString());
    // An address set by hand is used as given, whatever description was set.
    client.setWSDLLocation(QStringLiteral("https://sidi.example/x?wsdl"));
    client.setURL(QStringLiteral("http://altro.example/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort"));
    QCOMPARE(client.WSDLLocation(), QString());
    SidiConfig::setCurrent(SidiConfig());
}

QTEST_GUILESS_MAIN(TestSidiCodec)
#include "test_sidi_codec.moc"
