#pragma once

#include "SimPortHandler.h"

namespace sidisim {

// EstraiCodicePrenotazioneWSTrs: the booking code of a school from the fixture,
// odd answers included; a school the fixture does not name gets a fixed code
// made from its meccanographic code, so a demo database of any size works.
class SimBookingCodeHandler : public SimPortHandler
{
public:
    const sidi::Port &port() const override;
    QList<const sidi::Operation *> operations() const override;
    sidi::Value answer(const sidi::Operation &operation, const QList<sidi::Value> &parameters,
                       SimCall &call) override;

    static QString generatedCode(const QString &codiceDebole);
};

} // namespace sidisim
