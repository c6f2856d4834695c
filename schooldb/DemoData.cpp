#include "DemoData.h"

#include "Fail.h"
#include "SchoolDatabase.h"

#include <QDate>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <vector>

namespace schooldb {

namespace {

// Draws from the Mersenne Twister directly: its output is fixed by the
// standard, the standard distributions are not.
class Rng
{
public:
    explicit Rng(quint32 seed) : gen(seed) {}
    int below(int n) { return n > 0 ? int(gen() % quint32(n)) : 0; }
    bool chance(int perMille) { return below(1000) < perMille; }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }

private:
    std::mt19937 gen;
};

// One prepared INSERT, executed once per row inside the caller's transaction.
class Inserter
{
public:
    Inserter(QSqlDatabase &db, const QString &table, const QStringList &columns) : query(db), table(table)
    {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        if (!query.prepare(sql))
            fail(QStringLiteral("Errore nella preparazione dei dati dimostrativi (%1): %2")
                     .arg(table, query.lastError().text()));
    }
    void add(const QVariantList &values)
    {
        for (qsizetype i = 0; i < values.size(); ++i)
            query.bindValue(int(i), values.at(i));
        if (!query.exec())
            fail(QStringLiteral("Errore nell'inserimento dei dati dimostrativi (%1): %2")
                     .arg(table, query.lastError().text()));
    }

private:
    QSqlQuery query;
    QString table;
};

QVariant orNull(int value) { return value ? QVariant(value) : QVariant(); }
QVariant orNull(const QString &value) { return value.isEmpty() ? QVariant() : QVariant(value); }
QVariant orNull(const QDate &value) { return value.isValid() ? QVariant(value) : QVariant(); }

// ---------------------------------------------------------------------------
// Fixed lists
// ---------------------------------------------------------------------------

const char *const kMaleNames[] = {
    "LUCA", "MARCO", "ALESSANDRO", "FRANCESCO", "MATTIA", "LORENZO", "ANDREA", "GABRIELE", "LEONARDO", "RICCARDO",
    "TOMMASO", "EDOARDO", "DAVIDE", "GIUSEPPE", "ANTONIO", "FEDERICO", "PIETRO", "SIMONE", "STEFANO", "NICOLÒ",
    "DIEGO", "CHRISTIAN", "SAMUELE", "EMANUELE", "FILIPPO", "GIOVANNI", "MICHELE", "PAOLO", "ROBERTO", "VINCENZO"};
const char *const kFemaleNames[] = {
    "GIULIA", "SOFIA", "AURORA", "ALICE", "GINEVRA", "EMMA", "GIORGIA", "GRETA", "BEATRICE", "ANNA",
    "MARTINA", "CHIARA", "SARA", "FRANCESCA", "ELISA", "NOEMI", "VITTORIA", "MATILDE", "REBECCA", "ARIANNA",
    "ELENA", "LUDOVICA", "CAMILLA", "BIANCA", "ASIA", "SERENA", "FEDERICA", "VALENTINA", "ILARIA", "NICOLE"};
const char *const kSurnames[] = {
    "ROSSI", "RUSSO", "FERRARI", "ESPOSITO", "BIANCHI", "ROMANO", "COLOMBO", "RICCI", "MARINO", "GRECO",
    "BRUNO", "GALLO", "CONTI", "DE LUCA", "MANCINI", "COSTA", "GIORDANO", "RIZZO", "LOMBARDI", "MORETTI",
    "BARBIERI", "FONTANA", "SANTORO", "MARIANI", "RINALDI", "CARUSO", "FERRARA", "GALLI", "MARTINI", "LEONE",
    "LONGO", "GENTILE", "MARTINELLI", "VITALE", "LOMBARDO", "SERRA", "COPPOLA", "DE SANTIS", "D'ANGELO", "MARCHETTI",
    "PARISI", "VILLA", "CONTE", "FERRO", "FABBRI", "BIANCO", "MARINI", "GRASSO", "VALENTINI", "MESSINA",
    "SALA", "DE ANGELIS", "GATTI", "PELLEGRINI", "PALUMBO", "SANNA", "FARINA", "RIZZI", "MONTI", "CATTANEO",
    "MORELLI", "AMATO", "SILVESTRI", "MAZZA", "TESTA", "GRASSI", "PELLEGRINO", "CARBONE", "GIULIANI", "BENEDETTI",
    "BARONE", "ROSSETTI", "CAPUTO", "MONTANARI", "GUERRA", "PALMIERI", "BERNARDI", "MARTINO", "FIORE", "DE ROSA",
    "FERRANTE", "BRUNETTI", "NICOLÒ", "D'AMICO", "FUMAGALLI", "MEMOLI", "CIPRIANI", "ORLANDO", "NEGRI", "PIRAS"};
const char *const kStreets[] = {
    "VIA TIBURTINA", "VIA NOMENTANA", "VIA APPIA NUOVA", "VIA TUSCOLANA", "VIA CASILINA", "VIA PRENESTINA",
    "VIA DEI SABELLI", "VIA DEGLI ETRUSCHI", "VIA DEI VOLSCI", "VIA DEI MARSI", "VIA DEGLI EQUI", "PIAZZA DEI SANNITI",
    "VIA CASTELFIDARDO", "VIA GOITO", "VIA PALESTRO", "VIALE REGINA MARGHERITA", "VIA SALARIA", "VIA FLAMINIA",
    "VIA AURELIA", "VIA CASSIA", "VIALE MAZZINI", "VIA GARIBALDI", "CORSO VITTORIO EMANUELE", "VIA DELLA CONCILIAZIONE"};

struct Comune
{
    const char *name;
    const char *code; // cadastral
    const char *province;
    const char *cap;
    int region;
};
// TCOM_COMUNI / TSCOM_COMUNI_SIDI / TSRPC ids are the 1-based positions.
const Comune kComuni[] = {
    {"ROMA", "H501", "RM", "00185", 12},           {"TIVOLI", "L182", "RM", "00019", 12},
    {"GUIDONIA MONTECELIO", "E263", "RM", "00012", 12}, {"FIUMICINO", "M297", "RM", "00054", 12},
    {"POMEZIA", "G811", "RM", "00071", 12},        {"VELLETRI", "L719", "RM", "00049", 12},
    {"LATINA", "E472", "LT", "04100", 12},         {"FROSINONE", "D810", "FR", "03100", 12},
    {"VITERBO", "M082", "VT", "01100", 12},        {"RIETI", "H282", "RI", "02100", 12},
    {"MILANO", "F205", "MI", "20121", 3},          {"NAPOLI", "F839", "NA", "80121", 15},
    {"TORINO", "L219", "TO", "10121", 1},          {"FIRENZE", "D612", "FI", "50121", 9},
    {"BOLOGNA", "A944", "BO", "40121", 8},         {"BARI", "A662", "BA", "70121", 16},
    {"PALERMO", "G273", "PA", "90121", 19},        {"GENOVA", "D969", "GE", "16121", 7}};
constexpr int kComuniCount = int(std::size(kComuni));
// More postal codes of Rome; TCAP ids follow those of the list above.
const char *const kRomeCaps[] = {"00184", "00161", "00152", "00176", "00136"};

struct State
{
    int id;
    const char *name;
    const char *sidiCode;
    const char *zCode;
    const char *city; // a town of the state, for births and homes abroad
    QDate end;
};
// ISTAID 1 is Italy; the towns abroad get TCOM/TSRPC id 200 + ISTAID, the
// state as a whole TSRPC id 100 + ISTAID.
const State kStates[] = {
    {1, "ITALIA", "200", "", "", {}},
    {2, "ROMANIA", "235", "Z129", "BUCAREST", {}},
    {3, "ALBANIA", "201", "Z100", "TIRANA", {}},
    {4, "MAROCCO", "436", "Z330", "CASABLANCA", {}},
    {5, "CINA", "314", "Z210", "PECHINO", {}},
    {6, "FILIPPINE", "323", "Z216", "MANILA", {}},
    {7, "UCRAINA", "243", "Z138", "KIEV", {}},
    {8, "JUGOSLAVIA", "224", "Z118", "BELGRADO", QDate(1992, 4, 27)},
    {9, "FRANCIA", "215", "Z110", "PARIGI", {}},
    {10, "PERU'", "605", "Z611", "LIMA", {}}};
constexpr int kStateItaly = 1, kStateRomania = 2, kStateYugoslavia = 8, kStateFrance = 9;
int foreignTownPlace(int stateId) { return 200 + stateId; }
int foreignStatePlace(int stateId) { return 100 + stateId; }

// School years: IANSID = index + 1.
struct Year
{
    int start;
    int shift; // how far pupils are from where they are in 2016/2017
};
const Year kYears[] = {{2015, -1}, {2016, 0}, {2021, 5}};
constexpr int kYearMain = 1; // 2016/2017
QDate yearStart(int y) { return QDate(kYears[y].start, 9, 1); }

// Site groups (TDWGSED ids) and sites.
constexpr int kDwgPrimary = 1, kDwgLower = 2, kDwgInfanzia = 3, kDwgUpper = 4, kDwgUpperTivoli = 5;
int siteOfDwgsed(int dwgsed) { return dwgsed <= 2 ? 5 : dwgsed == 3 ? 6 : dwgsed == 4 ? 7 : 8; }
int groupOfDwgsed(int dwgsed) { return dwgsed == 5 ? 4 : dwgsed; }

// Study plans (TPST id = address id = SIDI address id = timetable frame id).
struct Plan
{
    const char *name;
    const char *address;
    const char *sidiCode;
    const char *sidiDesc;
    const char *sidiClass;
    int years;
    const char *subjects; // codes of kSubjects, see below
};
const Plan kPlans[] = {
    {"PRIMARIA 27 ORE", "PRIMARIA", "PRI1", "SCUOLA PRIMARIA - TEMPO NORMALE", "EE", 5, "IMNSRAEUCP"},
    {"SECONDARIA DI I GRADO 30 ORE", "SECONDARIA DI I GRADO", "MED1", "SCUOLA SECONDARIA DI I GRADO - TEMPO NORMALE",
     "MM", 3, "IMNFSRTAUECP"},
    {"LICEO SCIENTIFICO", "LICEO SCIENTIFICO", "LI01", "LICEO SCIENTIFICO", "LI", 5, "ILMYRNSAECP"},
    {"LICEO LINGUISTICO", "LICEO LINGUISTICO", "LI02", "LICEO LINGUISTICO", "LI", 5, "ILNFMSRECP"},
    {"IEFP OPERATORE DELLA RISTORAZIONE", "OPERATORE DELLA RISTORAZIONE", "IP13",
     "OPERATORE DELLA RISTORAZIONE (IEFP TRIENNALE)", "Q3", 3, "IMNGECP"},
    {"IEFP TECNICO DEI SERVIZI DI SALA", "TECNICO DEI SERVIZI DI SALA", "IP14",
     "TECNICO DEI SERVIZI DI SALA E VENDITA (IEFP QUADRIENNALE)", "Q4", 4, "IMNGSECP"},
    {"AMMINISTRAZIONE FINANZA E MARKETING SERALE", "AFM CORSO SERALE", "SE01",
     "AMMINISTRAZIONE FINANZA E MARKETING - CORSO SERALE", "SE", 5, "IMNXS"},
    {"INFORMATICA E TELECOMUNICAZIONI", "INFORMATICA E TELECOMUNICAZIONI", "IT01",
     "TECNICO INFORMATICA E TELECOMUNICAZIONI", "IT", 5, "IMNXSRECP"},
    {"SCUOLA DELL'INFANZIA", "INFANZIA", "INF1", "SCUOLA DELL'INFANZIA", "AA", 3, ""}};
constexpr int kPlanPrimary = 1, kPlanLower = 2, kPlanScience = 3, kPlanLanguages = 4, kPlanQ3 = 5, kPlanQ4 = 6,
              kPlanEvening = 7, kPlanInformatics = 8, kPlanInfanzia = 9;
constexpr int kPlanCount = int(std::size(kPlans));

// Subjects, by one-letter code: TMAT id, name, code for the suite, SIDI code,
// weekly hours.
struct Subject
{
    char key;
    const char *name;
    const char *velta;
    const char *sidi;
    int hours;
};
const Subject kSubjects[] = {
    {'I', "ITALIANO", "ITALIANO", "A001", 6},       {'M', "MATEMATICA", "MATEMATICA", "A002", 5},
    {'N', "INGLESE", "INGLESE", "A003", 3},         {'S', "STORIA", "STORIA", "A004", 2},
    {'R', "SCIENZE", "SCIENZE", "A005", 2},         {'Y', "FISICA", "FISICA", "A006", 3},
    {'L', "LATINO", "LATINO", "A007", 3},           {'F', "FRANCESE", "FRANCESE", "A008", 3},
    {'X', "INFORMATICA", "INFORMATICA", "A009", 3}, {'A', "ARTE E IMMAGINE", "ARTE", "A010", 2},
    {'E', "SCIENZE MOTORIE", "MOTORIA", "A011", 2}, {'C', "RELIGIONE CATTOLICA", "RELIGIONE", "A012", 1},
    {'P', "COMPORTAMENTO", "CONDOTTA", "A013", 1},  {'G', "ENOGASTRONOMIA", "ENOGASTRONOMIA", "I025", 6},
    {'T', "TECNOLOGIA", "TECNOLOGIA", "A014", 2},   {'U', "MUSICA", "MUSICA", "A015", 2}};
int subjectId(char key)
{
    for (int i = 0; i < int(std::size(kSubjects)); ++i)
        if (kSubjects[i].key == key)
            return i + 1;
    return 0;
}
const Subject &subject(int id) { return kSubjects[id - 1]; }

// Grade levels (TLIV id = TSCALIV id).
constexpr int kLevelNC = 11, kLevelReligionFirst = 13, kLevelNA = 17;
struct Level
{
    const char *shortText;
    const char *longText;
    int pass;
};
const Level kLevels[] = {{"1", "UNO", 0},          {"2", "DUE", 0},       {"3", "TRE", 0},
                         {"4", "QUATTRO", 0},      {"5", "CINQUE", 0},    {"6", "SEI", 1},
                         {"7", "SETTE", 1},        {"8", "OTTO", 1},      {"9", "NOVE", 1},
                         {"10", "DIECI", 1},       {"NC", "NON CLASSIFICATO", 0}, {"ES", "ESONERATO", 1},
                         {"S", "SUFFICIENTE", 1},  {"B", "BUONO", 1},     {"D", "DISTINTO", 1},
                         {"OTT", "OTTIMO", 1},     {"NA", "NON SI AVVALE", 1}};

// Components: 1 single vote, 2 religion, 3 notes (not a vote).
constexpr int kCmpVote = 1, kCmpReligion = 2, kCmpNotes = 3;

// Sessions (TANSSESDWG ids).
constexpr int kSessionLowerFinal = 1, kSessionUpperFinal = 2, kSessionUpperDeferred = 3, kSessionUpperFirstTerm = 4;

// Final positions.
constexpr int kFinAdmitted = 1, kFinNotAdmitted = 2, kFinSuspended = 11;

// ---------------------------------------------------------------------------
// Pupils
// ---------------------------------------------------------------------------

struct Pupil
{
    int id = 0;
    QString surname, name;
    int sex = 1; // TSEX_SESSO
    QDate birth;
    int birthPlace = 1; // TSRPC, 0 = none
    QString taxCode;
    bool madeUpTaxCode = false;
    QString sidiCode;
    QString sogeiState;
    std::vector<int> citizenships{kStateItaly};
    int residence = 1; // TCOMCAP, 0 = no residence
    QString address;
    int ethnicGroup = 0;
    // Where the pupil is in 2016/2017: grade 1..5 primary, 6..8 lower
    // secondary, 9..13 upper secondary, -2..0 pre-primary.
    int grade = 1;
    int upperPlan = kPlanScience;
    int upperDwgsed = kDwgUpper;
    // 2016/2017 only.
    int attendance = 1;
    QDate leftOn;
    int finalPosition = kFinAdmitted;
    int suspended = 0;
    int frequency = 1;
    int situationsPerYear = 1;
    bool missingVote = false;
    bool notClassified = false;
    bool religionNA = false;
    int insufficient = 0; // how many insufficient votes in the final session
};

struct Placement
{
    int dwgsed = 0;
    int plan = 0;
    int course = 0; // year of course
};

Placement placementOf(const Pupil &p, int year)
{
    const int g = p.grade + kYears[year].shift;
    if (g >= -2 && g <= 0)
        return {kDwgInfanzia, kPlanInfanzia, g + 3};
    if (g >= 1 && g <= 5)
        return {kDwgPrimary, kPlanPrimary, g};
    if (g >= 6 && g <= 8)
        return {kDwgLower, kPlanLower, g - 5};
    if (g >= 9 && g <= 13 && g - 8 <= kPlans[p.upperPlan - 1].years)
        return {p.upperDwgsed, p.upperPlan, g - 8};
    return {};
}

QString lettersOf(const QString &text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            out += c;
    return out;
}

bool isVowel(QChar c) { return QStringLiteral("AEIOU").contains(c); }

QString taxCodePart(const QString &text, bool isName)
{
    const QString letters = lettersOf(text.toUpper());
    QString consonants, vowels;
    for (const QChar c : letters)
        (isVowel(c) ? vowels : consonants) += c;
    if (isName && consonants.size() >= 4)
        return QString(consonants.at(0)) + consonants.at(2) + consonants.at(3);
    return (consonants + vowels + QStringLiteral("XXX")).left(3);
}

} // namespace

