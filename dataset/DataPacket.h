#pragma once

#include <QByteArray>

namespace dataset {

class Table;

// The data packet: a Table as bytes, for handing datasets between programs and
// for cache files. It is CBOR (RFC 8949), one item, laid out as
//
//   {"columns": [{"name": text, "type": text, "size": unsigned}, ...],
//    "rows":    [[value, ...], ...]}
//
// "columns" comes before "rows" (the loader reads in one pass). Column maps hold
// exactly the three keys; "type" is "string", "integer", "date" or "boolean";
// "size" is the width (1 to kMaxStringSize) of a string column and 0 otherwise;
// names are non-empty, unique without regard to case, at most
// kMaxFieldNameLength characters. Every row has one value per column:
//   string   a text string of at most "size" UTF-16 characters (a longer one is
//            refused, not cut: packets come from other programs)
//   integer  an integer within 32 bits
//   date     tag 1004 (RFC 8943, full-date) on the text "yyyy-MM-dd", years 0001-9999
//   boolean  true or false
//   Null     an empty byte string, for any type
// Definite and indefinite lengths are both read; the writer uses definite ones.
//
// Limits beyond which input counts as oversized: kMaxBytes bytes, kMaxFields
// columns (Field.h), kMaxRows rows, kMaxCells values in all.
//
// decode() refuses, with a PacketError "Pacchetto dati non valido: <reason>",
// anything else: empty or non-CBOR input, truncated input, another shape,
// unknown or repeated keys, unknown types, bad sizes, repeated column names,
// rows of the wrong length, values of the wrong type or out of range, texts
// longer than their column, oversized input and bytes after the packet.
class DataPacket
{
public:
    static constexpr qsizetype kMaxBytes = 32 * 1024 * 1024;
    static constexpr int kMaxRows = 1000000;
    static constexpr qint64 kMaxCells = 8000000;
    static constexpr quint64 kDateTag = 1004;

    // Every record of the table in table order, ignoring its filter and any
    // unposted buffer. Throws PacketError when the table is beyond the limits.
    static QByteArray encode(const Table &table);
    // A new table with the packet's columns and rows, on its first record.
    static Table decode(const QByteArray &packet);
};

} // namespace dataset
