#include "DatasetError.h"
#include "Table.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using dataset::DatasetError;
using dataset::Field;
using dataset::FieldType;
using dataset::Record;
using dataset::Table;

Q_DECLARE_METATYPE(FieldType)

namespace {

// A small record table like the export's: a key, a name and the two error columns.
Table pupils()
{
    return Table({{QStringLiteral("IDAlunno"), FieldType::String, 21},
                  {QStringLiteral("Cognome"), FieldType::String, 30},
                  {QStringLiteral("E"), FieldType::Integer, 0},
                  {QStringLiteral("CampoScartato"), FieldType::String, 250}});
}

QStringList column(Table &t, const QString &name)
{
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.asString(name);
    return out;
}

bool accepted(const Record &r)
{
    return !r.isNull(QStringLiteral("E")) && r.asInteger(QStringLiteral("E")) == 0;
}

QString errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const DatasetError &e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

} // namespace

class TestTable : public QObject
{
    Q_OBJECT
private slots:
    void storesValuesByType_data()
    {
        QTest::addColumn<FieldType>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QVariant>("stored"); // invalid: Null
        QTest::addColumn<QString>("text");

        const FieldType S = FieldType::String, I = FieldType::Integer, D = FieldType::Date, B = FieldType::Boolean;
        QTest::newRow("text fits") << S << 5 << QVariant(u"Rossi"_s) << QVariant(u"Rossi"_s) << u"Rossi"_s;
        QTest::newRow("text cut to width") << S << 3 << QVariant(u"Bianchi"_s) << QVariant(u"Bia"_s) << u"Bia"_s;
        QTest::newRow("cut keeps no half surrogate") << S << 2 << QVariant(u"a\U0001F600"_s) << QVariant(u"a"_s) << u"a"_s;
        QTest::newRow("empty text is not null") << S << 3 << QVariant(QString(u""_s)) << QVariant(QString(u""_s)) << QString();
        QTest::newRow("number into text") << S << 4 << QVariant(1005) << QVariant(u"1005"_s) << u"1005"_s;
        QTest::newRow("invalid variant is null") << S << 4 << QVariant() << QVariant() << QString();
        QTest::newRow("sql null is null") << I << 0 << QVariant(QMetaType::fromType<int>()) << QVariant() << QString();
        QTest::newRow("integer") << I << 0 << QVariant(-42) << QVariant(-42) << u"-42"_s;
        QTest::newRow("integer text with blanks") << I << 0 << QVariant(u" 17 "_s) << QVariant(17) << u"17"_s;
        QTest::newRow("empty text into integer is null") << I << 0 << QVariant(u""_s) << QVariant() << QString();
        QTest::newRow("integral double") << I << 0 << QVariant(3.0) << QVariant(3) << u"3"_s;
        QTest::newRow("boolean into integer") << I << 0 << QVariant(true) << QVariant(1) << u"1"_s;
        QTest::newRow("largest 32-bit") << I << 0 << QVariant(qint64(2147483647)) << QVariant(2147483647) << u"2147483647"_s;
        QTest::newRow("date") << D << 0 << QVariant(QDate(2020, 12, 25)) << QVariant(QDate(2020, 12, 25)) << u"2020-12-25"_s;
        QTest::newRow("date text") << D << 0 << QVariant(u"2021-03-05"_s) << QVariant(QDate(2021, 3, 5)) << u"2021-03-05"_s;
        QTest::newRow("date time keeps date") << D << 0 << QVariant(QDateTime(QDate(2021, 3, 5), QTime(23, 59)))
                                              << QVariant(QDate(2021, 3, 5)) << u"2021-03-05"_s;
        QTest::newRow("invalid date is null") << D << 0 << QVariant(QDate()) << QVariant() << QString();
        QTest::newRow("boolean") << B << 0 << QVariant(true) << QVariant(true) << u"True"_s;
        QTest::newRow("boolean text") << B << 0 << QVariant(u"FALSE"_s) << QVariant(false) << u"False"_s;
        QTest::newRow("integer into boolean") << B << 0 << QVariant(2) << QVariant(true) << u"True"_s;
    }
    void storesValuesByType()
    {
        QFETCH(FieldType, type);
        QFETCH(int, size);
        QFETCH(QVariant, input);
        QFETCH(QVariant, stored);
        QFETCH(QString, text);
        Table t({{u"V"_s, type, size}});
        t.append({input});
        QCOMPARE(t.recordCount(), 1);
        QCOMPARE(t.isNull(0), !stored.isValid());
        QCOMPARE(t.value(u"V"_s), stored);
        if (stored.isValid())
            QCOMPARE(t.value(0).typeId(), stored.typeId());
        QCOMPARE(t.asString(0), text);
        // The same conversion through edit and post.
        t.appendRecord();
        t.setValue(0, input);
        t.post();
        QCOMPARE(t.value(0), stored);
    }

