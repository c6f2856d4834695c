#include "QxMessageDlg.h"

#include <QMessageBox>
#include <QPushButton>

int QxMessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget *parent)
{
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("QxMessageDlg"));
    switch (type) {
    case TMsgDlgType::mtError: box.setIcon(QMessageBox::Critical); break;
    case TMsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); break;
    case TMsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); break;
    case TMsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); break;
    }
    box.setWindowTitle(MsgDlgTypeText(type));
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    if (buttons == TMsgDlgButtons::mbOK) {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sì"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
        box.setDefaultButton(QMessageBox::No);
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return mrOk;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return buttons == TMsgDlgButtons::mbOK ? mrOk : mrNo;
    }
}
