// Feeds arbitrary bytes to the data packet loader. Refusing is fine; anything
// else must hold up: a loaded table is written back, loaded again and must give
// the same bytes, and walking, sorting and indexing it must not fail.
#include "PacketError.h"
#include "Table.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    dataset::Table table;
    try {
        table = dataset::Table::fromPacket(bytes);
    } catch (const dataset::PacketError &e) {
        if (!QByteArray(e.what()).startsWith("Pacchetto dati non valido: "))
            std::abort();
        return 0;
    }

    const QByteArray once = table.toPacket();
    if (dataset::Table::fromPacket(once).toPacket() != once)
        std::abort();

    int cells = 0;
    for (table.first(); !table.eof(); table.next()) {
        for (int c = 0; c < table.fieldCount(); ++c)
            cells += table.asString(c).size() >= 0;
    }
    if (table.fieldCount() > 0) {
        const QString name = table.field(table.fieldCount() - 1).name;
        const int index = table.addIndex({name});
        table.sortBy({name, table.field(0).name});
        for (int r = 1; r <= table.recordCount(); ++r) {
            if (!table.hasKey(index, {table.recordAt(r).value(name)}))
                std::abort();
        }
        if (table.toPacket().size() != once.size())
            std::abort();
    }
    return cells < 0;
}
