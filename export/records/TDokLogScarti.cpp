#include "TDokLogScarti.h"

#include "TDokUtil.h"

#include <QDir>

namespace {

const QString kE = QStringLiteral("E");
const QString kCampoScartato = QStringLiteral("CampoScartato");
const QString kIDAlunno = QStringLiteral("IDAlunno");
const QString kSeparatoreChiavi = QStringLiteral(" - ");

// Where the pupil's identification starts: on a line of its own, indented.
QString inizioIdentificazione()
{
    return QStringLiteral("\r\n") + QString(8, QLatin1Char(' '));
}

} // namespace

void TDokLogScarti::AggiungiErroriFlusso(dataset::Table &DataSet, const QString &Titolo, const QStringList &KeyFields,
                                         const std::function<void(const QString &)> &ProgressLabel)
{
    if (m_cdsErr && m_cdsErr->recordCount() > 0)
        AggiungiPerAlunno(Titolo);
    else
        AggiungiPerRecord(DataSet, Titolo, KeyFields, ProgressLabel);
}

void TDokLogScarti::AggiungiPerAlunno(const QString &Titolo)
{
    dataset::Table &err = *m_cdsErr;
    err.sortBy({QStringLiteral("Order"), QStringLiteral("Errore")});
    ListaLog.clear();
    ListaLog.append(Titolo);
    // Situation ids start at 1, so 0 never matches the first pupil.
    int ultimoAlunno = 0;
    for (err.first(); !err.eof(); err.next()) {
        const int alunno = err.asInteger(QStringLiteral("iSitId"));
        if (alunno != ultimoAlunno) {
            ListaLog.append(QString());
            ListaLog.append(err.asString(QStringLiteral("Alunno")));
            ultimoAlunno = alunno;
        }
        ListaLog.append(err.asString(QStringLiteral("Errore")));
    }
}

void TDokLogScarti::AggiungiPerRecord(dataset::Table &DataSet, const QString &Titolo, const QStringList &KeyFields,
                                      const std::function<void(const QString &)> &ProgressLabel)
{
    const int e = DataSet.fieldIndex(kE);
    DataSet.setFilter([e](const dataset::Record &r) { return r.asInteger(e) > 0; });
    try {
        if (DataSet.recordCount() > 0) {
            const bool curriculum = &DataSet == m_cdsCurriculum && m_cdsAlunni;
            ListaLog.append(Intestazione);
            ListaLog.append(QString());
            ListaLog.append(Titolo);
            for (DataSet.first(); !DataSet.eof(); DataSet.next()) {
                QString identificazione = inizioIdentificazione();
                for (const QString &chiave : KeyFields) {
                    if (curriculum && chiave == kIDAlunno) {
                        const QString id = DataSet.asString(kIDAlunno);
                        identificazione += QStringLiteral("Alunno: ")
                                           + CercaValore(*m_cdsAlunni, kIDAlunno, id, QStringLiteral("Cognome"))
                                           + QLatin1Char(' ')
                                           + CercaValore(*m_cdsAlunni, kIDAlunno, id, QStringLiteral("Nome"));
                    } else {
                        identificazione += chiave + QStringLiteral(": ") + DataSet.asString(chiave) + kSeparatoreChiavi;
                    }
                }
                if (identificazione.endsWith(kSeparatoreChiavi))
                    identificazione.chop(kSeparatoreChiavi.size());
                if (identificazione != inizioIdentificazione())
                    identificazione += QStringLiteral("\r\n");
                const QString motivo = DataSet.asInteger(e) == 1 ? QStringLiteral("  - Campo obbligatorio mancante: ")
                                                                 : QStringLiteral("  - Relazioni dipendenza errate: ");
                ListaLog.append(motivo + DataSet.asString(kCampoScartato) + identificazione);
                if (ProgressLabel)
                    ProgressLabel(QStringLiteral("CONTROLLO ") + Titolo + QStringLiteral(" - Record ")
                                  + QString::number(DataSet.recNo()));
            }
            ListaLog.append(QString(kLunghezzaSeparatore, QLatin1Char('-')));
        }
    } catch (...) {
        DataSet.clearFilter();
        throw;
    }
    DataSet.clearFilter();
}

QString TDokLogScarti::CercaValore(dataset::Table &DataSet, const QString &KeyField, const QString &KeyValue,
                                   const QString &ResultField)
{
    DataSet.clearFilter();
    const int prima = DataSet.recNo();
    const int indice = DataSet.addIndex({KeyField});
    QString risultato;
    // The index compares typed values; a number column also matches " 12" for
    // "12", so the text is checked as well.
    if (DataSet.findKey(indice, {KeyValue}) && DataSet.asString(KeyField) == KeyValue)
        risultato = DataSet.asString(ResultField);
    if (prima > 0)
        DataSet.setRecNo(prima);
    return risultato;
}

void TDokLogScarti::SalvaLog(const QString &Cartella) const
{
    TDokUtil::ScriviRighe(QDir(Cartella).filePath(NomeFile()), ListaLog);
}
