#pragma once

// The export client's own questions to the operator, asked through
// TQxInteraction::Ask(). Each implementation answers them its own way: the windows
// with the dialogs of export/driver and export/windows, batch mode from its
// options, tests from a script.
namespace TDokDomande {

// The site chooser, when a meccanographic code has none or several sites.
//   details: CodMecc (text)
//   answer:  the chosen site id (int), or an invalid QVariant when cancelled.
inline constexpr const char *kSceltaSede = "sceltaSede";

// The school type confirmation. The dialog itself stores the confirmed type
// (TDokTipoScuola::Salva) before it closes with OK.
//   details: CodMecc (text), Messaggio (text of the upper label), Tipo (initial
//            text of the type box: the stored type description, may be empty)
//   answer:  QVariantMap { Ok (bool), Tipo (the type box text as left) }.
inline constexpr const char *kTipoScuola = "tipoScuola";

// The study-address log window: blocking conflicts of the study addresses.
//   details: Righe (QStringList, the lines of the log)
//   answer:  ignored.
inline constexpr const char *kLogIndirizzi = "logIndirizzi";
// The file its lines are saved in.
inline constexpr const char *kFileLogIndirizzi = "TevoLogInd.Log";

// The validation log window with the rejected records.
//   details: Righe (QStringList, the entries of ListaLog; an entry may hold CR LF)
//   answer:  true to continue without the rejected records, false to cancel.
inline constexpr const char *kDatiNonImportati = "datiNonImportati";

// The summary after the record files are written (attendance page).
//   details: AnnoScolastico, CodMecc (text), Frequenze (QVariantList of 6 rows,
//            one per year of course 1..6, each a QVariantMap with Frequentanti,
//            Ritirati, Trasferiti, Esportati (int))
//   answer:  ignored.
inline constexpr const char *kRiepilogoFrequenze = "riepilogoFrequenze";

} // namespace TDokDomande
