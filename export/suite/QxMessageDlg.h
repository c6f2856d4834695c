#pragma once

#include "TQxInteraction.h"

class QWidget;

// The suite's modal message dialog: the kind gives the icon and the caption, the
// button set OK or Yes and No. Returns the modal result of the button pressed.
int QxMessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget *parent = nullptr);
