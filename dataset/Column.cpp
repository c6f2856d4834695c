#include "Column.h"

#include "DatasetError.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace dataset {

namespace {

bool isText(const QVariant &v)
{
    const int id = v.typeId();
    return id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
}

bool isFloating(const QVariant &v)
{
    const int id = v.typeId();
    return id == QMetaType::Double || id == QMetaType::Float;
}

} // namespace

Column::Column(Field field) : m_field(std::move(field)) {}

Cell Column::cell(int row) const
{
    if (m_field.type == FieldType::String)
        return m_textNull[row] ? Cell() : Cell::ofText(m_text[row]);
    return Cell::ofNumber(m_number[row]);
}

bool Column::isNull(int row) const
{
    return m_field.type == FieldType::String ? bool(m_textNull[row]) : m_number[row] == Cell::kNull;
}

void Column::append(Cell cell)
{
    if (m_field.type == FieldType::String) {
        m_textNull.push_back(cell.isNull());
        m_text.push_back(std::move(cell.text));
    } else {
        m_number.push_back(cell.number);
    }
}

void Column::set(int row, Cell cell)
{
    if (m_field.type == FieldType::String) {
        m_textNull[row] = cell.isNull();
        m_text[row] = std::move(cell.text);
    } else {
        m_number[row] = cell.number;
    }
}

void Column::clear()
{
    // Release the memory too: an emptied store may stay around for the whole run.
    std::vector<QString>().swap(m_text);
    std::vector<bool>().swap(m_textNull);
    std::vector<qint64>().swap(m_number);
}

void Column::reserve(size_t rows)
{
    if (m_field.type == FieldType::String) {
        m_text.reserve(rows);
        m_textNull.reserve(rows);
    } else {
        m_number.reserve(rows);
    }
}

template<typename T>
static std::vector<T> permuted(const std::vector<T> &values, const std::vector<int> &order)
{
    std::vector<T> out;
    out.reserve(order.size());
    for (int from : order)
        out.push_back(values[from]);
    return out;
}

void Column::permute(const std::vector<int> &order)
{
    if (m_field.type == FieldType::String) {
        m_text = permuted(m_text, order);
        m_textNull = permuted(m_textNull, order);
    } else {
        m_number = permuted(m_number, order);
    }
}

