#pragma once

#include "Table.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

#include <array>

// The attendance counts of a site's school year, per year of course 1 to 6, set
// against the curriculum records a start-of-year export wrote: the summary shows
// whether every attending, withdrawn and transferred pupil went into the files.
class TDokFrequenze
{
public:
    static constexpr int kAnniCorso = 6;

    struct Anno
    {
        int Frequentanti = 0; // IPOSATTID 1
        int Ritirati = 0;     // IPOSATTID 2
        int Trasferiti = 0;   // IPOSATTID 3
        int Esportati = 0;    // accepted curriculum records of the year

        friend bool operator==(const Anno &, const Anno &) = default;
    };

    // The counts of year of course n (1..6); throws std::out_of_range otherwise.
    Anno &DiAnno(int n);
    const Anno &DiAnno(int n) const;
    // True when the attending, withdrawn and transferred pupils of year n add up
    // to the exported ones.
    bool Coerente(int n) const;

    // Counts the main situations of the site and year label (e.g. "2016/2017")
    // by state and year of course, leaving out evening and adult courses, and
    // the accepted records (E = 0) of cdsCurriculum by AnnoCorso. cdsCurriculum
    // is left without filter. Throws std::runtime_error on a database error.
    static TDokFrequenze Conta(const QSqlDatabase &Db, const QString &AnnoScolastico, const QString &CodMecc,
                               dataset::Table &cdsCurriculum);

    // The details of the question TDokDomande::kRiepilogoFrequenze, and back.
    // DaDettagli throws std::runtime_error when Frequenze is not 6 rows.
    QVariantMap Dettagli(const QString &AnnoScolastico, const QString &CodMecc) const;
    static TDokFrequenze DaDettagli(const QVariantMap &Dettagli);

    // The count query: one state (:IPOSATTID) and one year of course
    // (:SACSSDESC, as text) of a year label and site code.
    static QString SqlConteggio();

    friend bool operator==(const TDokFrequenze &, const TDokFrequenze &) = default;

private:
    std::array<Anno, kAnniCorso> m_anni{};
};
