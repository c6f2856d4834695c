#include "DataPacket.h"

#include "PacketError.h"
#include "Table.h"

#include <QCborStreamReader>
#include <QCborStreamWriter>

#include <limits>

namespace dataset {

namespace {

QString typeWanted(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return QStringLiteral("un testo");
    case FieldType::Integer:
        return QStringLiteral("un intero");
    case FieldType::Date:
        return QStringLiteral("una data (tag 1004)");
    case FieldType::Boolean:
        return QStringLiteral("un booleano");
    }
    return QString();
}

} // namespace

// Reads one packet in a single pass, straight into the table, so that memory
// stays bounded by what the table itself needs and nothing unexpected is ever
// descended into.
class DataPacketReader
{
public:
    explicit DataPacketReader(const QByteArray &bytes) : m_bytes(bytes), m_r(bytes) {}

    Table read()
    {
        if (m_bytes.isEmpty())
            fail(QStringLiteral("pacchetto vuoto"));
        if (m_bytes.size() > DataPacket::kMaxBytes)
            fail(QStringLiteral("pacchetto più grande di %1 byte").arg(DataPacket::kMaxBytes));
        check();
        if (!m_r.isMap())
            fail(QStringLiteral("atteso un oggetto con le chiavi \"columns\" e \"rows\""));
        enter();
        bool haveColumns = false, haveRows = false;
        while (hasNext()) {
            const QString key = readKey(QStringLiteral("nell'oggetto principale"));
            if (key == QLatin1String("columns")) {
                if (haveColumns)
                    fail(QStringLiteral("chiave \"columns\" ripetuta"));
                readColumns();
                haveColumns = true;
            } else if (key == QLatin1String("rows")) {
                if (!haveColumns)
                    fail(QStringLiteral("la chiave \"columns\" deve precedere \"rows\""));
                if (haveRows)
                    fail(QStringLiteral("chiave \"rows\" ripetuta"));
                readRows();
                haveRows = true;
            } else {
                fail(QStringLiteral("chiave sconosciuta \"%1\" nell'oggetto principale").arg(key));
            }
        }
        leave();
        if (!haveColumns)
            fail(QStringLiteral("manca la chiave \"columns\""));
        if (!haveRows)
            fail(QStringLiteral("manca la chiave \"rows\""));
        if (m_r.currentOffset() != m_bytes.size())
            fail(QStringLiteral("dati in eccesso dopo la fine del pacchetto"));
        m_table.first();
        return std::move(m_table);
    }

private:
    [[noreturn]] void fail(const QString &reason)
    {
        throw PacketError(QStringLiteral("Pacchetto dati non valido: ") + reason);
    }

    void check()
    {
        const QCborError e = m_r.lastError();
        if (e == QCborError::NoError)
            return;
        if (e == QCborError::EndOfFile)
            fail(QStringLiteral("dati troncati"));
        fail(QStringLiteral("formato CBOR non valido alla posizione %1").arg(m_r.currentOffset()));
    }

    bool hasNext()
    {
        const bool more = m_r.hasNext();
        check();
        return more;
    }

    void enter()
    {
        m_r.enterContainer();
        check();
    }

    void leave()
    {
        // At the end of the packet the reader looks at whatever follows; bytes
        // there are reported as excess, not as a CBOR fault.
        const bool ok = m_r.leaveContainer();
        if (m_r.containerDepth() == 0 && m_r.currentOffset() != m_bytes.size())
            fail(QStringLiteral("dati in eccesso dopo la fine del pacchetto"));
        if (!ok)
            check();
        check();
    }

    void next()
    {
        m_r.next();
        check();
    }

