#pragma once

#include "TDokDriver.h"

#include <QDate>
#include <QMainWindow>

#include <functional>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class TQxInteraction;
class TQxSQLConnection;

// The main window of Dok: school year, export kind and site, then "&Esporta".
// The work is done by TDokDriver; the window collects the choices, shows the
// status and reports errors.
class TfmDokMain : public QMainWindow
{
    Q_OBJECT
public:
    TfmDokMain(TQxSQLConnection &xqoMain, TQxInteraction &Interazione, QWidget *parent = nullptr);
    ~TfmDokMain() override;

    // The date the default school year is taken from; tests set it before the
    // window is shown.
    std::function<QDate()> Oggi = [] { return QDate::currentDate(); };

    QComboBox *cbAns;
    QPushButton *buNote;
    QCheckBox *chkParamInd;
    QGroupBox *rgSceltaExp;
    QButtonGroup *rgSceltaExpItems;
    QListWidget *lbListSedi;
    QLabel *Label4;
    QComboBox *cbSes;
    QGroupBox *gbAluType;
    QCheckBox *chkFreq;
    QCheckBox *chkRitirati;
    QCheckBox *chkTrasferiti;
    QLabel *Label1;
    QLabel *laExp;
    QPushButton *buOk;
    QPushButton *buCancel;
    QCheckBox *chkForzcodPren;
    QLabel *lbVersion;

    // The kind chosen in rgSceltaExp; -1 when none.
    int TipoScelto() const;
    void SelezionaTipo(int Tipo); // as a click on the item

    void CaricaSedi(const QString &AnnoInizio);

public slots:
    void buOkClick();
    void buNoteClick();
    void chkParamIndClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void rgSceltaExpClick();
    void cbAnsChange();
    bool FormKeyDown(QKeyEvent *event);
    void CaricaParamInd();
    void MostraTesto(const QString &Testo);

    TQxSQLConnection &m_conn;
    TQxInteraction &m_io;
    std::unique_ptr<TDokDriver> m_driver;
    bool m_shown = false;
};
