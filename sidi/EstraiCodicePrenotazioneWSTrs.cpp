#include "EstraiCodicePrenotazioneWSTrs.h"

namespace sidi {

const Port &EstraiCodicePrenotazioneWSTrs::port()
{
    static const Port p{QStringLiteral("EstraiCodicePrenotazioneWSTrs"),
                        QStringLiteral("EstraiCodicePrenotazioneWSTrsSoapHttpPort"),
                        Style::RpcEncoded,
                        NamespaceRole::Target,
                        {}};
    return p;
}

const Operation &EstraiCodicePrenotazioneWSTrs::getCodicePrenotazione()
{
    static const Operation op{&port(),
                              QStringLiteral("getCodicePrenotazione"),
                              {{"codiceDebole", Type::String()}, {"codMigAre", Type::String()}},
                              {"result", Type::String()}};
    return op;
}

} // namespace sidi
