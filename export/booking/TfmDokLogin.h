#pragma once

#include "TfmQxDialogs.h"

#include <QVariant>

class QLabel;
class QLineEdit;

// The SIDI login window: user, password and the (read-only) address of the service.
class TfmDokLogin : public TfmQxOkCancel
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
};
