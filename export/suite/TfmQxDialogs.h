#pragma once

#include <QDialog>

class QPushButton;
class QVBoxLayout;

// The empty dialog base: a modal window whose subclasses lay their controls on
// paClient and set the modal result themselves.
class TfmQxEmpty : public QDialog
{
    Q_OBJECT
public:
    explicit TfmQxEmpty(QWidget *parent = nullptr);

    QWidget *paClient;
    QVBoxLayout *ClientLayout;
};

// The OK/cancel dialog base: "OK" accepts (modal result OK), "Annulla" rejects.
// Subclasses may veto OK by overriding CanAccept().
class TfmQxOkCancel : public TfmQxEmpty
{
    Q_OBJECT
public:
    explicit TfmQxOkCancel(QWidget *parent = nullptr);

    QPushButton *buOk;
    QPushButton *buCancel;

protected:
    virtual bool CanAccept() { return true; }

private slots:
    void buOkClick();
};