QString taxCode(const QString &surname, const QString &name, int year, int month, int day, bool female,
                const QString &placeCode)
{
    static const char months[] = "ABCDEHLMPRST";
    static const int odd[] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    QString code = taxCodePart(surname, false) + taxCodePart(name, true);
    code += QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0'));
    code += QLatin1Char(months[(month - 1) % 12]);
    code += QStringLiteral("%1").arg(day + (female ? 40 : 0), 2, 10, QLatin1Char('0'));
    code += placeCode.left(4);
    int sum = 0;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        const int v = c.isDigit() ? c.digitValue() : c.unicode() - 'A';
        sum += (i % 2 == 0) ? odd[v] : v;
    }
    return code + QLatin1Char('A' + sum % 26);
}

namespace {

class DemoBuilder
{
public:
    DemoBuilder(QSqlDatabase &db, const DemoOptions &options) : db(db), rng(options.seed), options(options) {}

    void build()
    {
        fixedRows();
        makePupils();
        makeClasses();
        writePupils();
        writeYearEnd();
    }

private:
    QSqlDatabase &db;
    Rng rng;
    DemoOptions options;
    std::vector<Pupil> pupils;

    struct ClassInfo
    {
        int id = 0;
        int year = 0;
        Placement at;
        int clspst = 0;
        std::vector<int> members; // indexes into pupils
    };
    std::vector<ClassInfo> classes;
    // pupil index -> class index, per year
    std::vector<std::array<int, 3>> classOf;

