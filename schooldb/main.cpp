// schooldb: makes school databases for development, tests and demos.
//   schooldb create PATH
//   schooldb demo PATH [--pupils N] [--seed S]
// Exit status: 0 done, 1 failed (message on stderr), 64 bad command line.

#include "DemoData.h"
#include "SchoolDatabase.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <exception>

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 64;

int usageError(const QCommandLineParser &parser, const QString &message)
{
    QTextStream err(stderr);
    err << message << "\n\n" << parser.helpText();
    return kExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("schooldb"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SIDILINK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Crea il database della scuola.\n"
        "  create PATH   database vuoto con lo schema\n"
        "  demo PATH     database con un istituto dimostrativo"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("comando"), QStringLiteral("create oppure demo"));
    parser.addPositionalArgument(QStringLiteral("percorso"), QStringLiteral("file del database da creare"));
    const QCommandLineOption pupilsOption(QStringLiteral("pupils"),
                                          QStringLiteral("numero di alunni dell'istituto dimostrativo (predefinito 600)"),
                                          QStringLiteral("N"));
    const QCommandLineOption seedOption(QStringLiteral("seed"),
                                        QStringLiteral("seme dei dati dimostrativi: lo stesso seme dà gli stessi dati"),
                                        QStringLiteral("S"));
    parser.addOption(pupilsOption);
    parser.addOption(seedOption);

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return usageError(parser, QStringLiteral("Indicare il comando e il percorso del database."));
    const QString command = args.at(0);
    const QString path = args.at(1);

    if (command != QLatin1String("create") && command != QLatin1String("demo"))
        return usageError(parser, QStringLiteral("Comando sconosciuto: %1").arg(command));
    schooldb::DemoOptions demo;
    if (parser.isSet(pupilsOption)) {
        bool ok = false;
        demo.pupils = parser.value(pupilsOption).toInt(&ok);
        if (!ok || demo.pupils < schooldb::kDemoMinimumPupils)
            return usageError(parser, QStringLiteral("Numero di alunni non valido: %1 (almeno %2).")
                                          .arg(parser.value(pupilsOption))
                                          .arg(schooldb::kDemoMinimumPupils));
    }
    if (parser.isSet(seedOption)) {
        bool ok = false;
        demo.seed = parser.value(seedOption).toUInt(&ok);
        if (!ok)
            return usageError(parser, QStringLiteral("Seme non valido: %1").arg(parser.value(seedOption)));
    }
    if (command == QLatin1String("create") && (parser.isSet(pupilsOption) || parser.isSet(seedOption)))
        return usageError(parser, QStringLiteral("Le opzioni --pupils e --seed valgono solo per il comando demo."));

    try {
        if (command == QLatin1String("create"))
            schooldb::createSchoolDatabase(path);
        else
            schooldb::createDemoDatabase(path, demo);
    } catch (const std::exception &e) {
        QTextStream(stderr) << QString::fromUtf8(e.what()) << '\n';
        return kExitError;
    }
    return 0;
}
