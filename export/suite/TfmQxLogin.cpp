#include "TfmQxLogin.h"

#include "FirebirdDatabase.h"
#include "QxMessageDlg.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TfmQxLogin::TfmQxLogin(QWidget *parent) : TfmQxOkCancel(parent)
{
    setObjectName(QStringLiteral("TfmQxLogin"));
    setWindowTitle(QStringLiteral("Accesso al database"));
    auto *form = new QFormLayout;
    edDatabase = new QLineEdit(this);
    edDatabase->setObjectName(QStringLiteral("edDatabase"));
    edDatabase->setPlaceholderText(QStringLiteral("percorso del file, oppure server[/porta]:percorso"));
    edDatabase->setMinimumWidth(360);
    edUser = new QLineEdit(this);
    edUser->setObjectName(QStringLiteral("edUser"));
    edPassword = new QLineEdit(this);
    edPassword->setObjectName(QStringLiteral("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);
    laPassword = new QLabel(QStringLiteral("Password:"), this);
    form->addRow(QStringLiteral("Database:"), edDatabase);
    form->addRow(QStringLiteral("Utente:"), edUser);
    form->addRow(laPassword, edPassword);
    ClientLayout->addLayout(form);
}

void TfmQxLogin::SetProposal(const TQxLoginData &proposal)
{
    edDatabase->setText(proposal.Database);
    edUser->setText(proposal.UserName);
    edPassword->clear();
    m_passwordNeeded = proposal.PasswordNeeded;
}

TQxLoginData TfmQxLogin::Result() const
{
    TQxLoginData data;
    data.Database = edDatabase->text().trimmed();
    data.UserName = edUser->text().trimmed();
    data.Password = edPassword->text();
    data.PasswordNeeded = schooldb::isServerDatabase(data.Database);
    return data;
}

void TfmQxLogin::showEvent(QShowEvent *event)
{
    TfmQxOkCancel::showEvent(event);
    if (edDatabase->text().isEmpty())
        edDatabase->setFocus();
    else if (edUser->text().isEmpty())
        edUser->setFocus();
    else
        edPassword->setFocus();
}

bool TfmQxLogin::CanAccept()
{
    if (edDatabase->text().trimmed().isEmpty()) {
        QxMessageDlg(QStringLiteral("Indicare il database a cui collegarsi."), TMsgDlgType::mtWarning,
                     TMsgDlgButtons::mbOK, this);
        edDatabase->setFocus();
        return false;
    }
    if (edUser->text().trimmed().isEmpty()) {
        QxMessageDlg(QStringLiteral("Indicare l'utente del database."), TMsgDlgType::mtWarning,
                     TMsgDlgButtons::mbOK, this);
        edUser->setFocus();
        return false;
    }
    return true;
}
