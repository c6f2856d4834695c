#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// One site of a meccanographic code, as the site chooser lists it.
struct TDokSede
{
    int IdSede = 0;           // ISEDID
    QString Denominazione;    // SSEDINFLDESC
    QString Comune;           // SCOMDESC
    QString Indirizzo;        // SSEDINFINDIRIZZO
    QString Telefono1;        // SSEDINFTELEFONO
    QString Telefono2;        // SSEDINFTELEFONO2
    QString Fax;              // SSEDINFFAX
};

class TDokSedi
{
public:
    TDokSedi() = delete;

    // Every site registered under CodMecc, in the database's order. The chooser
    // window lists them; batch mode names them when it cannot choose.
    static QList<TDokSede> ElencoSedi(const QSqlDatabase &Db, const QString &CodMecc);
};
