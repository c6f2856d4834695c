#pragma once

#include <QDialog>
#include <QVariant>

class QLabel;
class QLineEdit;
class QPushButton;

// The SIDI login window: user, password and the (read-only) address of the service.
class TfmDokLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TfmDokLogin(QWidget *parent = nullptr);

    // The window's answer to the "sidiLogin" question (see DokSidiLogin).
    static QVariant Ask(QWidget *owner, const QVariantMap &details);

    QLineEdit *edUtente;
    QLineEdit *edPassword;
    QLabel *Label4;
    QLineEdit *edURL;
    QPushButton *buOk;
    QPushButton *buCancel;
};
