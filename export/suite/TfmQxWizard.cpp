#include "TfmQxWizard.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

TfmQxWizard::TfmQxWizard(QWidget *parent) : QDialog(parent)
{
    auto *layout = new QVBoxLayout(this);
    pcPages = new QStackedWidget(this);
    pcPages->setObjectName(QStringLiteral("pcPages"));
    layout->addWidget(pcPages, 1);
    auto *row = new QHBoxLayout;
    buBack = new QPushButton(QStringLiteral("< Indietro"), this);
    buBack->setObjectName(QStringLiteral("buBack"));
    buNext = new QPushButton(QStringLiteral("Avanti >"), this);
    buNext->setObjectName(QStringLiteral("buNext"));
    buOk = new QPushButton(QStringLiteral("OK"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    buCancel = new QPushButton(QStringLiteral("Annulla"), this);
    buCancel->setObjectName(QStringLiteral("buCancel"));
    row->addStretch(1);
    row->addWidget(buBack);
    row->addWidget(buNext);
    row->addWidget(buOk);
    row->addWidget(buCancel);
    layout->addLayout(row);
    connect(buNext, &QPushButton::clicked, this, &TfmQxWizard::GoNext);
    connect(buBack, &QPushButton::clicked, this, &TfmQxWizard::GoBack);
    connect(buOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(buCancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateButtons();
}

int TfmQxWizard::AddPage(QWidget *page)
{
    return pcPages->addWidget(page);
}

int TfmQxWizard::ActivePage() const
{
    return pcPages->currentIndex();
}

void TfmQxWizard::ActivatePath(const QString &name)
{
    Paths.Activate(name);
    ShowPage(Paths.CurrentPage());
}

bool TfmQxWizard::GoNext()
{
    const int to = Paths.NextPage();
    if (to < 0 || !PageChanging(Paths.CurrentPage(), to, true))
        return false;
    Paths.Next();
    ShowPage(to);
    return true;
}

bool TfmQxWizard::GoBack()
{
    const int to = Paths.PreviousPage();
    if (to < 0 || !PageChanging(Paths.CurrentPage(), to, false))
        return false;
    Paths.Back();
    ShowPage(to);
    return true;
}

bool TfmQxWizard::PageChanging(int, int, bool)
{
    return true;
}

void TfmQxWizard::PageChanged(int) {}

void TfmQxWizard::ShowPage(int page)
{
    if (page >= 0 && page < pcPages->count())
        pcPages->setCurrentIndex(page);
    UpdateButtons();
    PageChanged(page);
}

void TfmQxWizard::UpdateButtons()
{
    buNext->setEnabled(Paths.CanGoNext());
    buBack->setEnabled(Paths.CanGoBack());
}
