#include "QxMessageDlg.h"
#include "TQxWidgetInteraction.h"
#include "TfmQxLogin.h"
#include "TfmQxWait.h"
#include "TfmQxWizard.h"
#include "TfmZupLegend.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the next modal window that opens, once it is shown.
void onNextModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w) {
            onNextModal(act);
            return;
        }
        act(w);
    });
}

void clickButtonWithText(QWidget *w, const QString &text)
{
    for (QPushButton *b : w->findChildren<QPushButton *>())
        if (b->text() == text) {
            b->click();
            return;
        }
    QFAIL(qPrintable(QStringLiteral("no button %1").arg(text)));
}

// A wizard that refuses to leave page 1 while `block` is set.
class Wizard : public TfmQxWizard
{
public:
    bool block = false;
    QList<QPair<int, int>> changes;

protected:
    bool PageChanging(int from, int to, bool) override
    {
        changes.append({from, to});
        return !(block && from == 1);
    }
};

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT
private slots:
    void loginDialogAnswersThroughTheInteraction()
    {
        TQxWidgetInteraction ui;
        onNextModal([](QWidget *w) {
            auto *login = qobject_cast<TfmQxLogin *>(w);
            QVERIFY(login);
            QCOMPARE(login->windowTitle(), QStringLiteral("Accesso al database"));
            QCOMPARE(login->edDatabase->text(), QStringLiteral("srv/3051:/dati/scuola.fdb"));
            QCOMPARE(login->edUser->text(), QStringLiteral("SYSDBA"));
            QVERIFY(login->edPassword->text().isEmpty());
            QCOMPARE(login->edPassword->echoMode(), QLineEdit::Password);
            QTest::keyClicks(login->edPassword, QStringLiteral("segreta"));
            login->buOk->click();
        });
        const auto result = ui.Login({QStringLiteral("srv/3051:/dati/scuola.fdb"), QStringLiteral("SYSDBA"), QString(), true});
        QVERIFY(result);
        QCOMPARE(result->Password, QStringLiteral("segreta"));
        QVERIFY(result->PasswordNeeded);
    }

    void loginDialogWantsADatabaseAndCanBeCancelled()
    {
        TQxWidgetInteraction ui;
        onNextModal([](QWidget *w) {
            auto *login = qobject_cast<TfmQxLogin *>(w);
            QVERIFY(login);
            // OK with no database: a warning, and the login stays open.
            onNextModal([login](QWidget *box) {
                QVERIFY(qobject_cast<QMessageBox *>(box));
                QCOMPARE(qobject_cast<QMessageBox *>(box)->text(), QStringLiteral("Indicare il database a cui collegarsi."));
                clickButtonWithText(box, QStringLiteral("OK"));
                QTimer::singleShot(0, login, [login] {
                    QVERIFY(login->isVisible());
                    login->buCancel->click();
                });
            });
            login->buOk->click();
        });
        QVERIFY(!ui.Login({QString(), QStringLiteral("SYSDBA"), QString(), false}));
    }

    void messageDialogReturnsTheButtonPressed_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("result");
        QTest::newRow("ok") << int(TMsgDlgButtons::mbOK) << "OK" << int(mrOk);
        QTest::newRow("yes") << int(TMsgDlgButtons::mbYesNo) << "&Sì" << int(mrYes);
        QTest::newRow("no") << int(TMsgDlgButtons::mbYesNo) << "&No" << int(mrNo);
    }
    void messageDialogReturnsTheButtonPressed()
    {
        QFETCH(int, buttons);
        QFETCH(QString, press);
        QFETCH(int, result);
        QString shown;
        onNextModal([&shown, press](QWidget *box) {
            shown = qobject_cast<QMessageBox *>(box)->text();
            clickButtonWithText(box, press);
        });
        QCOMPARE(QxMessageDlg(QStringLiteral("Riga uno\r\nRiga due"), TMsgDlgType::mtWarning,
                              TMsgDlgButtons(buttons)),
                 result);
        QCOMPARE(shown, QStringLiteral("Riga uno\nRiga due"));
    }

    void wizardMovesAlongItsPathAndHonoursARefusal()
    {
        Wizard wizard;
        for (int i = 0; i < 3; ++i)
            wizard.AddPage(new QLabel(QString::number(i)));
        wizard.AddPath(QStringLiteral("DEFAULT"), QStringLiteral("0;1"));
        wizard.AddPath(QStringLiteral("ALL"), QStringLiteral("0;1;2"));
        wizard.ActivatePath(QStringLiteral("ALL"));
        wizard.show();
        QCOMPARE(wizard.ActivePage(), 0);
        QVERIFY(!wizard.buBack->isEnabled());
        QTest::mouseClick(wizard.buNext, Qt::LeftButton);
        QCOMPARE(wizard.ActivePage(), 1);
        wizard.block = true;
        QTest::mouseClick(wizard.buNext, Qt::LeftButton);
        QCOMPARE(wizard.ActivePage(), 1);
        wizard.block = false;
        QTest::mouseClick(wizard.buNext, Qt::LeftButton);
        QCOMPARE(wizard.ActivePage(), 2);
        QVERIFY(!wizard.buNext->isEnabled());
        QTest::mouseClick(wizard.buBack, Qt::LeftButton);
        QCOMPARE(wizard.ActivePage(), 1);
        QCOMPARE(wizard.changes, (QList<QPair<int, int>>{{0, 1}, {1, 2}, {1, 2}, {2, 1}}));

        wizard.ActivatePath(QStringLiteral("DEFAULT"));
        QCOMPARE(wizard.ActivePage(), 0);
        QTest::mouseClick(wizard.buNext, Qt::LeftButton);
        QCOMPARE(wizard.ActivePage(), 1);
        QVERIFY(!wizard.buNext->isEnabled());
    }

    void legendListsTheSogeiStates()
    {
        TfmZupLegend legend;
        QCOMPARE(legend.windowTitle(), QStringLiteral("Legenda stati SOGEI"));
        QStringList codes;
        for (int r = 0; r < legend.grLegenda->rowCount(); ++r)
            codes << legend.grLegenda->item(r, 0)->text();
        QCOMPARE(codes, QStringList({"00", "03", "16", "22", "23", "50", "51", "52", "97", "98", "99"}));
        for (int r = 0; r < legend.grLegenda->rowCount(); ++r)
            QVERIFY(!legend.grLegenda->item(r, 1)->text().isEmpty());
    }

    void waitWindowShowsTextAndProgress()
    {
        TQxWidgetInteraction ui;
        ui.WaitShow(QStringLiteral("Download dati SOGEI da SIDI in corso"), 0, 100);
        TfmQxWait *wait = ui.WaitWindow();
        QVERIFY(wait->isVisible());
        QVERIFY(!wait->isModal());
        QCOMPARE(wait->windowTitle(), QStringLiteral("Attendere..."));
        ui.WaitStep(25, QStringLiteral("Inserimento dati SOGEI nel database"));
        QCOMPARE(wait->pbProgress->value(), 25);
        QCOMPARE(wait->laOperazione->text(), QStringLiteral("Inserimento dati SOGEI nel database"));
        ui.WaitStep(35, QString());
        QCOMPARE(wait->pbProgress->value(), 60);
        QCOMPARE(wait->laOperazione->text(), QStringLiteral("Inserimento dati SOGEI nel database"));
        ui.WaitHide();
        QVERIFY(!wait->isVisible());
    }

    void programQuestionsNeedARegisteredWindow()
    {
        TQxWidgetInteraction ui;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, ui.Ask(QStringLiteral("sede"), {}));
        ui.SetHandler(QStringLiteral("sede"), [](QWidget *, const QVariantMap &d) { return d.value("x").toInt() + 1; });
        QCOMPARE(ui.Ask(QStringLiteral("sede"), {{"x", 4}}).toInt(), 5);
    }
};

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
