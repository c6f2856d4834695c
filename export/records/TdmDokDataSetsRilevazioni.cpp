#include "TdmDokDataSetsRilevazioni.h"

TdmDokDataSetsRilevazioni::TdmDokDataSetsRilevazioni()
    : cdsFoglioIscrizione(AggiungiTabella(QStringLiteral("cdsFoglioIscrizione"), {{"IDFoglioIscr", 9}}))
    , cdsOrarioSettimanale(AggiungiTabella(QStringLiteral("cdsOrarioSettimanale"), {{"IDOrarioSett", 9}}))
{
}