    void refusesValuesThatDoNotFit_data()
    {
        QTest::addColumn<FieldType>("type");
        QTest::addColumn<QVariant>("input");
        QTest::newRow("text into integer") << FieldType::Integer << QVariant(u"12a"_s);
        QTest::newRow("beyond 32 bits") << FieldType::Integer << QVariant(qint64(2147483648));
        QTest::newRow("below 32 bits") << FieldType::Integer << QVariant(qint64(-2147483649));
        QTest::newRow("fraction") << FieldType::Integer << QVariant(2.5);
        QTest::newRow("date into integer") << FieldType::Integer << QVariant(QDate(2020, 1, 1));
        QTest::newRow("local date text") << FieldType::Date << QVariant(u"25/12/2020"_s);
        QTest::newRow("impossible date") << FieldType::Date << QVariant(u"2021-02-31"_s);
        QTest::newRow("year beyond 9999") << FieldType::Date << QVariant(QDate(10000, 1, 1));
        QTest::newRow("number into date") << FieldType::Date << QVariant(20200101);
        QTest::newRow("word into boolean") << FieldType::Boolean << QVariant(u"forse"_s);
    }
    void refusesValuesThatDoNotFit()
    {
        QFETCH(FieldType, type);
        QFETCH(QVariant, input);
        Table t({{u"Voto"_s, FieldType::String, 5}, {u"Campo"_s, type, 0}});
        const QString error = errorOf([&] { t.append({u"x"_s, input}); });
        QVERIFY2(error.contains(u"non è"_s) && error.contains(u"'Campo'"_s), qPrintable(error));
        QCOMPARE(t.recordCount(), 0); // nothing half-added
        QCOMPARE(t.state(), Table::State::Browse);

        t.append({u"y"_s});
        t.edit();
        QVERIFY(!errorOf([&] { t.setValue(u"Campo"_s, input); }).isEmpty());
        t.post();
        QVERIFY(t.isNull(1)); // the record kept its old value
    }

    void columnsAreFoundWithoutRegardToCase()
    {
        Table t = pupils();
        QCOMPARE(t.fieldIndex(u"cognome"_s), 1);
        QCOMPARE(t.fieldIndex(u"CAMPOSCARTATO"_s), 3);
        QCOMPARE(t.fieldIndex(u"Nome"_s), -1);
        t.append({u"A1"_s, u"Rossi"_s, 0});
        QCOMPARE(t.asString(u"COGNOME"_s), u"Rossi"_s);
        QCOMPARE(errorOf([&] { t.value(u"Nome"_s); }), u"Campo 'Nome' non trovato"_s);
        QCOMPARE(errorOf([&] { t.value(7); }), u"Campo numero 7 inesistente"_s);
    }