int Column::compareRows(int a, int b) const
{
    if (m_field.type != FieldType::String) {
        const qint64 x = m_number[a], y = m_number[b]; // kNull is the smallest qint64
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (m_textNull[a] || m_textNull[b])
        return int(bool(m_textNull[b])) - int(bool(m_textNull[a]));
    return QString::compare(m_text[a], m_text[b], Qt::CaseSensitive);
}

Cell Column::toCell(const QVariant &value) const
{
    QString error;
    std::optional<Cell> c = convert(value, false, &error);
    if (!c)
        throw DatasetError(error);
    return *c;
}

std::optional<Cell> Column::toLookupCell(const QVariant &value) const
{
    return convert(value, true, nullptr);
}

std::optional<Cell> Column::convert(const QVariant &value, bool forLookup, QString *error) const
{
    if (!value.isValid() || value.isNull())
        return Cell();
    const QString shown = value.toString();
    auto refuse = [&](const QString &what) -> std::optional<Cell> {
        if (error)
            *error = QStringLiteral("Il valore '%1' non è %2 per il campo '%3'").arg(shown, what, m_field.name);
        return std::nullopt;
    };

    switch (m_field.type) {
    case FieldType::String: {
        QString text = value.typeId() == QMetaType::QDate ? value.toDate().toString(QStringLiteral("yyyy-MM-dd"))
                                                          : value.toString();
        if (text.size() > m_field.size) {
            if (forLookup)
                return std::nullopt;
            text = cut(std::move(text), m_field.size);
        }
        return Cell::ofText(std::move(text));
    }
    case FieldType::Integer: {
        bool ok = false;
        qint64 n = 0;
        if (value.typeId() == QMetaType::Bool) {
            n = value.toBool() ? 1 : 0;
            ok = true;
        } else if (isText(value)) {
            const QString t = value.toString().trimmed();
            if (t.isEmpty())
                return Cell();
            n = t.toLongLong(&ok, 10);
        } else if (isFloating(value)) {
            const double d = value.toDouble();
            ok = d >= -2147483648.0 && d <= 2147483647.0 && d == std::trunc(d);
            n = ok ? qint64(d) : 0;
        } else {
            n = value.toLongLong(&ok);
            // toLongLong wraps large unsigned values; such a value is out of range anyway.
            if (ok && value.typeId() == QMetaType::ULongLong && value.toULongLong() > quint64(std::numeric_limits<qint32>::max()))
                ok = false;
        }
        if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
            return refuse(QStringLiteral("un intero a 32 bit valido"));
        return Cell::ofNumber(n);
    }
    case FieldType::Date: {
        QDate d;
        if (value.typeId() == QMetaType::QDate) {
            d = value.toDate();
        } else if (value.typeId() == QMetaType::QDateTime) {
            d = value.toDateTime().date();
        } else if (isText(value)) {
            const QString t = value.toString().trimmed();
            if (t.isEmpty())
                return Cell();
            d = parseDate(t).value_or(QDate());
            if (!d.isValid())
                return refuse(QStringLiteral("una data valida (aaaa-mm-gg)"));
        } else {
            return refuse(QStringLiteral("una data valida"));
        }
        if (!d.isValid())
            return Cell();
        if (!dateInRange(d))
            return refuse(QStringLiteral("una data tra gli anni 1 e 9999"));
        return Cell::ofNumber(d.toJulianDay());
    }
    case FieldType::Boolean: {
        if (value.typeId() == QMetaType::Bool)
            return Cell::ofNumber(value.toBool() ? 1 : 0);
        if (isText(value)) {
            const QString t = value.toString().trimmed();
            if (t.isEmpty())
                return Cell();
            if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || t == QLatin1String("1"))
                return Cell::ofNumber(1);
            if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || t == QLatin1String("0"))
                return Cell::ofNumber(0);
            return refuse(QStringLiteral("un valore booleano valido"));
        }
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok || isFloating(value))
            return refuse(QStringLiteral("un valore booleano valido"));
        return Cell::ofNumber(n != 0 ? 1 : 0);
    }
    }
    return refuse(QString());
}

QVariant Column::toVariant(const Cell &cell) const
{
    if (cell.isNull())
        return QVariant();
    switch (m_field.type) {
    case FieldType::String:
        return cell.text;
    case FieldType::Integer:
        return int(cell.number);
    case FieldType::Date:
        return QDate::fromJulianDay(cell.number);
    case FieldType::Boolean:
        return cell.number != 0;
    }
    return QVariant();
}

QString Column::toText(const Cell &cell) const
{
    if (cell.isNull())
        return QString();
    switch (m_field.type) {
    case FieldType::String:
        return cell.text;
    case FieldType::Integer:
        return QString::number(cell.number);
    case FieldType::Date:
        return QDate::fromJulianDay(cell.number).toString(QStringLiteral("yyyy-MM-dd"));
    case FieldType::Boolean:
        return cell.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    }
    return QString();
}

std::optional<QDate> Column::parseDate(QStringView text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return std::nullopt;
    auto number = [&](int from, int len) {
        int n = 0;
        for (int i = from; i < from + len; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    const QDate d(number(0, 4), number(5, 2), number(8, 2));
    if (!d.isValid() || !dateInRange(d))
        return std::nullopt;
    return d;
}

bool Column::dateInRange(const QDate &date)
{
    return date.year() >= 1 && date.year() <= 9999;
}

QString Column::cut(QString text, int width)
{
    if (text.size() <= width)
        return text;
    text.truncate(width);
    if (!text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

} // namespace dataset
