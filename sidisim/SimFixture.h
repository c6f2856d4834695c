#pragma once

#include "SimInjection.h"

#include <QHash>
#include <QList>
#include <QString>

namespace sidisim {

// What the simulator knows at start: the SIDI users with their passwords, the
// booking code (or odd answer) of each school, and the faults to inject.
//
// JSON layout:
//   { "users": { "name": "password", ... },
//     "bookingCodes": { "RMIC81200X": "A1B2C", "RMEE00000X": "", ... },
//     "injections": [ { "kind": "soap-fault", "text": "...", "operation": "",
//                       "times": 1, "delayMs": 0 } ] }
struct SimFixture
{
    QHash<QString, QString> users;
    QHash<QString, QString> bookingCodes;
    QList<SimInjection> injections;

    // The fixture used when none is given: user "demo", password "demo".
    static SimFixture defaults();
    // Throws std::runtime_error (Italian text) when the file cannot be read or
    // is not a fixture.
    static SimFixture fromFile(const QString &path);
    static SimFixture fromJson(const QByteArray &json);
};

} // namespace sidisim
