// The main window on the offscreen platform: its items, the kind filter of the
// site list, the hidden option, the default year and one whole export.
#include "DemoData.h"
#include "TDokDomande.h"
#include "TQxScriptedInteraction.h"
#include "TQxParam.h"
#include "TQxSQLConnection.h"
#include "TfmDokMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestDokMain : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;

    std::unique_ptr<TQxSQLConnection> connessione(TQxScriptedInteraction &io)
    {
        auto c = std::make_unique<TQxSQLConnection>();
        c->DatabaseVersion = QStringLiteral("6.95.13");
        c->Database = m_db;
        c->UserName = QStringLiteral("SYSDBA");
        io.Answer(QStringLiteral("login"), QVariantMap{{QStringLiteral("Database"), m_db},
                                                       {QStringLiteral("UserName"), QStringLiteral("SYSDBA")},
                                                       {QStringLiteral("Password"), QString()}});
        return c;
    }

    static QStringList voci(const QListWidget *l)
    {
        QStringList v;
        for (int i = 0; i < l->count(); ++i)
            v << l->item(i)->text().left(10);
        v.sort();
        return v;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_db = m_dir.filePath(QStringLiteral("scuola.fdb"));
        schooldb::createDemoDatabase(m_db, {60, 11});
    }

    void itemsAndKindFilter()
    {
        TQxScriptedInteraction io;
        auto conn = connessione(io);
        TfmDokMain w(*conn, io);
        w.Oggi = [] { return QDate(2016, 10, 3); };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QCOMPARE(w.windowTitle(), QStringLiteral(" Comunicazioni SIDI"));
        QCOMPARE(w.cbAns->currentText(), QStringLiteral("2016/2017"));
        QCOMPARE(w.cbAns->currentData().toInt(), 2);
        QCOMPARE(w.rgSceltaExp->title(), QStringLiteral("Tipo di esportazione"));
        QStringList tipi;
        for (QAbstractButton *b : w.rgSceltaExpItems->buttons())
            tipi << b->text();
        QCOMPARE(tipi, (QStringList{"Avvio anno scolastico", "Infanzia - Avvio anno scolastico",
                                    "Scrutini Analitici I e II Grado (1,2,3,4)",
                                    "Esiti Finali qualifiche Professionali IeFP(1,2 Q3, 1,2,3 Q4)"}));
        QCOMPARE(w.TipoScelto(), -1);
        QCOMPARE(w.buOk->text(), QStringLiteral("&Esporta"));
        QCOMPARE(w.buCancel->text(), QStringLiteral("&Chiudi"));
        QCOMPARE(w.lbVersion->text(), QStringLiteral("Versione: " SIDILINK_VERSION));
        QVERIFY(!w.chkParamInd->isVisible());
        QVERIFY(!w.cbSes->isVisible());
        QVERIFY(w.chkFreq->isChecked() && w.chkRitirati->isChecked() && w.chkTrasferiti->isChecked());

        // No kind chosen: every site of the year.
        QCOMPARE(voci(w.lbListSedi),
                 (QStringList{"XXAA00000X", "XXIC00000X", "XXIS00000X", "XXIS00000X"}));
        w.SelezionaTipo(1);
        QCOMPARE(voci(w.lbListSedi), QStringList{"XXAA00000X"});
        w.SelezionaTipo(0);
        QCOMPARE(voci(w.lbListSedi), (QStringList{"XXIC00000X", "XXIS00000X", "XXIS00000X"}));
        w.SelezionaTipo(2);
        QVERIFY(w.cbSes->isVisible());
        QCOMPARE(w.lbListSedi->count(), 4);

        // "&Esporta" without a kind says so.
        TQxScriptedInteraction io2;
        auto conn2 = connessione(io2);
        TfmDokMain w2(*conn2, io2);
        w2.show();
        QTest::mouseClick(w2.buOk, Qt::LeftButton);
        QCOMPARE(io2.Messages().last(),
                 QStringLiteral("Non è stato selezionato il tipo di esportazione da\r\neseguire: nessuna "
                                "operazione da eseguire."));
    }

    void defaultYear_data()
    {
        QTest::addColumn<QDate>("oggi");
        QTest::addColumn<QString>("anno");
        QTest::addColumn<int>("sedi");
        QTest::newRow("31 agosto 2017") << QDate(2017, 8, 31) << "2016/2017" << 4;
        QTest::newRow("1 settembre 2016") << QDate(2016, 9, 1) << "2016/2017" << 4;
        // 2017/2018 is not in the list: the box stays empty, the sites are those
        // of the default start year (none).
        QTest::newRow("1 settembre 2017") << QDate(2017, 9, 1) << "" << 0;
        QTest::newRow("31 agosto 2016") << QDate(2016, 8, 31) << "2015/2016" << 1;
    }
    void defaultYear()
    {
        QFETCH(QDate, oggi);
        QFETCH(QString, anno);
        QFETCH(int, sedi);
        TQxScriptedInteraction io;
        auto conn = connessione(io);
        TfmDokMain w(*conn, io);
        w.Oggi = [oggi] { return oggi; };
        w.show();
        QCOMPARE(w.cbAns->currentText(), anno);
        QCOMPARE(w.lbListSedi->count() > 0, sedi > 0);
    }

    void hiddenOptionWritesTheParameterTable()
    {
        TQxScriptedInteraction io;
        auto conn = connessione(io);
        TfmDokMain w(*conn, io);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const auto valore = [&conn]() -> QVariant {
            QSqlQuery q(conn->Connection());
            q.exec(QStringLiteral("SELECT IPRMVAL FROM TPRM_PARAM WHERE IPRMID = 4100 AND SPRMPROG = 'kbd' "
                                  "AND SPRMCOD = 'bUseIdSidiInd'"));
            return q.next() ? q.value(0) : QVariant();
        };
        QVERIFY(!valore().isValid());

        // The shortcut works with the focus in the site list too.
        w.lbListSedi->setFocus();
        QTest::keyClick(w.lbListSedi, Qt::Key_F8, Qt::ControlModifier);
        QVERIFY(!w.chkParamInd->isVisible());
        QTest::keyClick(w.lbListSedi, Qt::Key_F8, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(w.chkParamInd->isVisible());

        w.chkParamInd->click(); // as a click on its text or box
        QCOMPARE(valore().toInt(), 1);
        QVERIFY(w.chkParamInd->isChecked());
        w.chkParamInd->click(); // as a click on its text or box
        QCOMPARE(valore().toInt(), 0);
        QVERIFY(!w.chkParamInd->isChecked());
    }

    void notesOpenTheDocumentOfTheMainDirectory()
    {
        TQxScriptedInteraction io;
        auto conn = connessione(io);
        TfmDokMain w(*conn, io);
        w.show();
        TQxParam::SetMainDir(m_dir.filePath(QStringLiteral("suite")));
        QTest::mouseClick(w.buNote, Qt::LeftButton);
        TQxParam::SetMainDir(QString());
        QCOMPARE(w.buNote->text(), QStringLiteral("&Note sull'aggiornamento"));
        const auto &chieste = io.AskedQuestions();
        QCOMPARE(chieste.last().Question, QStringLiteral("document"));
        QCOMPARE(QDir::cleanPath(chieste.last().Text),
                 m_dir.filePath(QStringLiteral("suite/Doc/Tevo/tevo_notizie.pdf")));
    }

    void wholeExportThroughTheWindow()
    {
        QTemporaryDir uscita;
        TQxScriptedInteraction io;
        auto conn = connessione(io);
        TfmDokMain w(*conn, io);
        w.Oggi = [] { return QDate(2016, 10, 3); };
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.SelezionaTipo(0);
        const QList<QListWidgetItem *> sede =
            w.lbListSedi->findItems(QStringLiteral("XXIC00000X"), Qt::MatchStartsWith);
        QCOMPARE(sede.size(), 1);
        w.lbListSedi->setCurrentItem(sede.first());

        io.Answer(QString::fromLatin1(TDokDomande::kTipoScuola),
                  QVariantMap{{QStringLiteral("Ok"), true}, {QStringLiteral("Tipo"), QStringLiteral("MEDIA")}});
        io.Answer(QString::fromLatin1(TDokDomande::kDatiNonImportati), true);
        io.Answer(QString::fromLatin1(TDokDomande::kRiepilogoFrequenze), QVariant());
        io.Answer(QStringLiteral("folder"), uscita.path());
        QTest::mouseClick(w.buOk, Qt::LeftButton);

        QCOMPARE(io.PendingAnswers(), 0);
        QCOMPARE(w.laExp->text(), QStringLiteral("ESPORTAZIONE CONCLUSA"));
        const QStringList archivi = QDir(uscita.path()).entryList({QStringLiteral("NUOVOAVVIOSCUOLA_XXIC00000X_*.zip")});
        QCOMPARE(archivi.size(), 1);
    }
};

QTEST_MAIN(TestDokMain)
#include "test_dok_main.moc"
