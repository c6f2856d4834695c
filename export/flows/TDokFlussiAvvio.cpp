#include "TDokFlussiAvvio.h"

#include "TDokContesto.h"
#include "TDokSql.h"
#include "TDokUtil.h"
#include "TdmDokDataSetsAnagrafe.h"
#include "TdmDokDataSetsRilevazioni.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <stdexcept>
#include <vector>

using dataset::Table;

const QString TDokFlussiAvvio::SqlScuola = QStringLiteral(
    "SELECT cap.SCAPVALUE AS CodCap, sinfo.SSEDINFCODFISCALE AS CodFiscaleScuola, NULL AS CodMeccForte, "
    "sinfo.SSEDINFCODMECC AS CodMeccDebole, srpc.ssrpccodcata AS CodComune, sinfo.SSEDINFEMAIL AS Email1, "
    "NULL AS Email2, NULL AS RiservatoGestore1, NULL AS RiservatoGestore2, NULL AS RiservatoGestore3, "
    "NULL AS RiservatoGestore4, NULL AS RiservatoGestore5, NULL AS RiservatoGestore6, sed.ISEDID as IDScuola, "
    "sinfo.SSEDINFINDIRIZZO AS IndirizzoScuola, sinfo.SSEDINFSDESC AS NomeScuola, "
    "(SELECT SCOD.SSCODTIPOSCUOLA FROM TSCOD_CODICETEVO SCOD WHERE SCOD.sscodmecc=:COD_MECC) AS CodScuolaUtente, "
    "NULL AS FlagPersonaGiuridica, NULL AS SiglaScuola, NULL AS IndirizzoInternet, "
    "sinfo.SSEDINFTELEFONO AS Telefono1, sinfo.SSEDINFTELEFONO2 AS Telefono2, "
    "(SELECT FIRST 1 sg.SSCUGRALDESC FROM TSCUGRA sg "
    "INNER JOIN TSCUTYPORDGRA stog ON sg.ISCUGRAID = stog.ISCUGRAID "
    "INNER JOIN TOTGDWG od ON stog.ISCUTYPORDGRAID = od.ISCUTYPORDGRAID "
    "INNER JOIN TDWG_DATAOWNERGRP dwg ON od.IDOWID = dwg.IDOWID "
    "INNER JOIN TDWGSED ds ON dwg.IDWGID = ds.IDWGID WHERE ds.ISEDID = sed.ISEDID) AS TipoScuola, "
    "NULL AS DecretoMinisteriale, NULL AS Tipo, NULL AS FlagIstitutoDichiarante "
    "FROM TSED_SEDI sed INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = sed.ISEDID "
    "LEFT JOIN tcomcap cc ON cc.ICOMCAPID = sinfo.ICOMCAPID "
    "LEFT JOIN TCAP cap ON cap.ICAPID = cc.ICAPID "
    "LEFT JOIN TSRPC srpc ON cc.ISRPCID = srpc.ISRPCID "
    "LEFT JOIN TCOM_COMUNI COM ON COM.ICOMID=srpc.ICOMID "
    "LEFT JOIN TSCOM_COMUNI_SIDI SCOM ON COM.ISCOMID = SCOM.ISCOMID "
    "WHERE (sed.ISEDID=:ID_SCUOLA)");

