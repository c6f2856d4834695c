#pragma once

#include <QString>
#include <QStringList>

class TQxInteraction;

// The last step of every export: the working files listed in ElencoFile go into a
// ZIP archive (or, for the scrutini file, are moved) in a folder the operator
// picks, and are then deleted from the working folder.
class TDokArchivio
{
public:
    TDokArchivio() = delete;

    // Tipo is the export kind (0 start of year, 1 infanzia, 2 scrutini, 3 esiti
    // finali). Returns the path of the archive (or of the moved file), empty when
    // the operator cancelled the folder question, which is not an error: the
    // operator is told that nothing was saved. A failure to write the archive or
    // move the file throws and keeps the working files.
    static QString CreaArchivio(TQxInteraction &Interazione, int Tipo, const QStringList &ElencoFile,
                             const QString &CodMecc, const QString &Timbro);
    // Deletes every listed file; one already gone is skipped.
    static void CancellaFileTemporanei(const QStringList &ElencoFile);
    // The archive name of kinds 0, 1 and 3; empty for kind 2, which has none.
    static QString NomeArchivio(int Tipo, const QString &CodMecc, const QString &Timbro);
};