    // -----------------------------------------------------------------------
    void fixedRows()
    {
        Inserter ans(db, "TANS_ANNISCOLAST",
                     {"IANSID", "SANSANNODESC", "IANSVALORE", "DANSVELTAINIZIO", "DANSINIZIO", "DANSFINE"});
        for (int y = 0; y < 3; ++y) {
            const int s = kYears[y].start;
            ans.add({y + 1, QStringLiteral("%1/%2").arg(s).arg(s + 1), s, yearStart(y), QDate(s, 9, 14),
                     QDate(s + 1, 6, 8)});
        }

        Inserter sta(db, "TSTA_STATI", {"ISTAID", "SSTALDESC", "SSTACODSISSI", "DEND"});
        for (const State &s : kStates)
            sta.add({s.id, s.name, s.sidiCode, orNull(s.end)});
        Inserter scom(db, "TSCOM_COMUNI_SIDI", {"ISCOMID", "SSCOMCOD", "SSCOMDESC", "SSCOMPROVCOD"});
        Inserter com(db, "TCOM_COMUNI", {"ICOMID", "SCOMDESC", "ISCOMID"});
        Inserter srpc(db, "TSRPC", {"ISRPCID", "ISTAID", "IREGID", "ICOMID", "SSRPCCODCATA", "DEND"});
        Inserter cap(db, "TCAP", {"ICAPID", "SCAPVALUE"});
        Inserter comcap(db, "TCOMCAP", {"ICOMCAPID", "ISRPCID", "ICAPID"});
        for (int i = 1; i <= kComuniCount; ++i) {
            const Comune &c = kComuni[i - 1];
            scom.add({i, c.code, c.name, c.province});
            com.add({i, c.name, i});
            srpc.add({i, kStateItaly, c.region, i, c.code, QVariant()});
            cap.add({i, c.cap});
            comcap.add({i, i, i});
        }
        for (int i = 0; i < int(std::size(kRomeCaps)); ++i) {
            cap.add({kComuniCount + 1 + i, kRomeCaps[i]});
            comcap.add({kComuniCount + 1 + i, 1, kComuniCount + 1 + i});
        }
        // Rome without a postal code, and the towns abroad (no postal codes).
        comcap.add({kRomeWithoutCap, 1, QVariant()});
        for (const State &s : kStates) {
            if (s.id == kStateItaly)
                continue;
            srpc.add({foreignStatePlace(s.id), s.id, QVariant(), QVariant(), s.zCode, QVariant()});
            com.add({foreignTownPlace(s.id), s.city, QVariant()});
            srpc.add({foreignTownPlace(s.id), s.id, QVariant(), foreignTownPlace(s.id), s.zCode, QVariant()});
            comcap.add({foreignTownPlace(s.id), foreignTownPlace(s.id), QVariant()});
        }

        Inserter sed(db, "TSED_SEDI", {"ISEDID"});
        Inserter sinfo(db, "TSEDINF_SEDEINFO",
                       {"ISEDID", "SSEDINFCODMECC", "SSEDINFLDESC", "SSEDINFSDESC", "SSEDINFINDIRIZZO", "ICOMCAPID",
                        "SSEDINFTELEFONO", "SSEDINFTELEFONO2", "SSEDINFFAX", "SSEDINFEMAIL", "SSEDINFCODFISCALE",
                        "ISEDINFCODSEDESIDI", "DSTART"});
        struct SiteRow
        {
            int id;
            const char *code, *longName, *shortName, *address;
            int comcap;
            const char *phone, *phone2, *fax, *email, *fiscal;
        };
        const SiteRow sites[] = {
            {5, "XXIC00000X", "ISTITUTO COMPRENSIVO VIA DEI SABELLI", "IC VIA DEI SABELLI", "VIA DEI SABELLI 88", 1,
             "06 4450001", "06 4450002", "06 4450003", "xxic00000x@istruzione.it", "97000000581"},
            {6, "XXAA00000X", "SCUOLA DELL'INFANZIA GIRASOLE", "INFANZIA GIRASOLE", "VIA DEI VOLSCI 12", 1,
             "06 4450011", "", "06 4450013", "xxaa00000x@istruzione.it", "97000000582"},
            {7, "XXIS00000X", "ISTITUTO DI ISTRUZIONE SUPERIORE GALILEO GALILEI", "IIS GALILEO GALILEI",
             "VIALE REGINA MARGHERITA 10", kComuniCount + 2, "06 4450021", "06 4450022", "06 4450023",
             "xxis00000x@istruzione.it", "97000000583"},
            {8, "XXIS00000X", "ISTITUTO DI ISTRUZIONE SUPERIORE GALILEO GALILEI - SEDE DI TIVOLI",
             "IIS GALILEO GALILEI TIVOLI", "VIA ACQUAREGNA 3", 2, "0774 330001", "", "", "xxis00000x@istruzione.it",
             "97000000583"}};
        for (const SiteRow &s : sites) {
            sed.add({s.id});
            sinfo.add({s.id, s.code, s.longName, s.shortName, s.address, s.comcap, s.phone, orNull(QString(s.phone2)),
                       orNull(QString(s.fax)), s.email, s.fiscal, 100000 + s.id, QDate(2000, 9, 1)});
        }

        Inserter dwg(db, "TDWG_DATAOWNERGRP", {"IDWGID", "IDOWID"});
        Inserter dwgsed(db, "TDWGSED", {"IDWGSEDID", "IDWGID", "ISEDID"});
        for (int g = 1; g <= 4; ++g)
            dwg.add({g, g});
        for (int d = 1; d <= 5; ++d)
            dwgsed.add({d, groupOfDwgsed(d), siteOfDwgsed(d)});
        Inserter gra(db, "TSCUGRA", {"ISCUGRAID", "SSCUGRALDESC"});
        Inserter stog(db, "TSCUTYPORDGRA", {"ISCUTYPORDGRAID", "ISCUGRAID"});
        Inserter otg(db, "TOTGDWG", {"ISCUTYPORDGRAID", "IDOWID"});
        const char *const grades[] = {"SCUOLA PRIMARIA", "SCUOLA SECONDARIA DI I GRADO", "SCUOLA DELL'INFANZIA",
                                      "SCUOLA SECONDARIA DI II GRADO"};
        for (int g = 1; g <= 4; ++g) {
            gra.add({g, grades[g - 1]});
            stog.add({g, g});
            otg.add({g, g});
        }

        Inserter dokind(db, "TDOKIND_INDIRIZZI", {"IDOKINDID", "SDOKINDCODMIN", "SDOKINDDESC", "SDOKINDCLASS"});
        Inserter ind(db, "TIND_INDIRIZZO", {"IINDID", "SINDLDESC", "IINDID_P"});
        Inserter qo(db, "TDOKQO_DOKQUADRIOR",
                    {"IDOKQOID", "SDOKQOCODICEPIANODISTUDI", "SDOKQOANNOSCOLASTICO", "SDOKQOMECCDEBOLE"});
        Inserter pst(db, "TPST_PIANISTUDIO", {"IPSTID", "SPSTLDESC", "IINDID", "IDOKQOID"});
        for (int p = 1; p <= kPlanCount; ++p) {
            const Plan &plan = kPlans[p - 1];
            dokind.add({p, plan.sidiCode, plan.sidiDesc, plan.sidiClass});
            ind.add({p, plan.address, p});
            const bool hasFrame = p != kPlanInfanzia;
            if (hasFrame)
                qo.add({p, QStringLiteral("PS%1").arg(p, 4, 10, QLatin1Char('0')), "2016",
                        p <= kPlanLower ? "XXIC00000X" : "XXIS00000X"});
            pst.add({p, plan.name, p, hasFrame ? QVariant(p) : QVariant()});
        }

        // SIDI address codes per site code and year, with the "Fase A" flag;
        // none for 2021 at the comprehensive site.
        Inserter codind(db, "TCODIND_CODMECC",
                        {"ICODINDID", "IINDID", "CODSCUOLADEBOLE", "ICODANSVALORE", "CODINDSIDI", "ISCODCONFRAVVIOAS"});
        int codindId = 0;
        for (int y = 0; y < 3; ++y) {
            for (int p = 1; p <= kPlanCount; ++p) {
                const bool lower = p <= kPlanLower;
                if (p == kPlanInfanzia || (lower && kYears[y].start == 2021))
                    continue;
                codind.add({++codindId, p, lower ? "XXIC00000X" : "XXIS00000X", kYears[y].start, kPlans[p - 1].sidiCode,
                            kYears[y].start == 2021 ? QVariant() : QVariant(1)});
            }
        }

        Inserter scod(db, "TSCOD_CODICETEVO", {"ISCODID", "SSCODMECC", "SSCODPRENOTAZIONE", "IANSID", "SSCODTIPOSCUOLA"});
        scod.add({1, "XXIC00000X", "ABCDE", 2, "MM"});
        scod.add({2, "XXAA00000X", "FGHIJ", 2, "AA"});
        scod.add({3, "XXIS00000X", "KLMNO", 2, "SS"});

        Inserter acs(db, "TACS_ANNICORSO", {"IACSID", "IACSANNOCORSO", "SACSSDESC"});
        for (int a = 1; a <= 5; ++a)
            acs.add({a, a, QString::number(a)});
        Inserter tms(db, "TTMS_TEMPOSCUOLA", {"ITMSID", "STMSDESC", "STMSCODTEVO", "STMSSIGLASCUOLA", "ITMSVISIBLE"});
        tms.add({1, "TEMPO NORMALE 40 ORE", "40 ", "AA", 1});
        tms.add({2, "TEMPO RIDOTTO 25 ORE", "25", "AA", 1});
        tms.add({3, "TEMPO PROLUNGATO 50 ORE", "50", "AA", 1});
        tms.add({4, "TEMPO PIENO 40 ORE", "T40", "EE", 1});

        Inserter mat(db, "TMAT_MATERIE", {"IMATID", "SMATLDESC", "SMATCODVELTA"});
        Inserter mr(db, "TMATRMA", {"IMATRMAID", "IMATID"});
        Inserter dokmat(db, "TDOKMAT_MATERIE", {"IDOKMATID", "SDOKMATCODSIDI", "SDOKMATDESC"});
        Inserter disc(db, "TDOKDISC_DISCIPLIN", {"IDOKDISCID", "SDOKDISCDESC"});
        Inserter qods(db, "TDOKQODS_DOKQODISC",
                      {"IDOKQODSID", "IDOKQOID", "SDOKQODSANNOSCOLASTICO", "SDOKQODSCODDISCIMINISTERIALE"});
        int qodsId = 0;
        for (int s = 1; s <= int(std::size(kSubjects)); ++s) {
            const Subject &sub = kSubjects[s - 1];
            mat.add({s, sub.name, sub.velta});
            mr.add({s, s});
            dokmat.add({s, sub.sidi, sub.name});
            for (int y = 0; y < 3; ++y)
                qods.add({++qodsId, QVariant(), QString::number(kYears[y].start), sub.sidi});
        }
        disc.add({1, "LABORATORIO DI ENOGASTRONOMIA"});

        Inserter oan(db, "TOAN_OREAN", {"IOANID", "IOANSETTIMANALI"});
        for (int h = 1; h <= 8; ++h)
            oan.add({h, h});
        Inserter mrp(db, "TMATRMAPST",
                     {"IMATRMAPSTID", "IMATRMAID", "IPSTID", "IOANID", "IMATSIDIID", "IDOKDISCID", "IMATRMAPSTINMEDIA",
                      "IMATRMAPSTORDINE", "DDELETE"});
        int mrpId = 0;
        for (int p = 1; p <= kPlanCount; ++p) {
            const QString keys = QString::fromLatin1(kPlans[p - 1].subjects);
            for (int k = 0; k < keys.size(); ++k) {
                const int s = subjectId(keys.at(k).toLatin1());
                const Subject &sub = subject(s);
                const bool religion = qstrcmp(sub.velta, "RELIGIONE") == 0;
                mrp.add({++mrpId, s, p, sub.hours, s, sub.key == 'G' ? QVariant(1) : QVariant(), religion ? 0 : 1,
                         k + 1, QVariant()});
                planSubjects[p].push_back(s);
            }
        }
        // A subject taken off the science plan: neither hours nor votes.
        mrp.add({++mrpId, subjectId('U'), kPlanScience, 2, subjectId('U'), QVariant(), 1, 99, QDate(2015, 6, 30)});

        Inserter ses(db, "TSES_SESSIONE", {"ISESID", "SSESDESC", "IFTSID"});
        ses.add({1, "PRIMO QUADRIMESTRE", QVariant()});
        ses.add({2, "SCRUTINIO FINALE", 3});
        ses.add({3, "SCRUTINIO GIUDIZIO SOSPESO", 7});
        Inserter asd(db, "TANSSESDWG", {"IANSSESDWGID", "IANSID", "IDWGID", "ISESID", "ISFIID"});
        asd.add({kSessionLowerFinal, 2, 2, 2, 2});
        asd.add({kSessionUpperFinal, 2, 4, 2, 2});
        asd.add({kSessionUpperDeferred, 2, 4, 3, 3});
        asd.add({kSessionUpperFirstTerm, 2, 4, 1, 1});

        Inserter cmp(db, "TCMP_COMPONENTI", {"ICMPID", "SCMPLDESC"});
        cmp.add({1, "VOTO UNICO"});
        cmp.add({2, "GIUDIZIO DI RELIGIONE"});
        cmp.add({3, "ANNOTAZIONI"});
        Inserter csc(db, "TCMPSCA", {"ICMPSCAID", "ICMPID", "ICMPSCATASS"});
        csc.add({kCmpVote, 1, 0});
        csc.add({kCmpReligion, 2, 0});
        csc.add({kCmpNotes, 3, 1});
        Inserter liv(db, "TLIV_LIVELLI", {"ILIVID", "SLIVSDESC", "SLIVLDESC"});
        Inserter sl(db, "TSCALIV", {"ISCALIVID", "ILIVID", "ISCALIVSUFFICIENTE"});
        for (int l = 1; l <= int(std::size(kLevels)); ++l) {
            liv.add({l, kLevels[l - 1].shortText, kLevels[l - 1].longText});
            sl.add({l, l, kLevels[l - 1].pass});
        }

        Inserter gre(db, "TGRE_GRUPPIETNICI", {"IGREID", "SGRESDESC"});
        gre.add({1, "ROM"});
        gre.add({2, "SINTI"});
        Inserter obf(db, "TOBF_OBBFORMATIVO", {"IOBFID", "SOBFLDESC"});
        obf.add({1, "ISTRUZIONE"});
        obf.add({2, "FORMAZIONE PROFESSIONALE"});
        Inserter stcold(db, "TSTCOLD", {"ISTCOLDID", "SSTCOLDLDESC"});
        stcold.add({1, "CELIBE/NUBILE"});
        Inserter stcsex(db, "TSTCSEX", {"ISTCSEXID", "ISTCOLDID", "ISEXID"});
        stcsex.add({1, 1, 1});
        stcsex.add({2, 1, 2});
    }

