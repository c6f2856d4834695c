#include "TQxBatchInteraction.h"
#include "TQxScriptedInteraction.h"
#include "TQxWizardPaths.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

QString readBack(std::FILE *f)
{
    std::fflush(f);
    std::rewind(f);
    QByteArray all;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        all.append(buffer, qsizetype(n));
    return QString::fromLocal8Bit(all);
}

} // namespace

class TestInteraction : public QObject
{
    Q_OBJECT
private slots:
    void scriptedAnswersInOrderAndRecords()
    {
        TQxScriptedInteraction ui;
        ui.Answer(QStringLiteral("message"), mrYes);
        ui.Answer(QStringLiteral("folder"), QStringLiteral("/tmp/out"));
        ui.Answer(QStringLiteral("sede"), 7);

        QCOMPARE(ui.ShowInformation(QStringLiteral("Primo")), int(mrOk)); // OK alone needs no answer
        QVERIFY(ui.Confirm(QStringLiteral("Procedere?")));
        QCOMPARE(ui.BrowseFolder(QStringLiteral("Cartella"), QString()), QStringLiteral("/tmp/out"));
        QCOMPARE(ui.Ask(QStringLiteral("sede"), {{QStringLiteral("text"), QStringLiteral("XXIC00000X")}}).toInt(), 7);

        QCOMPARE(ui.Messages(), QStringList({"Primo", "Procedere?"}));
        QCOMPARE(ui.AskedQuestions().size(), 4);
        QCOMPARE(ui.AskedQuestions().at(3).Question, QStringLiteral("sede"));
        QCOMPARE(ui.AskedQuestions().at(3).Text, QStringLiteral("XXIC00000X"));
        QCOMPARE(ui.AskedQuestions().at(1).Details.value("buttons").toString(), QStringLiteral("YesNo"));
        QCOMPARE(ui.PendingAnswers(), 0);
    }

