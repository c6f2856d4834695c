#pragma once

#include "SimFixture.h"

#include <SoapOperation.h>
#include <SoapValue.h>

#include <QList>
#include <QString>
#include <stdexcept>

namespace sidisim {

// Thrown by a handler to answer with a SOAP Fault.
class SimFault : public std::runtime_error
{
public:
    SimFault(const QString &code, const QString &text)
        : std::runtime_error(text.toUtf8().toStdString()), faultCode(code), faultString(text)
    {
    }
    QString faultCode;
    QString faultString;
};

// What a handler knows of the call it answers.
struct SimCall
{
    QString user;            // the authenticated SIDI user
    SimFixture &fixture;     // the simulator's state, to read and change
};

// One SIDI port of the simulator: the operations it serves on the shared type
// tables and the answer to each.
class SimPortHandler
{
public:
    virtual ~SimPortHandler() = default;
    virtual const sidi::Port &port() const = 0;
    virtual QList<const sidi::Operation *> operations() const = 0;
    // The result of one call; throws SimFault for a SOAP Fault.
    virtual sidi::Value answer(const sidi::Operation &operation,
                               const QList<sidi::Value> &parameters, SimCall &call) = 0;
};

} // namespace sidisim