    static constexpr int kRomeWithoutCap = 40;
    std::map<int, std::vector<int>> planSubjects; // plan -> TMAT ids, in plan order

    // -----------------------------------------------------------------------
    QString pickName(bool female)
    {
        return female ? QString::fromUtf8(kFemaleNames[rng.below(int(std::size(kFemaleNames)))])
                      : QString::fromUtf8(kMaleNames[rng.below(int(std::size(kMaleNames)))]);
    }

    Pupil genericPupil(int id)
    {
        Pupil p;
        p.id = id;
        p.sex = rng.chance(500) ? 2 : 1;
        p.surname = QString::fromUtf8(kSurnames[rng.below(int(std::size(kSurnames)))]);
        p.name = pickName(p.sex == 2);
        // School order by share of a real institute, then year of course.
        const int order = rng.below(100);
        if (order < 12)
            p.grade = rng.between(-2, 0);
        else if (order < 42)
            p.grade = rng.between(1, 5);
        else if (order < 62)
            p.grade = rng.between(6, 8);
        else
            p.grade = rng.between(9, 13);
        const int planDraw = rng.below(100);
        p.upperPlan = planDraw < 30   ? kPlanScience
                      : planDraw < 45 ? kPlanLanguages
                      : planDraw < 70 ? kPlanInformatics
                      : planDraw < 82 ? kPlanQ3
                      : planDraw < 94 ? kPlanQ4
                                      : kPlanEvening;
        if (p.grade >= 9 && p.grade - 8 > kPlans[p.upperPlan - 1].years)
            p.upperPlan = kPlanInformatics;
        p.upperDwgsed = (p.upperPlan != kPlanEvening && rng.chance(250)) ? kDwgUpperTivoli : kDwgUpper;
        // Born the year a pupil of its grade is born.
        p.birth = QDate(2016 - 5 - p.grade, rng.between(1, 12), 1);
        p.birth = p.birth.addDays(rng.below(p.birth.daysInMonth()));
        if (rng.chance(120)) {
            const int state = 2 + rng.below(int(std::size(kStates)) - 1);
            const int usable = state == kStateYugoslavia ? kStateRomania : state;
            p.birthPlace = foreignTownPlace(usable);
            p.citizenships = rng.chance(250) ? std::vector<int>{kStateItaly, usable} : std::vector<int>{usable};
        } else {
            p.birthPlace = rng.chance(600) ? 1 : 1 + rng.below(kComuniCount);
        }
        // Mostly in Rome, some in the province.
        p.residence = rng.chance(750) ? (rng.chance(500) ? 1 : kComuniCount + 1 + rng.below(int(std::size(kRomeCaps))))
                                      : 2 + rng.below(5);
        p.address = QStringLiteral("%1 %2").arg(QString::fromLatin1(kStreets[rng.below(int(std::size(kStreets)))]))
                        .arg(1 + rng.below(180));
        const int s = rng.below(1000);
        p.sogeiState = s < 850 ? QStringLiteral("00")
                       : s < 880 ? QStringLiteral("03")
                       : s < 900 ? QStringLiteral("16")
                       : s < 915 ? QStringLiteral("22")
                       : s < 935 ? QStringLiteral("23")
                       : s < 950 ? QStringLiteral("99")
                       : s < 970 ? QStringLiteral("50")
                       : s < 985 ? QStringLiteral("51")
                                 : QStringLiteral("97");
        p.madeUpTaxCode = rng.chance(15);
        p.sidiCode = QString::number(1000000 + id * 7);
        // Year-end of 2016/2017.
        const int f = rng.below(1000);
        if (p.grade >= 9) {
            if (f < 60 && p.grade <= 12) {
                p.suspended = kFinSuspended;
                p.insufficient = 1 + rng.below(2);
            } else if (f < 100) {
                p.finalPosition = kFinNotAdmitted;
                p.insufficient = 3;
            }
        } else if (p.grade >= 6 && f < 25) {
            p.finalPosition = kFinNotAdmitted;
            p.insufficient = 3;
        }
        p.religionNA = rng.chance(100);
        if (rng.chance(5))
            p.ethnicGroup = 1 + rng.below(2);
        return p;
    }

