#include "DataPacket.h"
#include "PacketError.h"
#include "Table.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborStreamWriter>
#include <QCborValue>
#include <QTest>

using namespace Qt::StringLiterals;
using dataset::DataPacket;
using dataset::FieldType;
using dataset::PacketError;
using dataset::Table;

namespace {

QCborMap column(const QString &name, const QString &type, qint64 size)
{
    return QCborMap{{u"name"_s, name}, {u"type"_s, type}, {u"size"_s, size}};
}

// A packet built by hand, so that the tests also pin the documented layout.
QByteArray packet(const QCborArray &columns, const QCborArray &rows)
{
    return QCborValue(QCborMap{{u"columns"_s, columns}, {u"rows"_s, rows}}).toCbor();
}

QCborValue date(const QString &text)
{
    return QCborValue(QCborTag(1004), text);
}

const QCborValue null = QCborValue(QByteArray());

// Columns of every type, and a packet with one good row of them.
QCborArray allColumns()
{
    return {column(u"Nome"_s, u"string"_s, 5), column(u"Codice"_s, u"integer"_s, 0),
            column(u"Nascita"_s, u"date"_s, 0), column(u"Attivo"_s, u"boolean"_s, 0)};
}

Table everyType()
{
    Table t({{u"Nome"_s, FieldType::String, 12},
             {u"Codice"_s, FieldType::Integer, 0},
             {u"Nascita"_s, FieldType::Date, 0},
             {u"Attivo"_s, FieldType::Boolean, 0}});
    t.append({u"Niccolò"_s, 2147483647, QDate(9999, 12, 31), true});
    t.append({QString(), -2147483647 - 1, QDate(1, 1, 1), false});
    t.append({u"😀 €"_s, 0, QDate(2016, 9, 30), QVariant()});
    t.append({QVariant(), QVariant(), QVariant(), QVariant()});
    return t;
}

void compareTables(Table &a, Table &b)
{
    QCOMPARE(b.fields(), a.fields());
    QCOMPARE(b.recordCount(), a.recordCount());
    for (int r = 1; r <= a.recordCount(); ++r) {
        for (int c = 0; c < a.fieldCount(); ++c) {
            QCOMPARE(b.recordAt(r).isNull(c), a.recordAt(r).isNull(c));
            QCOMPARE(b.recordAt(r).value(c), a.recordAt(r).value(c));
        }
    }
}

} // namespace

class TestDataPacket : public QObject
{
    Q_OBJECT
private slots:
    void roundTripsEveryTypeAndNull()
    {
        Table t = everyType();
        const QByteArray bytes = t.toPacket();
        Table back = Table::fromPacket(bytes);
        compareTables(t, back);
        QVERIFY(!back.recordAt(2).isNull(0)); // the empty text stays a text
        QVERIFY(back.recordAt(4).isNull(0));
        QCOMPARE(back.recNo(), 1);
        QCOMPARE(back.toPacket(), bytes);
    }

    void roundTripsEmptyTables()
    {
        Table t = everyType();
        t.clear();
        Table back = Table::fromPacket(t.toPacket());
        QCOMPARE(back.fields(), t.fields());
        QCOMPARE(back.recordCount(), 0);
        QVERIFY(back.eof());

        Table none;
        QCOMPARE(Table::fromPacket(none.toPacket()).fieldCount(), 0);
    }

    void writesTheDocumentedLayout()
    {
        Table t = everyType();
        const QCborMap top = QCborValue::fromCbor(t.toPacket()).toMap();
        QCOMPARE(top.keys(), (QList<QCborValue>{u"columns"_s, u"rows"_s}));
        QCOMPARE(top.value(u"columns"_s).toArray().at(0).toMap(), column(u"Nome"_s, u"string"_s, 12));
        QCOMPARE(top.value(u"columns"_s).toArray().at(2).toMap(), column(u"Nascita"_s, u"date"_s, 0));
        const QCborArray first = top.value(u"rows"_s).toArray().at(0).toArray();
        QCOMPARE(first, (QCborArray{u"Niccolò"_s, 2147483647, date(u"9999-12-31"_s), true}));
        QCOMPARE(top.value(u"rows"_s).toArray().at(3).toArray(), (QCborArray{null, null, null, null}));

        // And reads the same layout written by someone else, indefinite lengths included.
        QByteArray handMade;
        QCborStreamWriter w(&handMade);
        w.startMap();
        w.append(u"columns"_s);
        w.startArray();
        QCborValue(column(u"X"_s, u"string"_s, 4)).toCbor(w);
        w.endArray();
        w.append(u"rows"_s);
        w.startArray();
        w.startArray();
        w.appendTextString("ab", 2);
        w.endArray();
        w.endArray();
        w.endMap();
        Table read = Table::fromPacket(handMade);
        QCOMPARE(read.asString(u"x"_s), u"ab"_s);
    }

