#pragma once

#include <QStringList>

#include <cstdio>

// Dok without windows, for scripts and checks:
//
//   Dok --batch --database PATH|host[/port]:path --user NAME --year 2016/2017
//       --kind 0 --site XXIC00000X --output DIR
//       [--site-id N] [--force-booking] [--school-type MEDIA]
//       [--on-rejected continue|cancel] [--log-dir DIR]
//       [--sidi-user NAME --sidi-password-file FILE] [--sidi-config FILE]
//       [--password-file FILE]
//
// The options answer the questions the windows would ask. stderr gets the status
// lines, the progress and every message with its kind; stdout the archive's path.
namespace TDokBatch {

enum Uscita : int {
    kArchivioScritto = 0, // the archive was written
    kErrore = 1,          // an error ended the run (its message is on stderr)
    kSenzaArchivio = 2,   // the run ended without archive by a rule
    kUso = 64,            // bad command line
};

// True when the command line asks for batch mode.
bool Richiesto(const QStringList &arguments);

// Runs the export the arguments describe (arguments[0] is the program).
int Esegui(const QStringList &arguments, std::FILE *out = stdout, std::FILE *err = stderr);

} // namespace TDokBatch
