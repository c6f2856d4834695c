#include "TfmQxWait.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TfmQxWait::TfmQxWait(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("TfmQxWait"));
    setWindowTitle(QStringLiteral("Attendere..."));
    setWindowModality(Qt::NonModal);
    auto *layout = new QVBoxLayout(this);
    laOperazione = new QLabel(this);
    laOperazione->setObjectName(QStringLiteral("laOperazione"));
    laOperazione->setMinimumWidth(420);
    pbProgress = new QProgressBar(this);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    layout->addWidget(laOperazione);
    layout->addWidget(pbProgress);
}

void TfmQxWait::SetRange(int minimum, int maximum)
{
    pbProgress->setRange(minimum, maximum);
    pbProgress->setValue(minimum);
}

void TfmQxWait::ShowOperation(const QString &text)
{
    laOperazione->setText(text);
    show();
    raise();
    QApplication::processEvents();
}

void TfmQxWait::Step(int by, const QString &text)
{
    if (!text.isEmpty())
        laOperazione->setText(text);
    pbProgress->setValue(qMin(pbProgress->maximum(), pbProgress->value() + by));
    QApplication::processEvents();
}
