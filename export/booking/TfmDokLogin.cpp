#include "TfmDokLogin.h"

#include "TDokRIOPrenota.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

TfmDokLogin::TfmDokLogin(QWidget *parent) : TfmQxOkCancel(parent)
{
    setObjectName(QStringLiteral("TfmDokLogin"));
    setWindowTitle(QStringLiteral("Login a SIDI"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(576, 172);
    auto *form = new QFormLayout;
    edUtente = new QLineEdit(this);
    edUtente->setObjectName(QStringLiteral("edUtente"));
    edPassword = new QLineEdit(this);
    edPassword->setObjectName(QStringLiteral("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);
    Label4 = new QLabel(QStringLiteral("Utilizzare l'utente SIDI abilitato a \"Anagrafe Nazionale\""), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    QFont bold = Label4->font();
    bold.setBold(true);
    Label4->setFont(bold);
    edURL = new QLineEdit(sidi::TDokRIOPrenota::productionAddress(), this);
    edURL->setObjectName(QStringLiteral("edURL"));
    edURL->setReadOnly(true);
    form->addRow(QStringLiteral("Utente"), edUtente);
    form->addRow(QStringLiteral("Password"), edPassword);
    form->addRow(Label4);
    form->addRow(QStringLiteral("URL"), edURL);
    ClientLayout->addLayout(form);
    edUtente->setFocus();
}

QVariant TfmDokLogin::Ask(QWidget *owner, const QVariantMap &details)
{
    TfmDokLogin dialog(owner);
    const QString url = details.value(QStringLiteral("URL")).toString();
    if (!url.isEmpty())
        dialog.edURL->setText(url);
    dialog.edUtente->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return QVariant();
    return QVariantMap{{QStringLiteral("Utente"), dialog.edUtente->text()},
                       {QStringLiteral("Password"), dialog.edPassword->text()}};
}
