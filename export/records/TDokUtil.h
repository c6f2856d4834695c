#pragma once

#include "Table.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlQuery;
class TDokRecordStore;
class TQxInteraction;

// Operations shared by every flow builder, the checks and the record writer. The
// record operations live in export/records; those that read the school database
// (the "database" group below) are defined in export/db and need sl_dokdb.
class TDokUtil
{
public:
    TDokUtil() = delete;

    // --- database
    // Prepares Query on Db with Sql. For export kind 2 every "/*FLT_CLS*/" becomes
    // " AND cls.ICLSID IN(<Classi>) "; Classi must be a comma list of integers
    // (blanks allowed), anything else throws: it is pasted into the SQL text.
    // Other kinds leave the marker as a comment. Throws on a preparation error.
    static void PreparaQuery(QSqlQuery &Query, const QSqlDatabase &Db, const QString &Sql, const QString &Classi,
                             int Tipo);
    // The site id of a meccanographic code; with none or several sites of the
    // code the operator chooses (question TDokDomande::kSceltaSede); -1 when the
    // operator cancelled.
    static int GetIdSede(const QSqlDatabase &Db, TQxInteraction &Interazione, const QString &CodMecc);
    // The 4-digit school id of SIDI ids and file names: -1 gives "", below 1000
    // adds 1000, above 1000000 subtracts 1000000; 1000..1000000 throws
    // "ID Scuola non valido".
    static QString FormattaIdScuola(int IdSede);
    // "MATERNA" AA, "ELEMENTARE" EE, "MEDIA" MM, "SUPERIORE" SS (trimmed,
    // case-sensitive); anything else "".
    static QString CodiceTipoScuola(const QString &Descrizione);

    // --- values
    // Empty for an empty Valore, else the booking code followed by Valore.
    static QString IdSidi(const QString &Valore, const QString &CodPrenotazione);
    // A date text (dd/mm/yyyy, or yyyy-mm-dd as dates come from the database
    // layer) as yyyy-mm-dd; empty stays empty. Throws std::runtime_error on a
    // text that is not a date.
    static QString DataIso(const QString &Testo);
    // Testo as an integer written in base 36 (0-9, A-Z); empty when the number is
    // not greater than 0 or the text is not a number.
    static QString Base36(const QString &Testo);

    // --- error marking
    // Marks the current record: E := CodiceErrore, Campo added to CampoScartato
    // (joined by ","). Does nothing when Campo is empty.
    static void SegnalaErrore(dataset::Table &Tabella, int CodiceErrore, const QString &Campo);
    // Marks with E = 1 every record that misses one of Campi (null, empty or equal
    // to Vuoto); true when nothing was missing.
    static bool ControllaObbligatori(dataset::Table &Tabella, const QStringList &Campi, const QString &Vuoto);
    // True when no table of the store holds a record with E = 1 or E = 2.
    static bool SenzaErrori(TDokRecordStore &Store);

    // --- references
    // Returns Valore; when it is not empty and no accepted record of Tabella has
    // Chiave equal to it (trailing blanks removed), the reference is appended to
    // RiferimentiMancanti. A hash lookup on (Chiave, E), so a flow of n rows
    // costs O(n), not O(n^2).
    static QString VerificaRiferimento(dataset::Table &Tabella, const QString &Chiave, const QString &Valore,
                                       QString &RiferimentiMancanti);
    // Marks the current record with E = 2 and the collected references, if any.
    static void SegnalaRiferimentiMancanti(dataset::Table &Tabella, const QString &RiferimentiMancanti);

    // --- files
    // Writes the accepted records (E = 0) of Tabella as a record file: Windows-1252,
    // each value followed by "|", lines ended by CR LF. The file appears whole or
    // not at all; failures throw std::runtime_error.
    static void SalvaDataSetSuFile(dataset::Table &Tabella, const QString &NomeFile);
    // Writes Dati as the whole content of NomeFile, replacing it; the file appears
    // whole or not at all. Throws std::runtime_error on failure.
    static void ScriviFile(const QString &NomeFile, const QByteArray &Dati);
    // Writes Righe as a Windows-1252 text file, each line followed by CR LF, like
    // ScriviFile (whole or not at all).
    static void ScriviRighe(const QString &NomeFile, const QStringList &Righe);
    // "Salva LOG" of the log windows: asks the folder, writes Righe there as
    // NomeFile (ScriviRighe) and tells the operator Avviso followed by the folder.
    // A write failure is told as an error; a cancelled folder question does nothing.
    static void SalvaLogInCartella(TQxInteraction &Interazione, const QString &NomeFile, const QStringList &Righe,
                                   const QString &Avviso);
    // Text as Windows-1252 bytes; a character outside the code page becomes "?".
    static QByteArray Windows1252(const QString &Testo);
};
