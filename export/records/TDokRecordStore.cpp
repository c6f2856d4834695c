#include "TDokRecordStore.h"

#include <stdexcept>

QList<dataset::Table *> TDokRecordStore::Tabelle()
{
    QList<dataset::Table *> tabelle;
    for (auto &t : m_tabelle)
        tabelle.append(&t);
    return tabelle;
}

dataset::Table &TDokRecordStore::Tabella(const QString &nome)
{
    const qsizetype i = m_nomi.indexOf(nome);
    if (i < 0)
        throw std::runtime_error(QStringLiteral("Tabella sconosciuta: %1").arg(nome).toStdString());
    return m_tabelle[size_t(i)];
}

void TDokRecordStore::SvuotaStore()
{
    for (auto &t : m_tabelle) {
        t.clearFilter();
        t.clear();
    }
}

dataset::Table &TDokRecordStore::AggiungiTabella(const QString &nome, std::initializer_list<Colonna> colonne)
{
    dataset::Table &t = m_tabelle.emplace_back();
    for (const Colonna &c : colonne) {
        if (c.Larghezza == kRecordInteger)
            t.addField(QString::fromLatin1(c.Nome), dataset::FieldType::Integer);
        else
            t.addField(QString::fromLatin1(c.Nome), dataset::FieldType::String, c.Larghezza);
    }
    t.addField(QStringLiteral("E"), dataset::FieldType::Integer);
    t.addField(QStringLiteral("CampoScartato"), dataset::FieldType::String, 250);
    m_nomi.append(nome);
    return t;
}
