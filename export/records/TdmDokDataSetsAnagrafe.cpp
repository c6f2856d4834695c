#include "TdmDokDataSetsAnagrafe.h"

#include "TDokUtil.h"

#include <stdexcept>

// Column widths are those of SIDI's record layouts; a longer value is cut when
// stored, so the files never carry more than SIDI accepts.
TdmDokDataSetsAnagrafe::TdmDokDataSetsAnagrafe()
    : cdsAnnoScolastico(AggiungiTabella(QStringLiteral("cdsAnnoScolastico"), {
        {"Fine", 10},
        {"Inizio", 10},
        {"AnnoScolastico", 4},
        {"OrdineScuola", 7},
    }))
    , cdsScuola(AggiungiTabella(QStringLiteral("cdsScuola"), {
        {"CodCap", 5},
        {"CodFiscaleScuola", 16},
        {"CodMeccForte", 16},
        {"CodMeccDebole", 16},
        {"CodComune", 21},
        {"Email1", 50},
        {"Email2", 50},
        {"RiservatoGestore1", 4},
        {"RiservatoGestore2", 4},
        {"RiservatoGestore3", 4},
        {"RiservatoGestore4", 4},
        {"RiservatoGestore5", 20},
        {"RiservatoGestore6", 20},
        {"IDScuola", 21},
        {"IndirizzoScuola", 50},
        {"NomeScuola", 80},
        {"CodScuolaUtente", 2},
        {"FlagPersonaGiuridica", 1},
        {"SiglaScuola", 16},
        {"IndirizzoInternet", 50},
        {"Telefono1", 20},
        {"Telefono2", 20},
        {"TipoScuola", 80},
        {"DecretoMinisteriale", 50},
        {"Tipo", 4},
        {"FlagIstitutoDichiarante", 1},
    }))
    , cdsMaterie(AggiungiTabella(QStringLiteral("cdsMaterie"), {
        {"IDMateria", 13},
    }))
    , cdsAlunni(AggiungiTabella(QStringLiteral("cdsAlunni"), {
        {"DataAggSogei", 10},
        {"DataNascita", 10},
        {"CodAlunnoMinisteriale", kRecordInteger},
        {"FlagCodFiscFittizio", kRecordInteger},
        {"RiservatoGestore1", kRecordInteger},
        {"Flags2f", kRecordInteger},
        {"AnniFrequenzaScuolaMaterna", kRecordInteger},
        {"RiservatoGestore2", 512},
        {"RiservatoGestore3", 512},
        {"RiservatoGestore4", 10},
        {"CodCap", 5},
        {"CodFiscAlunno", 16},
        {"CodCittadinanza1", 9},
        {"CodCittadinanza2", 9},
        {"CodComuneNascita", 21},
        {"Cognome", 30},
        {"CodComuneResidenza", 21},
        {"Distretto", 4},
        {"RiservatoGestore5", 50},
        {"FlagStraniero", 1},
        {"Frazione", 9},
        {"CodGruppoNomade", 4},
        {"RiservatoGestore6", 2},
        {"IDAlunno", 21},
        {"Indirizzo", 50},
        {"RiservatoGestore7", 512},
        {"Matricola", 16},
        {"RiservatoGestore8", 50},
        {"RiservatoGestore9", 1},
        {"Nome", 30},
        {"RiservatoGestore10", 1},
        {"IDScuola", 21},
        {"Sesso", 1},
        {"IndFrequenzaScuolaMaterna", 1},
        {"StatoCivile", 1},
        {"StatoNascita", 9},
        {"CodStatoSogei", 2},
        {"RiservatoGestore11", 20},
        {"RiservatoGestore12", 20},
        {"RiservatoGestore13", 20},
        {"LuogoNascitaStaEstero", 100},
    }))
    , cdsEsiti(AggiungiTabella(QStringLiteral("cdsEsiti"), {
        {"IDEsito", 9},
    }))
    , cdsObbligoFormativo(AggiungiTabella(QStringLiteral("cdsObbligoFormativo"), {
        {"IDObbligoFormativo", 7},
    }))
    , cdsCurriculum(AggiungiTabella(QStringLiteral("cdsCurriculum"), {
        {"DataIscrizione", 10},
        {"DataTrasferimento", 10},
        {"CreditoScolastico", kRecordInteger},
        {"AnnoCorso", kRecordInteger},
        {"RiservatoGestore1", kRecordInteger},
        {"OreSettimanali", kRecordInteger},
        {"PosRegistro", kRecordInteger},
        {"RiservatoGestore3", kRecordInteger},
        {"RiservatoGestore4", kRecordInteger},
        {"NumeroIscrizioni", kRecordInteger},
        {"IDAlunno", 21},
        {"AnnoScolastico", 4},
        {"RiservatoGestore5", 8},
        {"RiservatoGestore6", 8},
        {"RiservatoGestore7", 8},
        {"RiservatoGestore8", 8},
        {"RiservatoGestore9", 8},
        {"RiservatoGestore10", 8},
        {"RiservatoGestore11", 8},
        {"RiservatoGestore12", 8},
        {"RiservatoGestore13", 4},
        {"ValoreCreditoFormativo", 512},
        {"IDCorso", 9},
        {"IDEsitoFinale", 9},
        {"IDMateriaEsonerata1", 13},
        {"IDMateriaEsonerata2", 13},
        {"IDMateriaEsonerata3", 13},
        {"RiservatoGestore14", 9},
        {"RiservatoGestore15", 9},
        {"FlagSitScolasticaAttiva", 1},
        {"FlagAnticipoEsame", 1},
        {"RiservatoGestore16", 1},
        {"FlagDopoMensa", 1},
        {"FlagEsamePrivatista", 1},
        {"RiservatoGestore17", 1},
        {"FlagMensa", 1},
        {"FlagPrivatista", 1},
        {"FlagTrasferito", 1},
        {"CodGiudizioFinale", 4},
        {"DescGiudizioBreve", 1024},
        {"RiservatoGestore19", 4},
        {"IDMateriaAlternativa1", 13},
        {"IDMateriaAlternativa2", 13},
        {"IDMateriaAlternativa3", 13},
        {"CodMezzoTrasporto1", 4},
        {"CodMezzoTrasporto2", 4},
        {"GiudizzioNonAmmissione", 1024},
        {"DescNote", 512},
        {"IDObbligoFormativo", 7},
        {"IDOrarioSettimanale", 4},
        {"PostScuola", kRecordInteger},
        {"PreScuola", 1},
        {"SitProg", 4},
        {"RiservatoGestore21", 16},
        {"IDPianoStudio1", 21},
        {"IDPianoStudio2", 21},
        {"IDScuola", 21},
        {"RiservatoGestore22", 16},
        {"Sezione", 4},
        {"RiservatoGestore23", 9},
        {"RiservatoGestore24", 6},
        {"RiservatoGestore25", 6},
        {"RiservatoGestore26", 6},
        {"ValutaAnnoScol", kRecordInteger},
        {"DataInizioFrequenza", 10},
        {"PrimaFrazTemporale", 4},
        {"RientroPome", 1},
        {"IDSede", 9},
        {"EsameIdoneita", 1},
    }))
    , cdsScuInf(AggiungiTabella(QStringLiteral("cdsScuInf"), {
        {"CodMeccDebole", 16},
        {"CodComune", 21},
        {"IdScuola", 21},
    }))
    , cdsSediInf(AggiungiTabella(QStringLiteral("cdsSediInf"), {
        {"Cap", 5},
        {"CodComune", 21},
        {"DenominazioneSede", 50},
        {"Fax", 20},
        {"IDSede", 9},
        {"IndirizzoSede", 50},
        {"IDScuola", 21},
        {"Telefono", 20},
        {"DataInizioVal", 10},
        {"DataFineVal", 10},
    }))
    , cdsSezInf(AggiungiTabella(QStringLiteral("cdsSezInf"), {
        {"AnnoScolastico", 4},
        {"IDScuola", 21},
        {"IDSede", 9},
        {"DenominazioneSezione", 25},
        {"IdTempoFunzionamento", 9},
        {"FlgSezPrimavera", kRecordInteger},
        {"FlgFinanziato", kRecordInteger},
        {"NrGiorniSett", kRecordInteger},
    }))
    , cdsAluInf(AggiungiTabella(QStringLiteral("cdsAluInf"), {
        {"DataNascita", 10},
        {"CodAlunnoMinisteriale", kRecordInteger},
        {"FlagCodFiscFittizio", kRecordInteger},
        {"AnniFrequenzaScuolaMaterna", kRecordInteger},
        {"CodCap", 5},
        {"CodFiscAlunno", 16},
        {"CodCittadinanza1", 9},
        {"CodCittadinanza2", 9},
        {"CodComuneNascita", 21},
        {"Cognome", 30},
        {"CodComuneResidenza", 21},
        {"IDAlunno", 21},
        {"Indirizzo", 50},
        {"Matricola", 16},
        {"Nome", 30},
        {"IDScuola", 21},
        {"Sesso", 1},
        {"StatoNascita", 9},
        {"LuogoNascitaStaEstero", 100},
    }))
    , cdsCurrInf(AggiungiTabella(QStringLiteral("cdsCurrInf"), {
        {"DataTrasferimento", 10},
        {"OreSettimanali", kRecordInteger},
        {"IDAlunno", 21},
        {"AnnoScolastico", 4},
        {"SitProg", 4},
        {"IDScuola", 21},
        {"DataInizioFrequenza", 10},
        {"IDSede", 9},
        {"DenominazioneSezione", 25},
        {"FlagTrasferito", 1},
    }))
{
}

