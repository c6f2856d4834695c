#include "TfmQxDialogs.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TfmQxEmpty::TfmQxEmpty(QWidget *parent) : QDialog(parent)
{
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    paClient = new QWidget(this);
    paClient->setObjectName(QStringLiteral("paClient"));
    ClientLayout = new QVBoxLayout(paClient);
    ClientLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(paClient, 1);
}

TfmQxOkCancel::TfmQxOkCancel(QWidget *parent) : TfmQxEmpty(parent)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    buOk = new QPushButton(QStringLiteral("OK"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    buOk->setDefault(true);
    buCancel = new QPushButton(QStringLiteral("Annulla"), this);
    buCancel->setObjectName(QStringLiteral("buCancel"));
    row->addWidget(buOk);
    row->addWidget(buCancel);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
    connect(buOk, &QPushButton::clicked, this, &TfmQxOkCancel::buOkClick);
    connect(buCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmQxOkCancel::buOkClick()
{
    if (CanAccept())
        accept();
}