    void makePupils()
    {
        const int total = std::max(options.pupils, kDemoMinimumPupils);
        for (int id = 1; id <= 32; ++id) {
            Pupil p = genericPupil(id);
            // Case pupils are otherwise ordinary valid pupils of the site.
            p.sogeiState = QStringLiteral("00");
            p.madeUpTaxCode = false;
            p.ethnicGroup = 0;
            p.religionNA = false;
            p.finalPosition = kFinAdmitted;
            p.suspended = 0;
            p.insufficient = 0;
            p.birthPlace = 1;
            p.citizenships = {kStateItaly};
            p.residence = 1;
            if (id <= 15)
                p.grade = 1 + (id - 1) % 8;
            else if (id >= 20 && id <= 30) {
                p.grade = 10;
                p.upperPlan = kPlanScience;
                p.upperDwgsed = kDwgUpper;
            } else
                p.grade = -1;
            p.birth = QDate(2016 - 5 - p.grade, 3, 10 + id % 15);
            applyCase(p);
            pupils.push_back(p);
        }
        for (int i = 0; i < total - 32; ++i)
            pupils.push_back(genericPupil(101 + i));
        for (Pupil &p : pupils) {
            const State *born = nullptr;
            for (const State &s : kStates)
                if (p.birthPlace == foreignTownPlace(s.id))
                    born = &s;
            const QString place = born ? QString::fromLatin1(born->zCode)
                                  : p.birthPlace ? QString::fromLatin1(kComuni[p.birthPlace - 1].code)
                                                 : QStringLiteral("Z999");
            p.taxCode = taxCode(p.surname, p.name, p.birth.year(), p.birth.month(), p.birth.day(), p.sex == 2, place);
            if (p.madeUpTaxCode) // a school-made code: right shape, wrong place and check letter
                p.taxCode = p.taxCode.left(11) + QStringLiteral("Z999X");
        }
    }

