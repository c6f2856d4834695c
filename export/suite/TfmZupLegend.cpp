#include "TfmZupLegend.h"

#include "TQxSogeiStates.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TfmZupLegend::TfmZupLegend(QWidget *parent) : TfmQxEmpty(parent)
{
    setObjectName(QStringLiteral("TfmZupLegend"));
    setWindowTitle(QStringLiteral("Legenda stati SOGEI"));
    const auto &codes = TQxSogeiStates::Codes();
    grLegenda = new QTableWidget(int(codes.size()), 2, this);
    grLegenda->setObjectName(QStringLiteral("grLegenda"));
    grLegenda->setHorizontalHeaderLabels({QStringLiteral("Stato"), QStringLiteral("Significato")});
    grLegenda->verticalHeader()->hide();
    grLegenda->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grLegenda->setSelectionBehavior(QAbstractItemView::SelectRows);
    grLegenda->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < codes.size(); ++row) {
        grLegenda->setItem(row, 0, new QTableWidgetItem(codes.at(row).first));
        grLegenda->setItem(row, 1, new QTableWidgetItem(codes.at(row).second));
    }
    grLegenda->resizeColumnToContents(0);
    grLegenda->setMinimumSize(640, 330);
    ClientLayout->addWidget(grLegenda);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    buOk = new QPushButton(QStringLiteral("OK"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    row->addWidget(buOk);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
    connect(buOk, &QPushButton::clicked, this, &QDialog::accept);
}
