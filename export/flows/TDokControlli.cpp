#include "TDokControlli.h"

#include "TDokContesto.h"
#include "TDokDomande.h"
#include "TDokSql.h"
#include "TDokTipoScuola.h"
#include "TQxInteraction.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <stdexcept>

namespace {

[[noreturn]] void errore(const QString &testo)
{
    throw std::runtime_error(testo.toUtf8().toStdString());
}

// The year and site of both checks; a year label outside the list has no id.
TDokSql::Valori annoESede(const TDokContesto &Ctx, const QString &CodMecc)
{
    if (Ctx.IdAnno == -1)
        errore(QStringLiteral("L'anno scolastico \"%1\" non è nell'elenco degli anni scolastici.")
                   .arg(Ctx.AnnoScolastico));
    return {{QStringLiteral(":IANSID"), Ctx.IdAnno}, {QStringLiteral(":MECC_COD"), CodMecc}};
}

// The study plans with pupils at the site in the year, with their local study
// address ind; the address checks all read them.
const QString kPianiInUso = QStringLiteral(
    "from tcls_classi cls INNER JOIN TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART INNER JOIN TDWGSED "
    "dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID "
    "INNER JOIN tclspst clspst ON CLS.iclsid = clspst.iclsid INNER JOIN tpst_pianistudio pst ON pst.ipstid = "
    "clspst.ipstid INNER JOIN tind_indirizzo ind ON ind.iindid = pst.iindid INNER JOIN tsit_situazioni sit ON "
    "sit.iclspstid = clspst.iclspstid ");
const QString kCondizioniPiani = QStringLiteral("where ans.IANSID = :IANSID AND sinfo.SSEDINFCODMECC = :MECC_COD");

} // namespace

bool TDokControlli::ControllaFaseA(TDokContesto &Ctx, const QString &CodMecc)
{
    QSqlQuery q = TDokSql::Esegui(
        Ctx.Db,
        QStringLiteral("select first 1 COALESCE(SCOD.iscodconfravvioas,0) as iscodconfravvioas from TCODIND_CODMECC "
                       "scod where scod.CODSCUOLADEBOLE = :CODSCUOLADEBOLE AND SCOD.ICODANSVALORE = :ICODANSVALORE "
                       "order by iscodconfravvioas"),
        {{QStringLiteral(":CODSCUOLADEBOLE"), CodMecc},
         {QStringLiteral(":ICODANSVALORE"), Ctx.AnnoInizio().toInt()}});
    return q.next() && q.value(0).toInt() != 0;
}

void TDokControlli::ControllaSezioni(TDokContesto &Ctx, const QString &CodMecc)
{
    Ctx.ImpostaStato(QStringLiteral("CONTROLLO SEZIONI"));
    const TDokSql::Valori valori = annoESede(Ctx, CodMecc);
    // The year of course by description first, then by number: "1" and "I" are
    // the same year to SIDI.
    for (const QString &anno : {QStringLiteral("cls.SACSSDESC"), QStringLiteral("cls.IACSANNOCORSO")}) {
        const QString sql =
            QStringLiteral(
                "SELECT cls.IDWGID, cls.IDWGSEDID, %1, cls.SSEZSDESC, COUNT(*) FROM VCLS_CLASSI cls INNER JOIN "
                "TANS_ANNISCOLAST ans ON ans.DANSVELTAINIZIO = cls.DSTART_CLS INNER JOIN TDWGSED dwgsed ON "
                "dwgsed.IDWGSEDID = cls.IDWGSEDID INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID "
                "WHERE ans.IANSID = :IANSID AND cls.DSTART_CLS = ans.DANSVELTAINIZIO AND cls.ICLSID IN (SELECT "
                "cp.ICLSID FROM TCLSPST cp INNER JOIN TSIT_SITUAZIONI sit ON cp.ICLSPSTID = sit.ICLSPSTID WHERE "
                "cp.ICLSID = cls.ICLSID) AND sinfo.SSEDINFCODMECC = :MECC_COD GROUP BY cls.IDWGID, cls.IDWGSEDID, "
                "%1, cls.SSEZSDESC HAVING COUNT(*) > 1")
                .arg(anno);
        if (TDokSql::Esegui(Ctx.Db, sql, valori).next())
            errore(QStringLiteral("Ci sono classi con sezioni non univoche nella stessa sede: \r\nControllare "
                                  "eventuali anomalie in Alunni - Classi e materie - Classi"));
    }
}

