#include "TfmDokChiediSede.h"

#include "TDokSedi.h"
#include "TQxInteraction.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The id column stays in the row, out of sight: the chosen row gives it back.
constexpr int kColonnaId = 6;
} // namespace

TfmDokChiediSede::TfmDokChiediSede(TQxInteraction &Interazione, QWidget *parent)
    : TfmQxOkCancel(parent), m_interazione(Interazione)
{
    setObjectName(QStringLiteral("TfmDokChiediSede"));
    setWindowTitle(QStringLiteral("Richiesta sede principale"));
    // No close button: the operator answers with OK or Annulla.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    resize(1009, 266);

    Label1 = new QLabel(QStringLiteral("Sono state rilevate più sedi con lo stesso codice meccanografico, selezionare "
                                       "la sede principale dall'elenco sottostante:"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    QFont titolo = Label1->font();
    titolo.setBold(true);
    titolo.setPixelSize(16);
    Label1->setFont(titolo);
    QPalette rosso = Label1->palette();
    rosso.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(rosso);

    lvDettSediMultiple = new QTreeWidget(this);
    lvDettSediMultiple->setObjectName(QStringLiteral("lvDettSediMultiple"));
    lvDettSediMultiple->setRootIsDecorated(false);
    lvDettSediMultiple->setItemsExpandable(false);
    lvDettSediMultiple->setSelectionMode(QAbstractItemView::SingleSelection);
    lvDettSediMultiple->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvDettSediMultiple->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont elenco(QStringLiteral("Arial"));
    elenco.setPixelSize(13);
    elenco.setBold(true);
    lvDettSediMultiple->setFont(elenco);
    lvDettSediMultiple->setHeaderLabels({QStringLiteral("Denominazione"), QStringLiteral("Comune"),
                                         QStringLiteral("Indirizzo"), QStringLiteral("telefono1"),
                                         QStringLiteral("telefono2"), QStringLiteral("FAX"),
                                         QStringLiteral("iSedId")});
    const int larghezze[] = {350, 170, 213, 80, 80, 80};
    for (int c = 0; c < kColonnaId; ++c)
        lvDettSediMultiple->setColumnWidth(c, larghezze[c]);
    lvDettSediMultiple->setColumnHidden(kColonnaId, true);

    ClientLayout->addWidget(Label1);
    ClientLayout->addWidget(lvDettSediMultiple, 1);
}

void TfmDokChiediSede::Carica(const QString &CodMecc, const QList<TDokSede> &Sedi)
{
    m_codMecc = CodMecc;
    m_idSede = -1;
    lvDettSediMultiple->clear();
    for (const TDokSede &s : Sedi)
        lvDettSediMultiple->addTopLevelItem(new QTreeWidgetItem(
            QStringList{s.Denominazione, s.Comune, s.Indirizzo, s.Telefono1, s.Telefono2, s.Fax,
                        QString::number(s.IdSede)}));
}

bool TfmDokChiediSede::CanAccept()
{
    const QList<QTreeWidgetItem *> scelte = lvDettSediMultiple->selectedItems();
    if (scelte.isEmpty()) {
        m_interazione.ShowWarning(QStringLiteral("La selezione di una sede è obbligatoria per procedere!"));
        return false;
    }
    bool numero = false;
    const int id = scelte.first()->text(kColonnaId).toInt(&numero);
    m_idSede = numero ? id : -1;
    return true;
}
