#pragma once

#include <QDialog>
#include <QSqlDatabase>

class QComboBox;
class QLabel;
class QPushButton;
class TQxInteraction;

// The operator confirms (or types) the school order of a site; on "Conferma"
// the dialog stores it with every booking-code row of the site.
class TfmDokTipoScuola : public QDialog
{
    Q_OBJECT
public:
    TfmDokTipoScuola(const QSqlDatabase &Db, TQxInteraction &Interazione, QWidget *parent = nullptr);

    void SetCodMecc(const QString &CodMecc) { m_codMecc = CodMecc; }
    QString CodMecc() const { return m_codMecc; }
    // The initial text of the type box; it need not be one of the items.
    void SetTipo(const QString &Tipo);

    QLabel *laTipoScuola;
    QLabel *lascuola;
    QComboBox *cbTipoScuola;
    QPushButton *buConferma;
    QPushButton *buAnnulla;

private slots:
    void buConfermaClick();

private:
    QSqlDatabase m_db;
    TQxInteraction &m_interazione;
    QString m_codMecc;
};
