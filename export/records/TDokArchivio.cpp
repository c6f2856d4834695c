#include "TDokArchivio.h"

#include "TQxInteraction.h"
#include "TZip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace {

QString salvato(const QString &file, const QString &cartella)
{
    return QStringLiteral("Esportazione conclusa correttamente. \r\nIl file: ") + file + QStringLiteral("\r\n")
           + QStringLiteral("è stato salvato nella cartella: ") + cartella + QStringLiteral("\r\r\n")
           + QStringLiteral("ATTENZIONE!!!") + QStringLiteral("\r\n")
           + QStringLiteral("Si ricorda che al termine dell' invio del flusso su SIDI è necessario andare a "
                            "visualizzare il LOG per verificare la correttezza  dell'invio stesso.");
}

const QString kNonSalvato =
    QStringLiteral("Esportazione non conclusa correttamente: \r\n File non salvato. Riefettuare l'esportazione.");

} // namespace

QString TDokArchivio::NomeArchivio(int Tipo, const QString &CodMecc, const QString &Timbro)
{
    QString radice;
    switch (Tipo) {
    case 0:
        radice = QStringLiteral("NUOVOAVVIOSCUOLA_");
        break;
    case 1:
        radice = QStringLiteral("AVVIOSCUOLAINFANZIA_");
        break;
    case 3:
        radice = QStringLiteral("ESITI_FINALI_");
        break;
    default:
        return QString();
    }
    return radice + CodMecc + QLatin1Char('_') + Timbro + QStringLiteral(".zip");
}

QString TDokArchivio::CreaArchivio(TQxInteraction &Interazione, int Tipo, const QStringList &ElencoFile,
                                const QString &CodMecc, const QString &Timbro)
{
    if (Tipo == 2) {
        if (ElencoFile.isEmpty())
            throw std::runtime_error("Nessun file da salvare.");
        const QString origine = ElencoFile.first();
        const QString nome = QFileInfo(origine).fileName();
        const QString cartella = Interazione.BrowseFolder(QStringLiteral("Nome file:\r\n") + nome, QString());
        QString destinazione;
        if (cartella.isEmpty()) {
            Interazione.ShowError(kNonSalvato);
        } else {
            destinazione = QDir(cartella).filePath(nome);
            if (QFile::exists(destinazione) && !QFile::remove(destinazione))
                throw std::runtime_error(
                    QStringLiteral("Impossibile sostituire il file %1").arg(destinazione).toStdString());
            if (!QFile::rename(origine, destinazione))
                throw std::runtime_error(
                    QStringLiteral("Impossibile spostare il file %1 in %2").arg(origine, cartella).toStdString());
            Interazione.ShowInformation(salvato(QDir::toNativeSeparators(destinazione), QDir::toNativeSeparators(cartella)));
        }
        CancellaFileTemporanei(ElencoFile);
        return destinazione;
    }

    const QString nome = NomeArchivio(Tipo, CodMecc, Timbro);
    const QString cartella = Interazione.BrowseFolder(QStringLiteral("Nome file:\r\n") + nome, QString());
    QString archivio;
    if (cartella.isEmpty()) {
        Interazione.ShowError(kNonSalvato);
    } else {
        TZip zip;
        zip.FileName = QDir(cartella).filePath(nome);
        zip.Files = ElencoFile;
        zip.Add();
        Interazione.ShowInformation(salvato(nome, QDir::toNativeSeparators(QFileInfo(zip.FileName).path())));
        archivio = zip.FileName;
    }
    CancellaFileTemporanei(ElencoFile);
    return archivio;
}

void TDokArchivio::CancellaFileTemporanei(const QStringList &ElencoFile)
{
    for (const QString &f : ElencoFile)
        QFile::remove(f); // one already gone is fine
}
