// sidisim: SIDI's web services on loopback, for tests, the demo and training.
#include "SidiSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <exception>

using namespace sidisim;

static const char kDescription[] = R"(SIDI simulator: serves SIDI's SOAP web services on 127.0.0.1 under
/SSANWSTRS/<port name>, over HTTP or HTTPS, for tests, the demo and training.

Ports served: EstraiCodicePrenotazioneWSTrsSoapHttpPort (getCodicePrenotazione).

When it is ready it prints its base URL (for example http://127.0.0.1:40123) as
the first line on standard output, then serves until it is stopped.

Every request needs HTTP Basic credentials of a fixture user (401 otherwise).
The booking code of a school is the one in the fixture, which may be an odd
answer on purpose ("", 4 or 6 characters, a message); a school the fixture does
not name gets a fixed 5-character code made from its code.

Fixture (JSON, --fixture):
  { "users": { "demo": "demo" },
    "bookingCodes": { "RMIC81200X": "A1B2C", "RMEE81201Y": "" },
    "injections": [ { "kind": "soap-fault", "text": "Servizio sospeso",
                      "operation": "getCodicePrenotazione", "times": 1 } ] }
Without a fixture the only user is "demo" with password "demo".

Injection kinds (fixture or --inject): soap-fault (HTTP 500 with a SOAP Fault),
http-500 (HTTP 500 with an HTML page), slow (the answer --delay ms late),
empty (HTTP 200, empty body), not-xml (HTTP 200, plain text), malformed
(HTTP 200, an envelope cut short).

Written configuration (--write-config): an ini file whose [SIDI] Produzione and
Test are the simulator's base URL, CaFile its certificate (HTTPS), and whose
[Namespace] section lists the namespace of every port interface.)";

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sidisim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SIDILINK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOpt(QStringLiteral("port"),
                                     QStringLiteral("TCP port to listen on; 0 (default) picks a free one."),
                                     QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption httpsOpt(QStringLiteral("https"), QStringLiteral("Serve HTTPS instead of HTTP."));
    const QCommandLineOption certOpt(QStringLiteral("cert-dir"),
                                     QStringLiteral("Folder of sidisim.crt and sidisim.key; a self-signed pair for "
                                                    "localhost and 127.0.0.1 is made there with openssl when missing. "
                                                    "Implies --https. Default: a folder in the temporary folder."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption fixtureOpt(QStringLiteral("fixture"),
                                        QStringLiteral("JSON fixture: users, booking codes, injections."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption configOpt(QStringLiteral("write-config"),
                                       QStringLiteral("Write an ini file pointing at this simulator."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption injectOpt(QStringLiteral("inject"),
                                       QStringLiteral("Inject a fault into every answer: soap-fault, http-500, slow, "
                                                      "empty, not-xml, malformed."),
                                       QStringLiteral("KIND"));
    const QCommandLineOption textOpt(QStringLiteral("fault-text"),
                                     QStringLiteral("Fault string of --inject soap-fault."), QStringLiteral("TEXT"));
    const QCommandLineOption delayOpt(QStringLiteral("delay"),
                                      QStringLiteral("Delay of --inject slow, in milliseconds (default 5000)."),
                                      QStringLiteral("MS"), QStringLiteral("5000"));
    const QCommandLineOption multiRefOpt(QStringLiteral("multiref"),
                                         QStringLiteral("Answer with href/id multi-references instead of inline values."));
    const QCommandLineOption logOpt(QStringLiteral("log"),
                                    QStringLiteral("Append every request received (header lines and body) to FILE."),
                                    QStringLiteral("FILE"));
    parser.addOptions({portOpt, httpsOpt, certOpt, fixtureOpt, configOpt, injectOpt, textOpt, delayOpt,
                       multiRefOpt, logOpt});
    parser.process(app);

    QTextStream err(stderr);
    try {
        SimFixture fixture = parser.isSet(fixtureOpt) ? SimFixture::fromFile(parser.value(fixtureOpt))
                                                      : SimFixture::defaults();
        if (parser.isSet(injectOpt)) {
            SimInjection inj;
            if (!SimInjection::kindFromName(parser.value(injectOpt), &inj.kind)) {
                err << "sidisim: tipo di guasto sconosciuto: " << parser.value(injectOpt) << '\n';
                return 2;
            }
            inj.text = parser.value(textOpt);
            inj.delayMs = parser.value(delayOpt).toInt();
            fixture.injections.prepend(inj);
        }
        bool portOk = false;
        const uint port = parser.value(portOpt).toUInt(&portOk);
        if (!portOk || port > 65535) {
            err << "sidisim: porta non valida: " << parser.value(portOpt) << '\n';
            return 2;
        }
        SidiSimulator::Options options;
        options.port = quint16(port);
        options.https = parser.isSet(httpsOpt) || parser.isSet(certOpt);
        options.certDir = parser.value(certOpt);
        options.multiReference = parser.isSet(multiRefOpt);
        options.logFile = parser.value(logOpt);

        SidiSimulator simulator(fixture);
        simulator.start(options);
        if (parser.isSet(configOpt))
            simulator.writeConfig(parser.value(configOpt));
        std::printf("%s\n", simulator.baseUrl().toString().toUtf8().constData());
        std::fflush(stdout);
        return app.exec();
    } catch (const std::exception &e) {
        err << "sidisim: " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
}
