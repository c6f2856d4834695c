#pragma once

#include <QString>

class TDokContesto;

// The gates a site passes before any of its data is extracted. A failed check
// throws std::runtime_error with the text the operator must see, which ends the
// export of the site; the "Fase A" gate and the school type answer true or false.
class TDokControlli
{
public:
    TDokControlli() = delete;

    // SIDI's "Fase A" was confirmed for the site in the start year of
    // Ctx.AnnoScolastico: the smallest flag of its rows is set. No row fails.
    static bool ControllaFaseA(TDokContesto &Ctx, const QString &CodMecc);

    // No two classes of the site in the year Ctx.IdAnno with pupils may share
    // year of course and section, by description or by number.
    static void ControllaSezioni(TDokContesto &Ctx, const QString &CodMecc);

    // No SIDI study address may stand for two of the site's local addresses in
    // use that year. On a conflict the operator sees the log of every conflict
    // (question TDokDomande::kLogIndirizzi) before the error.
    static void ControllaIndirizzi(TDokContesto &Ctx, const QString &CodMecc);

    // The operator confirms the school type of the site entry VoceSede
    // ("<code> - <name>"; question TDokDomande::kTipoScuola). For a start of year
    // of a school other than pre-primary or primary the study addresses are
    // checked, whichever button closed the dialog, unless Ctx.UsaIdSidiInd.
    // Sets Ctx.TipoScuolaScelto; true when the operator confirmed.
    static bool ConfermaTipoScuola(TDokContesto &Ctx, const QString &VoceSede);
};
