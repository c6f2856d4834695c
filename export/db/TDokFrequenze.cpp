#include "TDokFrequenze.h"

#include "TDokSql.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

#include <stdexcept>

namespace {

const QString kFrequentanti = QStringLiteral("Frequentanti");
const QString kRitirati = QStringLiteral("Ritirati");
const QString kTrasferiti = QStringLiteral("Trasferiti");
const QString kEsportati = QStringLiteral("Esportati");
const QString kFrequenze = QStringLiteral("Frequenze");

void controllaAnno(int n)
{
    if (n < 1 || n > TDokFrequenze::kAnniCorso)
        throw std::out_of_range("anno di corso fuori dall'intervallo 1-6");
}

} // namespace

TDokFrequenze::Anno &TDokFrequenze::DiAnno(int n)
{
    controllaAnno(n);
    return m_anni[size_t(n - 1)];
}

const TDokFrequenze::Anno &TDokFrequenze::DiAnno(int n) const
{
    controllaAnno(n);
    return m_anni[size_t(n - 1)];
}

bool TDokFrequenze::Coerente(int n) const
{
    const Anno &a = DiAnno(n);
    return a.Frequentanti + a.Ritirati + a.Trasferiti == a.Esportati;
}

// The 18 counts (state 1-3 by year of course "1"-"6") in one grouped pass over
// the site's situations of the year; the other states and years of course are
// left out here. Counting one query at a time read the situations 18 times, and
// a condition on the state makes Firebird intersect the situations' index on it,
// which covers nearly every row: on a large institute either took longer than
// the whole extraction.
QString TDokFrequenze::SqlConteggio()
{
    return QStringLiteral(
        "SELECT s.IPOSATTID, cls.SACSSDESC, COUNT(*) FROM TSIT_SITUAZIONI s "
        "INNER JOIN VANS_ANNISCOLAST a ON a.DANSVELTAINIZIO = s.DSTART "
        "INNER JOIN TCLSPST cp ON cp.ICLSPSTID = s.ICLSPSTID "
        "INNER JOIN VCLS_CLASSI cls ON cls.ICLSID = cp.ICLSID "
        "INNER JOIN VSED_SEDI sed ON sed.IDWGSEDID = cls.IDWGSEDID "
        "WHERE s.ISITORDINE = 1 AND a.SANSANNODESC = :SANSANNODESC "
        "AND sed.SSEDMECCOD = :SSEDMECCOD "
        "AND (substring(sed.SSEDMECCOD from 3 for 2) IN ('AA', '1A', 'EE', '1E', 'MM', '1M', 'IC') "
        "OR cls.ICLSID IN (SELECT cp1.ICLSID FROM TCLSPST cp1 "
        "INNER JOIN TPST_PIANISTUDIO pst ON pst.IPSTID = cp1.IPSTID "
        "INNER JOIN TIND_INDIRIZZO ind ON ind.IINDID = pst.IINDID "
        "INNER JOIN TDOKIND_INDIRIZZI sind ON sind.IDOKINDID = ind.IINDID_P "
        "WHERE cp1.ICLSID = cls.ICLSID AND sind.SDOKINDCLASS NOT IN ('SE', 'S3', 'S4'))) "
        "GROUP BY s.IPOSATTID, cls.SACSSDESC");
}

TDokFrequenze TDokFrequenze::Conta(const QSqlDatabase &Db, const QString &AnnoScolastico, const QString &CodMecc,
                                   dataset::Table &cdsCurriculum)
{
    TDokFrequenze f;
    static const QStringList anniCorso{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                       QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    QSqlQuery q = TDokSql::Esegui(Db, SqlConteggio(),
                                  {{QStringLiteral(":SANSANNODESC"), AnnoScolastico},
                                   {QStringLiteral(":SSEDMECCOD"), CodMecc}});
    while (q.next()) {
        const int stato = q.value(0).toInt();
        const int n = int(anniCorso.indexOf(q.value(1).toString())) + 1;
        if (n < 1 || stato < 1 || stato > 3)
            continue;
        Anno &a = f.DiAnno(n);
        (stato == 1 ? a.Frequentanti : stato == 2 ? a.Ritirati : a.Trasferiti) = q.value(2).toInt();
    }

    // One pass over all the records, whatever filter the table had.
    cdsCurriculum.clearFilter();
    const int annoCorso = cdsCurriculum.fieldIndex(QStringLiteral("AnnoCorso"));
    const int e = cdsCurriculum.fieldIndex(QStringLiteral("E"));
    for (int r = 1; r <= cdsCurriculum.recordCount(); ++r) {
        const dataset::Record rec = cdsCurriculum.recordAt(r);
        const int n = rec.asInteger(annoCorso);
        if (!rec.isNull(e) && rec.asInteger(e) == 0 && n >= 1 && n <= kAnniCorso)
            ++f.DiAnno(n).Esportati;
    }
    return f;
}

QVariantMap TDokFrequenze::Dettagli(const QString &AnnoScolastico, const QString &CodMecc) const
{
    QVariantList righe;
    for (const Anno &a : m_anni) {
        righe.append(QVariantMap{{kFrequentanti, a.Frequentanti},
                                 {kRitirati, a.Ritirati},
                                 {kTrasferiti, a.Trasferiti},
                                 {kEsportati, a.Esportati}});
    }
    return {{QStringLiteral("AnnoScolastico"), AnnoScolastico},
            {QStringLiteral("CodMecc"), CodMecc},
            {kFrequenze, righe}};
}

TDokFrequenze TDokFrequenze::DaDettagli(const QVariantMap &Dettagli)
{
    const QVariantList righe = Dettagli.value(kFrequenze).toList();
    if (righe.size() != kAnniCorso)
        throw std::runtime_error("Riepilogo delle frequenze non valido: servono 6 anni di corso");
    TDokFrequenze f;
    for (int n = 1; n <= kAnniCorso; ++n) {
        const QVariantMap riga = righe.at(n - 1).toMap();
        Anno &a = f.DiAnno(n);
        a.Frequentanti = riga.value(kFrequentanti).toInt();
        a.Ritirati = riga.value(kRitirati).toInt();
        a.Trasferiti = riga.value(kTrasferiti).toInt();
        a.Esportati = riga.value(kEsportati).toInt();
    }
    return f;
}