    void applyCase(Pupil &p)
    {
        switch (p.id) {
        case 1:
            p.birthPlace = foreignTownPlace(kStateRomania);
            p.citizenships = {kStateRomania};
            break;
        case 2:
            p.residence = foreignTownPlace(kStateFrance);
            p.address = QStringLiteral("RUE DE RIVOLI 20");
            break;
        case 3:
            p.residence = 0;
            break;
        case 4:
            p.residence = kRomeWithoutCap;
            break;
        case 5:
            p.birthPlace = foreignTownPlace(kStateYugoslavia);
            p.citizenships = {kStateYugoslavia};
            break;
        case 6:
            p.citizenships = {kStateItaly, kStateYugoslavia};
            break;
        case 7:
            p.sex = 3;
            break;
        case 8:
            p.sogeiState.clear();
            p.madeUpTaxCode = true;
            break;
        case 9:
            p.sogeiState.clear();
            break;
        case 10:
            p.address = QStringLiteral("VIA ROMA | 5");
            break;
        case 11:
            p.attendance = 2;
            p.leftOn = QDate(2017, 1, 20);
            p.finalPosition = 0;
            break;
        case 12:
            p.attendance = 3;
            p.leftOn = QDate(2016, 11, 15);
            p.finalPosition = 0;
            break;
        case 13:
            p.grade = 2;
            p.situationsPerYear = 4;
            break;
        case 14:
            p.birthPlace = 0;
            break;
        case 15:
            p.ethnicGroup = 1;
            break;
        case 20:
            p.grade = 11;
            p.suspended = kFinSuspended;
            p.insufficient = 1;
            break;
        case 21:
            p.finalPosition = kFinNotAdmitted;
            p.insufficient = 3;
            break;
        case 22:
            p.finalPosition = kFinNotAdmitted;
            break;
        case 23:
            p.sidiCode.clear();
            break;
        case 24:
            p.frequency = 3;
            break;
        case 25:
            p.grade = 11;
            p.suspended = kFinSuspended;
            p.notClassified = true;
            break;
        case 26:
            p.grade = 9;
            p.missingVote = true;
            break;
        case 27:
            p.grade = 11;
            p.upperPlan = kPlanQ4;
            break;
        case 28:
            p.upperPlan = kPlanQ3;
            p.finalPosition = kFinSuspended;
            break;
        case 29:
            p.grade = 12;
            p.upperPlan = kPlanEvening;
            break;
        case 30:
            p.grade = 12;
            p.religionNA = true;
            break;
        case 31:
            p.attendance = 2;
            p.leftOn = QDate(2016, 12, 1);
            break;
        case 32:
            p.leftOn = QDate(2017, 2, 1);
            break;
        default:
            break;
        }
    }