// The site code's characters 3-4 are read from sinfo.SSEDINFCODMECC, which the
// same WHERE ties to :MECC_COD: Firebird gives a parameter inside substring()
// the type of the result, two characters, and the 10-character code would not
// fit it.
const QString TDokFlussiAvvio::SqlAlunni = QStringLiteral(
    "SELECT ana.DANAAGGSOGEI AS DataAggSogei, ana.DANANASCITA AS DataNascita, "
    "ana.SANACODALUSIDI AS CodAlunnoMinisteriale, COALESCE(ana.LANACODFISFITT,0) AS FlagCodFiscFittizio, "
    "NULL AS RiservatoGestore1, COALESCE(ana.LANAS2F,0) AS Flags2f, NULL AS AnniFrequenzaScuolaMaterna, "
    "NULL AS RiservatoGestore2, NULL AS RiservatoGestore3, NULL AS RiservatoGestore4, "
    "(SELECT FIRST 1 cap.SCAPVALUE FROM TABT_ABITAZ abt INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID "
    "INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID "
    "INNER JOIN TCOMCAP ccap ON ccap.ICOMCAPID = abt.ICOMCAPID INNER JOIN TCAP cap ON cap.ICAPID = ccap.ICAPID "
    "WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2) AS CodCap, "
    "ana.SANACODFISCALE AS CodFiscAlunno, "
    "(SELECT FIRST 1 CASE WHEN sta.DEND IS NULL THEN sta.SSTACODSISSI ELSE '#' || sta.SSTACODSISSI END "
    "FROM TSTA_STATI STA INNER JOIN TANACITT acitt ON sta.ISTAID = acitt.ISTAID "
    "WHERE acitt.IANAID = sit.IANAID ORDER BY acitt.ISTAID) AS CodCittadinanza1, "
    "(SELECT FIRST 1 SKIP 1 CASE WHEN sta.DEND IS NULL THEN sta.SSTACODSISSI ELSE '#' || sta.SSTACODSISSI END "
    "FROM TSTA_STATI STA INNER JOIN TANACITT acitt ON sta.ISTAID = acitt.ISTAID "
    "WHERE acitt.IANAID = sit.IANAID ORDER BY acitt.ISTAID) AS CodCittadinanza2, "
    "CASE WHEN TSRPCNasc.ISTAID = 1 THEN TSRPCNasc.ssrpccodcata ELSE NULL END AS CodComuneNascita, "
    "ana.SANACOGNOME AS Cognome, "
    "COALESCE((SELECT FIRST 1 srpcres.ssrpccodcata FROM TABT_ABITAZ abt "
    "INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID "
    "INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID "
    "INNER JOIN TCOMCAP ccap ON ccap.ICOMCAPID = abt.ICOMCAPID "
    "INNER JOIN TSRPC srpcres ON srpcres.ISRPCID = ccap.ISRPCID "
    "INNER JOIN TCOM_COMUNI COM ON COM.ICOMID=SRPCRES.ICOMID "
    "WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2 AND srpcres.ISTAID = 1), "
    "(SELECT FIRST 1 'EEEE' FROM TABT_ABITAZ abt "
    "INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID "
    "INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID "
    "INNER JOIN TCOMCAP ccap ON ccap.ICOMCAPID = abt.ICOMCAPID "
    "INNER JOIN TSRPC srpcres ON srpcres.ISRPCID = ccap.ISRPCID "
    "WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2 AND srpcres.ISTAID > 1)) AS CodComuneResidenza, "
    "NULL AS Distretto, NULL AS RiservatoGestore5, NULL AS FlagStraniero, NULL AS Frazione, "
    "nomadi.SGRESDESC AS CodGruppoNomade, NULL AS RiservatoGestore6, ana.IANAID AS IDAlunno, "
    "(SELECT FIRST 1 abt.SABTINDIRIZZO FROM TABT_ABITAZ abt INNER JOIN TANAABT anabt ON anabt.IABTID = abt.IABTID "
    "INNER JOIN TABTLOC abtloc ON abtloc.IANAABTID = anabt.IANAABTID "
    "WHERE anabt.IANAID = sit.IANAID AND abtloc.ILOCID = 2) AS Indirizzo, "
    "NULL AS RiservatoGestore7, ac.SANACAGCODE AS Matricola, NULL AS RiservatoGestore8, NULL AS RiservatoGestore9, "
    "ana.SANANOME AS Nome, NULL AS RiservatoGestore10, "
    "(SELECT FIRST 1 sed2.ISEDID FROM TSED_SEDI sed2 WHERE sed2.ISEDID = :ID_SCUOLA) AS IDScuola, "
    "(CASE WHEN sex.SSEXSDESC = 'U' THEN 'M' ELSE sex.SSEXSDESC END) AS Sesso, "
    "NULL AS IndFrequenzaScuolaMaterna, NULL AS StatoCivile, TStaNasc.SSTACODSISSI AS StatoNascita, "
    "CASE WHEN (ana.SANASTATOSOGEI IS NULL) AND (COALESCE(ana.LANACODFISFITT, 0) = 1) THEN 98 "
    "WHEN (ana.SANASTATOSOGEI IS NULL) AND (COALESCE(ana.LANACODFISFITT, 0) = 0) THEN 52 "
    "ELSE ana.SANASTATOSOGEI END AS CodStatoSogei, "
    "NULL AS RiservatoGestore11, NULL AS RiservatoGestore12, NULL AS RiservatoGestore13, "
    "(SELECT com1.SCOMDESC FROM TSRPC srpc1 INNER JOIN TCOM_COMUNI com1 ON com1.ICOMID = srpc1.ICOMID "
    "WHERE srpc1.ISRPCID = ana.ISRPCID AND srpc1.ISTAID > 1) AS LuogoNascitaStaEstero "
    "FROM TSIT_SITUAZIONI sit INNER JOIN TANA_ANAGRAFICHE ana ON sit.IANAID = ana.IANAID "
    "INNER JOIN VANS_ANNISCOLAST Ans ON Ans.dAnsVeltaInizio = Sit.dStart "
    "INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID "
    "INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID "
    "INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID "
    "LEFT JOIN TSRPC TSRPCNasc ON TSRPCNasc.iSrpcId = ana.iSrpcId "
    "LEFT JOIN TCOM_COMUNI COMNasc ON COMNasc.ICOMID=TSRPCNasc.ICOMID "
    "LEFT JOIN TSCOM_COMUNI_SIDI SCOMNasc ON COMNasc.ISCOMID = SCOMNasc.ISCOMID "
    "LEFT JOIN TANAGRE ananomadi ON ananomadi.IANAID = ana.IANAID "
    "LEFT JOIN TGRE_GRUPPIETNICI nomadi ON nomadi.IGREID = ananomadi.IGREID "
    "LEFT JOIN TANACAG ac ON ac.IANAID = ana.IANAID AND (ac.ICAGID = 1) "
    "LEFT JOIN TSEX_SESSO sex ON sex.ISEXID = ana.ISEXID "
    "LEFT JOIN TANASTC astc ON astc.IANAID = ana.IANAID "
    "LEFT JOIN TSTCSEX sexstc ON sexstc.ISTCSEXID = astc.ISTCSEXID "
    "LEFT JOIN TSTCOLD stccold ON stccold.ISTCOLDID = sexstc.ISTCOLDID "
    "LEFT JOIN TSta_Stati TStaNasc ON (TStaNasc.iStaId = TSRPCNasc.iStaId) AND NOT(TStaNasc.iStaId = 1) "
    "LEFT JOIN TPOSATT patt ON patt.IPOSATTID = sit.IPOSATTID "
    "WHERE (ans.sAnsAnnoDesc = :sAnsAnnoDesc) AND sit.ISITORDINE = 1 AND COALESCE(cls.LCLSSERALE,0) = 0 "
    "AND sinfo.SSEDINFCODMECC = :MECC_COD AND patt.ISTAATTID IN (%s) "
    "AND (substring(sinfo.SSEDINFCODMECC from 3 for 2) IN ('AA', '1A', 'EE', '1E', 'MM', '1M', 'IC') "
    "OR EXISTS (SELECT 1 FROM TPST_PIANISTUDIO pst INNER JOIN TIND_INDIRIZZO ind ON ind.IINDID = pst.IINDID "
    "INNER JOIN TDOKIND_INDIRIZZI sind ON sind.IDOKINDID = ind.IINDID_P "
    "WHERE pst.IPSTID = cp.IPSTID AND sind.SDOKINDCLASS NOT IN ('SE', 'S3', 'S4'))) /*FLT_CLS*/");

