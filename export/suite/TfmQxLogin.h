#pragma once

#include "TQxInteraction.h"
#include "TfmQxDialogs.h"

class QLabel;
class QLineEdit;

// The database login: database (a file, or host[/port]:path for a server), user and
// password. The password is only held until the dialog closes.
class TfmQxLogin : public TfmQxOkCancel
{
    Q_OBJECT
public:
    explicit TfmQxLogin(QWidget *parent = nullptr);

    void SetProposal(const TQxLoginData &proposal);
    TQxLoginData Result() const;

    QLineEdit *edDatabase;
    QLineEdit *edUser;
    QLineEdit *edPassword;
    QLabel *laPassword;

protected:
    bool CanAccept() override;
    void showEvent(QShowEvent *event) override;

private:
    bool m_passwordNeeded = false;
};
