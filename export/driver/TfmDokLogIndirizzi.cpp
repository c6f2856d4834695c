#include "TfmDokLogIndirizzi.h"

#include "QxMemoLog.h"
#include "TDokDomande.h"
#include "TDokUtil.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmDokLogIndirizzi::TfmDokLogIndirizzi(TQxInteraction &Interazione, QWidget *parent)
    : QDialog(parent), m_interazione(Interazione)
{
    setObjectName(QStringLiteral("TfmDokLogIndirizzi"));
    setWindowTitle(QStringLiteral("Log Indirizzi"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    resize(701, 645);

    Memo1 = QxMemoLog(this, QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

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
    TDokUtil::SalvaLogInCartella(m_interazione, QString::fromLatin1(TDokDomande::kFileLogIndirizzi), Righe(),
                                 QStringLiteral("TevoLogInd.log salvato in "));
}