const QString TDokFlussiAvvio::SqlSituazioni = QStringLiteral(
    "SELECT DISTINCT sit.DSITISCR AS DataIscrizione, sit.DSITTRARIT AS DataTrasferimento, "
    "cre.ICRECREDITO AS CreditoScolastico, acs.IACSANNOCORSO AS AnnoCorso, NULL AS RiservatoGestore1, "
    "(SELECT SUM(TOan.iOanSettimanali) FROM TMatRmaPst TMatRmaPst "
    "INNER JOIN TOan_OreAn TOan ON (TOan.iOanId = TMatRmaPst.iOanId) "
    "WHERE TMatRmaPst.iPstId = cp.iPstId AND TMatRmaPst.dDelete IS NULL ) AS OreSettimanali, "
    "sit.ISITPOSREG AS PosRegistro, NULL AS RiservatoGestore3, NULL AS RiservatoGestore4, "
    "sit.IISCID AS NumeroIscrizioni, sit.IANAID AS IDAlunno, Ans.IANSVALORE AS AnnoScolastico, "
    "NULL AS RiservatoGestore5, NULL AS RiservatoGestore6, NULL AS RiservatoGestore7, NULL AS RiservatoGestore8, "
    "NULL AS RiservatoGestore9, NULL AS RiservatoGestore10, NULL AS RiservatoGestore11, "
    "NULL AS RiservatoGestore12, NULL AS RiservatoGestore13, NULL AS ValoreCreditoFormativo, "
    "CASE WHEN cod.SSCODTIPOSCUOLA IN ('SS', 'MM') THEN codind.codindsidi ELSE NULL END AS Idcorso, "
    "NULL AS IDEsitoFinale, NULL AS IDMateriaEsonerata1, NULL AS IDMateriaEsonerata2, "
    "NULL AS IDMateriaEsonerata3, NULL AS RiservatoGestore14, NULL AS IDFornitoDi, "
    "CASE WHEN sit.itpsaid = 1 THEN 2 WHEN patt.ISTAATTID = 1 THEN 1 ELSE 0 END AS FlagSitScolasticaAttiva, "
    "NULL AS FlagAnticipoEsame, NULL AS RiservatoGestore16, NULL AS FlagDopoMensa, NULL AS FlagEsamePrivatista, "
    "NULL AS RiservatoGestore17, CASE WHEN sit.ISITMENSA = 1 THEN 1 ELSE 0 END AS FlagMensa, "
    "CASE WHEN sit.IIESID = 2 THEN 1 ELSE 0 END AS FlagPrivatista, "
    "CASE WHEN sit.itpsaid = 1 THEN NULL WHEN patt.ISTAATTID = 2 THEN 4 WHEN patt.ISTAATTID = 3 THEN 1 "
    "ELSE NULL END AS FlagTrasferito, "
    "NULL AS CodGiudizioFinale, NULL AS DescGiudizioBreve, NULL AS RiservatoGestore19, "
    "NULL AS IDMateriaAlternativa1, NULL AS IDMateriaAlternativa2, NULL AS IDMateriaAlternativa3, "
    "'0000' AS CodMezzoTrasporto1, '0000' AS CodMezzoTrasporto2, NULL AS GiudizzioNonAmmissione, "
    "NULL AS DescNote, NULL AS IDObbligoFormativo, NULL AS IDOrarioSettimanale, NULL AS PostScuola, "
    "NULL AS PreScuola, "
    "(SELECT (CASE WHEN COUNT(*) < 10 THEN '000'||COUNT(*) WHEN COUNT(*) < 100 THEN '00'||COUNT(*) END) "
    "FROM TSIT_SITUAZIONI sit2 WHERE sit2.IANAID = sit.IANAID) AS SitProg, "
    "NULL AS RiservatoGestore21, "
    "CASE WHEN cod.SSCODTIPOSCUOLA IN ('MM', 'SS') THEN sqo.sdokqocodicepianodistudi ELSE NULL END "
    "AS IDPianoStudio1, NULL AS IDPianoStudio2, "
    "(SELECT sed2.ISEDID FROM TSED_SEDI sed2 WHERE sed2.ISEDID = :ID_SCUOLA ) AS IDScuola, "
    "NULL AS RiservatoGestore22, sez.SSEZSDESC AS Sezione, NULL AS RiservatoGestore23, "
    "NULL AS RiservatoGestore24, NULL AS RiservatoGestore25, NULL AS RiservatoGestore26, "
    "NULL AS ValutaAnnoScol, NULL AS DataInizioFrequenza, NULL AS PrimaFrazTemporale, NULL AS RientroPome, "
    "sinfo.isedinfcodsedesidi AS IDSede, CASE WHEN pini.ISTAINIID = 3 THEN 'S' ELSE NULL END AS EsameIdoneita, "
    "indSIDI.SDOKINDCLASS, pst.spstldesc, indpst.sindldesc, sinfo.ssedinfldesc "
    "FROM TSIT_SITUAZIONI sit INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID "
    "INNER JOIN TPST_PIANISTUDIO pst ON pst.IPSTID = cp.IPSTID INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID "
    "INNER JOIN TACS_ANNICORSO acs ON acs.IACSID = cls.IACSID "
    "INNER JOIN TIND_INDIRIZZO indcls ON indcls.IINDID = cls.IINDID "
    "INNER JOIN TSEZ_SEZIONI sez ON sez.ISEZID = cls.ISEZID "
    "INNER JOIN VANS_ANNISCOLAST Ans ON Ans.DANSVELTAINIZIO = Sit.DSTART "
    "INNER JOIN TDWGSED dwgsed ON dwgsed.IDWGSEDID = cls.IDWGSEDID "
    "INNER JOIN TSEDINF_SEDEINFO sinfo ON sinfo.ISEDID = dwgsed.ISEDID "
    "INNER JOIN TSCOD_CODICETEVO cod ON sinfo.SSEDINFCODMECC = cod.SSCODMECC "
    "LEFT JOIN TIND_INDIRIZZO indpst ON indpst.IINDID = pst.IINDID "
    "LEFT JOIN TCRE_CREDITI cre ON cre.ISITID = sit.ISITID "
    "LEFT JOIN TSITOBF sobf ON sobf.ISITID = sit.ISITID "
    "LEFT JOIN TOBF_OBBFORMATIVO obf ON obf.IOBFID = sobf.IOBFID "
    "LEFT JOIN TPOSATT patt ON patt.IPOSATTID = sit.IPOSATTID "
    "LEFT JOIN TPOSINI pini ON pini.IPOSINIID = sit.IPOSINIID "
    "LEFT JOIN TDOKIND_INDIRIZZI indSIDI ON indSIDI.IDOKINDID = indpst.IINDID_P "
    "LEFT JOIN tdokqo_dokquadrior SQO ON sqo.idokqoid = pst.idokqoid "
    "LEFT JOIN tcodind_codmecc codind ON codind.iindid = pst.iindid AND codind.icodansvalore = ans.iansvalore "
    "AND codind.codscuoladebole = sinfo.ssedinfcodmecc "
    "WHERE (ans.sAnsAnnoDesc = :sAnsAnnoDesc) AND sit.ISITORDINE = 1 AND COALESCE(cls.LCLSSERALE,0) = 0 "
    "AND sinfo.SSEDINFCODMECC = :MECC_COD AND patt.ISTAATTID IN (%s) "
    "AND (substring(sinfo.SSEDINFCODMECC from 3 for 2) IN ('AA', '1A', 'EE', '1E', 'MM', '1M', 'IC') "
    "OR EXISTS (SELECT 1 FROM TPST_PIANISTUDIO pst2 INNER JOIN TIND_INDIRIZZO ind2 ON ind2.IINDID = pst2.IINDID "
    "INNER JOIN TDOKIND_INDIRIZZI sind2 ON sind2.IDOKINDID = ind2.IINDID_P "
    "WHERE pst2.IPSTID = cp.IPSTID AND sind2.SDOKINDCLASS NOT IN ('SE', 'S3', 'S4'))) /*FLT_CLS*/");