    void ignoresFilterAndOpenBuffer()
    {
        Table t = everyType();
        t.setFilter([](const dataset::Record &r) { return r.asInteger(1) > 0; });
        t.first();
        t.edit();
        t.setValue(0, u"Cambiato"_s);
        Table back = Table::fromPacket(t.toPacket());
        QCOMPARE(back.recordCount(), 4);
        QCOMPARE(back.asString(0), u"Niccolò"_s);
    }

    void refusesMalformedPackets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("fault");

        const QCborArray cols = allColumns();
        const QCborArray goodRow{u"Rossi"_s, 7, date(u"2020-12-25"_s), true};
        const QByteArray good = packet(cols, {QCborValue(goodRow)});
        auto withValue = [&](int index, const QCborValue &v) {
            QCborArray row = goodRow;
            row[index] = v;
            return packet(cols, {QCborValue(row)});
        };
        auto withColumn = [&](const QCborValue &c) { return packet({cols.at(0), c}, {}); };
        auto raw = [](std::initializer_list<int> bytes) {
            QByteArray out;
            for (int b : bytes)
                out.append(char(b));
            return out;
        };
        // A map whose keys come in the given order, for repeated and misplaced keys.
        auto ordered = [](const QList<std::pair<QString, QCborValue>> &items) {
            QByteArray out;
            QCborStreamWriter w(&out);
            w.startMap(items.size());
            for (const auto &[k, v] : items) {
                w.append(k);
                v.toCbor(w);
            }
            w.endMap();
            return out;
        };