    // A text string of at most maxChars UTF-16 characters; tooLong() when longer.
    template<typename TooLong>
    QString readText(qsizetype maxChars, TooLong tooLong)
    {
        QString out;
        for (;;) {
            // n characters take at most 3n UTF-8 bytes: a longer chunk is refused unread.
            const qsizetype chunk = m_r.currentStringChunkSize();
            if (chunk > 3 * (maxChars - out.size()))
                tooLong();
            const auto part = m_r.readString();
            if (part.status == QCborStreamReader::Error) {
                check();
                fail(QStringLiteral("testo non valido"));
            }
            if (part.status == QCborStreamReader::EndOfString)
                break;
            out += part.data;
            if (out.size() > maxChars)
                tooLong();
        }
        check();
        return out;
    }

    QString readKey(const QString &where)
    {
        if (!m_r.isString())
            fail(QStringLiteral("chiave non testuale %1").arg(where));
        return readText(16, [&] { fail(QStringLiteral("chiave sconosciuta %1").arg(where)); });
    }

    // An integer, or std::nullopt when it does not fit in 64 bits.
    std::optional<qint64> readInteger()
    {
        std::optional<qint64> v;
        if (m_r.isUnsignedInteger()) {
            const quint64 u = m_r.toUnsignedInteger();
            if (u <= quint64(std::numeric_limits<qint64>::max()))
                v = qint64(u);
        } else {
            // The magnitude; 0 stands for -2^64, which wrapped around.
            const quint64 n = quint64(m_r.toNegativeInteger());
            if (n != 0 && n <= quint64(std::numeric_limits<qint64>::max()) + 1)
                v = -qint64(n - 1) - 1;
        }
        next();
        return v;
    }

    void readColumns()
    {
        if (!m_r.isArray())
            fail(QStringLiteral("\"columns\" deve essere una lista"));
        if (m_r.isLengthKnown() && m_r.length() > quint64(kMaxFields))
            fail(QStringLiteral("più di %1 colonne").arg(kMaxFields));
        enter();
        while (hasNext()) {
            if (m_table.fieldCount() >= kMaxFields)
                fail(QStringLiteral("più di %1 colonne").arg(kMaxFields));
            readColumn(m_table.fieldCount() + 1);
        }
        leave();
    }

    void readColumn(int number)
    {
        const QString where = QStringLiteral("nella colonna %1").arg(number);
        if (!m_r.isMap())
            fail(QStringLiteral("la colonna %1 deve essere un oggetto con \"name\", \"type\" e \"size\"").arg(number));
        enter();
        std::optional<QString> name, type;
        std::optional<qint64> size;
        bool haveSize = false;
        while (hasNext()) {
            const QString key = readKey(where);
            if (key == QLatin1String("name")) {
                if (name)
                    fail(QStringLiteral("chiave \"name\" ripetuta %1").arg(where));
                if (!m_r.isString())
                    fail(QStringLiteral("il nome della colonna %1 deve essere un testo").arg(number));
                name = readText(kMaxFieldNameLength, [&] {
                    fail(QStringLiteral("nome della colonna %1 più lungo di %2 caratteri").arg(number).arg(kMaxFieldNameLength));
                });
            } else if (key == QLatin1String("type")) {
                if (type)
                    fail(QStringLiteral("chiave \"type\" ripetuta %1").arg(where));
                if (!m_r.isString())
                    fail(QStringLiteral("il tipo della colonna %1 deve essere un testo").arg(number));
                type = readText(16, [&] { fail(QStringLiteral("tipo sconosciuto %1").arg(where)); });
            } else if (key == QLatin1String("size")) {
                if (haveSize)
                    fail(QStringLiteral("chiave \"size\" ripetuta %1").arg(where));
                if (!m_r.isInteger())
                    fail(QStringLiteral("la dimensione della colonna %1 deve essere un intero").arg(number));
                size = readInteger();
                haveSize = true;
            } else {
                fail(QStringLiteral("chiave sconosciuta \"%1\" %2").arg(key, where));
            }
        }
        leave();

        if (!name || name->isEmpty())
            fail(QStringLiteral("manca il nome della colonna %1").arg(number));
        const QString shown = QStringLiteral("\"%1\"").arg(*name);
        if (!type)
            fail(QStringLiteral("manca il tipo della colonna %1").arg(shown));
        if (!haveSize)
            fail(QStringLiteral("manca la dimensione della colonna %1").arg(shown));
        const std::optional<FieldType> t = fieldTypeFromName(*type);
        if (!t)
            fail(QStringLiteral("tipo sconosciuto \"%1\" della colonna %2").arg(*type, shown));
        const QString sizeText = size ? QString::number(*size) : QStringLiteral("fuori intervallo");
        if (*t == FieldType::String) {
            if (!size || *size < 1)
                fail(QStringLiteral("dimensione non valida (%1) della colonna %2").arg(sizeText, shown));
            if (*size > kMaxStringSize)
                fail(QStringLiteral("dimensione %1 della colonna %2 oltre il massimo di %3")
                         .arg(sizeText, shown)
                         .arg(kMaxStringSize));
        } else if (size != 0) {
            fail(QStringLiteral("dimensione non valida (%1) della colonna %2: deve essere 0").arg(sizeText, shown));
        }
        if (m_table.fieldIndex(*name) >= 0)
            fail(QStringLiteral("colonna %1 ripetuta").arg(shown));
        m_table.addField(*name, *t, int(size.value_or(0)));
    }

