#include "SimBookingCodeHandler.h"

#include <EstraiCodicePrenotazioneWSTrs.h>

#include <QCryptographicHash>

namespace sidisim {

using sidi::EstraiCodicePrenotazioneWSTrs;

const sidi::Port &SimBookingCodeHandler::port() const
{
    return EstraiCodicePrenotazioneWSTrs::port();
}

QList<const sidi::Operation *> SimBookingCodeHandler::operations() const
{
    return {&EstraiCodicePrenotazioneWSTrs::getCodicePrenotazione()};
}

sidi::Value SimBookingCodeHandler::answer(const sidi::Operation &, const QList<sidi::Value> &parameters,
                                          SimCall &call)
{
    const QString school = parameters.value(0).toString().trimmed();
    if (school.isEmpty())
        throw SimFault(QStringLiteral("SOAP-ENV:Client"), QStringLiteral("Codice scuola non indicato"));
    const auto it = call.fixture.bookingCodes.constFind(school);
    if (it != call.fixture.bookingCodes.constEnd())
        return sidi::Value(*it);
    return sidi::Value(generatedCode(school));
}

QString SimBookingCodeHandler::generatedCode(const QString &codiceDebole)
{
    static const char alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    const QByteArray hash =
        QCryptographicHash::hash(codiceDebole.toUpper().toUtf8(), QCryptographicHash::Sha1);
    QString code;
    for (int i = 0; i < 5; ++i)
        code += QLatin1Char(alphabet[quint8(hash[i]) % 32]);
    return code;
}

} // namespace sidisim