    void refusesBadColumns()
    {
        Table t = pupils();
        QCOMPARE(errorOf([&] { t.addField(u"cognome"_s, FieldType::Integer); }), u"Campo 'cognome' già definito"_s);
        QVERIFY(errorOf([&] { t.addField(u"Nome"_s, FieldType::String, 0); }).contains(u"Dimensione non valida"_s));
        QVERIFY(errorOf([&] { t.addField(QString(), FieldType::Integer); }).contains(u"Nome di campo non valido"_s));
        t.append({});
        QVERIFY(errorOf([&] { t.addField(u"Nome"_s, FieldType::Integer); }).contains(u"contiene record"_s));
        QVERIFY(errorOf([&] { t.append({1, 2, 3, 4, 5}); }).contains(u"Troppi valori"_s));
    }

    void appendsInColumnOrderLeavingTheRestNull()
    {
        Table t = pupils();
        t.append({u"A1"_s, u"Rossi"_s});
        QCOMPARE(t.asString(0), u"A1"_s);
        QCOMPARE(t.asString(1), u"Rossi"_s);
        QVERIFY(t.isNull(u"E"_s));
        QVERIFY(t.isNull(u"CampoScartato"_s));
        QCOMPARE(t.asInteger(u"E"_s), 0);
    }

    void navigatesWithOneBasedRecordNumbers()
    {
        Table t = pupils();
        QVERIFY(t.eof());
        QCOMPARE(t.recNo(), 0);
        t.first();
        QVERIFY(t.eof());
        QVERIFY(t.isNull(0)); // no current record reads as Null
        QCOMPARE(errorOf([&] { t.edit(); }), u"Nessun record corrente da modificare"_s);

        for (const char *id : {"A1", "A2", "A3"}) {
            t.append({QString::fromLatin1(id)});
            QCOMPARE(t.recNo(), t.recordCount()); // the appended record is current
        }
        QCOMPARE(column(t, u"IDAlunno"_s), (QStringList{u"A1"_s, u"A2"_s, u"A3"_s}));
        QVERIFY(t.eof());
        QCOMPARE(t.recNo(), 3); // past the end the last record stays current
        QCOMPARE(t.asString(0), u"A3"_s);

        QVERIFY(t.setRecNo(2));
        QVERIFY(!t.eof());
        QCOMPARE(t.asString(0), u"A2"_s);
        QVERIFY(!t.setRecNo(0));
        QVERIFY(!t.setRecNo(4));
        QCOMPARE(t.recNo(), 2);
        QCOMPARE(t.recordAt(3).asString(0), u"A3"_s);
        QVERIFY(t.recordAt(4).isNull(0));
        QCOMPARE(t.recNo(), 2);
    }

    void editsPostsAndCancels()
    {
        Table t = pupils();
        t.append({u"A1"_s, u"Rossi"_s, 0});
        t.append({u"A2"_s, u"Verdi"_s, 0});
        t.first();
        QCOMPARE(errorOf([&] { t.setValue(u"E"_s, 1); }), u"La tabella non è in modifica o inserimento"_s);

        t.edit();
        QCOMPARE(t.state(), Table::State::Edit);
        t.setValue(u"E"_s, 1);
        t.setValue(u"CampoScartato"_s, u"Cognome"_s);
        QCOMPARE(t.asInteger(u"E"_s), 1); // readers see the buffer while editing
        t.cancel();
        QCOMPARE(t.asInteger(u"E"_s), 0);
        QVERIFY(t.asString(u"CampoScartato"_s).isEmpty());

        t.edit();
        t.setValue(u"E"_s, 1);
        t.post();
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.recNo(), 1);
        QCOMPARE(t.asInteger(u"E"_s), 1);

        // Moving on posts a pending edit, as the original dataset does.
        t.edit();
        t.setValue(u"CampoScartato"_s, u"Nome"_s);
        t.next();
        QCOMPARE(t.recordAt(1).asString(u"CampoScartato"_s), u"Nome"_s);

