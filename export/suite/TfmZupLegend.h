#pragma once

#include "TfmQxDialogs.h"

class QTableWidget;

// The legend of the Sogei state codes, shown modally.
class TfmZupLegend : public TfmQxEmpty
{
    Q_OBJECT
public:
    explicit TfmZupLegend(QWidget *parent = nullptr);

    QTableWidget *grLegenda;
    QPushButton *buOk;
};
