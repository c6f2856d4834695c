#include "TdmDokPrenota.h"

#include "DokSidiLogin.h"
#include "TDokRIOPrenota.h"
#include "TDokSql.h"
#include "TQxInteraction.h"

#include <QSqlError>
#include <QSqlQuery>

#include <exception>
#include <stdexcept>

TdmDokPrenota::TdmDokPrenota(const QSqlDatabase &db, TQxInteraction &interaction)
    : DeveloperFolder(QString::fromLatin1(DokSidiLogin::kDeveloperFolderDok)), m_db(db), m_interaction(interaction)
{
}

QString TdmDokPrenota::CodiceMemorizzato(const QString &CodMecc, const QString &AnnoScolastico)
{
    QSqlQuery qquCod = TDokSql::Esegui(
        m_db, QStringLiteral("SELECT scod.SSCODPRENOTAZIONE FROM TSCOD_CODICETEVO scod INNER JOIN VANS_ANNISCOLAST ans "
                             "ON ans.IANSID = scod.IANSID WHERE scod.SSCODMECC = :SSCODMECC AND "
                             "ans.SANSANNODESC = :SANSANNODESC"),
        {{QStringLiteral(":SSCODMECC"), CodMecc}, {QStringLiteral(":SANSANNODESC"), AnnoScolastico}});
    return qquCod.next() ? qquCod.value(0).toString() : QString();
}

void TdmDokPrenota::RichiediCodicePrenotazione(const QString &CodMecc, const QString &CodMigAre, bool Forza,
                                               const QString &AnnoScolastico, QString &Codice)
{
    Codice.clear();
    if (!Forza)
        Codice = CodiceMemorizzato(CodMecc, AnnoScolastico);
    if (Codice.size() != 5) {
        std::exception_ptr failure;
        try {
            sidi::TDokRIOPrenota client;
            if (DokSidiLogin::EseguiLogin(m_interaction, client, DeveloperFolder))
                Codice = client.ChiediCodicePrenotazione(CodMecc, CodMigAre);
        } catch (...) {
            failure = std::current_exception();
        }
        // Whatever the request gave, even after a cancel or a failure, is stored.
        SalvaCodicePrenotazione(CodMecc, Codice, AnnoScolastico);
        if (failure)
            std::rethrow_exception(failure);
    }
    if (Codice.size() != 5)
        Codice.clear();
}

void TdmDokPrenota::SalvaCodicePrenotazione(const QString &CodMecc, const QString &Codice,
                                            const QString &AnnoScolastico)
{
    // An empty code is stored as an empty text, not as a null.
    const QString codice = Codice.isNull() ? QStringLiteral("") : Codice;
    const QSqlQuery update = TDokSql::Esegui(
        m_db, QStringLiteral("UPDATE TSCOD_CODICETEVO scod SET scod.SSCODPRENOTAZIONE = :SSCODPRENOTAZIONE WHERE "
                             "scod.SSCODMECC = :SSCODMECC AND scod.IANSID = (SELECT IANSID FROM VANS_ANNISCOLAST "
                             "WHERE SANSANNODESC = :SANSANNODESC)"),
        {{QStringLiteral(":SSCODPRENOTAZIONE"), codice}, {QStringLiteral(":SSCODMECC"), CodMecc},
         {QStringLiteral(":SANSANNODESC"), AnnoScolastico}});
    if (update.numRowsAffected() > 0)
        return;

    TDokSql::Esegui(m_db, QStringLiteral("INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC, SSCODPRENOTAZIONE, IANSID) "
                             "VALUES ((SELECT L_ICNTID FROM PYSETGETID('TSCOD_CODICETEVO', 0)), :SSCODMECC , "
                             ":SSCODPRENOTAZIONE, (SELECT IANSID FROM VANS_ANNISCOLAST WHERE "
                             "SANSANNODESC = :SANSANNODESC))"),
        {{QStringLiteral(":SSCODMECC"), CodMecc}, {QStringLiteral(":SSCODPRENOTAZIONE"), codice},
         {QStringLiteral(":SANSANNODESC"), AnnoScolastico}});

    TDokSql::Esegui(m_db, QStringLiteral("DELETE FROM TSCOD_CODICETEVO WHERE COALESCE(IANSID, 0) <> (SELECT IANSID "
                             "FROM VANS_ANNISCOLAST WHERE SANSANNODESC = :SANSANNODESC) AND "
                             "SSCODMECC = :SSCODMECC"),
        {{QStringLiteral(":SANSANNODESC"), AnnoScolastico}, {QStringLiteral(":SSCODMECC"), CodMecc}});
}
