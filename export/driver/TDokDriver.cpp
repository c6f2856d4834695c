#include "TDokDriver.h"

#include "TDokArchivio.h"
#include "TDokControlli.h"
#include "TDokDomande.h"
#include "TDokFlussiAvvio.h"
#include "TDokFrequenze.h"
#include "TDokLogScarti.h"
#include "TDokSql.h"
#include "TDokUtil.h"
#include "TQxInteraction.h"
#include "TQxParam.h"

#include <QDir>
#include <QSqlQuery>
#include <QVersionNumber>

#include <stdexcept>

namespace {

const QString kSqlAnni = QStringLiteral(
    "SELECT DISTINCT VAns.iAnsId, VAns.sAnsAnnoDesc  FROM VAns_AnniScolast VAns ORDER BY VAns.iAnsValore");

const QString kSqlSedi = QStringLiteral(
    "SELECT DISTINCT vsed.SSEDMECCOD AS SSEDINFCODMECC, vsed.SSEDNOMLDESC AS SSEDINFLDESC, vsed.ISEDID "
    "FROM TSIT_SITUAZIONI sit INNER JOIN TCLSPST cp ON cp.ICLSPSTID = sit.ICLSPSTID "
    "INNER JOIN TCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID "
    "INNER JOIN VSED_SEDI vsed ON vsed.IDWGSEDID = cls.IDWGSEDID "
    "WHERE sit.DSTART = :DSTART AND COALESCE(cls.LCLSSERALE,0) = 0");

const QString kSqlParamInd = QStringLiteral(
    "SELECT IPRMVAL FROM TPRM_PARAM WHERE IPRMID = 4100 AND SPRMPROG = 'kbd' and SPRMCOD = 'bUseIdSidiInd' ");
const QString kSqlParamIndRiga = QStringLiteral(
    "SELECT * FROM TPRM_PARAM WHERE IPRMID = 4100 AND SPRMPROG = 'kbd' and SPRMCOD = 'bUseIdSidiInd' ");
const QString kSqlParamIndNuovo = QStringLiteral(
    " INSERT INTO TPRM_PARAM(IPRMID, SPRMPROG, SPRMCOD, IPRMVAL)  VALUES (4100, 'kbd','bUseIdSidiInd',0 )");
const QString kSqlParamIndModifica = QStringLiteral(
    "UPDATE TPRM_PARAM SET IPRMVAL = :IPRMVAL WHERE IPRMID = 4100 AND SPRMPROG = 'kbd' and SPRMCOD = 'bUseIdSidiInd' ");

const QString kFaseA = QStringLiteral(
    "Per effettuare l' invio del Flusso \"Avvio anno scolastico\" deve essere stata eseguita su SIDI la "
    "\"Fase A\"  e successivamente un \"Confronta dati SIDI\" da programma alunni SENZA ERRORI. Conclusa con "
    "esito positivo questa operazione, andranno associati i Quadri Orario ai piani di studio.\r\r\n"
    "Impossibile creare il flusso");

const QString kTerminataDallUtente = QStringLiteral("Operazione terminata dall'utente");

// The busy cursor for the length of a step, also when the step throws.
class CursoreOccupato
{
public:
    explicit CursoreOccupato(const std::function<void(bool)> &f) : m_f(f)
    {
        if (m_f)
            m_f(true);
    }
    ~CursoreOccupato()
    {
        if (m_f)
            m_f(false);
    }
    CursoreOccupato(const CursoreOccupato &) = delete;
    CursoreOccupato &operator=(const CursoreOccupato &) = delete;

private:
    const std::function<void(bool)> &m_f;
};

} // namespace

TDokDriver::TDokDriver(const QSqlDatabase &Db, TQxInteraction &Interazione)
    : Contesto(Db, Interazione, Anagrafe, Rilevazioni)
    , Prenota(Db, Interazione)
    , CartellaFlussi(TQxParam::TempDir() + QStringLiteral("Flussi"))
    , Intestazione(TestoVersione())
{
    QDir().mkpath(CartellaFlussi); // made again, with an error, when a run writes into it
}

QList<TQxEnumItem> TDokDriver::CaricaAnni() const
{
    return LoadEnumValues(Contesto.Db, kSqlAnni);
}

QList<TDokVoceSede> TDokDriver::CaricaSedi(const QString &AnnoInizio, int Tipo) const
{
    QString sql = kSqlSedi;
    if (Tipo == 0)
        sql += QStringLiteral(" AND UPPER(substring(VSED.ssedmeccod from 3 for 2)) NOT IN ('AA', '1A')");
    else if (Tipo == 1)
        sql += QStringLiteral(" AND UPPER(substring(VSED.ssedmeccod from 3 for 2)) IN ('AA', '1A')");
    bool ok = false;
    const int anno = AnnoInizio.toInt(&ok);
    QList<TDokVoceSede> sedi;
    if (!ok)
        return sedi; // no year chosen: no site
    QSqlQuery q = TDokSql::Esegui(Contesto.Db, sql, {{QStringLiteral(":DSTART"), QDate(anno, 9, 1)}});
    while (q.next())
        sedi.append({q.value(0).toString() + QStringLiteral(" - ") + q.value(1).toString(), q.value(2).toInt()});
    return sedi;
}

