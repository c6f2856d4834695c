#pragma once

#include <QString>

class TDokContesto;

// The record builders of the start-of-year export: the school record
// (001TB_USR_USER), the pupils (002TB_ALU_ALUNNI) and their situations
// (003TB_ALU_SIT). Each reads its query forward only, appends one record per
// row to its table of Ctx.Anagrafe, marks the records that fail a check and
// never stops for a data check; database and conversion errors (a pupil SIDI
// code that is not a number, an unreadable date) throw and end the run.
class TDokFlussiAvvio
{
public:
    TDokFlussiAvvio() = delete;

    // The query texts as they are sent, before TipiAlunni replaces "%s".
    static const QString SqlScuola;
    static const QString SqlAlunni;
    static const QString SqlSituazioni;

    // The three builders in order, each after its status text.
    static void EseguiAvvio(TDokContesto &Ctx, int IdSede, const QString &CodMecc, const QString &AnnoScolastico,
                            const QString &CodPrenotazione);

    // cdsScuola; throws when the site lacks its code or its id.
    static void EsportaScuola(TDokContesto &Ctx, const QString &CodPrenotazione, const QString &CodMecc, int IdSede);
    // cdsAlunni; needs cdsScuola.
    static void EsportaAlunni(TDokContesto &Ctx, int IdSede, const QString &CodMecc, const QString &AnnoScolastico,
                              const QString &CodPrenotazione);
    // cdsCurriculum; needs cdsScuola and cdsAlunni.
    static void EsportaSituazioni(TDokContesto &Ctx, int IdSede, const QString &CodMecc,
                                  const QString &AnnoScolastico, const QString &CodPrenotazione);

    // Sql with "%s" replaced by the pupil kinds; throws unless TipiAlunni is a
    // comma list of the digits 1 to 3, since it is pasted into the text.
    static QString ConTipiAlunni(const QString &Sql, const QString &TipiAlunni);
};
