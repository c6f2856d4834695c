#include "TfmDokMain.h"

#include "TQxAttShell.h"
#include "TQxInteraction.h"
#include "TQxParam.h"
#include "TQxSQLConnection.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <exception>

namespace {

template <typename T, typename... A> T *componente(QWidget *parent, const char *nome, A &&...a)
{
    T *w = new T(std::forward<A>(a)..., parent);
    w->setObjectName(QString::fromLatin1(nome));
    return w;
}

const char *const kTipi[] = {
    "Avvio anno scolastico",
    "Infanzia - Avvio anno scolastico",
    "Scrutini Analitici I e II Grado (1,2,3,4)",
    "Esiti Finali qualifiche Professionali IeFP(1,2 Q3, 1,2,3 Q4)",
};

} // namespace

TfmDokMain::TfmDokMain(TQxSQLConnection &xqoMain, TQxInteraction &Interazione, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                              | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_conn(xqoMain)
    , m_io(Interazione)
{
    setObjectName(QStringLiteral("fmDokMain"));
    setWindowTitle(QStringLiteral(" Comunicazioni SIDI"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto *centro = new QWidget(this);
    setCentralWidget(centro);

    auto *laAns = new QLabel(QStringLiteral("Anno scolastico:"), centro);
    cbAns = componente<QComboBox>(centro, "cbAns");
    laAns->setBuddy(cbAns);
    buNote = componente<QPushButton>(centro, "buNote", QStringLiteral("&Note sull'aggiornamento"));
    chkParamInd = componente<QCheckBox>(centro, "chkParamInd",
                                        QStringLiteral("CORSI : Usa come ID il codice SIDI indirizzo"));
    chkParamInd->setVisible(false);

    rgSceltaExp = componente<QGroupBox>(centro, "rgSceltaExp", QStringLiteral("Tipo di esportazione"));
    rgSceltaExpItems = new QButtonGroup(this);
    rgSceltaExpItems->setObjectName(QStringLiteral("rgSceltaExpItems"));
    new QGridLayout(rgSceltaExp);

    auto *laSedi = new QLabel(QStringLiteral("Elenco sedi:"), centro);
    lbListSedi = componente<QListWidget>(centro, "lbListSedi");
    lbListSedi->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont grassetto = lbListSedi->font();
    grassetto.setBold(true);
    lbListSedi->setFont(grassetto);
    laSedi->setBuddy(lbListSedi);

    Label4 = componente<QLabel>(centro, "Label4", QStringLiteral("Sessione:"));
    cbSes = componente<QComboBox>(centro, "cbSes");
    Label4->setVisible(false);
    cbSes->setVisible(false);

    gbAluType = componente<QGroupBox>(centro, "gbAluType", QStringLiteral("Tipo alunni da esportare"));
    chkFreq = componente<QCheckBox>(gbAluType, "chkFreq", QStringLiteral("Frequentanti"));
    chkRitirati = componente<QCheckBox>(gbAluType, "chkRitirati", QStringLiteral("Ritirati"));
    chkTrasferiti = componente<QCheckBox>(gbAluType, "chkTrasferiti", QStringLiteral("Trasferiti"));
    for (QCheckBox *c : {chkFreq, chkRitirati, chkTrasferiti})
        c->setChecked(true);
    auto *aluLayout = new QHBoxLayout(gbAluType);
    aluLayout->addWidget(chkFreq);
    aluLayout->addWidget(chkRitirati);
    aluLayout->addWidget(chkTrasferiti);
    gbAluType->setVisible(false); // nothing shows it: every kind of pupil goes

    Label1 = componente<QLabel>(centro, "Label1", QStringLiteral("Esportazione: "));
    laExp = componente<QLabel>(centro, "laExp");
    laExp->setFont(grassetto);
    buOk = componente<QPushButton>(centro, "buOk", QStringLiteral("&Esporta"));
    buCancel = componente<QPushButton>(centro, "buCancel", QStringLiteral("&Chiudi"));
    chkForzcodPren = componente<QCheckBox>(centro, "chkForzcodPren",
                                           QStringLiteral("&Forza acquisizione codice prenotazione"));
    lbVersion = componente<QLabel>(centro, "lbVersion");
    lbVersion->setFont(grassetto);
    lbVersion->setStyleSheet(QStringLiteral("color: red;"));
    lbVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *griglia = new QGridLayout(centro);
    griglia->addWidget(laAns, 0, 0);
    griglia->addWidget(cbAns, 0, 1);
    griglia->addWidget(buNote, 0, 2);
    griglia->addWidget(chkParamInd, 1, 0, 1, 3);
    griglia->addWidget(rgSceltaExp, 2, 0, 1, 3);
    griglia->addWidget(laSedi, 3, 0, 1, 3);
    griglia->addWidget(lbListSedi, 4, 0, 1, 3);
    griglia->addWidget(Label4, 5, 0);
    griglia->addWidget(cbSes, 5, 1);
    griglia->addWidget(gbAluType, 6, 0, 1, 3);
    auto *stato = new QHBoxLayout;
    stato->addWidget(Label1);
    stato->addWidget(laExp, 1);
    griglia->addLayout(stato, 7, 0, 1, 3);
    griglia->addWidget(chkForzcodPren, 8, 0, 1, 2);
    auto *pulsanti = new QHBoxLayout;
    pulsanti->addWidget(lbVersion, 1);
    pulsanti->addWidget(buOk);
    pulsanti->addWidget(buCancel);
    griglia->addLayout(pulsanti, 9, 0, 1, 3);
    griglia->setRowStretch(4, 1);

    setFixedSize(679, 376);
    if (const QScreen *schermo = QGuiApplication::primaryScreen())
        move(schermo->availableGeometry().center() - rect().center());

    connect(buOk, &QPushButton::clicked, this, &TfmDokMain::buOkClick);
    connect(buCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(buNote, &QPushButton::clicked, this, &TfmDokMain::buNoteClick);
    connect(chkParamInd, &QCheckBox::clicked, this, &TfmDokMain::chkParamIndClick);
    connect(rgSceltaExpItems, &QButtonGroup::idClicked, this, [this] { rgSceltaExpClick(); });
    connect(cbAns, &QComboBox::activated, this, [this] { cbAnsChange(); });
    for (QWidget *w : {static_cast<QWidget *>(cbAns), static_cast<QWidget *>(lbListSedi),
                       static_cast<QWidget *>(cbSes)})
        w->installEventFilter(this);

    FormCreate();
}

TfmDokMain::~TfmDokMain() = default;

void TfmDokMain::FormCreate()
{
    try {
        if (!m_conn.Connected())
            m_conn.Open(m_io);
        if (m_conn.Connected()) {
            m_driver = std::make_unique<TDokDriver>(m_conn.Connection(), m_io);
            m_driver->Contesto.MostraStato = [this](const QString &stato, int n) {
                MostraTesto(n >= 0 ? stato + QLatin1Char(' ') + QString::number(n) : stato);
            };
            m_driver->Occupato = [](bool occupato) {
                if (occupato)
                    QApplication::setOverrideCursor(Qt::WaitCursor);
                else
                    QApplication::restoreOverrideCursor();
            };
        }
    } catch (const std::exception &e) {
        m_io.ShowError(QString::fromUtf8(e.what()));
    }

    // Clearing the group also leaves no kind selected.
    auto *layout = static_cast<QGridLayout *>(rgSceltaExp->layout());
    for (QAbstractButton *b : rgSceltaExpItems->buttons()) {
        rgSceltaExpItems->removeButton(b);
        delete b;
    }
    int i = 0;
    for (const char *testo : kTipi) {
        auto *voce = new QRadioButton(QString::fromUtf8(testo), rgSceltaExp);
        voce->setObjectName(QStringLiteral("rgSceltaExp%1").arg(i));
        rgSceltaExpItems->addButton(voce, i);
        layout->addWidget(voce, i / 2, i % 2);
        ++i;
    }
}

void TfmDokMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfmDokMain::FormShow()
{
    if (!m_driver) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    const QString predefinito = TDokDriver::AnnoPredefinito(Oggi());
    try {
        cbAns->clear();
        for (const TQxEnumItem &a : m_driver->CaricaAnni())
            cbAns->addItem(a.Text, a.Id);
        cbAns->setCurrentIndex(cbAns->findText(predefinito, Qt::MatchExactly));
    } catch (const std::exception &e) {
        m_io.MessageDlg(QStringLiteral("Impossibile caricare gli anni scolastici.\r\r\nERRORE: ")
                            + QString::fromUtf8(e.what()),
                        TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
    }
    try {
        CaricaSedi(predefinito.left(4));
        lbVersion->setText(TDokDriver::TestoVersione());
        CaricaParamInd();
    } catch (const std::exception &e) {
        m_io.ShowError(QString::fromUtf8(e.what()));
    }
}

int TfmDokMain::TipoScelto() const
{
    return rgSceltaExpItems->checkedId();
}

void TfmDokMain::SelezionaTipo(int Tipo)
{
    if (QAbstractButton *b = rgSceltaExpItems->button(Tipo)) {
        b->setChecked(true);
        rgSceltaExpClick();
    }
}

void TfmDokMain::CaricaSedi(const QString &AnnoInizio)
{
    lbListSedi->clear();
    if (!m_driver)
        return;
    for (const TDokVoceSede &s : m_driver->CaricaSedi(AnnoInizio, TipoScelto())) {
        auto *voce = new QListWidgetItem(s.Testo, lbListSedi);
        voce->setData(Qt::UserRole, s.IdSede);
    }
}

void TfmDokMain::rgSceltaExpClick()
{
    lbListSedi->clearSelection();
    buOk->setEnabled(true);
    const bool scrutini = TipoScelto() == 2;
    Label4->setVisible(scrutini);
    cbSes->setVisible(scrutini);
    try {
        CaricaSedi(cbAns->currentText().left(4));
    } catch (const std::exception &e) {
        m_io.ShowError(QString::fromUtf8(e.what()));
    }
}

void TfmDokMain::cbAnsChange()
{
    try {
        CaricaSedi(cbAns->currentText().left(4));
    } catch (const std::exception &e) {
        m_io.ShowError(QString::fromUtf8(e.what()));
    }
}

bool TfmDokMain::FormKeyDown(QKeyEvent *event)
{
    const Qt::KeyboardModifiers tasti = Qt::ShiftModifier | Qt::ControlModifier;
    if (event->key() == Qt::Key_F8 && (event->modifiers() & tasti) == tasti) {
        chkParamInd->setVisible(true);
        return true;
    }
    return false;
}

void TfmDokMain::keyPressEvent(QKeyEvent *event)
{
    if (!FormKeyDown(event))
        QMainWindow::keyPressEvent(event);
}

bool TfmDokMain::eventFilter(QObject *watched, QEvent *event)
{
    // The year box, the site list and the session box pass their keys on, so the
    // shortcut works while they have the focus.
    if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent *>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TfmDokMain::CaricaParamInd()
{
    if (m_driver)
        chkParamInd->setChecked(m_driver->CaricaParamInd());
}

void TfmDokMain::chkParamIndClick()
{
    if (!m_driver)
        return;
    try {
        m_driver->SalvaParamInd(chkParamInd->isChecked());
        CaricaParamInd();
    } catch (const std::exception &e) {
        m_io.ShowError(QString::fromUtf8(e.what()));
    }
}

void TfmDokMain::buNoteClick()
{
    TQxAttShell QxAttShell1;
    QxAttShell1.FileName = QStringLiteral("tevo_notizie.pdf");
    QxAttShell1.Directory = TQxParam::GetMainDir() + QStringLiteral("Doc/Tevo/");
    QxAttShell1.Execute(m_io);
}

void TfmDokMain::MostraTesto(const QString &Testo)
{
    laExp->setText(Testo);
    // Let the label repaint during long loops.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfmDokMain::buOkClick()
{
    if (!m_driver)
        return;
    TDokDriver::Richiesta r;
    r.Tipo = TipoScelto();
    if (QListWidgetItem *voce = lbListSedi->currentItem(); voce && voce->isSelected())
        r.VoceSede = voce->text();
    r.AnnoScolastico = cbAns->currentText();
    const int anno = cbAns->findText(r.AnnoScolastico, Qt::MatchExactly);
    r.IdAnno = anno >= 0 ? cbAns->itemData(anno).toInt() : -1;
    r.Frequentanti = chkFreq->isChecked();
    r.Ritirati = chkRitirati->isChecked();
    r.Trasferiti = chkTrasferiti->isChecked();
    r.ForzaCodice = chkForzcodPren->isChecked();
    try {
        m_driver->Esporta(r);
    } catch (const std::exception &e) {
        // Errors end the run; the status keeps the last step reached.
        m_io.ShowError(QString::fromUtf8(e.what()));
    }
}
