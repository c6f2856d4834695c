#include "TQxInteraction.h"

TQxInteraction::~TQxInteraction() = default;

QString MsgDlgTypeText(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtError: return QStringLiteral("Errore");
    case TMsgDlgType::mtWarning: return QStringLiteral("Avviso");
    case TMsgDlgType::mtInformation: return QStringLiteral("Informazione");
    case TMsgDlgType::mtConfirmation: return QStringLiteral("Conferma");
    }
    return QString();
}
