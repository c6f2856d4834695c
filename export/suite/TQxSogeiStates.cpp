#include "TQxSogeiStates.h"

namespace TQxSogeiStates {

const QList<QPair<QString, QString>> &Codes()
{
    static const QList<QPair<QString, QString>> codes{
        {QStringLiteral("00"), QStringLiteral("Codice fiscale e dati anagrafici validati dall'Agenzia delle Entrate")},
        {QStringLiteral("03"), QStringLiteral("Codice fiscale validato; cognome e/o nome diversi da quelli certificati")},
        {QStringLiteral("16"), QStringLiteral("Codice fiscale errato: disponibile il codice fiscale certificato")},
        {QStringLiteral("22"), QStringLiteral("Codice fiscale errato (omocodia): disponibile il codice fiscale certificato")},
        {QStringLiteral("23"), QStringLiteral("Codice fiscale e dati anagrafici errati: disponibili i dati certificati")},
        {QStringLiteral("50"), QStringLiteral("Alunno in attesa di trasmissione a SOGEI")},
        {QStringLiteral("51"), QStringLiteral("Alunno trasmesso a SOGEI, in attesa di validazione")},
        {QStringLiteral("52"), QStringLiteral("Codice fiscale in attesa di validazione SOGEI")},
        {QStringLiteral("97"), QStringLiteral("Codice fiscale validato d'ufficio")},
        {QStringLiteral("98"), QStringLiteral("Codice fiscale provvisorio (fittizio) in attesa di validazione")},
        {QStringLiteral("99"), QStringLiteral("Alunno non presente nell'archivio dell'Agenzia delle Entrate: dati da verificare")},
    };
    return codes;
}

QString LegendText()
{
    QStringList lines{QStringLiteral("Legenda stati SOGEI")};
    for (const auto &code : Codes())
        lines << code.first + QStringLiteral(" - ") + code.second;
    return lines.join(QLatin1Char('\n'));
}

} // namespace TQxSogeiStates
