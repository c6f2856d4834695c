#include "TDokRIOPrenota.h"

#include "EstraiCodicePrenotazioneWSTrs.h"
#include "SidiConfig.h"

namespace sidi {

TDokRIOPrenota::TDokRIOPrenota(QObject *parent) : TDokRioBase(parent)
{
    setURL(productionAddress());
}

QString TDokRIOPrenota::productionAddress()
{
    return SidiConfig::current().serviceAddress(EstraiCodicePrenotazioneWSTrs::port().portName);
}

QString TDokRIOPrenota::ChiediCodicePrenotazione(const QString &codiceDebole,
                                                 const QString &codMigAre)
{
    return Invoke(EstraiCodicePrenotazioneWSTrs::getCodicePrenotazione(),
                  {Value(codiceDebole), Value(codMigAre)})
        .toString();
}

} // namespace sidi
