#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;
class TQxInteraction;

// The blocking study-address conflicts, which the operator may save to a file
// before going to correct them.
class TfmDokLogIndirizzi : public QDialog
{
    Q_OBJECT
public:
    explicit TfmDokLogIndirizzi(TQxInteraction &Interazione, QWidget *parent = nullptr);

    void SetRighe(const QStringList &Righe);
    QStringList Righe() const;

    QPlainTextEdit *Memo1;
    QPushButton *buOk;
    QPushButton *buSalvaLog;

private slots:
    void buSalvaLogClick();

private:
    TQxInteraction &m_interazione;
};
