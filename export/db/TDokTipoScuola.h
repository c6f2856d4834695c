#pragma once

#include <QSqlDatabase>
#include <QString>

// The school type stored with the booking-code rows of a site code.
class TDokTipoScuola
{
public:
    TDokTipoScuola() = delete;

    // "MATERNA", "ELEMENTARE", "MEDIA" or "SUPERIORE" for the type stored on the
    // first row of CodMecc; empty when there is no row or no known type.
    static QString DescrizioneRegistrata(const QSqlDatabase &Db, const QString &CodMecc);

    // Stores the two-letter code of TestoTipo (TDokUtil::CodiceTipoScuola of the
    // trimmed text; an empty code for any other text) on every row of CodMecc,
    // whatever its year. Database errors throw.
    static void Salva(const QSqlDatabase &Db, const QString &CodMecc, const QString &TestoTipo);
};
