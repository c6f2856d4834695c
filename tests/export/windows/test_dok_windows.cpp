#include "TDokDomande.h"
#include "TDokFinestre.h"
#include "TDokFrequenze.h"
#include "TQxScriptedInteraction.h"
#include "TQxWidgetInteraction.h"
#include "TfmDatiNonImportati.h"
#include "TfmDokRiepilogo.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

const QString kSeparatore = QString(182, QLatin1Char('-'));
const QStringList kRighe{"Comunicazioni SIDI 1.0.0", "", "FLUSSO: 008TB_ALU_ALUNNI",
                         "  - Campo obbligatorio mancante: Sesso\r\n        IDAlunno: ABCDE101\r\n", kSeparatore};

// Runs f on the modal window of type W as soon as the event loop shows it.
template <typename W>
void quandoAperta(std::function<void(W *)> f)
{
    QTimer::singleShot(0, [f] {
        auto *w = qobject_cast<W *>(QApplication::activeModalWidget());
        QVERIFY(w);
        f(w);
    });
}

QVariantMap dettagliLog()
{
    return {{"Righe", kRighe}};
}

// Year 1 coherent, year 2 one exported pupil too many, year 3 one too few.
TDokFrequenze frequenze()
{
    TDokFrequenze f;
    f.DiAnno(1) = {20, 1, 2, 23};
    f.DiAnno(2) = {18, 0, 0, 19};
    f.DiAnno(3) = {15, 2, 1, 17};
    f.DiAnno(6) = {0, 0, 0, 0};
    return f;
}

} // namespace