    // -----------------------------------------------------------------------
    void makeClasses()
    {
        // Pupils grouped by year, site group, plan and year of course, in
        // pupil order; each group is cut into classes of at most 24.
        std::map<std::array<int, 4>, std::vector<int>> groups;
        classOf.assign(pupils.size(), {-1, -1, -1});
        for (int i = 0; i < int(pupils.size()); ++i)
            for (int y = 0; y < 3; ++y) {
                const Placement at = placementOf(pupils[i], y);
                if (at.dwgsed)
                    groups[{y, at.dwgsed, at.plan, at.course}].push_back(i);
            }

        Inserter sez(db, "TSEZ_SEZIONI", {"ISEZID", "SSEZSDESC", "SSEZLDESC"});
        Inserter cls(db, "TCLS_CLASSI",
                     {"ICLSID", "SCLSSDESC", "SCLSDESC", "ICLSORDINE", "IDWGSEDID", "IACSID", "ISEZID", "IINDID", "ITMSID",
                      "DSTART", "LCLSSERALE", "LCLSPRIMAVERA", "LCLSFINANZIATO", "ICLSNRGGSETT"});
        Inserter clspst(db, "TCLSPST", {"ICLSPSTID", "ICLSID", "IPSTID"});
        std::map<std::array<int, 3>, int> sectionsUsed; // year, site group, course -> next section
        const char *const colours[] = {"ROSSA", "GIALLA", "VERDE", "BLU", "ARANCIONE", "VIOLA", "AZZURRA", "ROSA"};
        int infanziaClasses2016 = 0;
        for (const auto &[key, members] : groups) {
            const auto [y, dwgsed, plan, course] = key;
            const int size = plan == kPlanEvening ? 20 : 24;
            for (size_t start = 0; start < members.size(); start += size) {
                ClassInfo c;
                c.id = int(classes.size()) + 1;
                c.clspst = c.id;
                c.year = y;
                c.at = {dwgsed, plan, course};
                c.members.assign(members.begin() + start, members.begin() + std::min(members.size(), start + size));
                const int k = sectionsUsed[{y, dwgsed, course}]++;
                QString section = QString(QLatin1Char('A' + k % 26));
                if (k >= 26)
                    section += QString::number(k / 26 + 1);
                QString sectionName;
                int days = plan == kPlanInfanzia ? 5 : 6, financed = 0, tms = plan == kPlanInfanzia ? 1 : 0;
                if (plan == kPlanInfanzia) {
                    sectionName = QStringLiteral("SEZIONE %1").arg(QString::fromLatin1(colours[k % 8]));
                    if (k >= 8)
                        sectionName += QLatin1Char(' ') + section;
                    if (y == kYearMain) {
                        switch (infanziaClasses2016++) {
                        case 0: sectionName = QStringLiteral("SEZIONE DEI GIRASOLI E DELLE MARGHERITE"); break;
                        case 1: days = 4; break;
                        case 2: financed = 1; break;
                        case 3: tms = 0; break;
                        default: break;
                        }
                    }
                }
                sez.add({c.id, section, orNull(sectionName)});
                const QString shortName = QString::number(course) + section;
                cls.add({c.id, shortName, QStringLiteral("%1 %2").arg(shortName, QString::fromUtf8(kPlans[plan - 1].name)),
                         c.id, dwgsed, course, c.id, plan, orNull(tms), yearStart(y),
                         plan == kPlanEvening ? 1 : 0, 0, financed, days});
                clspst.add({c.clspst, c.id, plan});
                for (int i : c.members)
                    classOf[i][y] = int(classes.size());
                classes.push_back(std::move(c));
            }
        }
    }

    // -----------------------------------------------------------------------
    int nextSituation = 0;

