#pragma once

#include "Table.h"

#include <QString>
#include <QStringList>

#include <functional>

// The validation log of one export run: the rejected records of every flow, as
// the operator reads them before deciding to continue or cancel, and as they are
// saved to "TevoExport.Log".
class TDokLogScarti
{
public:
    // The entries; an entry may hold CR LF pairs and then shows as several lines.
    QStringList ListaLog;
    // The program's version text, put before each flow's block of record mode.
    QString Intestazione;

    // Year-end exports collect their messages per pupil in this table (columns
    // Order, iSitId, Alunno, Errore, E). While it holds rows, every block is
    // built from it instead of from the flow's records. Not owned; nullptr for none.
    void ImpostaErrori(dataset::Table *cdsErr) { m_cdsErr = cdsErr; }
    // The start-of-year curriculum table and the pupils table: rejected
    // curriculum rows name the pupil instead of showing the bare IDAlunno.
    // Not owned; nullptr for none.
    void ImpostaCurriculum(dataset::Table *cdsCurriculum, dataset::Table *cdsAlunni)
    {
        m_cdsCurriculum = cdsCurriculum;
        m_cdsAlunni = cdsAlunni;
    }

    // Appends the block of one flow: its rejected records (E > 0) identified by
    // KeyFields, or the pupils' messages of the year-end error table (which
    // replace the whole list). ProgressLabel (may be empty) receives a status
    // text per record; a window shows it there and lets itself repaint.
    // DataSet is left without filter, also when ProgressLabel throws.
    void AggiungiErroriFlusso(dataset::Table &DataSet, const QString &Titolo, const QStringList &KeyFields,
                              const std::function<void(const QString &)> &ProgressLabel);

    // ResultField of the first record whose KeyField has the text KeyValue (exact
    // case), or "" when there is none. A hash lookup: the table keeps the index.
    // DataSet is left without filter, on the record it was on.
    static QString CercaValore(dataset::Table &DataSet, const QString &KeyField, const QString &KeyValue,
                               const QString &ResultField);

    // Writes ListaLog to Cartella/TevoExport.Log (each entry followed by CR LF,
    // Windows-1252), replacing an existing file; the file appears whole or not at
    // all. Throws std::runtime_error with the system's error text on failure.
    void SalvaLog(const QString &Cartella) const;

    static constexpr int kLunghezzaSeparatore = 182;
    static QString NomeFile() { return QStringLiteral("TevoExport.Log"); }

private:
    void AggiungiPerAlunno(const QString &Titolo);
    void AggiungiPerRecord(dataset::Table &DataSet, const QString &Titolo, const QStringList &KeyFields,
                           const std::function<void(const QString &)> &ProgressLabel);

    dataset::Table *m_cdsErr = nullptr;
    dataset::Table *m_cdsCurriculum = nullptr;
    dataset::Table *m_cdsAlunni = nullptr;
};
