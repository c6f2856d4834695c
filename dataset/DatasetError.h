#pragma once

#include <QString>

#include <stdexcept>

namespace dataset {

// A misuse of a table or a value that does not fit its column (unknown field,
// text that is not a number for an integer column, editing without a current
// record). what() is the Italian text in UTF-8.
class DatasetError : public std::runtime_error
{
public:
    explicit DatasetError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

} // namespace dataset