void TdmDokDataSetsAnagrafe::SvuotaStore()
{
    TDokRecordStore::SvuotaStore();
    ElencoFile.clear();
}

namespace {

QString partiNome(const QString &CodMecc, const QString &CodPrenotazione, const QString &IdScuola4,
                  const QString &AnnoInizio, const QString &CodiceFlusso, const QString &Produttore,
                  const QString &DataTracciato)
{
    return CodMecc + CodPrenotazione + IdScuola4 + AnnoInizio + CodiceFlusso + Produttore + DataTracciato;
}

bool haAlunniValidi(const dataset::Table &t)
{
    const int e = t.fieldIndex(QStringLiteral("E"));
    for (int n = 1; n <= t.recordCount(); ++n) {
        const QVariant v = t.recordAt(n).value(e);
        if (!v.isValid() || v.toInt() == 0)
            return true;
    }
    return false;
}

} // namespace

void TdmDokDataSetsAnagrafe::SalvaFlussi(dataset::Table &Alunni, int TipoConDescrittore, const QList<Flusso> &flussi,
                                         QString &Timbro, const QString &Cartella, const QString &Parti, int Tipo,
                                         const QDateTime &Adesso)
{
    if (!haAlunniValidi(Alunni))
        throw TDokNessunAlunnoValido();
    Timbro = Adesso.toString(QStringLiteral("yyyyMMddHHmm"));
    const QString nomi = Parti + Timbro;
    // Each file is listed as soon as it exists: when a later one fails, the run
    // still deletes those already written.
    if (Tipo == TipoConDescrittore) {
        const QString descrittore = Cartella + QStringLiteral("##") + nomi + QStringLiteral(".DAT");
        TDokUtil::ScriviFile(descrittore, QByteArray());
        ElencoFile.append(descrittore);
    }
    for (const Flusso &f : flussi) {
        const QString nome = Cartella + nomi + QLatin1String(f.Tipo) + QStringLiteral(".TXT");
        TDokUtil::SalvaDataSetSuFile(*f.Tabella, nome);
        ElencoFile.append(nome);
    }
}