    void readRows()
    {
        if (!m_r.isArray())
            fail(QStringLiteral("\"rows\" deve essere una lista"));
        const qint64 width = std::max(1, m_table.fieldCount());
        if (m_r.isLengthKnown()) {
            if (m_r.length() > quint64(DataPacket::kMaxRows))
                fail(QStringLiteral("più di %1 righe").arg(DataPacket::kMaxRows));
            if (qint64(m_r.length()) * width > DataPacket::kMaxCells)
                fail(QStringLiteral("più di %1 valori").arg(DataPacket::kMaxCells));
        }
        enter();
        int rows = 0;
        while (hasNext()) {
            if (rows >= DataPacket::kMaxRows)
                fail(QStringLiteral("più di %1 righe").arg(DataPacket::kMaxRows));
            if ((rows + 1) * width > DataPacket::kMaxCells)
                fail(QStringLiteral("più di %1 valori").arg(DataPacket::kMaxCells));
            readRow(++rows);
        }
        leave();
    }

    void readRow(int number)
    {
        const int columns = m_table.fieldCount();
        if (!m_r.isArray())
            fail(QStringLiteral("la riga %1 deve essere una lista").arg(number));
        if (m_r.isLengthKnown() && m_r.length() != quint64(columns))
            fail(QStringLiteral("la riga %1 ha %2 valori invece di %3").arg(number).arg(m_r.length()).arg(columns));
        enter();
        std::vector<Cell> cells;
        cells.reserve(columns);
        while (hasNext()) {
            if (int(cells.size()) >= columns)
                fail(QStringLiteral("la riga %1 ha più di %2 valori").arg(number).arg(columns));
            cells.push_back(readValue(number, m_table.field(int(cells.size()))));
        }
        leave();
        if (int(cells.size()) != columns)
            fail(QStringLiteral("la riga %1 ha %2 valori invece di %3").arg(number).arg(cells.size()).arg(columns));
        m_table.appendCells(std::move(cells), true);
    }

