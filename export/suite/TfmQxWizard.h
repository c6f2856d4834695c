#pragma once

#include "TQxWizardPaths.h"

#include <QDialog>

class QPushButton;
class QStackedWidget;

// The wizard base: a page control without tabs, the buttons OK, Cancel, Next
// ("Avanti") and Back ("Indietro"), and named page paths. Before leaving a page it
// calls PageChanging(), which may refuse the change.
class TfmQxWizard : public QDialog
{
    Q_OBJECT
public:
    explicit TfmQxWizard(QWidget *parent = nullptr);

    int AddPage(QWidget *page);                 // returns the page index
    void AddPath(const QString &name, const QString &pages) { Paths.AddPath(name, pages); }
    void ActivatePath(const QString &name);     // shows the path's first page
    int ActivePage() const;

    TQxWizardPaths Paths;
    QStackedWidget *pcPages;
    QPushButton *buBack;
    QPushButton *buNext;
    QPushButton *buOk;
    QPushButton *buCancel;

public slots:
    bool GoNext();
    bool GoBack();

protected:
    // Called before leaving page `from` for page `to`; false keeps the page.
    virtual bool PageChanging(int from, int to, bool forward);
    // Called after a page became the active one.
    virtual void PageChanged(int page);
    void UpdateButtons();

private:
    void ShowPage(int page);
};
