#pragma once

#include "TDokRecordStore.h"

#include <QDateTime>
#include <QStringList>

#include <stdexcept>

// What the writers throw when no pupil was accepted: the run ends without files.
class TDokNessunAlunnoValido : public std::runtime_error
{
public:
    TDokNessunAlunnoValido() : std::runtime_error("Impossibile salvare i dati! Non risultano presenti alunni validi") {}
};

// The record store of the start-of-year and infanzia exports, with the list of
// files the writers create for the archive step.
class TdmDokDataSetsAnagrafe : public TDokRecordStore
{
public:
    TdmDokDataSetsAnagrafe();

    dataset::Table &cdsAnnoScolastico;   // 001TB_USR_AS
    dataset::Table &cdsScuola;           // 001TB_USR_USER
    dataset::Table &cdsMaterie;          // lookup only
    dataset::Table &cdsAlunni;           // 002TB_ALU_ALUNNI
    dataset::Table &cdsEsiti;            // lookup only
    dataset::Table &cdsObbligoFormativo; // lookup only
    dataset::Table &cdsCurriculum;       // 003TB_ALU_SIT
    dataset::Table &cdsScuInf;           // 004TB_USR_USER
    dataset::Table &cdsSediInf;          // 005TB_USR_SEDI
    dataset::Table &cdsSezInf;           // 006TB_ALU_SEZ_ANAG
    dataset::Table &cdsAluInf;           // 007TB_ALU_ALUNNI
    dataset::Table &cdsCurrInf;          // 008TB_ALU_SIT

    // Full paths of the files written by this run, in creation order; the archive
    // step packs and deletes exactly these.
    QStringList ElencoFile;

    // Empties the tables and the file list.
    void SvuotaStore() override;

    // Writes the record files of a start-of-year export (Tipo 0: with the empty
    // descriptor file) into Cartella (which ends with a separator) and lists them
    // in ElencoFile. Timbro receives the time stamp of the names, taken from
    // Adesso. Throws when no pupil was accepted, before writing anything.
    void SalvaFlussiAvvio(QString &Timbro, const QString &Cartella, const QString &CodMecc,
                          const QString &CodPrenotazione, const QString &IdScuola4, const QString &AnnoInizio,
                          const QString &CodiceFlusso, const QString &Produttore, const QString &DataTracciato,
                          int Tipo, const QDateTime &Adesso = QDateTime::currentDateTime());
    // The same for the infanzia export (descriptor file with Tipo 1).
    void SalvaFlussiInfanzia(QString &Timbro, const QString &Cartella, const QString &CodMecc,
                             const QString &CodPrenotazione, const QString &IdScuola4, const QString &AnnoInizio,
                             const QString &CodiceFlusso, const QString &Produttore, const QString &DataTracciato,
                             int Tipo, const QDateTime &Adesso = QDateTime::currentDateTime());

private:
    struct Flusso
    {
        dataset::Table *Tabella;
        const char *Tipo;
    };
    void SalvaFlussi(dataset::Table &Alunni, int TipoConDescrittore, const QList<Flusso> &flussi, QString &Timbro,
                     const QString &Cartella, const QString &Parti, int Tipo, const QDateTime &Adesso);
};
