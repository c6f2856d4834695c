#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The registry validation states that Sogei gives each certified pupil, with the
// meaning the secretaries read in the legend.
namespace TQxSogeiStates {
// Code and meaning, in code order.
const QList<QPair<QString, QString>> &Codes();
// The legend as text, one "code - meaning" per line.
QString LegendText();
}
