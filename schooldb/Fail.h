#pragma once

#include <QString>

#include <stdexcept>

namespace schooldb {

// Every error of the library: the Italian text for the operator, in UTF-8.
[[noreturn]] inline void fail(const QString &text) { throw std::runtime_error(text.toStdString()); }

} // namespace schooldb
