#include "TfmDokLogIndirizzi.h"

#include "TDokUtil.h"
#include "TQxInteraction.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

TfmDokLogIndirizzi::TfmDokLogIndirizzi(TQxInteraction &Interazione, QWidget *parent)
    : QDialog(parent), m_interazione(Interazione)
{
    setObjectName(QStringLiteral("TfmDokLogIndirizzi"));
    setWindowTitle(QStringLiteral("Log Indirizzi"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    resize(701, 645);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont grassetto = Memo1->font();
    grassetto.setBold(true);
    Memo1->setFont(grassetto);
    QPalette blu = Memo1->palette();
    blu.setColor(QPalette::Text, Qt::blue);
    Memo1->setPalette(blu);

    buOk = new QPushButton(QStringLiteral("OK"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    buOk->setDefault(true);
    buSalvaLog = new QPushButton(QStringLiteral("Salva Log"), this);
    buSalvaLog->setObjectName(QStringLiteral("buSalvaLog"));

    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(buSalvaLog);
    pulsanti->addWidget(buOk);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1, 1);
    layout->addLayout(pulsanti);

    connect(buOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(buSalvaLog, &QPushButton::clicked, this, &TfmDokLogIndirizzi::buSalvaLogClick);
}

void TfmDokLogIndirizzi::SetRighe(const QStringList &Righe)
{
    Memo1->setPlainText(Righe.join(QLatin1Char('\n')));
}

QStringList TfmDokLogIndirizzi::Righe() const
{
    const QString testo = Memo1->toPlainText();
    return testo.isEmpty() ? QStringList() : testo.split(QLatin1Char('\n'));
}

void TfmDokLogIndirizzi::buSalvaLogClick()
{
    const QString cartella =
        m_interazione.BrowseFolder(QStringLiteral("Selezionare la cartella dove salvare il file di LOG"), QString());
    if (cartella.isEmpty())
        return;
    try {
        TDokUtil::ScriviRighe(QDir(cartella).filePath(QStringLiteral("TevoLogInd.Log")), Righe());
    } catch (const std::exception &e) {
        // An exception must not leave a slot: the operator sees why nothing was saved.
        m_interazione.ShowError(QString::fromUtf8(e.what()));
        return;
    }
    m_interazione.ShowInformation(QStringLiteral("TevoLogInd.log salvato in ") + cartella);
}
