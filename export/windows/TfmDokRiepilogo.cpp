#include "TfmDokRiepilogo.h"

#include "TDokFrequenze.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using T = TfmDokRiepilogo;
const T::Colonna T::kFrequentanti{&T::laF1, &T::laF2, &T::laF3, &T::laF4, &T::laF5, &T::laF6};
const T::Colonna T::kRitirati{&T::laR1, &T::laR2, &T::laR3, &T::laR4, &T::laR5, &T::laR6};
const T::Colonna T::kTrasferiti{&T::laT1, &T::laT2, &T::laT3, &T::laT4, &T::laT5, &T::laT6};
const T::Colonna T::kEsportati{&T::laExp1, &T::laExp2, &T::laExp3, &T::laExp4, &T::laExp5, &T::laExp6};

TfmDokRiepilogo::TfmDokRiepilogo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfmDokRiepilogo"));
    setWindowTitle(QStringLiteral("Riepilogo"));
    setModal(true);
    resize(420, 330);

    pcRiepilogo = new QTabWidget(this);
    pcRiepilogo->setObjectName(QStringLiteral("pcRiepilogo"));
    pcRiepilogo->tabBar()->hide();
    CreaPaginaFrequenze();
    CreaPaginaScrutini();

    buOk = new QPushButton(QStringLiteral("OK"), this);
    buOk->setObjectName(QStringLiteral("buOk"));
    buOk->setDefault(true);
    connect(buOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *bottoni = new QHBoxLayout;
    bottoni->addStretch(1);
    bottoni->addWidget(buOk);
    bottoni->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pcRiepilogo, 1);
    layout->addLayout(bottoni);
}

void TfmDokRiepilogo::CreaPaginaFrequenze()
{
    tsRiepFreq = new QWidget;
    tsRiepFreq->setObjectName(QStringLiteral("tsRiepFreq"));
    auto *griglia = new QGridLayout(tsRiepFreq);
    const QStringList intestazioni{QStringLiteral("Anno di corso"), QStringLiteral("Frequentanti"),
                                   QStringLiteral("Ritirati"), QStringLiteral("Trasferiti"),
                                   QStringLiteral("Esportati")};
    for (int c = 0; c < intestazioni.size(); ++c) {
        auto *intestazione = new QLabel(intestazioni.at(c), tsRiepFreq);
        QFont grassetto = intestazione->font();
        grassetto.setBold(true);
        intestazione->setFont(grassetto);
        griglia->addWidget(intestazione, 0, c, Qt::AlignCenter);
    }
    const auto crea = [this, griglia](const Colonna &colonna, const char *prefisso, int n, int c) {
        auto *l = new QLabel(QStringLiteral("0"), tsRiepFreq);
        l->setObjectName(QLatin1String(prefisso) + QString::number(n));
        l->setAlignment(Qt::AlignCenter);
        griglia->addWidget(l, n, c);
        this->*colonna[size_t(n - 1)] = l;
    };
    for (int n = 1; n <= 6; ++n) {
        griglia->addWidget(new QLabel(QString::number(n), tsRiepFreq), n, 0, Qt::AlignCenter);
        crea(kFrequentanti, "laF", n, 1);
        crea(kRitirati, "laR", n, 2);
        crea(kTrasferiti, "laT", n, 3);
        crea(kEsportati, "laExp", n, 4);
    }
    griglia->setRowStretch(7, 1);
    pcRiepilogo->addTab(tsRiepFreq, QStringLiteral("Frequenze"));
}

void TfmDokRiepilogo::CreaPaginaScrutini()
{
    tsRiepScrutini = new QWidget;
    tsRiepScrutini->setObjectName(QStringLiteral("tsRiepScrutini"));
    // The captions and rows are written when the page is filled; the grids draw
    // their own header row, so the built-in headers stay hidden.
    sgTotali = new QTableWidget(3, 2, tsRiepScrutini);
    sgTotali->setObjectName(QStringLiteral("sgTotali"));
    sgTotali->setColumnWidth(0, 200);
    sgTotali->setColumnWidth(1, 50);
    sgDettEsiti = new QTableWidget(0, 3, tsRiepScrutini);
    sgDettEsiti->setObjectName(QStringLiteral("sgDettEsiti"));
    sgDettEsiti->setColumnWidth(0, 80);
    sgDettEsiti->setColumnWidth(1, 200);
    sgDettEsiti->setColumnWidth(2, 50);
    for (QTableWidget *g : {sgTotali, sgDettEsiti}) {
        g->horizontalHeader()->hide();
        g->verticalHeader()->hide();
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    auto *layout = new QVBoxLayout(tsRiepScrutini);
    layout->addWidget(sgTotali);
    layout->addWidget(sgDettEsiti, 1);
    pcRiepilogo->addTab(tsRiepScrutini, QStringLiteral("Esiti"));
}

void TfmDokRiepilogo::MostraFrequenze(const TDokFrequenze &Frequenze)
{
    pcRiepilogo->setCurrentWidget(tsRiepFreq);
    for (int n = 1; n <= 6; ++n) {
        const TDokFrequenze::Anno &a = Frequenze.DiAnno(n);
        const size_t i = size_t(n - 1);
        (this->*kFrequentanti[i])->setText(QString::number(a.Frequentanti));
        (this->*kRitirati[i])->setText(QString::number(a.Ritirati));
        (this->*kTrasferiti[i])->setText(QString::number(a.Trasferiti));
        QLabel *esportati = this->*kEsportati[i];
        esportati->setText(QString::number(a.Esportati));
        QPalette palette = esportati->palette();
        palette.setColor(QPalette::WindowText, Frequenze.Coerente(n) ? ColoreCoerente() : ColoreIncoerente());
        esportati->setPalette(palette);
    }
}

void TfmDokRiepilogo::MostraFrequenze(const QSqlDatabase &Db, const QString &AnnoScolastico, const QString &CodMecc,
                                      dataset::Table &cdsCurriculum)
{
    MostraFrequenze(TDokFrequenze::Conta(Db, AnnoScolastico, CodMecc, cdsCurriculum));
}
