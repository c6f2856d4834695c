#pragma once

#include "SoapOperation.h"

namespace sidi {

// The booking-code service: one RPC operation, getCodicePrenotazione
// (codiceDebole, codMigAre: strings) returning the code as a string.
struct EstraiCodicePrenotazioneWSTrs
{
    static const Port &port();
    static const Operation &getCodicePrenotazione();
};

} // namespace sidi
