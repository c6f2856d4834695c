#pragma once

#include <QString>

#include <optional>

namespace dataset {

// The four value types a table column can hold. Every value may also be Null.
enum class FieldType {
    String,  // text of at most `size` UTF-16 characters; a longer value is cut when stored
    Integer, // signed 32-bit integer
    Date,    // calendar date, years 1 to 9999
    Boolean,
};

// Widest text column a table accepts, in characters.
inline constexpr int kMaxStringSize = 8192;
// Longest column name, in characters.
inline constexpr int kMaxFieldNameLength = 128;
// Most columns in one table.
inline constexpr int kMaxFields = 1024;

// One column of a table: its name (matched without regard to case), its type and,
// for String columns, its width in characters (0 for the other types).
struct Field
{
    QString name;
    FieldType type = FieldType::String;
    int size = 0;

    friend bool operator==(const Field &, const Field &) = default;
};

// The type names used in data packets: "string", "integer", "date", "boolean".
QString fieldTypeName(FieldType type);
std::optional<FieldType> fieldTypeFromName(QStringView name);

} // namespace dataset
