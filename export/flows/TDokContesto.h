#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlQuery;
class TQxInteraction;
class TdmDokDataSetsAnagrafe;
class TdmDokDataSetsRilevazioni;

// The state one export run shares between the driver, the checks and the flow
// builders: the connection, the operator's choices, the record stores and the
// status line.
class TDokContesto
{
public:
    TDokContesto(const QSqlDatabase &db, TQxInteraction &interazione, TdmDokDataSetsAnagrafe &anagrafe,
                 TdmDokDataSetsRilevazioni &rilevazioni);

    QSqlDatabase Db;
    TQxInteraction &Interazione;
    TdmDokDataSetsAnagrafe &Anagrafe;
    TdmDokDataSetsRilevazioni &Rilevazioni;

    int TipoExport = -1;         // 0 start of year, 1 infanzia, 2 scrutini, 3 esiti finali
    QString AnnoScolastico;      // the year label, e.g. 2016/2017
    int IdAnno = -1;             // the year's database id; -1 when the label is not in the list
    QString TipiAlunni = QStringLiteral("1,2,3"); // pupil kinds, digits 1-3 only
    QString FiltroClassi;        // class ids of kind 2, integers only
    QString TipoScuolaScelto;    // the confirmed school type, upper case, trimmed
    bool UsaIdSidiInd = false;   // the option "CORSI : Usa come ID il codice SIDI indirizzo"
    QString RiferimentiMancanti; // references not found for the record being built
    QString StatoEsportazione;   // the current status text

    // Where the status line goes. ImpostaStato calls it with the new status and
    // N = kNuovoStato; MostraAvanzamento with the current status and the running
    // record number N (the label then reads Stato, a blank, N); other steps with
    // a passing text and N = kTestoTransitorio (the window shows it, batch mode
    // leaves it out).
    std::function<void(const QString &Stato, int N)> MostraStato;
    static constexpr int kNuovoStato = -1;
    static constexpr int kTestoTransitorio = -2;

    // The first 4 characters of the year label, as the start year.
    QString AnnoInizio() const { return AnnoScolastico.left(4); }

    void ImpostaStato(const QString &Testo);
    // Shows StatoEsportazione, a blank and N; empties RiferimentiMancanti.
    void MostraAvanzamento(int N);
    // TDokUtil::PreparaQuery with this run's class filter and kind.
    void PreparaQuery(QSqlQuery &Query, const QString &Sql) const;
};
