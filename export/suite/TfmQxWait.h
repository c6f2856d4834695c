#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The wait window: not modal, it shows an operation text and a progress bar that
// the caller sets up with a range and advances by steps.
class TfmQxWait : public QWidget
{
    Q_OBJECT
public:
    explicit TfmQxWait(QWidget *parent = nullptr);

    void SetRange(int minimum, int maximum);
    void ShowOperation(const QString &text);   // shows the window with the text
    void Step(int by, const QString &text = QString());

    QLabel *laOperazione;
    QProgressBar *pbProgress;
};