QString TDokDriver::AnnoPredefinito(const QDate &Oggi)
{
    const int anno = Oggi.year();
    if (Oggi.month() >= 9)
        return QStringLiteral("%1/%2").arg(anno).arg(anno + 1);
    return QStringLiteral("%1/%2").arg(anno - 1).arg(anno);
}

bool TDokDriver::CaricaParamInd() const
{
    QSqlQuery q = TDokSql::Esegui(Contesto.Db, kSqlParamInd);
    return q.next() && q.value(0).toInt() == 1;
}

void TDokDriver::SalvaParamInd(bool Attivo)
{
    if (!TDokSql::Esegui(Contesto.Db, kSqlParamIndRiga).next())
        TDokSql::Esegui(Contesto.Db, kSqlParamIndNuovo);
    TDokSql::Esegui(Contesto.Db, kSqlParamIndModifica, {{QStringLiteral(":IPRMVAL"), Attivo ? 1 : 0}});
}

QString TDokDriver::TestoVersione()
{
    const QVersionNumber v = QVersionNumber::fromString(QStringLiteral(SIDILINK_VERSION));
    if (v.isNull())
        return QString();
    return QStringLiteral("Versione: %1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
}

QString TDokDriver::Esporta(const Richiesta &R)
{
    TQxInteraction &io = Contesto.Interazione;
    QString tipi;
    if (R.Frequentanti)
        tipi = QStringLiteral("1");
    if (R.Ritirati)
        tipi += tipi.isEmpty() ? QStringLiteral("2") : QStringLiteral(",2");
    if (R.Trasferiti)
        tipi += tipi.isEmpty() ? QStringLiteral("3") : QStringLiteral(",3");
    Contesto.TipiAlunni = tipi;

    if (R.Tipo < 0) {
        io.ShowInformation(QStringLiteral("Non è stato selezionato il tipo di esportazione da\r\neseguire: "
                                          "nessuna operazione da eseguire."));
        return QString();
    }
    if (R.VoceSede.isEmpty()) {
        io.ShowInformation(QStringLiteral("Non è stata selezionata una sede: nessuna operazione da eseguire."));
        return QString();
    }
    if (tipi.isEmpty()) {
        io.ShowInformation(QStringLiteral(
            "Non è stato selezionato alcun tipo di alunni da esportare: nessuna operazione da eseguire."));
        return QString();
    }
    Contesto.TipoExport = R.Tipo;
    Contesto.AnnoScolastico = R.AnnoScolastico;
    Contesto.IdAnno = R.IdAnno;
    Contesto.UsaIdSidiInd = CaricaParamInd();

    if (R.Tipo != 0)
        throw std::runtime_error(
            "Questo tipo di esportazione non è ancora disponibile in questa versione del programma.");
    if (!TDokControlli::ControllaFaseA(Contesto, R.VoceSede.left(10))) {
        io.ShowWarning(kFaseA);
        return QString();
    }
    return EsportaSede(R.VoceSede, R.ForzaCodice);
}

QString TDokDriver::EsportaSede(const QString &VoceSede, bool ForzaCodice)
{
    TQxInteraction &io = Contesto.Interazione;
    const QString CodMecc = VoceSede.left(10);
    const int IdSede = TDokUtil::GetIdSede(Contesto.Db, io, CodMecc);
    if (IdSede == 0) {
        io.ShowError(QStringLiteral("IMPOSSIBILE ESEGUIRE L'ESPORTAZIONE DATI PER LA SEDE AVENTE\r\n"
                                    "CODICE MECCANOGRAFICO ")
                     + CodMecc + QStringLiteral(". CONTATTARE NORVATEK."));
        return QString();
    }
    if (IdSede < 0)
        return QString();

    QString CodPrenotazione;
    {
        CursoreOccupato cursore(Occupato);
        TDokControlli::ControllaSezioni(Contesto, CodMecc);
        Contesto.ImpostaStato(QStringLiteral("RICHIESTA CODICE PRENOTAZIONE"));
        Prenota.RichiediCodicePrenotazione(CodMecc, QStringLiteral("3"), ForzaCodice, Contesto.AnnoScolastico,
                                           CodPrenotazione);
    }
    if (CodPrenotazione.isEmpty()) {
        io.ShowError(QStringLiteral("IMPOSSIBILE ACQUISIRE IL CODICE PRENOTAZIONE DA SIDI. PER LA SEDE AVENTE\r\n"
                                    "CODICE MECCANOGRAFICO ")
                     + CodMecc + QStringLiteral("."));
        return QString();
    }
    if (!TDokControlli::ConfermaTipoScuola(Contesto, VoceSede)) {
        io.ShowError(kTerminataDallUtente);
        return QString();
    }
    return EseguiEsportazione(IdSede, CodMecc, CodPrenotazione);
}

QString TDokDriver::EseguiEsportazione(int IdSede, const QString &CodMecc, const QString &CodPrenotazione)
{
    TQxInteraction &io = Contesto.Interazione;
    const QString AnnoScolastico = Contesto.AnnoScolastico;
    const QString AnnoInizio = Contesto.AnnoInizio();
    Anagrafe.SvuotaStore(); // also empties ElencoFile
    Rilevazioni.SvuotaStore();

    // Whatever ends the run before the archive, no working file stays behind.
    try {
        {
            CursoreOccupato cursore(Occupato);
            TDokFlussiAvvio::EseguiAvvio(Contesto, IdSede, CodMecc, AnnoScolastico, CodPrenotazione);
        }
        if (!TDokUtil::SenzaErrori(Anagrafe) && !ConvalidaScarti()) {
            Contesto.ImpostaStato(QStringLiteral("ESPORTAZIONE ANNULLATA"));
            io.ShowWarning(QStringLiteral("Esportazione annullata."));
            return QString();
        }
        Contesto.ImpostaStato(QStringLiteral("CREAZIONE FILE IN CORSO"));
        if (!QDir().mkpath(CartellaFlussi))
            throw std::runtime_error(
                QStringLiteral("Impossibile creare la cartella di lavoro %1").arg(CartellaFlussi).toStdString());
        QString Timbro;
        try {
            Anagrafe.SalvaFlussiAvvio(Timbro, QDir(CartellaFlussi).absolutePath() + QLatin1Char('/'), CodMecc,
                                      CodPrenotazione, TDokUtil::FormattaIdScuola(IdSede), AnnoInizio,
                                      QStringLiteral("00NF"), QStringLiteral("NORV"), QStringLiteral("20160930"), 0,
                                      Adesso());
        } catch (const TDokNessunAlunnoValido &e) {
            // No pupil to send ends the run as a rule, not as a fault.
            io.ShowError(QString::fromUtf8(e.what()));
            return QString();
        }
        {
            CursoreOccupato cursore(Occupato);
            MostraRiepilogo(CodMecc);
        }
        const QString archivio =
            TDokArchivio::CreaArchivio(io, Contesto.TipoExport, Anagrafe.ElencoFile, CodMecc, Timbro);
        Contesto.ImpostaStato(QStringLiteral("ESPORTAZIONE CONCLUSA"));
        return archivio;
    } catch (...) {
        TDokArchivio::CancellaFileTemporanei(Anagrafe.ElencoFile);
        throw;
    }
}

bool TDokDriver::ConvalidaScarti()
{
    TQxInteraction &io = Contesto.Interazione;
    io.ShowError(QStringLiteral("Esportazione non conclusa correttamente: \r\r\n Alcuni campi obbligatori non "
                                "sono completi\r\n o è presente qualche relazione di dipendenza non valida. "));
    TDokLogScarti log;
    log.Intestazione = Intestazione;
    log.ImpostaCurriculum(&Anagrafe.cdsCurriculum, &Anagrafe.cdsAlunni);
    const auto avanzamento = [this](const QString &testo) {
        if (Contesto.MostraStato)
            Contesto.MostraStato(testo, TDokContesto::kTestoTransitorio);
    };
    log.AggiungiErroriFlusso(Anagrafe.cdsScuola, QStringLiteral("FLUSSO: 004TB_USR_USER"), {}, avanzamento);
    log.AggiungiErroriFlusso(Anagrafe.cdsAlunni, QStringLiteral("FLUSSO: 008TB_ALU_ALUNNI"),
                             {QStringLiteral("IDAlunno"), QStringLiteral("Cognome"), QStringLiteral("Nome"),
                              QStringLiteral("DataNascita"), QStringLiteral("CodFiscAlunno")},
                             avanzamento);
    log.AggiungiErroriFlusso(Anagrafe.cdsCurriculum, QStringLiteral("FLUSSO: 009TB_ALU_SIT"),
                             {QStringLiteral("IDAlunno")}, avanzamento);
    return io.Ask(QString::fromLatin1(TDokDomande::kDatiNonImportati),
                  {{QStringLiteral("Righe"), log.ListaLog}})
        .toBool();
}

void TDokDriver::MostraRiepilogo(const QString &CodMecc)
{
    const TDokFrequenze frequenze =
        TDokFrequenze::Conta(Contesto.Db, Contesto.AnnoScolastico, CodMecc, Anagrafe.cdsCurriculum);
    Contesto.Interazione.Ask(QString::fromLatin1(TDokDomande::kRiepilogoFrequenze),
                             frequenze.Dettagli(Contesto.AnnoScolastico, CodMecc));
}
