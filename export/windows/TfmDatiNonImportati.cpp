#include "TfmDatiNonImportati.h"

#include "QxMemoLog.h"
#include "TDokUtil.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfmDatiNonImportati::TfmDatiNonImportati(TQxInteraction &Interazione, QWidget *parent)
    : QDialog(parent), m_interazione(Interazione)
{
    setObjectName(QStringLiteral("TfmDatiNonImportati"));
    setWindowTitle(QStringLiteral("Dati non importati"));
    setModal(true);
    resize(900, 500);

    meLog = QxMemoLog(this, QStringLiteral("meLog"));

    buSalvaLog = new QPushButton(QStringLiteral("&Salva LOG"), this);
    buSalvaLog->setObjectName(QStringLiteral("buSalvaLog"));
    buOk = new QPushButton(QStringLiteral("&Continua ugualmente"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    buAnnulla = new QPushButton(QStringLiteral("&Annulla"), this);
    buAnnulla->setObjectName(QStringLiteral("buAnnulla"));

    auto *bottoni = new QHBoxLayout;
    bottoni->addWidget(buSalvaLog);
    bottoni->addStretch(1);
    bottoni->addWidget(buOk);
    bottoni->addWidget(buAnnulla);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(meLog, 1);
    layout->addLayout(bottoni);

    connect(buSalvaLog, &QPushButton::clicked, this, &TfmDatiNonImportati::buSalvaLogClick);
    connect(buOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(buAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmDatiNonImportati::MostraLog(const QStringList &ListaLog)
{
    m_log.ListaLog = ListaLog;
    QString testo = ListaLog.join(QLatin1Char('\n'));
    testo.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    meLog->setPlainText(testo);
}

void TfmDatiNonImportati::buSalvaLogClick()
{
    TDokUtil::SalvaLogInCartella(m_interazione, TDokLogScarti::NomeFile(), m_log.ListaLog,
                                 QStringLiteral("TevoExport.log salvato in "));
}

QVariant TfmDatiNonImportati::Ask(TQxInteraction &Interazione, QWidget *owner, const QVariantMap &details)
{
    TfmDatiNonImportati finestra(Interazione, owner);
    finestra.MostraLog(details.value(QStringLiteral("Righe")).toStringList());
    return finestra.exec() == QDialog::Accepted;
}
