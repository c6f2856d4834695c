#pragma once

// Remote types shaped like SIDI's, for exercising the encoder and decoder:
// a message list answer (derived, arrays of structures), an operation header
// shared by ports with different type namespaces, and a document/literal
// service with optional, repeatable and nillable properties.
#include <SoapOperation.h>
#include <SoapType.h>

namespace testtypes {

using sidi::Property;
using sidi::Type;

inline const Type &MessaggioBean()
{
    static const Type t("MessaggioBean", {{"area", Type::String()}, {"codice", Type::String()},
                                          {"descr", Type::String()}});
    return t;
}

inline const Type &ArrayOfMessaggioBean()
{
    static const Type t = Type::arrayOf("ArrayOfMessaggioBean", MessaggioBean());
    return t;
}

inline const Type &EsitoBean()
{
    static const Type t("EsitoBean", {{"esito", Type::Int()},
                                      {"listaErrori", ArrayOfMessaggioBean()},
                                      {"listaMessaggi", ArrayOfMessaggioBean()}});
    return t;
}

inline const Type &ModOpeScuolaEsito()
{
    static const Type t("ModOpeScuolaEsito",
                        {{"annoScolastico", Type::String()}, {"codiceDeboleScuola", Type::String()},
                         {"gestioneSidi", Type::Boolean()}},
                        &EsitoBean());
    return t;
}

inline const Type &HeaderOperation()
{
    static const Type t("HeaderOperation",
                        {{"annoScolastico", Type::String()}, {"codFlusso", Type::String()},
                         {"codicedDeboleScuola", Type::String()}, {"fornitore", Type::String()},
                         {"versioneSw", Type::String()}});
    return t;
}

inline const Type &ModOpeScuolaInput()
{
    static const Type t("ModOpeScuolaInput", {{"annoScolastico", Type::String()},
                                              {"codiceDeboleScuola", Type::String()}});
    return t;
}

// RPC port whose types live in the target namespace.
inline const sidi::Port &UtilityPort()
{
    static const sidi::Port p{"UtilitySidiWSTrs", "UtilitySidiWSTrsSoapHttpPort",
                              sidi::Style::RpcEncoded, sidi::NamespaceRole::Target, {}};
    return p;
}

// RPC port whose types live in the "types/" namespace.
inline const sidi::Port &IndirizzoPort()
{
    static const sidi::Port p{"GestioneIndirizzoSidiWSTrs", "GestioneIndirizzoSidiWSTrsSoapHttpPort",
                              sidi::Style::RpcEncoded, sidi::NamespaceRole::Types, {}};
    return p;
}

inline const sidi::Operation &leggiModalitaOperativaScuola()
{
    static const sidi::Operation op{&UtilityPort(),
                                    "leggiModalitaOperativaScuola",
                                    {{"headerOperation", HeaderOperation()},
                                     {"modOpeScuola", ModOpeScuolaInput()}},
                                    {"result", ModOpeScuolaEsito()}};
    return op;
}

inline const sidi::Operation &ricercaIndirizzo()
{
    static const sidi::Operation op{&IndirizzoPort(),
                                    "ricercaIndirizzo",
                                    {{"headerOperazione", HeaderOperation()},
                                     {"theInput", ModOpeScuolaInput()}},
                                    {"result", EsitoBean()}};
    return op;
}

// Two levels of arrays, as in the multi-grade class answers.
inline const Type &ClasseComponente()
{
    static const Type t("ClasseComponente", {{"annoCronologico", Type::String()}, {"sezione", Type::String()}});
    return t;
}

inline const Type &ArrayOfClasseComponente()
{
    static const Type t = Type::arrayOf("ArrayOfClasseComponente", ClasseComponente());
    return t;
}

inline const Type &PluriclasseSidi()
{
    static const Type t("PluriclasseSidi", {{"classiComponenti", ArrayOfClasseComponente()},
                                            {"descrizione", Type::String()}});
    return t;
}

inline const Type &ArrayOfPluriclasseSidi()
{
    static const Type t = Type::arrayOf("ArrayOfPluriclasseSidi", PluriclasseSidi());
    return t;
}

inline const Type &OutputRicercaPluriclasse()
{
    static const Type t("OutputRicercaPluriclasse", {{"listaPluriclassiSidi", ArrayOfPluriclasseSidi()}},
                        &EsitoBean());
    return t;
}

inline const sidi::Operation &ricercaPluriclasse()
{
    static const sidi::Operation op{&UtilityPort(),
                                    "ricercaPluriclasse",
                                    {{"headerOperazione", HeaderOperation()},
                                     {"theInput", ModOpeScuolaInput()}},
                                    {"result", OutputRicercaPluriclasse()}};
    return op;
}

// Document/literal, wrappers in the target namespace, the rest in "types/",
// the array of strings in the XML Schema namespace.
inline const Type &ArrayOfString()
{
    static const Type t = Type::arrayOf("Array_Of_string", Type::String());
    return t;
}

inline const Type &AlunnoSidi()
{
    static const Type t("AlunnoSidi", {{"nome", Type::String(), Property::Nillable},
                                       {"cognome", Type::String(), Property::Nillable}});
    return t;
}

inline const Type &ArrayOfAlunnoSidi()
{
    static const Type t = Type::arrayOf("Array_Of_AlunnoSidi", AlunnoSidi());
    return t;
}

inline const Type &Filtro()
{
    static const Type t("Filtro", {{"versioneSw", Type::String(), Property::Nillable},
                                   {"codiceDebole", Type::String(), Property::Nillable}});
    return t;
}

inline const Type &FiltroAlunni()
{
    static const Type t("FiltroSidiAnagrafeAlunni",
                        {{"sezione", Type::String(), Property::Nillable}}, &Filtro());
    return t;
}

inline const Type &SidiAnagrafeAlunni()
{
    constexpr int list = Property::Optional | Property::Repeatable | Property::Nillable;
    static const Type t("SidiAnagrafeAlunni", {{"errors", ArrayOfString(), list},
                                               {"alunni", ArrayOfAlunnoSidi(), list}});
    return t;
}

inline const Type &RequestElement()
{
    static const Type t("estraiSidiAnagrafeAlunniElement", {{"theFiltro", FiltroAlunni()}});
    return t;
}

inline const Type &ResponseElement()
{
    static const Type t("estraiSidiAnagrafeAlunniResponseElement", {{"result", SidiAnagrafeAlunni()}});
    return t;
}

inline const sidi::Port &AccessoPort()
{
    static const sidi::Port p{"AccessoSidiWSTrs",
                              "AccessoSidiWSTrsSoapHttpPort",
                              sidi::Style::DocumentLiteral,
                              sidi::NamespaceRole::Types,
                              {{"estraiSidiAnagrafeAlunniElement", sidi::NamespaceRole::Target},
                               {"estraiSidiAnagrafeAlunniResponseElement", sidi::NamespaceRole::Target},
                               {"Array_Of_string", sidi::NamespaceRole::Schema}}};
    return p;
}

inline const sidi::Operation &estraiSidiAnagrafeAlunni()
{
    static const sidi::Operation op{&AccessoPort(),
                                    "estraiSidiAnagrafeAlunni",
                                    {{"parameters", RequestElement()}},
                                    {"parameters", ResponseElement()}};
    return op;
}

} // namespace testtypes