        t.appendRecord();
        QCOMPARE(t.recNo(), 0);
        t.setValue(0, u"A3"_s);
        t.cancel();
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.asString(0), u"A2"_s); // back where it was

        t.appendRecord();
        t.setValue(0, u"A3"_s);
        t.post();
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.recNo(), 3);
        QCOMPARE(t.asString(0), u"A3"_s);
    }

    void clearEmptiesButKeepsColumns()
    {
        Table t = pupils();
        t.append({u"A1"_s});
        t.edit();
        t.clear();
        QCOMPARE(t.state(), Table::State::Browse);
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(t.eof());
        QCOMPARE(t.fieldCount(), 4);
        t.append({u"B1"_s});
        QCOMPARE(column(t, u"IDAlunno"_s), QStringList{u"B1"_s});
    }

    void filterRestrictsCountNavigationAndNumbers()
    {
        Table t = pupils();
        t.append({u"A1"_s, u"Rossi"_s, 0});
        t.append({u"A2"_s, u"Verdi"_s, 1});
        t.append({u"A3"_s, u"Neri"_s, 0});
        t.append({u"A4"_s, u"Bruni"_s});
        t.setFilter(accepted);
        QVERIFY(t.isFiltered());
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.recNo(), 1);
        QCOMPARE(column(t, u"IDAlunno"_s), (QStringList{u"A1"_s, u"A3"_s}));
        QVERIFY(t.setRecNo(2));
        QCOMPARE(t.asString(0), u"A3"_s);

        // "(E = 0) or (E is null)"
        t.setFilter([](const Record &r) { return r.isNull(u"E"_s) || r.asInteger(u"E"_s) == 0; });
        QCOMPARE(column(t, u"IDAlunno"_s), (QStringList{u"A1"_s, u"A3"_s, u"A4"_s}));

        t.setFilter(accepted);
        t.append({u"A5"_s, u"Gialli"_s, 0}); // passes: joins the view and becomes current
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.recNo(), 3);
        t.append({u"A6"_s, u"Blu"_s, 2}); // stored but hidden: the last visible record is current
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(t.asString(0), u"A5"_s);

        // A posted record that stops passing leaves the view; the cursor goes to the next one.
        t.first();
        t.edit();
        t.setValue(u"E"_s, 1);
        t.post();
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(t.recNo(), 1);
        QCOMPARE(t.asString(0), u"A3"_s);

        t.clearFilter();
        QCOMPARE(t.recordCount(), 6);
        QCOMPARE(t.asString(0), u"A3"_s); // the current record stays
        QCOMPARE(t.recNo(), 3);

        t.setFilter([](const Record &r) { return r.asString(0) == u"A2"_s; });
        t.edit();
        t.setValue(u"E"_s, 0);
        t.post();
        t.setFilter(accepted); // a record that starts passing is seen by a new filter
        QCOMPARE(column(t, u"IDAlunno"_s), (QStringList{u"A2"_s, u"A3"_s, u"A5"_s}));
    }

    void filterThatMatchesNothing()
    {
        Table t = pupils();
        t.append({u"A1"_s, u"Rossi"_s, 1});
        t.setFilter(accepted);
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(t.eof());
        QCOMPARE(t.recNo(), 0);
        QVERIFY(!t.locate(u"IDAlunno"_s, u"A1"_s));
    }

    void locatesByValue()
    {
        Table t = pupils();
        t.append({u"A1"_s, u"Rossi"_s, 0});
        t.append({u"A2"_s, u"Rossi"_s, 1});
        t.append({u"A3"_s, QVariant(), 0});
        t.append({u"ABCDEFGHIJKLMNOPQRSTU"_s, u"Lungo"_s, 0});

        QVERIFY(t.locate(u"Cognome"_s, u"Rossi"_s));
        QCOMPARE(t.recNo(), 1); // the first match
        QVERIFY(t.locate({u"Cognome"_s, u"E"_s}, {u"Rossi"_s, 1}));
        QCOMPARE(t.asString(0), u"A2"_s);
        QVERIFY(t.locate(u"cognome"_s, QVariant())); // Null finds Null
        QCOMPARE(t.asString(0), u"A3"_s);

        QVERIFY(!t.locate(u"Cognome"_s, u"rossi"_s)); // case-sensitive
        QCOMPARE(t.asString(0), u"A3"_s); // a miss leaves the cursor
        QVERIFY(!t.locate(u"Cognome"_s, QString()));  // empty text is not Null
        QVERIFY(!t.locate(u"E"_s, u"uno"_s)); // cannot be stored, so it matches nothing
        QVERIFY(!t.locate(u"IDAlunno"_s, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_s)); // not cut for lookups
        QVERIFY(t.locate(u"IDAlunno"_s, u"ABCDEFGHIJKLMNOPQRSTU"_s));

        t.setFilter([](const Record &r) { return r.asInteger(u"E"_s) == 1; });
        QVERIFY(t.locate(u"Cognome"_s, u"Rossi"_s));
        QCOMPARE(t.asString(0), u"A2"_s);
        QCOMPARE(t.recNo(), 1);
        QVERIFY(!t.locate(u"IDAlunno"_s, u"A1"_s));
        QVERIFY(errorOf([&] { t.locate({u"E"_s}, {1, 2}); }).contains(u"Numero di valori errato"_s));
    }

    void indexFollowsAppendEditClearAndSort()
    {
        Table t = pupils();
        t.append({u"S2"_s, u"Seconda"_s, 0});
        const int byId = t.addIndex({u"IDAlunno"_s, u"E"_s}); // built over the present records
        QCOMPARE(t.addIndex({u"idalunno"_s, u"e"_s}), byId);
        QVERIFY(t.hasKey(byId, {u"S2"_s, 0}));
        QVERIFY(!t.hasKey(byId, {u"S2"_s, 1}));

        t.append({u"S1"_s, u"Prima"_s, 0});
        QVERIFY(t.hasKey(byId, {u"S1"_s, 0}));

        // Rejecting a record hides it from the reference check.
        QVERIFY(t.findKey(byId, {u"S1"_s, 0}));
        t.edit();
        t.setValue(u"E"_s, 1);
        QVERIFY(t.hasKey(byId, {u"S1"_s, 0})); // not before it is posted
        t.post();
        QVERIFY(!t.hasKey(byId, {u"S1"_s, 0}));
        QVERIFY(t.hasKey(byId, {u"S1"_s, 1}));

        // A changed key moves.
        t.first();
        t.edit();
        t.setValue(0, u"S9"_s);
        t.post();
        QVERIFY(!t.hasKey(byId, {u"S2"_s, 0}));
        QVERIFY(t.findKey(byId, {u"S9"_s, 0}));
        QCOMPARE(t.asString(u"Cognome"_s), u"Seconda"_s);

        // Sorting moves the rows; the index follows.
        t.append({u"S0"_s, u"Zero"_s, 0});
        t.sortBy({u"IDAlunno"_s});
        QCOMPARE(column(t, u"IDAlunno"_s), (QStringList{u"S0"_s, u"S1"_s, u"S9"_s}));
        QVERIFY(t.findKey(byId, {u"S9"_s, 0}));
        QCOMPARE(t.recNo(), 3);
        QCOMPARE(t.asString(u"Cognome"_s), u"Seconda"_s);
        QVERIFY(t.findKey(byId, {u"S0"_s, 0}));
        QCOMPARE(t.asString(u"Cognome"_s), u"Zero"_s);

        // The filter limits findKey like every other lookup.
        t.setFilter([](const Record &r) { return r.asString(1) != u"Zero"_s; });
        QVERIFY(!t.hasKey(byId, {u"S0"_s, 0}));
        QVERIFY(t.findKey(byId, {u"S9"_s, 0}));
        QCOMPARE(t.recNo(), 2);
        t.clearFilter();

        t.clear();
        QVERIFY(!t.hasKey(byId, {u"S9"_s, 0}));
        t.append({u"S9"_s, u"Nuova"_s, 0});
        QVERIFY(t.findKey(byId, {u"S9"_s, 0}));
        QCOMPARE(t.asString(1), u"Nuova"_s);
        QVERIFY(errorOf([&] { t.hasKey(5, {1}); }).contains(u"Indice 5 inesistente"_s));
    }

    // Random appends, edits, sorts and clears against a plain scan of the table.
    void indexAgreesWithAScanUnderRandomChanges()
    {
        Table t({{u"K"_s, FieldType::String, 3}, {u"N"_s, FieldType::Integer, 0}});
        const int idx = t.addIndex({u"K"_s, u"N"_s});
        QRandomGenerator rng(20240607);
        auto randomKey = [&] { return QString::number(rng.bounded(20)); };
        auto randomN = [&]() -> QVariant { return rng.bounded(4) == 0 ? QVariant() : QVariant(int(rng.bounded(3))); };
        for (int step = 0; step < 3000; ++step) {
            const int op = rng.bounded(100);
            if (op < 50 || t.recordCount() == 0) {
                t.append({randomKey(), randomN()});
            } else if (op < 90) {
                QVERIFY(t.setRecNo(1 + rng.bounded(t.recordCount())));
                t.edit();
                if (rng.bounded(2))
                    t.setValue(0, randomKey());
                t.setValue(1, randomN());
                t.post();
            } else if (op < 98) {
                t.sortBy({u"N"_s, u"K"_s});
            } else {
                t.clear();
            }
            const QString k = randomKey();
            const QVariant n = randomN();
            int expected = 0;
            for (int r = 1; r <= t.recordCount() && expected == 0; ++r) {
                if (t.recordAt(r).asString(0) == k && t.recordAt(r).value(1) == n)
                    expected = r;
            }
            const bool found = t.findKey(idx, {k, n});
            QCOMPARE(found, expected > 0);
            if (found)
                QCOMPARE(t.recNo(), expected);
        }
    }

    void sortsBySeveralColumnsWithNullsFirst()
    {
        Table t({{u"Cognome"_s, FieldType::String, 10},
                 {u"Nascita"_s, FieldType::Date, 0},
                 {u"Codice"_s, FieldType::Integer, 0},
                 {u"Ordine"_s, FieldType::Integer, 0}});
        const QDate d1(2010, 5, 1), d2(2011, 1, 9);
        t.append({u"Rossi"_s, d2, 5, 1});
        t.append({u"Bianchi"_s, d1, QVariant(), 2});
        t.append({u"Rossi"_s, QVariant(), 7, 3});
        t.append({QVariant(), d1, 1, 4});
        t.append({u"Rossi"_s, d1, 9, 5});
        t.append({u"Bianchi"_s, d1, -3, 6});
        t.append({u"Rossi"_s, d2, 2, 7}); // equal to record 1 on both columns: keeps its place after it
        t.append({u"rossi"_s, d1, 0, 8}); // lower case sorts after upper case

        t.setRecNo(4);
        t.sortBy({u"Cognome"_s, u"Nascita"_s});
        QCOMPARE(t.recNo(), 1);
        QCOMPARE(column(t, u"Ordine"_s), (QStringList{u"4"_s, u"2"_s, u"6"_s, u"3"_s, u"5"_s, u"1"_s, u"7"_s, u"8"_s}));
        t.sortBy({u"Codice"_s});
        QCOMPARE(column(t, u"Ordine"_s), (QStringList{u"2"_s, u"6"_s, u"8"_s, u"4"_s, u"7"_s, u"1"_s, u"3"_s, u"5"_s}));
    }

    void sortKeepsTheFilteredRecords()
    {
        Table t = pupils();
        t.append({u"C"_s, QVariant(), 0});
        t.append({u"B"_s, QVariant(), 1});
        t.append({u"A"_s, QVariant(), 0});
        t.setFilter(accepted);
        t.sortBy({u"IDAlunno"_s});
        QCOMPARE(column(t, u"IDAlunno"_s), (QStringList{u"A"_s, u"C"_s}));
        t.clearFilter();
        QCOMPARE(column(t, u"IDAlunno"_s), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    }
};

QTEST_GUILESS_MAIN(TestTable)
#include "test_table.moc"
