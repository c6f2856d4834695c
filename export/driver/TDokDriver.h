#pragma once

#include "TDokContesto.h"
#include "TdmDokDataSetsAnagrafe.h"
#include "TdmDokDataSetsRilevazioni.h"
#include "LoadEnumValues.h"
#include "TdmDokPrenota.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <functional>

class TQxInteraction;

// A site of the site list: "code - description" and the site id.
struct TDokVoceSede
{
    QString Testo;
    int IdSede = 0;
};

// The export driver behind the main window and batch mode: it owns the record
// stores and the run's shared state, and runs one export from the operator's
// choices to the archive. Every question goes through the interaction; errors
// that end a run are thrown to the caller, which shows them.
class TDokDriver
{
public:
    TDokDriver(const QSqlDatabase &Db, TQxInteraction &Interazione);

    // What the operator chose for one press of "&Esporta".
    struct Richiesta
    {
        int Tipo = -1;            // the export kind; -1: none chosen
        QString VoceSede;         // the selected site entry; empty: none
        QString AnnoScolastico;   // the year label as the year box shows it
        int IdAnno = -1;          // the id the year list gives that label; -1: not in the list
        bool Frequentanti = true; // the pupil kinds
        bool Ritirati = true;
        bool Trasferiti = true;
        bool ForzaCodice = false; // "&Forza acquisizione codice prenotazione"
    };

    // The main window's first steps, shared with batch mode.
    // The school years: each label (Text) with its database id (Id).
    QList<TQxEnumItem> CaricaAnni() const;
    QList<TDokVoceSede> CaricaSedi(const QString &AnnoInizio, int Tipo) const;
    static QString AnnoPredefinito(const QDate &Oggi);
    bool CaricaParamInd() const;
    void SalvaParamInd(bool Attivo);
    static QString TestoVersione();

    // One press of "&Esporta": checks the choices, runs the gate of the start of
    // year and exports the site. Returns the path of the archive written; empty
    // when the run ended without one (a message told the operator why). Errors
    // are thrown; the working files of the run are gone either way.
    QString Esporta(const Richiesta &R);

    TdmDokDataSetsAnagrafe Anagrafe;
    TdmDokDataSetsRilevazioni Rilevazioni;
    TDokContesto Contesto;
    TdmDokPrenota Prenota;

    QString CartellaFlussi;   // the working folder of the record files
    QString Intestazione;     // the version text heading the validation log
    // The clock of the file names; tests set a fixed one.
    std::function<QDateTime()> Adesso = [] { return QDateTime::currentDateTime(); };
    // Busy cursor on (true) and off (false), for the windows.
    std::function<void(bool)> Occupato;

private:
    QString EsportaSede(const QString &VoceSede, bool ForzaCodice);
    QString EseguiEsportazione(int IdSede, const QString &CodMecc, const QString &CodPrenotazione);
    bool ConvalidaScarti();
    void MostraRiepilogo(const QString &CodMecc);
};
