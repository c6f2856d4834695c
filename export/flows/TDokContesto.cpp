#include "TDokContesto.h"

#include "TDokUtil.h"

TDokContesto::TDokContesto(const QSqlDatabase &db, TQxInteraction &interazione, TdmDokDataSetsAnagrafe &anagrafe,
                           TdmDokDataSetsRilevazioni &rilevazioni)
    : Db(db)
    , Interazione(interazione)
    , Anagrafe(anagrafe)
    , Rilevazioni(rilevazioni)
{
}

void TDokContesto::ImpostaStato(const QString &Testo)
{
    StatoEsportazione = Testo;
    if (MostraStato)
        MostraStato(Testo, kNuovoStato);
}

void TDokContesto::MostraAvanzamento(int N)
{
    RiferimentiMancanti.clear();
    if (MostraStato)
        MostraStato(StatoEsportazione, N);
}

void TDokContesto::PreparaQuery(QSqlQuery &Query, const QString &Sql) const
{
    TDokUtil::PreparaQuery(Query, Db, Sql, FiltroClassi, TipoExport);
}
