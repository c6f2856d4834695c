#pragma once

#include "TDokRecordStore.h"

// Lookup tables the situations flow refers to; nothing fills them.
class TdmDokDataSetsRilevazioni : public TDokRecordStore
{
public:
    TdmDokDataSetsRilevazioni();

    dataset::Table &cdsFoglioIscrizione;
    dataset::Table &cdsOrarioSettimanale;
};
