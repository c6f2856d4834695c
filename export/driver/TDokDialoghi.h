#pragma once

#include <QSqlDatabase>

class TQxWidgetInteraction;

// The windows that answer the export client's own questions (TDokDomande) for
// the operator.
class TDokDialoghi
{
public:
    TDokDialoghi() = delete;

    // Registers on Interazione the windows of kSceltaSede, kTipoScuola and
    // kLogIndirizzi, each owned by the interaction's owner. Interazione must
    // outlive its handlers (it holds them), Db the calls.
    static void Registra(TQxWidgetInteraction &Interazione, const QSqlDatabase &Db);
};
