// Dok: the export client. With --batch it runs one export without windows
// (see TDokBatch.h); otherwise it opens the main window.
#include "DokSidiLogin.h"
#include "SidiConfig.h"
#include "TDokBatch.h"
#include "TDokDialoghi.h"
#include "TDokFinestre.h"
#include "TQxParam.h"
#include "TQxSQLConnection.h"
#include "TQxWidgetInteraction.h"
#include "TfmDokLogin.h"
#include "TfmDokMain.h"

#include <QApplication>

#include <exception>

int main(int argc, char *argv[])
{
    QStringList argomenti;
    for (int i = 0; i < argc; ++i)
        argomenti << QString::fromLocal8Bit(argv[i]);
    if (TDokBatch::Richiesto(argomenti)) {
        QCoreApplication app(argc, argv);
        return TDokBatch::Esegui(app.arguments());
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dok"));
    TQxWidgetInteraction io;
    try {
        sidi::SidiConfig::setCurrent(
            sidi::SidiConfig::load(sidi::SidiConfig::fileFromArguments(app.arguments()), TQxParam::GetMainDir()));
    } catch (const std::exception &e) {
        io.ShowError(QString::fromUtf8(e.what()));
        return 1;
    }

    TQxSQLConnection xqoMain;
    xqoMain.DatabaseVersion = QStringLiteral("6.95.13");
    xqoMain.LoadSettings();

    TfmDokMain fmDokMain(xqoMain, io);
    io.SetOwner(&fmDokMain);
    io.SetHandler(QString::fromLatin1(DokSidiLogin::kQuestion), &TfmDokLogin::Ask);
    if (xqoMain.Connected())
        TDokDialoghi::Registra(io, xqoMain.Connection());
    TDokFinestre::Registra(io);
    fmDokMain.show();
    return app.exec();
}
