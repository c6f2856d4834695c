#pragma once

class TQxWidgetInteraction;

// The export client's windows of this folder, as answers to its questions.
class TDokFinestre
{
public:
    TDokFinestre() = delete;

    // Registers the validation log window (TDokDomande::kDatiNonImportati) and
    // the attendance summary (TDokDomande::kRiepilogoFrequenze). The log window
    // asks its own questions through Interazione, which must outlive its use.
    static void Registra(TQxWidgetInteraction &Interazione);
};
