#pragma once

#include <QString>

class QPlainTextEdit;
class QWidget;

// The read-only text of the log windows: bold, blue, with its vertical scroll bar
// always shown.
QPlainTextEdit *QxMemoLog(QWidget *parent, const QString &objectName);