void TdmDokDataSetsAnagrafe::SalvaFlussiAvvio(QString &Timbro, const QString &Cartella, const QString &CodMecc,
                                              const QString &CodPrenotazione, const QString &IdScuola4,
                                              const QString &AnnoInizio, const QString &CodiceFlusso,
                                              const QString &Produttore, const QString &DataTracciato, int Tipo,
                                              const QDateTime &Adesso)
{
    SalvaFlussi(cdsAlunni, 0,
                {{&cdsScuola, "001TB_USR_USER"}, {&cdsAlunni, "002TB_ALU_ALUNNI"}, {&cdsCurriculum, "003TB_ALU_SIT"}},
                Timbro, Cartella,
                partiNome(CodMecc, CodPrenotazione, IdScuola4, AnnoInizio, CodiceFlusso, Produttore, DataTracciato),
                Tipo, Adesso);
}

void TdmDokDataSetsAnagrafe::SalvaFlussiInfanzia(QString &Timbro, const QString &Cartella, const QString &CodMecc,
                                                 const QString &CodPrenotazione, const QString &IdScuola4,
                                                 const QString &AnnoInizio, const QString &CodiceFlusso,
                                                 const QString &Produttore, const QString &DataTracciato, int Tipo,
                                                 const QDateTime &Adesso)
{
    SalvaFlussi(cdsAluInf, 1,
                {{&cdsAnnoScolastico, "001TB_USR_AS"},
                 {&cdsScuInf, "004TB_USR_USER"},
                 {&cdsSediInf, "005TB_USR_SEDI"},
                 {&cdsSezInf, "006TB_ALU_SEZ_ANAG"},
                 {&cdsAluInf, "007TB_ALU_ALUNNI"},
                 {&cdsCurrInf, "008TB_ALU_SIT"}},
                Timbro, Cartella,
                partiNome(CodMecc, CodPrenotazione, IdScuola4, AnnoInizio, CodiceFlusso, Produttore, DataTracciato),
                Tipo, Adesso);
}