    void writePupils()
    {
        Inserter ana(db, "TANA_ANAGRAFICHE",
                     {"IANAID", "SANACOGNOME", "SANANOME", "SANACOGNOMENOMEIDX", "DANANASCITA", "ISEXID", "ISRPCID",
                      "SANACODFISCALE", "LANACODFISFITT", "LANAS2F", "SANACODALUSIDI", "SANASTATOSOGEI", "DANAAGGSOGEI"});
        Inserter abt(db, "TABT_ABITAZ", {"IABTID", "SABTINDIRIZZO", "ICOMCAPID"});
        Inserter anaabt(db, "TANAABT", {"IANAABTID", "IANAID", "IABTID"});
        Inserter abtloc(db, "TABTLOC", {"IANAABTID", "ILOCID"});
        Inserter citt(db, "TANACITT", {"IANAID", "ISTAID"});
        Inserter cag(db, "TANACAG", {"IANAID", "ICAGID", "SANACAGCODE"});
        Inserter anagre(db, "TANAGRE", {"IANAID", "IGREID"});
        Inserter anastc(db, "TANASTC", {"IANAID", "ISTCSEXID"});
        Inserter sit(db, "TSIT_SITUAZIONI",
                     {"ISITID", "IANAID", "ICLSPSTID", "DSTART", "ISITORDINE", "IPOSATTID", "IPOSINIID", "IPOSFINID",
                      "IPOSFINID_SOSP", "ITPSAID", "IFREQID", "IIESID", "IISCID", "ISITPOSREG", "ISITMENSA",
                      "ISITNORESETT", "DSITISCR", "DSITTRARIT"});
        Inserter cre(db, "TCRE_CREDITI", {"ICREID", "ISITID", "ICRECREDITO"});
        int creId = 0;
        mainSituation.assign(pupils.size(), 0);
        for (int i = 0; i < int(pupils.size()); ++i) {
            Pupil &p = pupils[i];
            ana.add({p.id, p.surname, p.name, lettersOf(p.surname.toUpper()) + QLatin1Char(' ') + lettersOf(p.name.toUpper()),
                     p.birth, p.sex, orNull(p.birthPlace), p.taxCode, p.madeUpTaxCode ? 1 : 0, 0, orNull(p.sidiCode),
                     orNull(p.sogeiState), p.sogeiState.isEmpty() ? QVariant() : QVariant(QDate(2016, 6, 15))});
            if (p.residence) {
                abt.add({p.id, p.address, p.residence});
                anaabt.add({p.id, p.id, p.id});
                abtloc.add({p.id, 2});
            }
            for (int s : p.citizenships)
                citt.add({p.id, s});
            cag.add({p.id, 1, QStringLiteral("M%1").arg(p.id, 6, 10, QLatin1Char('0'))});
            if (p.ethnicGroup)
                anagre.add({p.id, p.ethnicGroup});
            if (p.id % 10 == 0)
                anastc.add({p.id, p.sex == 2 ? 2 : 1});

            for (int y = 0; y < 3; ++y) {
                if (classOf[i][y] < 0)
                    continue;
                const ClassInfo &c = classes[classOf[i][y]];
                const bool main = y == kYearMain;
                const int position = int(std::find(c.members.begin(), c.members.end(), i) - c.members.begin()) + 1;
                const bool infanzia = c.at.plan == kPlanInfanzia;
                const bool primaryOrInf = infanzia || c.at.plan == kPlanPrimary;
                for (int order = 1; order <= p.situationsPerYear; ++order) {
                    QVariant fin, sosp;
                    if (!infanzia && order == 1) {
                        if (y == 0)
                            fin = kFinAdmitted;
                        else if (main && p.finalPosition)
                            fin = p.finalPosition;
                        if (main && p.suspended)
                            sosp = p.suspended;
                    }
                    const int attendance = order > 1 ? 3 : main ? p.attendance : 1;
                    const int id = ++nextSituation;
                    sit.add({id, p.id, c.clspst, yearStart(y), order, attendance, c.at.course == 1 ? 1 : (p.id % 37 == 0 ? 3 : 1),
                             fin, sosp, 2, main ? p.frequency : 1, 1, 1, position, primaryOrInf && p.id % 3 ? 1 : 0,
                             infanzia ? QVariant(40) : QVariant(), QDate(kYears[y].start, 2, 10),
                             main && order == 1 ? orNull(p.leftOn) : QVariant()});
                    if (order != 1)
                        continue;
                    if (main)
                        mainSituation[i] = id;
                    const bool upper = c.at.plan >= kPlanScience && c.at.plan <= kPlanInformatics;
                    if (main && upper && c.at.course >= 3 && p.attendance == 1 && p.finalPosition == kFinAdmitted)
                        cre.add({++creId, id, 7 + (p.id % 6)});
                }
            }
        }
    }

    std::vector<int> mainSituation; // pupil index -> ISITID of 2016/2017

    // -----------------------------------------------------------------------
    int levelFor(const Pupil &p, int subjectIndex, bool conduct)
    {
        if (p.notClassified && subjectIndex == 0)
            return kLevelNC;
        if (subjectIndex < p.insufficient)
            return 4 + rng.below(2);
        if (conduct)
            return rng.between(7, 10);
        return rng.between(6, 10);
    }

    void writeYearEnd()
    {
        Inserter cs(db, "TCLSSES", {"ICLSSESID", "ICLSID", "IANSSESDWGID"});
        Inserter csm(db, "TCLSSESMAT", {"ICLSSESMATID", "ICLSSESID", "IMATRMAID"});
        Inserter cmc(db, "TCLSMATCMP", {"ICLSMATCMPID", "ICLSSESMATID", "ICMPSCAID"});
        Inserter vot(db, "TVOT_VOTI", {"IVOTID", "ISITID", "ICLSMATCMPID", "ISCALIVID"});
        Inserter ass(db, "TASS_ASSENZE", {"IASSID", "ISITID", "ICLSSESMATID", "IASSORE"});
        int csId = 0, csmId = 0, cmcId = 0, votId = 0, assId = 0;
        for (const ClassInfo &c : classes) {
            if (c.year != kYearMain)
                continue;
            const int plan = c.at.plan;
            std::vector<int> sessions;
            if (plan == kPlanLower)
                sessions = {kSessionLowerFinal};
            else if (plan == kPlanScience || plan == kPlanLanguages || plan == kPlanInformatics)
                sessions = {kSessionUpperFinal, kSessionUpperDeferred};
            else if (plan == kPlanQ3 || plan == kPlanQ4)
                sessions = {kSessionUpperFinal};
            for (int session : sessions) {
                const int csIdHere = ++csId;
                cs.add({csIdHere, c.id, session});
                const bool deferred = session == kSessionUpperDeferred;
                const bool votes = plan != kPlanQ3 && plan != kPlanQ4;
                const std::vector<int> &subjects = planSubjects[plan];
                for (int k = 0; k < int(subjects.size()); ++k) {
                    const int s = subjects[k];
                    const Subject &sub = subject(s);
                    const bool religion = qstrcmp(sub.velta, "RELIGIONE") == 0;
                    const bool conduct = qstrcmp(sub.velta, "CONDOTTA") == 0;
                    const int csmHere = ++csmId;
                    csm.add({csmHere, csIdHere, s});
                    const int cmcHere = ++cmcId;
                    cmc.add({cmcHere, csmHere, religion ? kCmpReligion : kCmpVote});
                    if (k == 0)
                        cmc.add({++cmcId, csmHere, kCmpNotes});
                    if (!votes)
                        continue;
                    for (int i : c.members) {
                        const Pupil &p = pupils[i];
                        if (p.attendance != 1 || (deferred && !p.suspended))
                            continue;
                        const int situation = mainSituation[i];
                        int level;
                        if (religion)
                            level = p.religionNA ? kLevelNA : kLevelReligionFirst + rng.below(4);
                        else if (deferred)
                            level = rng.between(6, 8);
                        else
                            level = levelFor(p, k, conduct);
                        if (!(p.missingVote && k == 1 && !deferred))
                            vot.add({++votId, situation, cmcHere, level});
                        if (!religion && !conduct && !deferred)
                            ass.add({++assId, situation, csmHere, rng.below(31)});
                    }
                }
            }
        }
    }
};

} // namespace

void fillDemoData(QSqlDatabase &db, const DemoOptions &options)
{
    if (!db.transaction())
        fail(QStringLiteral("Impossibile avviare la transazione: %1").arg(db.lastError().text()));
    try {
        DemoBuilder(db, options).build();
        syncKeyCounters(db);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        fail(QStringLiteral("Impossibile confermare i dati dimostrativi: %1").arg(db.lastError().text()));
}

void createDemoDatabase(const QString &path, const DemoOptions &options)
{
    createSchoolDatabase(path, kDefaultUser, QString(), [&options](QSqlDatabase &db) { fillDemoData(db, options); });
}

} // namespace schooldb