    void scriptedRefusesUnexpectedQuestions()
    {
        TQxScriptedInteraction ui;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, ui.Confirm(QStringLiteral("?")));
        ui.Answer(QStringLiteral("folder"), QString());
        QVERIFY_THROWS_EXCEPTION(std::logic_error, ui.Ask(QStringLiteral("sede"), {}));
    }

    void scriptedLoginCancelAndAnswer()
    {
        TQxScriptedInteraction ui;
        ui.Answer(QStringLiteral("login"), QVariant());
        ui.Answer(QStringLiteral("login"), QVariantMap{{"Password", "segreta"}});
        TQxLoginData proposal{QStringLiteral("srv:/db.fdb"), QStringLiteral("SYSDBA"), QString(), true};
        QVERIFY(!ui.Login(proposal));
        const auto login = ui.Login(proposal);
        QVERIFY(login);
        QCOMPARE(login->Database, QStringLiteral("srv:/db.fdb"));
        QCOMPARE(login->Password, QStringLiteral("segreta"));
    }

    void batchPrintsMessagesWithTheirKind()
    {
        std::FILE *out = std::tmpfile();
        {
            TQxBatchInteraction ui(out);
            ui.ShowError(QStringLiteral("Esportazione annullata.\r\nRiga due"));
            ui.ShowWarning(QStringLiteral("Attenzione"));
            QCOMPARE(ui.Confirm(QStringLiteral("Continuare?")), false);
            ui.SetYesNoAnswer(mrYes);
            QCOMPARE(ui.Confirm(QStringLiteral("Davvero?")), true);
        }
        const QString text = readBack(out);
        std::fclose(out);
        QCOMPARE(text, QStringLiteral("Errore: Esportazione annullata.\nRiga due\n"
                                      "Avviso: Attenzione\n"
                                      "Conferma: Continuare? -> No\n"
                                      "Conferma: Davvero? -> Sì\n"));
    }

    void batchAnswersFromOptions()
    {
        std::FILE *out = std::tmpfile();
        TQxBatchInteraction ui(out);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, ui.BrowseFolder(QStringLiteral("Cartella"), QString()));
        ui.SetFolder(QStringLiteral("/srv/export"));
        QCOMPARE(ui.BrowseFolder(QStringLiteral("Cartella"), QString()), QStringLiteral("/srv/export"));

        QVERIFY_THROWS_EXCEPTION(std::runtime_error, ui.Ask(QStringLiteral("tipoScuola"), {}));
        ui.SetHandler(QStringLiteral("tipoScuola"), [](const QVariantMap &d) { return d.value("iniziale"); });
        QCOMPARE(ui.Ask(QStringLiteral("tipoScuola"), {{"iniziale", "MEDIA"}}).toString(), QStringLiteral("MEDIA"));

        ui.SetLogin({QStringLiteral("/db/scuola.fdb"), QStringLiteral("OPERATORE"), QStringLiteral("pw"), false}, true);
        const auto login = ui.Login({QStringLiteral("altro.fdb"), QStringLiteral("SYSDBA"), QString(), false});
        QVERIFY(login);
        QCOMPARE(login->Database, QStringLiteral("/db/scuola.fdb"));
        QCOMPARE(login->UserName, QStringLiteral("OPERATORE"));
        QCOMPARE(login->Password, QStringLiteral("pw"));
        std::fclose(out);
    }

    void batchProgressPrintsPlainThinnedLines()
    {
        std::FILE *out = std::tmpfile();
        {
            TQxBatchInteraction ui(out);
            ui.WaitShow(QStringLiteral("Aggiornamento dati in corso"), 0, 2500);
            for (int i = 0; i < 2500; ++i)
                ui.WaitStep(1, QString());
            ui.WaitHide();
        }
        const QStringList lines = readBack(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        std::fclose(out);
        // Not a terminal: the status, the first count, then one line per thousand.
        QCOMPARE(lines, QStringList({"Aggiornamento dati in corso", "Aggiornamento dati in corso 1/2500",
                                     "Aggiornamento dati in corso 1000/2500", "Aggiornamento dati in corso 2000/2500"}));
    }

    void secretFileGivesItsFirstLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("secret");
        QTest::newRow("unix line end") << QByteArray("s3greta\nseconda\n") << "s3greta";
        QTest::newRow("windows line end") << QByteArray("s3greta\r\nseconda") << "s3greta";
        QTest::newRow("no line end") << QByteArray("s3greta") << "s3greta";
        QTest::newRow("blanks kept") << QByteArray(" a b \n") << " a b ";
        QTest::newRow("empty file") << QByteArray() << "";
    }
    void secretFileGivesItsFirstLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, secret);
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("pw")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QCOMPARE(TQxSecrets::ReadFirstLine(f.fileName()), secret);
    }

    void missingSecretFileIsAnError()
    {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, TQxSecrets::ReadFirstLine(QStringLiteral("/nonesiste/pw")));
    }

    void wizardPathsMoveAlongTheActivePath()
    {
        TQxWizardPaths paths;
        paths.AddPath(QStringLiteral("DEFAULT"), QStringLiteral("0;1"));
        paths.AddPath(QStringLiteral("TRE"), QStringLiteral("0;1;2"));
        paths.AddPath(QStringLiteral("SALTO"), QStringLiteral("0;2;5"));
        paths.Activate(QStringLiteral("TRE"));
        QCOMPARE(paths.CurrentPage(), 0);
        QVERIFY(!paths.Back());
        QVERIFY(paths.Next());
        QCOMPARE(paths.CurrentPage(), 1);
        QVERIFY(paths.Next());
        QCOMPARE(paths.CurrentPage(), 2);
        QVERIFY(!paths.Next());
        QCOMPARE(paths.CurrentPage(), 2);
        QVERIFY(paths.Back());
        QCOMPARE(paths.CurrentPage(), 1);

        paths.Activate(QStringLiteral("SALTO"));
        QCOMPARE(paths.CurrentPage(), 0);
        QCOMPARE(paths.NextPage(), 2);
        QVERIFY(paths.Next());
        QCOMPARE(paths.NextPage(), 5);
        QCOMPARE(paths.PreviousPage(), 0);

        paths.Activate(QStringLiteral("DEFAULT"));
        QVERIFY(paths.Next());
        QVERIFY(!paths.CanGoNext());
        QCOMPARE(paths.CurrentPage(), 1);
    }

    void wizardPathsRefuseBadDefinitions()
    {
        TQxWizardPaths paths;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, paths.AddPath(QStringLiteral("X"), QStringLiteral("0;a")));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, paths.AddPath(QStringLiteral("X"), QString()));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, paths.Activate(QStringLiteral("NESSUNO")));
    }
};

QTEST_GUILESS_MAIN(TestInteraction)
#include "test_interaction.moc"
