#include "TfmDokTipoScuola.h"

#include "TDokTipoScuola.h"
#include "TQxInteraction.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

TfmDokTipoScuola::TfmDokTipoScuola(const QSqlDatabase &Db, TQxInteraction &Interazione, QWidget *parent)
    : QDialog(parent), m_db(Db), m_interazione(Interazione)
{
    setObjectName(QStringLiteral("TfmDokTipoScuola"));
    setWindowTitle(QStringLiteral("Tipo Scuola"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    resize(331, 144);

    laTipoScuola = new QLabel(this);
    laTipoScuola->setObjectName(QStringLiteral("laTipoScuola"));
    laTipoScuola->setWordWrap(true);
    QFont grassetto = laTipoScuola->font();
    grassetto.setBold(true);
    laTipoScuola->setFont(grassetto);

    lascuola = new QLabel(QStringLiteral("è una scuola"), this);
    lascuola->setObjectName(QStringLiteral("lascuola"));

    cbTipoScuola = new QComboBox(this);
    cbTipoScuola->setObjectName(QStringLiteral("cbTipoScuola"));
    cbTipoScuola->setEditable(true);
    // What the operator types is the answer, not a new item of the list.
    cbTipoScuola->setInsertPolicy(QComboBox::NoInsert);
    cbTipoScuola->addItems({QStringLiteral("MATERNA"), QStringLiteral("ELEMENTARE"), QStringLiteral("MEDIA"),
                            QStringLiteral("SUPERIORE")});
    SetTipo(QString());

    buConferma = new QPushButton(QStringLiteral("&Conferma"), this);
    buConferma->setObjectName(QStringLiteral("buConferma"));
    buConferma->setDefault(true);
    buAnnulla = new QPushButton(QStringLiteral("&Annulla"), this);
    buAnnulla->setObjectName(QStringLiteral("buAnnulla"));

    auto *tipo = new QHBoxLayout;
    tipo->addWidget(lascuola);
    tipo->addWidget(cbTipoScuola, 1);
    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(buConferma);
    pulsanti->addWidget(buAnnulla);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(laTipoScuola);
    layout->addLayout(tipo);
    layout->addStretch(1);
    layout->addLayout(pulsanti);

    connect(buConferma, &QPushButton::clicked, this, &TfmDokTipoScuola::buConfermaClick);
    connect(buAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmDokTipoScuola::SetTipo(const QString &Tipo)
{
    // Without this an editable box would show its first item for an empty text.
    cbTipoScuola->setCurrentIndex(cbTipoScuola->findText(Tipo));
    cbTipoScuola->setEditText(Tipo);
}

void TfmDokTipoScuola::buConfermaClick()
{
    if (cbTipoScuola->currentText().isEmpty()) {
        m_interazione.ShowInformation(QStringLiteral("Selezionare il tipo scuola"));
        return;
    }
    try {
        TDokTipoScuola::Salva(m_db, m_codMecc, cbTipoScuola->currentText());
    } catch (const std::exception &e) {
        // The type is not stored: the operator may retry or cancel.
        m_interazione.ShowError(QString::fromUtf8(e.what()));
        return;
    }
    accept();
}
