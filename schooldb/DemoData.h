#pragma once

#include <QSqlDatabase>
#include <QString>

// A synthetic institute for demos, tests and benchmarks, drawn from fixed name
// lists by a seeded generator: the same options always give the same rows.
//
// School years (IANSID, label, DANSVELTAINIZIO):
//   1 2015/2016 2015-09-01,  2 2016/2017 2016-09-01,  3 2021/2022 2021-09-01.
//
// Sites (ISEDID, code, data-owner groups IDWGID -> TDWGSED.IDWGSEDID):
//   5 XXIC00000X comprehensive, Roma 00185: primary (group 1 -> 1) and lower
//     secondary (group 2 -> 2) classes; booking code ABCDE and school type "MM"
//     for 2016/2017; "Fase A" flag set for 2015 and 2016, no TCODIND_CODMECC
//     row for 2021 (the gate refuses 2021/2022).
//   6 XXAA00000X pre-primary (group 3 -> 3); booking code FGHIJ, type "AA".
//   7 XXIS00000X upper secondary, Roma (group 4 -> 4) and
//   8 XXIS00000X its detached site in Tivoli (group 4 -> 5): one code, two
//     sites. Booking code KLMNO, type "SS". Study plans with SIDI addresses
//     classified "LI", "IT", "Q3", "Q4" and an evening class ("SE",
//     LCLSSERALE = 1) at site 7.
//
// Pupils move through the institute: a pupil's place in 2016/2017 decides
// where it was in 2015/2016 and where it is in 2021/2022. Year-end data exist
// for 2016/2017: sessions (IANSSESDWGID 1 lower-secondary final, 2 upper-
// secondary final, 3 upper-secondary deferred, 4 upper-secondary first term
// without SIDI term), subjects, components, votes, religion grades, absences,
// credits and suspended judgements.
//
// Pupils with a fixed IANAID carrying one case each (all in 2016/2017; the
// other pupils are valid records of every flow):
//   site XXIC00000X, primary or lower secondary:
//     1 born abroad (Bucarest, Romanian citizen)
//     2 living abroad (residence in Paris, no postal code)
//     3 without residence
//     4 residence without postal code
//     5 first citizenship of a state that ended (Jugoslavia only)
//     6 second citizenship of a state that ended (Italy and Jugoslavia)
//     7 sex "U"
//     8 null Sogei state, made-up tax code (LANACODFISFITT = 1)
//     9 null Sogei state, real tax code
//    10 address "VIA ROMA | 5"
//    11 withdrawn (IPOSATTID 2, withdrawal date)
//    12 transferred (IPOSATTID 3, transfer date)
//    13 twelve situations over the three years (4 per year)
//    14 neither birth municipality nor birth state
//    15 belongs to an ethnic group (TANAGRE)
//   site XXIS00000X, 2016/2017 year-end:
//    20 suspended judgement, admitted in the deferred session (one vote 5)
//    21 not admitted, with insufficient votes
//    22 not admitted without any insufficient vote
//    23 no SIDI pupil code
//    24 attendance code 3 (the year does not count)
//    25 suspended judgement with a "NC" vote
//    26 one subject without vote
//    27 IeFP "Q4" course, year 3
//    28 IeFP "Q3" course, final state 11 without suspension record
//    29 evening class
//    30 religion grade "NA" (does not take religion)
//   site XXAA00000X, 2016/2017:
//    31 withdrawn (IPOSATTID 2, withdrawal date)
//    32 attending but with a withdrawal date
// The pre-primary classes of 2016/2017 in class order start with four check
// cases: a section name of more than 25 characters, 4 days a week, "financed"
// without being a "primavera" section, no school time.
// IANAID 16 to 19 are ordinary pre-primary pupils; the pupils drawn at
// random have IANAID 101 onwards.
namespace schooldb {

struct DemoOptions
{
    int pupils = 600;           // all pupils, the fixed cases included
    quint32 seed = 20160901;
};

// The fewest pupils a demo can have: the fixed cases.
inline constexpr int kDemoMinimumPupils = 32;

// Fills a database holding just the schema, in one transaction. Throws
// std::runtime_error with the Italian text on failure (the transaction is
// rolled back).
void fillDemoData(QSqlDatabase &db, const DemoOptions &options);

// createSchoolDatabase + fillDemoData; the file is removed again on failure.
void createDemoDatabase(const QString &path, const DemoOptions &options);

// The codice fiscale of a person: surname, name, birth date, female or not,
// cadastral code of the birth place (a "Z..." code for a foreign state).
QString taxCode(const QString &surname, const QString &name, int year, int month, int day, bool female,
                const QString &placeCode);

} // namespace schooldb