namespace {

const QString kE = QStringLiteral("E");
const QString kCampoScartato = QStringLiteral("CampoScartato");

QString testo(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}

// Dates come from the driver as QDate; their ISO text is what DataIso makes of
// them, without parsing a text back for every row.
QString dataIso(const QVariant &v)
{
    if (v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    return TDokUtil::DataIso(v.toString());
}

QVariant interoOZero(const QVariant &v)
{
    return v.isNull() ? QVariant(0) : v;
}

// The SIDI school id of a site id. Every row of a flow carries the same site,
// so the text is made once and kept.
class IdScuola
{
public:
    explicit IdScuola(const QString &CodPrenotazione) : m_prenotazione(CodPrenotazione) {}
    const QString &operator()(const QVariant &v)
    {
        const int id = v.isNull() ? -1 : v.toInt();
        if (!m_fatto || id != m_id) {
            m_testo = TDokUtil::IdSidi(TDokUtil::FormattaIdScuola(id), m_prenotazione);
            m_id = id;
            m_fatto = true;
        }
        return m_testo;
    }

private:
    QString m_prenotazione;
    QString m_testo;
    int m_id = -1;
    bool m_fatto = false;
};

// The source query of a flow, prepared, bound and open.
void apri(TDokContesto &Ctx, QSqlQuery &Query, const QString &Sql, const QList<QPair<QString, QVariant>> &Valori)
{
    Ctx.PreparaQuery(Query, Sql);
    for (const auto &[nome, valore] : Valori)
        Query.bindValue(nome, valore);
    if (!Query.exec())
        TDokSql::Errore(Query, Ctx.Db);
}

// A fetch that stopped on an error must not pass for the end of the rows.
void controllaLettura(const TDokContesto &Ctx, const QSqlQuery &Query)
{
    if (Query.lastError().isValid())
        TDokSql::Errore(Query, Ctx.Db);
}

// Where each column of Tabella (but E and CampoScartato) is in the query's
// rows, found once by name; Alias gives the query's name where it differs.
// A column the query lacks stays -1 and is null.
std::vector<int> posizioni(const QSqlRecord &Riga, const Table &Tabella, const QHash<QString, QString> &Alias = {})
{
    std::vector<int> pos;
    for (int c = 0; c < Tabella.fieldCount(); ++c) {
        const QString nome = Tabella.field(c).name;
        if (nome == kE || nome == kCampoScartato)
            continue;
        pos.push_back(Riga.indexOf(Alias.value(nome, nome)));
    }
    return pos;
}

// The row's values in the table's column order, E = 0 and CampoScartato
// empty, written over the list of the previous row so that no row allocates it.
void valoriRiga(const QSqlQuery &Query, const std::vector<int> &Pos, QVariantList &Valori)
{
    const qsizetype n = qsizetype(Pos.size());
    if (Valori.size() != n + 2) {
        Valori = QVariantList(n + 2);
        Valori[n] = 0;
        Valori[n + 1] = QString();
    }
    for (qsizetype i = 0; i < n; ++i)
        Valori[i] = Pos[i] >= 0 ? Query.value(Pos[i]) : QVariant();
}

// A failed row check on the record just appended: E = 1 and the message, in
// place of the reason so far or after it with ", ".
class Scarto
{
public:
    explicit Scarto(Table &Tabella)
        : m_t(Tabella)
        , m_e(Tabella.fieldIndex(kE))
        , m_campo(Tabella.fieldIndex(kCampoScartato))
    {
    }
    void operator()(const QString &Messaggio, bool Accoda)
    {
        const QString prima = m_t.asString(m_campo);
        m_t.edit();
        m_t.setValue(m_e, 1);
        m_t.setValue(m_campo, Accoda && !prima.isEmpty() ? prima + QStringLiteral(", ") + Messaggio : Messaggio);
        m_t.post();
    }

private:
    Table &m_t;
    int m_e;
    int m_campo;
};

// The pupils' and the situations' query: the pupil kinds pasted in, the site,
// the year and the code bound.
void apriFlusso(TDokContesto &Ctx, QSqlQuery &Query, const QString &Sql, int IdSede, const QString &CodMecc,
                const QString &AnnoScolastico)
{
    apri(Ctx, Query, TDokFlussiAvvio::ConTipiAlunni(Sql, Ctx.TipiAlunni),
         {{QStringLiteral(":ID_SCUOLA"), IdSede},
          {QStringLiteral(":sAnsAnnoDesc"), AnnoScolastico},
          {QStringLiteral(":MECC_COD"), CodMecc}});
}

const QString kDoppiApici = QStringLiteral("\"");

} // namespace

QString TDokFlussiAvvio::ConTipiAlunni(const QString &Sql, const QString &TipiAlunni)
{
    static const QRegularExpression soloTipi(QStringLiteral("^[1-3](,[1-3])*$"));
    if (!soloTipi.match(TipiAlunni).hasMatch())
        throw std::runtime_error(
            QStringLiteral("Elenco dei tipi di alunni non valido: \"%1\"").arg(TipiAlunni).toStdString());
    QString testo = Sql;
    testo.replace(QStringLiteral("%s"), TipiAlunni);
    return testo;
}

void TDokFlussiAvvio::EseguiAvvio(TDokContesto &Ctx, int IdSede, const QString &CodMecc,
                                  const QString &AnnoScolastico, const QString &CodPrenotazione)
{
    Ctx.ImpostaStato(QStringLiteral("001TB_USR_USER"));
    EsportaScuola(Ctx, CodPrenotazione, CodMecc, IdSede);
    Ctx.ImpostaStato(QStringLiteral("002TB_ALU_ALUNNI"));
    EsportaAlunni(Ctx, IdSede, CodMecc, AnnoScolastico, CodPrenotazione);
    Ctx.ImpostaStato(QStringLiteral("003TB_ALU_SIT"));
    EsportaSituazioni(Ctx, IdSede, CodMecc, AnnoScolastico, CodPrenotazione);
}

void TDokFlussiAvvio::EsportaScuola(TDokContesto &Ctx, const QString &CodPrenotazione, const QString &CodMecc,
                                    int IdSede)
{
    Table &t = Ctx.Anagrafe.cdsScuola;
    QSqlQuery q;
    apri(Ctx, q, SqlScuola, {{QStringLiteral(":ID_SCUOLA"), IdSede}, {QStringLiteral(":COD_MECC"), CodMecc}});
    const QSqlRecord riga = q.record();
    const std::vector<int> pos = posizioni(riga, t);
    const int iIDScuola = t.fieldIndex(QStringLiteral("IDScuola"));
    const int qIDScuola = riga.indexOf(QStringLiteral("IDScuola"));
    const int qCodComune = riga.indexOf(QStringLiteral("CodComune"));
    Scarto scarta(t);

    IdScuola idScuola(CodPrenotazione);
    QVariantList valori;
    while (q.next()) {
        Ctx.MostraAvanzamento(t.recNo());
        valoriRiga(q, pos, valori);
        valori[iIDScuola] = idScuola(q.value(qIDScuola));
        t.append(valori);
        if (testo(q.value(qCodComune)).isEmpty())
            scarta(QStringLiteral("Codice castastale comune scuola"), false);
        TDokUtil::SegnalaRiferimentiMancanti(t, Ctx.RiferimentiMancanti);
    }
    controllaLettura(Ctx, q);
    const bool completa = TDokUtil::ControllaObbligatori(
        t, {QStringLiteral("CodMeccDebole"), QStringLiteral("IDScuola")}, CodPrenotazione);
    if (!completa)
        throw std::runtime_error("Nelle informazioni sulla scuola mancano dei dati obbligatori.\r\r\n"
                                 "Controllare di aver inserito: \r\n  - Comune \r\n  - Denominazione\r\n"
                                 "  - Indirizzo\r\n  - Tipo\\Ordine\\Grado");
}

void TDokFlussiAvvio::EsportaAlunni(TDokContesto &Ctx, int IdSede, const QString &CodMecc,
                                    const QString &AnnoScolastico, const QString &CodPrenotazione)
{
    Table &t = Ctx.Anagrafe.cdsAlunni;
    Table &scuola = Ctx.Anagrafe.cdsScuola;
    QSqlQuery q;
    apriFlusso(Ctx, q, SqlAlunni, IdSede, CodMecc, AnnoScolastico);
    const QSqlRecord riga = q.record();
    const std::vector<int> pos = posizioni(riga, t);
    auto col = [&](const char *nome) { return t.fieldIndex(QLatin1String(nome)); };
    auto src = [&](const char *nome) { return riga.indexOf(QLatin1String(nome)); };
    const int iDataAggSogei = col("DataAggSogei"), qDataAggSogei = src("DataAggSogei");
    const int iDataNascita = col("DataNascita"), qDataNascita = src("DataNascita");
    const int iIDAlunno = col("IDAlunno"), qIDAlunno = src("IDAlunno");
    const int iIndirizzo = col("Indirizzo"), qIndirizzo = src("Indirizzo");
    const int iIDScuola = col("IDScuola"), qIDScuola = src("IDScuola");
    const int qNascita = src("CodComuneNascita"), qStato = src("StatoNascita");
    const int qResidenza = src("CodComuneResidenza"), qCittadinanza1 = src("CodCittadinanza1");
    const int qCap = src("CodCap");
    Scarto scarta(t);
    const QString chiaveScuola = QStringLiteral("IDScuola");

    IdScuola idScuola(CodPrenotazione);
    QVariantList valori;
    while (q.next()) {
        Ctx.MostraAvanzamento(t.recNo());
        valoriRiga(q, pos, valori);
        valori[iDataAggSogei] = dataIso(q.value(qDataAggSogei));
        valori[iDataNascita] = dataIso(q.value(qDataNascita));
        valori[iIDAlunno] = TDokUtil::IdSidi(testo(q.value(qIDAlunno)), CodPrenotazione);
        valori[iIndirizzo] = testo(q.value(qIndirizzo)).remove(QLatin1Char('|'));
        valori[iIDScuola] = TDokUtil::VerificaRiferimento(scuola, chiaveScuola,
                                                          idScuola(q.value(qIDScuola)),
                                                          Ctx.RiferimentiMancanti);
        t.append(valori);

        const QString nascita = testo(q.value(qNascita));
        const QString stato = testo(q.value(qStato));
        const QString residenza = testo(q.value(qResidenza));
        if (nascita.isEmpty() && stato.isEmpty())
            scarta(QStringLiteral("Codice castastale comune di nascita"), false);
        if (residenza.isEmpty())
            scarta(QStringLiteral("Codice castastale comune di residenza"), true);
        if (testo(q.value(qCittadinanza1)).contains(QLatin1Char('#')) && !stato.contains(QLatin1Char('#')))
            scarta(QStringLiteral("Prima cittadinanza non valida"), true);
        if (residenza.toUpper() != QLatin1String("EEEE") && testo(q.value(qCap)).trimmed().isEmpty())
            scarta(QStringLiteral("Cap indirizzo di residenza mancante"), true);
        TDokUtil::SegnalaRiferimentiMancanti(t, Ctx.RiferimentiMancanti);
    }
    controllaLettura(Ctx, q);
    TDokUtil::ControllaObbligatori(t,
                                   {QStringLiteral("DataNascita"), QStringLiteral("FlagCodFiscFittizio"),
                                    QStringLiteral("CodFiscAlunno"), QStringLiteral("CodCittadinanza1"),
                                    QStringLiteral("Indirizzo"), QStringLiteral("Cognome"), QStringLiteral("Nome"),
                                    QStringLiteral("Sesso"), QStringLiteral("IDAlunno")},
                                   CodPrenotazione);
}

void TDokFlussiAvvio::EsportaSituazioni(TDokContesto &Ctx, int IdSede, const QString &CodMecc,
                                        const QString &AnnoScolastico, const QString &CodPrenotazione)
{
    TdmDokDataSetsAnagrafe &ana = Ctx.Anagrafe;
    Table &t = ana.cdsCurriculum;
    QSqlQuery q;
    apriFlusso(Ctx, q, SqlSituazioni, IdSede, CodMecc, AnnoScolastico);
    const QSqlRecord riga = q.record();
    const std::vector<int> pos =
        posizioni(riga, t, {{QStringLiteral("RiservatoGestore15"), QStringLiteral("IDFornitoDi")}});
    auto col = [&](const char *nome) { return t.fieldIndex(QLatin1String(nome)); };
    auto src = [&](const char *nome) { return riga.indexOf(QLatin1String(nome)); };

    const int iDataIscrizione = col("DataIscrizione"), qDataIscrizione = src("DataIscrizione");
    const int iDataTrasferimento = col("DataTrasferimento"), qDataTrasferimento = src("DataTrasferimento");
    const int interi[] = {col("CreditoScolastico"), col("AnnoCorso"), col("OreSettimanali"), col("PosRegistro"),
                          col("NumeroIscrizioni")};
    const int iIDAlunno = col("IDAlunno"), qIDAlunno = src("IDAlunno");
    const int iIDEsitoFinale = col("IDEsitoFinale");
    const int esonerate[] = {col("IDMateriaEsonerata1"), col("IDMateriaEsonerata2"), col("IDMateriaEsonerata3")};
    const int alternative[] = {col("IDMateriaAlternativa1"), col("IDMateriaAlternativa2"),
                               col("IDMateriaAlternativa3")};
    const int iFornitoDi = col("RiservatoGestore15");
    const int iIDObbligoFormativo = col("IDObbligoFormativo");
    const int iIDOrarioSettimanale = col("IDOrarioSettimanale");
    const int iIDPianoStudio1 = col("IDPianoStudio1"), qIDPianoStudio1 = src("IDPianoStudio1");
    const int iIDScuola = col("IDScuola"), qIDScuola = src("IDScuola");
    const int qIDCorso = src("IDCorso"), qIDSede = src("IDSede");
    const int qClasse = src("SDOKINDCLASS"), qPiano = src("SPSTLDESC"), qIndirizzo = src("SINDLDESC");
    const int qSede = src("SSEDINFLDESC");
    Scarto scarta(t);

    const QString &tipo = Ctx.TipoScuolaScelto;
    const bool secondaria = !(tipo == QLatin1String("MATERNA") || tipo == QLatin1String("ELEMENTARE") || tipo.isEmpty());

    IdScuola idScuola(CodPrenotazione);
    QVariantList valori;
    while (q.next()) {
        // IeFP courses (Q3, Q4) have no SIDI study plan of their own.
        const QString classe = testo(q.value(qClasse)).toUpper();
        const bool iefp = classe == QLatin1String("Q3") || classe == QLatin1String("Q4");
        const QString piano = iefp ? QString() : testo(q.value(qIDPianoStudio1));

        Ctx.MostraAvanzamento(t.recNo());
        QString &mancanti = Ctx.RiferimentiMancanti;
        valoriRiga(q, pos, valori);
        valori[iDataIscrizione] = dataIso(q.value(qDataIscrizione));
        valori[iDataTrasferimento] = dataIso(q.value(qDataTrasferimento));
        for (int i : interi)
            valori[i] = interoOZero(valori[i]);
        valori[iIDAlunno] = TDokUtil::VerificaRiferimento(
            ana.cdsAlunni, QStringLiteral("IDAlunno"), TDokUtil::IdSidi(testo(q.value(qIDAlunno)), CodPrenotazione),
            mancanti);
        // The query gives these lookups nothing today; they stay so that a value
        // would be checked like every other reference.
        valori[iIDEsitoFinale] = TDokUtil::VerificaRiferimento(
            ana.cdsEsiti, QStringLiteral("IDEsito"),
            TDokUtil::IdSidi(TDokUtil::Base36(testo(valori[iIDEsitoFinale])), CodPrenotazione), mancanti);
        auto materia = [&](int i) {
            valori[i] = TDokUtil::VerificaRiferimento(ana.cdsMaterie, QStringLiteral("IDMateria"),
                                                      TDokUtil::IdSidi(testo(valori[i]), CodPrenotazione), mancanti);
        };
        for (int i : esonerate)
            materia(i);
        valori[iFornitoDi] =
            TDokUtil::VerificaRiferimento(Ctx.Rilevazioni.cdsFoglioIscrizione, QStringLiteral("IDFoglioIscr"),
                                          TDokUtil::IdSidi(testo(valori[iFornitoDi]), CodPrenotazione), mancanti);
        for (int i : alternative)
            materia(i);
        valori[iIDObbligoFormativo] = TDokUtil::VerificaRiferimento(
            ana.cdsObbligoFormativo, QStringLiteral("IDObbligoFormativo"),
            TDokUtil::IdSidi(testo(valori[iIDObbligoFormativo]), CodPrenotazione), mancanti);
        valori[iIDOrarioSettimanale] =
            TDokUtil::VerificaRiferimento(Ctx.Rilevazioni.cdsOrarioSettimanale, QStringLiteral("IDOrarioSett"),
                                          testo(valori[iIDOrarioSettimanale]), mancanti);
        valori[iIDPianoStudio1] = piano;
        valori[iIDScuola] = TDokUtil::VerificaRiferimento(ana.cdsScuola, QStringLiteral("IDScuola"),
                                                          idScuola(q.value(qIDScuola)), mancanti);
        t.append(valori);

        // Each failed check replaces the reason of the one before.
        if (piano.isEmpty() && secondaria && !iefp)
            scarta(QStringLiteral("Il piano di studi ") + kDoppiApici + testo(q.value(qPiano)) + kDoppiApici
                       + QStringLiteral(" non ha associato il Quadro Orario scaricato da SIDI"),
                   false);
        if (testo(q.value(qIDCorso)).isEmpty() && secondaria)
            scarta(QStringLiteral("L'indirizzo  ") + kDoppiApici + testo(q.value(qIndirizzo)) + kDoppiApici
                       + QStringLiteral(" non ha associato l'indirizzo SIDI, eseguire un CONFRONTA DATI SIDI"),
                   false);
        if (testo(q.value(qIDSede)).isEmpty())
            scarta(QStringLiteral("La sede  ") + kDoppiApici + testo(q.value(qSede)) + kDoppiApici
                       + QStringLiteral(" non ha associata la sede SIDI, eseguire un CONFRONTA DATI SIDI"),
                   false);
        TDokUtil::SegnalaRiferimentiMancanti(t, mancanti);
    }
    controllaLettura(Ctx, q);
    TDokUtil::ControllaObbligatori(t,
                                   {QStringLiteral("IDAlunno"), QStringLiteral("AnnoScolastico"),
                                    QStringLiteral("FlagSitScolasticaAttiva"), QStringLiteral("SitProg"),
                                    QStringLiteral("IDScuola"), QStringLiteral("Sezione")},
                                   CodPrenotazione);
}
