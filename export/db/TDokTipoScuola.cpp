#include "TDokTipoScuola.h"

#include "TDokSql.h"
#include "TDokUtil.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

QString TDokTipoScuola::DescrizioneRegistrata(const QSqlDatabase &Db, const QString &CodMecc)
{
    QSqlQuery q = TDokSql::Esegui(
        Db,
        QStringLiteral("SELECT cod.*, CASE cod.sscodtiposcuola WHEN 'AA' THEN 'MATERNA' WHEN 'EE' THEN 'ELEMENTARE' "
                       "WHEN 'MM' THEN 'MEDIA' WHEN 'SS' THEN 'SUPERIORE' ELSE NULL END AS DescTS FROM "
                       "TSCOD_CODICETEVO cod WHERE cod.SSCODMECC = :COD_MECC"),
        {{QStringLiteral(":COD_MECC"), CodMecc}});
    if (!q.next())
        return QString();
    return q.value(q.record().indexOf(QStringLiteral("DESCTS"))).toString().trimmed();
}

void TDokTipoScuola::Salva(const QSqlDatabase &Db, const QString &CodMecc, const QString &TestoTipo)
{
    TDokSql::Esegui(Db,
                    QStringLiteral(" UPDATE TSCOD_CODICETEVO cod SET cod.SSCODTIPOSCUOLA = :TIPOSCUOLA WHERE "
                                   "cod.SSCODMECC = :COD_MECC "),
                    {{QStringLiteral(":TIPOSCUOLA"), TDokSql::TestoNonNullo(TDokUtil::CodiceTipoScuola(TestoTipo.trimmed()))},
                     {QStringLiteral(":COD_MECC"), CodMecc}});
}