        QTest::newRow("empty") << QByteArray() << u"pacchetto vuoto"_s;
        QTest::newRow("not cbor") << raw({0xff}) << u"formato CBOR non valido"_s;
        QTest::newRow("reserved header") << raw({0x1c}) << u"formato CBOR non valido"_s;
        QTest::newRow("text, not a packet") << QByteArray("PK\x03\x04") << u"atteso un oggetto"_s;
        QTest::newRow("truncated") << good.left(good.size() - 3) << u"dati troncati"_s;
        QTest::newRow("truncated header") << good.left(1) << u"dati troncati"_s;
        QTest::newRow("array at top") << QCborValue(QCborArray{cols}).toCbor() << u"atteso un oggetto"_s;
        QTest::newRow("rows missing") << QCborValue(QCborMap{{u"columns"_s, cols}}).toCbor() << u"manca la chiave \"rows\""_s;
        QTest::newRow("columns missing") << QCborValue(QCborMap{}).toCbor() << u"manca la chiave \"columns\""_s;
        QTest::newRow("rows first") << ordered({{u"rows"_s, QCborArray{}}, {u"columns"_s, cols}}) << u"deve precedere"_s;
        QTest::newRow("columns twice") << ordered({{u"columns"_s, cols}, {u"columns"_s, cols}}) << u"\"columns\" ripetuta"_s;
        QTest::newRow("unknown key") << ordered({{u"columns"_s, cols}, {u"rows"_s, QCborArray{}}, {u"extra"_s, 1}})
                                     << u"chiave sconosciuta \"extra\""_s;
        QTest::newRow("key not text") << QCborValue(QCborMap{{1, 2}}).toCbor() << u"chiave non testuale"_s;
        QTest::newRow("columns not a list") << QCborValue(QCborMap{{u"columns"_s, 5}}).toCbor() << u"\"columns\" deve essere una lista"_s;
        QTest::newRow("rows not a list") << QCborValue(QCborMap{{u"columns"_s, cols}, {u"rows"_s, QCborMap{}}}).toCbor()
                                         << u"\"rows\" deve essere una lista"_s;
        QTest::newRow("unknown type") << withColumn(column(u"Voto"_s, u"float"_s, 0)) << u"tipo sconosciuto \"float\" della colonna \"Voto\""_s;
        QTest::newRow("string size 0") << withColumn(column(u"Voto"_s, u"string"_s, 0)) << u"dimensione non valida (0) della colonna \"Voto\""_s;
        QTest::newRow("negative size") << withColumn(column(u"Voto"_s, u"string"_s, -3)) << u"dimensione non valida (-3)"_s;
        QTest::newRow("size too big") << withColumn(column(u"Voto"_s, u"string"_s, 9000)) << u"oltre il massimo di 8192"_s;
        QTest::newRow("size on integer") << withColumn(column(u"Voto"_s, u"integer"_s, 4)) << u"deve essere 0"_s;
        QTest::newRow("size not integer") << withColumn(QCborMap{{u"name"_s, u"V"_s}, {u"type"_s, u"string"_s}, {u"size"_s, u"4"_s}})
                                          << u"deve essere un intero"_s;
        QTest::newRow("duplicate name") << withColumn(column(u"NOME"_s, u"integer"_s, 0)) << u"colonna \"NOME\" ripetuta"_s;
        QTest::newRow("name missing") << withColumn(QCborMap{{u"type"_s, u"integer"_s}, {u"size"_s, 0}}) << u"manca il nome della colonna 2"_s;
        QTest::newRow("size missing") << withColumn(QCborMap{{u"name"_s, u"V"_s}, {u"type"_s, u"integer"_s}}) << u"manca la dimensione"_s;
        QTest::newRow("extra column key") << withColumn(QCborMap{{u"name"_s, u"V"_s}, {u"type"_s, u"integer"_s}, {u"size"_s, 0}, {u"width"_s, 0}})
                                          << u"chiave sconosciuta \"width\" nella colonna 2"_s;
        QTest::newRow("column not a map") << withColumn(u"V"_s) << u"la colonna 2 deve essere un oggetto"_s;
        QTest::newRow("row too short") << packet(cols, {QCborValue(QCborArray{u"a"_s})}) << u"la riga 1 ha 1 valori invece di 4"_s;
        QTest::newRow("row too long") << packet(cols, {goodRow, QCborArray(goodRow) << 1}) << u"la riga 2 ha 5 valori invece di 4"_s;
        QTest::newRow("row not a list") << packet(cols, {goodRow, 5}) << u"la riga 2 deve essere una lista"_s;
        QTest::newRow("text in integer") << withValue(1, u"7"_s) << u"valore di tipo errato nella riga 1, colonna \"Codice\": atteso un intero"_s;
        QTest::newRow("number in text") << withValue(0, 7) << u"colonna \"Nome\": atteso un testo"_s;
        QTest::newRow("date without tag") << withValue(2, u"2020-12-25"_s) << u"colonna \"Nascita\": atteso una data"_s;
        QTest::newRow("date with other tag") << withValue(2, QCborValue(QDateTime(QDate(2020, 12, 25), QTime(0, 0), Qt::UTC)))
                                             << u"colonna \"Nascita\": atteso una data"_s;
        QTest::newRow("impossible date") << withValue(2, date(u"2021-02-31"_s)) << u"data non valida \"2021-02-31\""_s;
        QTest::newRow("date in other format") << withValue(2, date(u"25/12/2020"_s)) << u"data non valida"_s;
        QTest::newRow("number in boolean") << withValue(3, 1) << u"atteso un booleano"_s;
        QTest::newRow("cbor null") << withValue(3, QCborValue(nullptr)) << u"valore di tipo errato"_s;
        QTest::newRow("bytes that are not empty") << withValue(1, QCborValue(QByteArray("x"))) << u"sequenza di byte non vuota"_s;
        QTest::newRow("text longer than column") << withValue(0, u"Bianchi"_s) << u"testo più lungo di 5 caratteri nella riga 1, colonna \"Nome\""_s;
        QTest::newRow("integer beyond 32 bits") << withValue(1, qint64(2147483648)) << u"intero fuori dall'intervallo a 32 bit"_s;
        QTest::newRow("integer beyond 64 bits") << withValue(1, 0x1234567).replace(raw({0x1a, 0x01, 0x23, 0x45, 0x67}), raw({0x3b, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff})) << u"fuori dall'intervallo"_s;
        QTest::newRow("invalid utf-8") << QByteArray(good).replace("Rossi", "Ross\xff") << u"formato CBOR non valido"_s;
        QTest::newRow("trailing bytes") << good + raw({0x00}) << u"dati in eccesso"_s;
        QTest::newRow("second packet after") << good + good << u"dati in eccesso"_s;
        QTest::newRow("too many rows declared") << packet(cols, {}).chopped(1) + raw({0x9a, 0x00, 0x1e, 0x84, 0x81})
                                                << u"più di 1000000 righe"_s;
        QTest::newRow("too many columns declared") << raw({0xa1, 0x67}) + QByteArray("columns") + raw({0x99, 0x04, 0x01})
                                                   << u"più di 1024 colonne"_s;
        QTest::newRow("larger than the limit") << good + QByteArray(DataPacket::kMaxBytes, '\0') << u"più grande di 33554432 byte"_s;
    }
    void refusesMalformedPackets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, fault);
        try {
            Table::fromPacket(bytes);
            QFAIL("the packet was accepted");
        } catch (const PacketError &e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY2(message.startsWith(u"Pacchetto dati non valido: "_s), qPrintable(message));
            QVERIFY2(message.contains(fault), qPrintable(message));
        }
    }

    void refusesToWriteAnOversizedTable()
    {
        Table t({{u"V"_s, FieldType::Boolean, 0}});
        for (int i = 0; i <= DataPacket::kMaxRows; ++i)
            t.append({true});
        QVERIFY_THROWS_EXCEPTION(PacketError, t.toPacket());
    }
};

QTEST_GUILESS_MAIN(TestDataPacket)
#include "test_data_packet.moc"
