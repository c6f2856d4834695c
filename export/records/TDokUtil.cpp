#include "TDokUtil.h"

#include "TDokRecordStore.h"
#include "TQxInteraction.h"

#include <QDir>

#include <QDate>
#include <QSaveFile>

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace {

const QString kE = QStringLiteral("E");
const QString kCampoScartato = QStringLiteral("CampoScartato");

QString senzaSpaziFinali(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) <= QLatin1Char(' '))
        --n;
    return s.left(n);
}

// Length of the UTF-8 sequence that starts with byte b (1 for a stray byte).
int lunghezzaUtf8(unsigned char b)
{
    if (b >= 0xF0)
        return 4;
    if (b >= 0xE0)
        return 3;
    if (b >= 0xC0)
        return 2;
    return 1;
}

} // namespace

QString TDokUtil::IdSidi(const QString &Valore, const QString &CodPrenotazione)
{
    return Valore.isEmpty() ? QString() : CodPrenotazione + Valore;
}

QString TDokUtil::DataIso(const QString &Testo)
{
    if (Testo.isEmpty())
        return QString();
    const QString t = Testo.trimmed();
    QDate d = QDate::fromString(t, QStringLiteral("d/M/yyyy"));
    if (!d.isValid())
        d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        throw std::runtime_error(QStringLiteral("'%1' non è una data valida").arg(Testo).toStdString());
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

QString TDokUtil::Base36(const QString &Testo)
{
    bool ok = false;
    int n = Testo.trimmed().toInt(&ok);
    if (!ok || n <= 0)
        return QString();
    static const char kCifre[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QString r;
    while (n > 0) {
        r.prepend(QLatin1Char(kCifre[n % 36]));
        n /= 36;
    }
    return r;
}

void TDokUtil::SegnalaErrore(dataset::Table &Tabella, int CodiceErrore, const QString &Campo)
{
    if (Campo.isEmpty())
        return;
    const QString prima = Tabella.asString(kCampoScartato);
    Tabella.edit();
    Tabella.setValue(kE, CodiceErrore);
    Tabella.setValue(kCampoScartato, prima.isEmpty() ? Campo : prima + QLatin1Char(',') + Campo);
    Tabella.post();
}

bool TDokUtil::ControllaObbligatori(dataset::Table &Tabella, const QStringList &Campi, const QString &Vuoto)
{
    bool risultato = true;
    // By record number: marking a record must not move the walk.
    for (int n = 1; n <= Tabella.recordCount(); ++n) {
        Tabella.setRecNo(n);
        for (const QString &campo : Campi) {
            const QString testo = Tabella.asString(campo);
            if (Tabella.isNull(campo) || testo.isEmpty() || testo == Vuoto) {
                risultato = false;
                SegnalaErrore(Tabella, 1, campo);
            }
        }
    }
    return risultato;
}

bool TDokUtil::SenzaErrori(TDokRecordStore &Store)
{
    for (dataset::Table *t : Store.Tabelle()) {
        const int e = t->fieldIndex(kE);
        for (int n = 1; n <= t->recordCount(); ++n) {
            const QVariant v = t->recordAt(n).value(e);
            if (v.isValid() && (v.toInt() == 1 || v.toInt() == 2))
                return false;
        }
    }
    return true;
}

QString TDokUtil::VerificaRiferimento(dataset::Table &Tabella, const QString &Chiave, const QString &Valore,
                                      QString &RiferimentiMancanti)
{
    if (Valore.isEmpty())
        return Valore;
    // The index is built once and then kept current by the table itself.
    const int indice = Tabella.addIndex({Chiave, kE});
    if (!Tabella.hasKey(indice, {senzaSpaziFinali(Valore), 0})) {
        RiferimentiMancanti += (RiferimentiMancanti.isEmpty() ? QStringLiteral(" ") : QStringLiteral("; "))
                               + Chiave + QStringLiteral(" -  valore: ") + Valore;
    }
    return Valore;
}

void TDokUtil::SegnalaRiferimentiMancanti(dataset::Table &Tabella, const QString &RiferimentiMancanti)
{
    if (!RiferimentiMancanti.isEmpty())
        SegnalaErrore(Tabella, 2, RiferimentiMancanti);
}

QByteArray TDokUtil::Windows1252(const QString &Testo)
{
    const QByteArray in = Testo.toUtf8(); // lone surrogates become U+FFFD, hence "?"
    iconv_t cd = iconv_open("WINDOWS-1252", "UTF-8");
    if (cd == iconv_t(-1))
        throw std::runtime_error("Conversione in Windows-1252 non disponibile");
    QByteArray out;
    out.reserve(in.size());
    char buffer[4096];
    char *src = const_cast<char *>(in.constData());
    size_t restano = size_t(in.size());
    while (restano > 0) {
        char *dst = buffer;
        size_t spazio = sizeof buffer;
        const size_t r = iconv(cd, &src, &restano, &dst, &spazio);
        out.append(buffer, dst - buffer);
        if (r == size_t(-1)) {
            if (errno == E2BIG)
                continue;
            // A character the code page lacks (or a broken sequence): one "?" for it.
            const size_t salto = std::min<size_t>(lunghezzaUtf8(static_cast<unsigned char>(*src)), restano);
            out.append('?');
            src += salto;
            restano -= salto;
        }
    }
    iconv_close(cd);
    return out;
}

void TDokUtil::SalvaDataSetSuFile(dataset::Table &Tabella, const QString &NomeFile)
{
    if (Tabella.state() != dataset::Table::State::Browse)
        Tabella.post(); // a record still being edited belongs in the file too
    const int e = Tabella.fieldIndex(kE);
    const int scartato = Tabella.fieldIndex(kCampoScartato);
    QString testo;
    for (int n = 1; n <= Tabella.recordCount(); ++n) {
        const dataset::Record r = Tabella.recordAt(n);
        const QVariant ve = r.value(e);
        if (!ve.isValid() || ve.toInt() != 0)
            continue;
        for (int c = 0; c < Tabella.fieldCount(); ++c) {
            if (c == e || c == scartato)
                continue;
            testo += r.asString(c);
            testo += QLatin1Char('|');
        }
        testo += QLatin1String("\r\n");
    }
    ScriviFile(NomeFile, Windows1252(testo));
}

void TDokUtil::ScriviFile(const QString &NomeFile, const QByteArray &Dati)
{
    // Written beside the target and renamed into place: a failure leaves no
    // half-written record file for the archive step to pack.
    QSaveFile f(NomeFile);
    if (!f.open(QIODevice::WriteOnly) || f.write(Dati) != Dati.size() || !f.commit())
        throw std::runtime_error(
            QStringLiteral("Impossibile scrivere il file %1: %2").arg(NomeFile, f.errorString()).toStdString());
}

void TDokUtil::ScriviRighe(const QString &NomeFile, const QStringList &Righe)
{
    QString testo;
    for (const QString &riga : Righe) {
        testo += riga;
        testo += QLatin1String("\r\n");
    }
    ScriviFile(NomeFile, Windows1252(testo));
}

void TDokUtil::SalvaLogInCartella(TQxInteraction &Interazione, const QString &NomeFile, const QStringList &Righe,
                                  const QString &Avviso)
{
    const QString cartella =
        Interazione.BrowseFolder(QStringLiteral("Selezionare la cartella dove salvare il file di LOG"), QString());
    if (cartella.isEmpty())
        return;
    try {
        ScriviRighe(QDir(cartella).filePath(NomeFile), Righe);
    } catch (const std::exception &e) {
        Interazione.ShowError(QString::fromUtf8(e.what()));
        return;
    }
    Interazione.ShowInformation(Avviso + cartella);
}