void TDokControlli::ControllaIndirizzi(TDokContesto &Ctx, const QString &CodMecc)
{
    Ctx.ImpostaStato(QStringLiteral("CONTROLLO INDIRIZZI DI STUDIO"));
    const TDokSql::Valori valori = annoESede(Ctx, CodMecc);
    QSqlQuery doppi = TDokSql::Esegui(
        Ctx.Db,
        QStringLiteral("Select ind1.iindid_p from tind_indirizzo ind1 where ind1.iindid_p in (select ind.iindid_p ") +
            kPianiInUso + kCondizioniPiani +
            QStringLiteral(") and ind1.iindid_p is not null and ind1.iindid in (select ind.iindid ") + kPianiInUso +
            kCondizioniPiani + QStringLiteral(") group by ind1.iindid_p having count (*) > 1"),
        valori);
    if (!doppi.next())
        return;

    QStringList righe{QStringLiteral("ERRORE BLOCCANTE!"), QString(),
                      QStringLiteral("Sono presenti più indirizzi con lo stesso codice Sidi associati ai piani di "
                                     "studio:")};
    do {
        TDokSql::Valori perIndirizzo = valori;
        perIndirizzo.append({QStringLiteral(":indsidi"), doppi.value(0).toInt()});
        QSqlQuery indirizzi = TDokSql::Esegui(
            Ctx.Db,
            QStringLiteral("select distinct sind.sdokindcodmin ||' - ' || sind.sdokinddesc as sididesc, "
                           "ind.sindldesc ") +
                kPianiInUso +
                QStringLiteral("INNER JOIN TDOKIND_INDIRIZZI sind ON sind.IDOKINDID = ind.iindid_p ") +
                kCondizioniPiani + QStringLiteral(" and ind.iindid_p = :indsidi"),
            perIndirizzo);
        righe << QString();
        bool prima = true;
        QStringList locali;
        while (indirizzi.next()) {
            if (prima)
                righe << QStringLiteral("- indirizzo SIDI : ") + indirizzi.value(0).toString();
            prima = false;
            locali << QStringLiteral("      ") + indirizzi.value(1).toString();
        }
        righe << QStringLiteral("  elenco indirizzi della scuola :") << locali;

        QSqlQuery piani = TDokSql::Esegui(Ctx.Db,
                                          QStringLiteral("SELECT distinct pst.spstldesc ") + kPianiInUso +
                                              kCondizioniPiani + QStringLiteral(" and ind.iindid_p = :indsidi"),
                                          perIndirizzo);
        righe << QStringLiteral("  elenco piani di studio :");
        while (piani.next())
            righe << QStringLiteral("      ") + piani.value(0).toString();
    } while (doppi.next());

    Ctx.Interazione.Ask(QString::fromLatin1(TDokDomande::kLogIndirizzi), {{QStringLiteral("Righe"), righe}});
    errore(QStringLiteral("Correggere i piani di studio elencati in precedenza per proseguire!"));
}

bool TDokControlli::ConfermaTipoScuola(TDokContesto &Ctx, const QString &VoceSede)
{
    Ctx.TipoScuolaScelto.clear();
    const QString codMecc = VoceSede.left(10);
    const QString registrato = TDokTipoScuola::DescrizioneRegistrata(Ctx.Db, codMecc);
    const QVariantMap risposta =
        Ctx.Interazione
            .Ask(QString::fromLatin1(TDokDomande::kTipoScuola),
                 {{QStringLiteral("CodMecc"), codMecc},
                  {QStringLiteral("Messaggio"), QStringLiteral("L'istituto selezionato: \r\n") + VoceSede +
                                                    QStringLiteral("\r\n")},
                  {QStringLiteral("Tipo"), registrato}})
            .toMap();
    const bool ok = risposta.value(QStringLiteral("Ok")).toBool();
    const QString tipo = risposta.value(QStringLiteral("Tipo"), registrato).toString();
    // The study addresses matter to SIDI from the lower secondary school up, and
    // a cancelled dialog does not spare the check.
    const QString maiuscolo = tipo.toUpper();
    if (Ctx.TipoExport == 0 && !Ctx.UsaIdSidiInd && maiuscolo != QLatin1String("MATERNA") &&
        maiuscolo != QLatin1String("ELEMENTARE"))
        ControllaIndirizzi(Ctx, codMecc);
    Ctx.TipoScuolaScelto = maiuscolo.trimmed();
    return ok;
}