    Cell readValue(int row, const Field &field)
    {
        const QString where = QStringLiteral("nella riga %1, colonna \"%2\"").arg(row).arg(field.name);
        auto wrongType = [&]() {
            fail(QStringLiteral("valore di tipo errato %1: atteso %2").arg(where, typeWanted(field.type)));
        };
        if (m_r.isByteArray()) {
            readNull(where);
            return Cell();
        }
        switch (field.type) {
        case FieldType::String: {
            if (!m_r.isString())
                wrongType();
            return Cell::ofText(readText(field.size, [&] {
                fail(QStringLiteral("testo più lungo di %1 caratteri %2").arg(field.size).arg(where));
            }));
        }
        case FieldType::Integer: {
            if (!m_r.isInteger())
                wrongType();
            const std::optional<qint64> v = readInteger();
            if (!v || *v < std::numeric_limits<qint32>::min() || *v > std::numeric_limits<qint32>::max())
                fail(QStringLiteral("intero fuori dall'intervallo a 32 bit %1").arg(where));
            return Cell::ofNumber(*v);
        }
        case FieldType::Date: {
            if (!m_r.isTag() || quint64(m_r.toTag()) != DataPacket::kDateTag)
                wrongType();
            next();
            if (!m_r.isString())
                wrongType();
            const QString text = readText(10, [&] { fail(QStringLiteral("data non valida %1").arg(where)); });
            const std::optional<QDate> d = Column::parseDate(text);
            if (!d)
                fail(QStringLiteral("data non valida \"%1\" %2").arg(text, where));
            return Cell::ofNumber(d->toJulianDay());
        }
        case FieldType::Boolean: {
            if (!m_r.isBool())
                wrongType();
            const bool b = m_r.toBool();
            next();
            return Cell::ofNumber(b ? 1 : 0);
        }
        }
        wrongType();
        return Cell();
    }

    // Null is an empty byte string; any byte inside it is a fault.
    void readNull(const QString &where)
    {
        for (;;) {
            if (m_r.currentStringChunkSize() > 0)
                fail(QStringLiteral("sequenza di byte non vuota %1: solo quella vuota indica Null").arg(where));
            const auto part = m_r.readByteArray();
            if (part.status == QCborStreamReader::Error) {
                check();
                fail(QStringLiteral("sequenza di byte non valida %1").arg(where));
            }
            if (part.status == QCborStreamReader::EndOfString)
                break;
        }
        check();
    }

    const QByteArray &m_bytes;
    QCborStreamReader m_r;
    Table m_table;
};

QByteArray DataPacket::encode(const Table &table)
{
    const int columns = table.fieldCount();
    if (table.m_rowCount > kMaxRows || qint64(table.m_rowCount) * std::max(1, columns) > kMaxCells)
        throw PacketError(QStringLiteral("Pacchetto dati troppo grande: %1 righe di %2 colonne").arg(table.m_rowCount).arg(columns));

    QByteArray out;
    QCborStreamWriter w(&out);
    w.startMap(2);
    w.append(QLatin1String("columns"));
    w.startArray(columns);
    for (const Column &c : table.m_columns) {
        w.startMap(3);
        w.append(QLatin1String("name"));
        w.append(c.field().name);
        w.append(QLatin1String("type"));
        w.append(fieldTypeName(c.field().type));
        w.append(QLatin1String("size"));
        w.append(qint64(c.field().size));
        w.endMap();
    }
    w.endArray();
    w.append(QLatin1String("rows"));
    w.startArray(table.m_rowCount);
    for (int row = 0; row < table.m_rowCount; ++row) {
        w.startArray(columns);
        for (const Column &c : table.m_columns) {
            const Cell cell = c.cell(row);
            if (cell.isNull()) {
                w.append(QByteArray());
                continue;
            }
            switch (c.field().type) {
            case FieldType::String:
                w.append(cell.text);
                break;
            case FieldType::Integer:
                w.append(cell.number);
                break;
            case FieldType::Date:
                w.append(QCborTag(kDateTag));
                w.append(c.toText(cell));
                break;
            case FieldType::Boolean:
                w.append(cell.number != 0);
                break;
            }
        }
        w.endArray();
    }
    w.endArray();
    w.endMap();
    if (out.size() > kMaxBytes)
        throw PacketError(QStringLiteral("Pacchetto dati troppo grande: %1 byte, al massimo %2").arg(out.size()).arg(kMaxBytes));
    return out;
}

Table DataPacket::decode(const QByteArray &packet)
{
    return DataPacketReader(packet).read();
}

} // namespace dataset
