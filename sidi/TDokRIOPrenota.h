#pragma once

#include "TDokRioBase.h"

namespace sidi {

// Client of the booking-code service, for one request.
class TDokRIOPrenota : public TDokRioBase
{
    Q_OBJECT

public:
    // Starts on the production address of the service.
    explicit TDokRIOPrenota(QObject *parent = nullptr);

    static QString productionAddress();

    // The code SIDI gives for the site, as it comes (any length).
    QString ChiediCodicePrenotazione(const QString &codiceDebole, const QString &codMigAre);
};

} // namespace sidi
