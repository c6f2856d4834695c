#pragma once

#include "Table.h"

#include <QList>
#include <QString>

#include <deque>
#include <initializer_list>

// A record store: named record tables in a fixed order, kept in memory from
// start-up to the end of the program; only SvuotaStore() empties them.
class TDokRecordStore
{
public:
    // One column of a record table: a text of the given width, or an integer
    // when the width is kRecordInteger.
    struct Colonna
    {
        const char *Nome;
        int Larghezza;
    };
    static constexpr int kRecordInteger = 0;

    virtual ~TDokRecordStore() = default;
    TDokRecordStore() = default;
    TDokRecordStore(const TDokRecordStore &) = delete;
    TDokRecordStore &operator=(const TDokRecordStore &) = delete;

    // The tables in store order.
    QList<dataset::Table *> Tabelle();
    QStringList NomiTabelle() const { return m_nomi; }
    dataset::Table &Tabella(const QString &nome); // throws when unknown

    // Deletes every record of every table; columns and indexes stay.
    virtual void SvuotaStore();

protected:
    // Adds a record table with the given columns followed by E and CampoScartato.
    dataset::Table &AggiungiTabella(const QString &nome, std::initializer_list<Colonna> colonne);

private:
    std::deque<dataset::Table> m_tabelle; // a deque keeps references stable
    QStringList m_nomi;
};
