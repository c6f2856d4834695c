#include "TDokSedi.h"

#include "TDokSql.h"

#include <QSqlQuery>
#include <QVariant>

QList<TDokSede> TDokSedi::ElencoSedi(const QSqlDatabase &Db, const QString &CodMecc)
{
    QSqlQuery q = TDokSql::Esegui(
        Db,
        QStringLiteral("SELECT sinfo.ISEDID, sinfo.SSEDINFLDESC, com.SCOMDESC, sinfo.SSEDINFINDIRIZZO, "
                       "sinfo.SSEDINFTELEFONO, sinfo.SSEDINFTELEFONO2, sinfo.SSEDINFFAX, sinfo.SSEDINFEMAIL "
                       "FROM TSEDINF_SEDEINFO sinfo LEFT JOIN TCOMCAP comcap ON comcap.ICOMCAPID = sinfo.ICOMCAPID "
                       "LEFT JOIN TSRPC srpc ON srpc.ISRPCID = comcap.ISRPCID LEFT JOIN TCOM_COMUNI com ON "
                       "com.ICOMID = srpc.ICOMID WHERE sinfo.SSEDINFCODMECC = :COD_MECC"),
        {{QStringLiteral(":COD_MECC"), CodMecc}});
    QList<TDokSede> sedi;
    while (q.next()) {
        TDokSede s;
        s.IdSede = q.value(0).toInt();
        s.Denominazione = q.value(1).toString();
        s.Comune = q.value(2).toString();
        s.Indirizzo = q.value(3).toString();
        s.Telefono1 = q.value(4).toString();
        s.Telefono2 = q.value(5).toString();
        s.Fax = q.value(6).toString();
        sedi.append(s);
    }
    return sedi;
}
