#include "Field.h"

namespace dataset {

QString fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return QStringLiteral("string");
    case FieldType::Integer:
        return QStringLiteral("integer");
    case FieldType::Date:
        return QStringLiteral("date");
    case FieldType::Boolean:
        return QStringLiteral("boolean");
    }
    return QString();
}

std::optional<FieldType> fieldTypeFromName(QStringView name)
{
    for (FieldType t : {FieldType::String, FieldType::Integer, FieldType::Date, FieldType::Boolean}) {
        if (name == fieldTypeName(t))
            return t;
    }
    return std::nullopt;
}

} // namespace dataset
