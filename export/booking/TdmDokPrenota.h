#pragma once

#include <QSqlDatabase>
#include <QString>

class TQxInteraction;

// The booking code of a site and school year: reused from TSCOD_CODICETEVO when a
// valid one (5 characters) is stored, otherwise asked of SIDI after the SIDI login,
// and stored whatever came of the request.
class TdmDokPrenota
{
public:
    TdmDokPrenota(const QSqlDatabase &db, TQxInteraction &interaction);

    // Codice is a 5-character code, or empty. Errors of the SIDI call reach the
    // caller after the code in hand has been stored.
    void RichiediCodicePrenotazione(const QString &CodMecc, const QString &CodMigAre, bool Forza,
                                    const QString &AnnoScolastico, QString &Codice);
    void SalvaCodicePrenotazione(const QString &CodMecc, const QString &Codice, const QString &AnnoScolastico);

    // Where the SIDI login's developer switch looks (see DokSidiLogin).
    QString DeveloperFolder;

private:
    QString CodiceMemorizzato(const QString &CodMecc, const QString &AnnoScolastico);

    QSqlDatabase m_db;
    TQxInteraction &m_interaction;
};
