#pragma once

#include <SoapError.h>

// The SoapError a call throws. A call that throws none gives an error of kind
// Configuration saying so, which no test expects, so its comparison fails.
template <typename Call>
sidi::SoapError errorOf(Call &&call)
{
    try {
        call();
    } catch (const sidi::SoapError &e) {
        return e;
    }
    return sidi::SoapError(sidi::SoapError::Kind::Configuration, QStringLiteral("nessun errore sollevato"));
}
