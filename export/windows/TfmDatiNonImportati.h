#pragma once

#include "TDokLogScarti.h"

#include <QDialog>
#include <QVariant>

class QPlainTextEdit;
class QPushButton;
class TQxInteraction;

// The validation log window: the rejected records of the run. The operator may
// save the log, continue without the rejected records (accepted) or cancel the
// export (rejected, also by the close box).
class TfmDatiNonImportati : public QDialog
{
    Q_OBJECT
public:
    // Interazione asks for the folder and shows the messages of "&Salva LOG".
    explicit TfmDatiNonImportati(TQxInteraction &Interazione, QWidget *parent = nullptr);

    // Shows ListaLog; entries may hold CR LF pairs.
    void MostraLog(const QStringList &ListaLog);
    const QStringList &ListaLog() const { return m_log.ListaLog; }

    // The window's answer to TDokDomande::kDatiNonImportati: true to continue.
    static QVariant Ask(TQxInteraction &Interazione, QWidget *owner, const QVariantMap &details);

    QPlainTextEdit *meLog;
    QPushButton *buSalvaLog;
    QPushButton *buOk;
    QPushButton *buAnnulla;

private slots:
    void buSalvaLogClick();

private:
    TQxInteraction &m_interazione;
    TDokLogScarti m_log;
};
