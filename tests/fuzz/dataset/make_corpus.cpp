// Writes the seed packets of the fuzz corpus into the folder given: valid
// packets of every kind of column, and a few broken ones near the valid shape.
#include "Table.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QDate>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;
using dataset::FieldType;
using dataset::Table;

static void save(const QDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));

    Table all({{u"Nome"_s, FieldType::String, 12},
               {u"Codice"_s, FieldType::Integer, 0},
               {u"Nascita"_s, FieldType::Date, 0},
               {u"Attivo"_s, FieldType::Boolean, 0}});
    all.append({u"Niccolò"_s, 2147483647, QDate(2016, 9, 30), true});
    all.append({QString(), -2147483647 - 1, QDate(1, 1, 1), false});
    all.append({QVariant(), QVariant(), QVariant(), QVariant()});
    const QByteArray good = all.toPacket();
    save(dir, u"valid-every-type"_s, good);

    Table messages({{u"Tipo"_s, FieldType::Integer, 0},
                    {u"Area"_s, FieldType::String, 10},
                    {u"codice"_s, FieldType::String, 10},
                    {u"descr"_s, FieldType::String, 255}});
    save(dir, u"valid-empty"_s, messages.toPacket());
    messages.append({1, u"ALUNNI"_s, u"E042"_s, u"Codice fiscale non valido"_s});
    messages.append({2, u"ALUNNI"_s, u"M001"_s, QVariant()});
    save(dir, u"valid-messages"_s, messages.toPacket());
    save(dir, u"valid-no-columns"_s, Table().toPacket());

    // Indefinite lengths and chunked strings, as another writer may send them.
    save(dir, u"valid-indefinite"_s,
         QByteArray::fromHex("bf67636f6c756d6e739fa3646e616d656158647479706566737472696e676473697a6504ff64726f77739f9f7f6161616"
                             "2ffffffff"));

    save(dir, u"bad-truncated"_s, good.left(good.size() / 2));
    save(dir, u"bad-trailing"_s, good + QByteArray(1, '\0'));
    QByteArray wrongType = good;
    wrongType.replace(QByteArray("\xd9\x03\xec", 3), QByteArray("\xd9\x03\xed", 3)); // tag 1005 instead of 1004
    save(dir, u"bad-date-tag"_s, wrongType);
    save(dir, u"bad-shape"_s,
         QCborValue(QCborMap{{u"rows"_s, QCborArray{QCborArray{1}}}, {u"columns"_s, QCborArray{}}}).toCbor());
    return 0;
}
