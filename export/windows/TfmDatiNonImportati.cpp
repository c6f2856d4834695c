#include "TfmDatiNonImportati.h"

#include "TQxInteraction.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

TfmDatiNonImportati::TfmDatiNonImportati(TQxInteraction &Interazione, QWidget *parent)
    : QDialog(parent), m_interazione(Interazione)
{
    setObjectName(QStringLiteral("TfmDatiNonImportati"));
    setWindowTitle(QStringLiteral("Dati non importati"));
    setModal(true);
    resize(900, 500);

    meLog = new QPlainTextEdit(this);
    meLog->setObjectName(QStringLiteral("meLog"));
    meLog->setReadOnly(true);
    meLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font = meLog->font();
    font.setBold(true);
    meLog->setFont(font);
    QPalette palette = meLog->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    meLog->setPalette(palette);

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
    const QString cartella =
        m_interazione.BrowseFolder(QStringLiteral("Selezionare la cartella dove salvare il file di LOG"), QString());
    if (cartella.isEmpty())
        return;
    try {
        m_log.SalvaLog(cartella);
    } catch (const std::exception &e) {
        m_interazione.ShowError(QString::fromUtf8(e.what()));
        return;
    }
    m_interazione.ShowInformation(QStringLiteral("TevoExport.log salvato in ") + cartella);
}

QVariant TfmDatiNonImportati::Ask(TQxInteraction &Interazione, QWidget *owner, const QVariantMap &details)
{
    TfmDatiNonImportati finestra(Interazione, owner);
    finestra.MostraLog(details.value(QStringLiteral("Righe")).toStringList());
    return finestra.exec() == QDialog::Accepted;
}
