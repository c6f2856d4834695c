#pragma once

#include "DatasetError.h"

namespace dataset {

// A data packet that cannot be loaded (or a table too large to become one).
// what() is the Italian text in UTF-8, starting with "Pacchetto dati non valido: "
// for input that was refused.
class PacketError : public DatasetError
{
public:
    using DatasetError::DatasetError;
};

} // namespace dataset