class TestDokWindows : public QObject
{
    Q_OBJECT

private slots:
    void logWindowShowsTheLog()
    {
        TQxScriptedInteraction interazione;
        TfmDatiNonImportati w(interazione);
        w.MostraLog(kRighe);
        QCOMPARE(w.windowTitle(), QString("Dati non importati"));
        for (const char *nome : {"meLog", "buOk", "buAnnulla", "buSalvaLog"})
            QVERIFY2(w.findChild<QWidget *>(nome), nome);
        QCOMPARE(w.findChild<QPlainTextEdit *>("meLog"), w.meLog);
        QVERIFY(w.meLog->isReadOnly());
        QCOMPARE(w.meLog->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(w.meLog->font().bold());
        QCOMPARE(w.meLog->palette().color(QPalette::Text), QColor(Qt::blue));
        // An entry with CR LF shows as two lines.
        QCOMPARE(w.meLog->toPlainText(), "Comunicazioni SIDI 1.0.0\n\nFLUSSO: 008TB_ALU_ALUNNI\n"
                                         "  - Campo obbligatorio mancante: Sesso\n        IDAlunno: ABCDE101\n\n"
                                             + kSeparatore);
        QCOMPARE(w.buOk->text(), QString("&Continua ugualmente"));
        QCOMPARE(w.buAnnulla->text(), QString("&Annulla"));
        QCOMPARE(w.buSalvaLog->text(), QString("&Salva LOG"));
        QCOMPARE(w.ListaLog(), kRighe);
    }

    void logWindowResult_data()
    {
        QTest::addColumn<QString>("azione");
        QTest::addColumn<bool>("continua");
        QTest::newRow("continue") << "buOk" << true;
        QTest::newRow("cancel") << "buAnnulla" << false;
        QTest::newRow("close box") << "close" << false;
    }

    void logWindowResult()
    {
        QFETCH(QString, azione);
        QFETCH(bool, continua);
        TQxScriptedInteraction interazione;
        quandoAperta<TfmDatiNonImportati>([azione](TfmDatiNonImportati *w) {
            if (azione == "close")
                w->close();
            else
                w->findChild<QPushButton *>(azione)->click();
        });
        QCOMPARE(TfmDatiNonImportati::Ask(interazione, nullptr, dettagliLog()), QVariant(continua));
        QVERIFY(interazione.AskedQuestions().isEmpty());
    }

    void saveLog_data()
    {
        QTest::addColumn<QString>("cartella"); // relative to a new temporary folder; "" cancels
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("tipo");
        QTest::newRow("saved") << "log" << "TevoExport.log salvato in %1" << "Informazione";
        QTest::newRow("browser cancelled") << "" << "" << "";
        QTest::newRow("folder not writable") << "manca" << "Impossibile scrivere il file %1/TevoExport.Log: " << "Errore";
    }

    void saveLog()
    {
        QFETCH(QString, cartella);
        QFETCH(QString, messaggio);
        QFETCH(QString, tipo);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("log");
        const QString percorso = cartella.isEmpty() ? QString() : dir.filePath(cartella);
        TQxScriptedInteraction interazione;
        interazione.Answer("folder", percorso);
        bool apertaDopo = false;
        quandoAperta<TfmDatiNonImportati>([&apertaDopo](TfmDatiNonImportati *w) {
            w->buSalvaLog->click();
            apertaDopo = w->isVisible();
            QCOMPARE(w->ListaLog(), kRighe);
            w->buOk->click();
        });
        QCOMPARE(TfmDatiNonImportati::Ask(interazione, nullptr, dettagliLog()), QVariant(true));
        QVERIFY(apertaDopo);

        const auto &domande = interazione.AskedQuestions();
        QCOMPARE(domande.first().Question, QString("folder"));
        QCOMPARE(domande.first().Text, QString("Selezionare la cartella dove salvare il file di LOG"));
        if (messaggio.isEmpty()) {
            QCOMPARE(domande.size(), 1);
        } else {
            QCOMPARE(domande.size(), 2);
            QCOMPARE(domande.at(1).Question, QString("message"));
            QVERIFY2(domande.at(1).Text.startsWith(messaggio.arg(percorso)), qPrintable(domande.at(1).Text));
            QCOMPARE(domande.at(1).Details.value("type").toString(), tipo);
        }
        QStringList scritti;
        for (QDirIterator it(dir.path(), {"TevoExport.Log"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            scritti << it.next();
        if (cartella != "log") {
            QCOMPARE(scritti, QStringList());
            return;
        }
        QCOMPARE(scritti, QStringList({dir.filePath("log/TevoExport.Log")}));
        QFile file(scritti.first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Comunicazioni SIDI 1.0.0\r\n\r\nFLUSSO: 008TB_ALU_ALUNNI\r\n"
                                            "  - Campo obbligatorio mancante: Sesso\r\n"
                                            "        IDAlunno: ABCDE101\r\n\r\n")
                                     + kSeparatore.toLatin1() + "\r\n");
    }

    void summaryShowsAttendance()
    {
        TfmDokRiepilogo w;
        QCOMPARE(w.windowTitle(), QString("Riepilogo"));
        w.pcRiepilogo->setCurrentWidget(w.tsRiepScrutini);
        w.MostraFrequenze(frequenze());
        QCOMPARE(w.pcRiepilogo->currentWidget(), w.tsRiepFreq);
        QVERIFY(w.pcRiepilogo->tabBar()->isHidden());
        QCOMPARE(w.pcRiepilogo->count(), 2);

        const auto testo = [&w](const QString &nome) { return w.findChild<QLabel *>(nome)->text(); };
        const auto colore = [&w](int n) {
            return w.findChild<QLabel *>(QString("laExp%1").arg(n))->palette().color(QPalette::WindowText);
        };
        const TDokFrequenze f = frequenze();
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(testo(QString("laF%1").arg(n)), QString::number(f.DiAnno(n).Frequentanti));
            QCOMPARE(testo(QString("laR%1").arg(n)), QString::number(f.DiAnno(n).Ritirati));
            QCOMPARE(testo(QString("laT%1").arg(n)), QString::number(f.DiAnno(n).Trasferiti));
            QCOMPARE(testo(QString("laExp%1").arg(n)), QString::number(f.DiAnno(n).Esportati));
        }
        QCOMPARE(w.laF1, w.findChild<QLabel *>("laF1"));
        QCOMPARE(w.laExp6, w.findChild<QLabel *>("laExp6"));
        const QColor verde(0, 128, 0), rosso(255, 0, 0);
        QCOMPARE(colore(1), verde);
        QCOMPARE(colore(2), rosso); // one more than the sum
        QCOMPARE(colore(3), rosso); // one less
        QCOMPARE(colore(6), verde); // nothing on either side

        QStringList intestazioni;
        for (QLabel *l : w.tsRiepFreq->findChildren<QLabel *>())
            intestazioni << l->text();
        for (const char *c : {"Frequentanti", "Ritirati", "Trasferiti", "Esportati"})
            QVERIFY2(intestazioni.contains(c), c);

        // The outcome page is there for the year-end exports, still empty.
        QCOMPARE(w.findChild<QTableWidget *>("sgTotali"), w.sgTotali);
        QCOMPARE(w.findChild<QTableWidget *>("sgDettEsiti"), w.sgDettEsiti);
        QCOMPARE(w.sgTotali->parentWidget(), w.tsRiepScrutini);
        QCOMPARE(w.sgDettEsiti->rowCount(), 0);
    }

    void summaryColoursFollowNewCounts()
    {
        TfmDokRiepilogo w;
        TDokFrequenze f = frequenze();
        w.MostraFrequenze(f);
        f.DiAnno(1).Esportati = 22;
        w.MostraFrequenze(f);
        QCOMPARE(w.laExp1->text(), QString("22"));
        QCOMPARE(w.laExp1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    }

    void registeredQuestions()
    {
        TQxWidgetInteraction interazione;
        TDokFinestre::Registra(interazione);

        quandoAperta<TfmDatiNonImportati>([](TfmDatiNonImportati *w) {
            QCOMPARE(w->ListaLog(), kRighe);
            w->buOk->click();
        });
        QCOMPARE(interazione.Ask(TDokDomande::kDatiNonImportati, dettagliLog()), QVariant(true));
        quandoAperta<TfmDatiNonImportati>([](TfmDatiNonImportati *w) { w->buAnnulla->click(); });
        QCOMPARE(interazione.Ask(TDokDomande::kDatiNonImportati, dettagliLog()), QVariant(false));

        QString esportati2;
        quandoAperta<TfmDokRiepilogo>([&esportati2](TfmDokRiepilogo *w) {
            esportati2 = w->laExp2->text();
            QCOMPARE(w->pcRiepilogo->currentWidget(), w->tsRiepFreq);
            w->buOk->click();
        });
        interazione.Ask(TDokDomande::kRiepilogoFrequenze, frequenze().Dettagli("2016/2017", "XXIC00000X"));
        QCOMPARE(esportati2, QString("19"));
    }
};

QTEST_MAIN(TestDokWindows)
#include "test_dok_windows.moc"
