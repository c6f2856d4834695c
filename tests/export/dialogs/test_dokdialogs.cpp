#include "DemoData.h"
#include "SchoolDatabase.h"
#include "TDokDialoghi.h"
#include "TDokDomande.h"
#include "TDokSedi.h"
#include "TDokUtil.h"
#include "TQxScriptedInteraction.h"
#include "TQxWidgetInteraction.h"
#include "TfmDokChiediSede.h"
#include "TfmDokLogIndirizzi.h"
#include "TfmDokTipoScuola.h"
#include "../FileDiProva.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

// Acts on the modal window of type W as soon as it is shown; the caller then
// runs the code that opens it.
template <typename W> void quandoAperta(const std::function<void(W *)> &azione)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, azione] {
        if (auto *w = qobject_cast<W *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            azione(w);
        }
    });
    timer->start();
}

} // namespace

// The export client's small windows, offscreen, on the demo institute: code
// XXIS00000X has sites 7 (Roma) and 8 (Tivoli) and one booking row ("SS").
class TestDokDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    QStringList tipiRegistrati()
    {
        QSqlQuery q(m_db);
        q.exec(QStringLiteral("SELECT SSCODTIPOSCUOLA FROM TSCOD_CODICETEVO WHERE SSCODMECC = 'XXIS00000X' "
                              "ORDER BY ISCODID"));
        QStringList tipi;
        while (q.next())
            tipi << q.value(0).toString();
        return tipi;
    }

    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("scuola.fdb"));
        schooldb::createDemoDatabase(path, schooldb::DemoOptions{schooldb::kDemoMinimumPupils, 1});
        m_db = schooldb::openSchoolDatabase(QStringLiteral("dialogs"), path);
    }

    void init()
    {
        exec(QStringLiteral("DELETE FROM TSCOD_CODICETEVO WHERE ISCODID = 90"));
        exec(QStringLiteral("UPDATE TSCOD_CODICETEVO SET SSCODTIPOSCUOLA = 'SS' WHERE SSCODMECC = 'XXIS00000X'"));
    }

    void cleanupTestCase() { m_db.close(); }

    // ------------------------------------------------------------ site chooser
    void chooserListsTheSites()
    {
        TQxScriptedInteraction interazione;
        TfmDokChiediSede dialog(interazione);
        dialog.Carica(QStringLiteral("XXIS00000X"), TDokSedi::ElencoSedi(m_db, QStringLiteral("XXIS00000X")));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Richiesta sede principale"));
        QTreeWidget *lista = dialog.findChild<QTreeWidget *>(QStringLiteral("lvDettSediMultiple"));
        QCOMPARE(lista, dialog.lvDettSediMultiple);
        QCOMPARE(lista->columnCount(), 7);
        QCOMPARE(lista->headerItem()->text(0), QStringLiteral("Denominazione"));
        QVERIFY(lista->isColumnHidden(6));
        QCOMPARE(lista->topLevelItemCount(), 2);
        QTreeWidgetItem *tivoli = lista->findItems(QStringLiteral("8"), Qt::MatchExactly, 6).value(0);
        QVERIFY(tivoli);
        QCOMPARE(tivoli->text(0), QStringLiteral("ISTITUTO DI ISTRUZIONE SUPERIORE GALILEO GALILEI - SEDE DI TIVOLI"));
        QCOMPARE(tivoli->text(1), QStringLiteral("TIVOLI"));
        QCOMPARE(tivoli->text(2), QStringLiteral("VIA ACQUAREGNA 3"));
        QCOMPARE(tivoli->text(3), QStringLiteral("0774 330001"));
    }

    void chooserNeedsASelection()
    {
        TQxScriptedInteraction interazione;
        TfmDokChiediSede dialog(interazione);
        dialog.Carica(QStringLiteral("XXIS00000X"), TDokSedi::ElencoSedi(m_db, QStringLiteral("XXIS00000X")));
        dialog.show();
        QTest::mouseClick(dialog.buOk, Qt::LeftButton);
        QCOMPARE(interazione.Messages(),
                 QStringList{QStringLiteral("La selezione di una sede è obbligatoria per procedere!")});
        QCOMPARE(interazione.AskedQuestions().first().Details.value(QStringLiteral("type")).toString(),
                 QStringLiteral("Avviso"));
        QVERIFY(dialog.isVisible());

        QTreeWidgetItem *tivoli = dialog.lvDettSediMultiple->findItems(QStringLiteral("8"), Qt::MatchExactly, 6).value(0);
        dialog.lvDettSediMultiple->setCurrentItem(tivoli);
        QTest::mouseClick(dialog.buOk, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.IdSede(), 8);
        QCOMPARE(interazione.Messages().size(), 1);
    }

    void chooserCancelled()
    {
        TQxScriptedInteraction interazione;
        TfmDokChiediSede dialog(interazione);
        dialog.Carica(QStringLiteral("XXIS00000X"), TDokSedi::ElencoSedi(m_db, QStringLiteral("XXIS00000X")));
        dialog.show();
        dialog.lvDettSediMultiple->setCurrentItem(dialog.lvDettSediMultiple->topLevelItem(0));
        QTest::mouseClick(dialog.buCancel, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(interazione.AskedQuestions().isEmpty());
    }

    // ------------------------------------------------------------ school type
    void typeDialogLayout()
    {
        TQxScriptedInteraction interazione;
        TfmDokTipoScuola dialog(m_db, interazione);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tipo Scuola"));
        QCOMPARE(dialog.lascuola->text(), QStringLiteral("è una scuola"));
        QCOMPARE(dialog.buConferma->text(), QStringLiteral("&Conferma"));
        QCOMPARE(dialog.buAnnulla->text(), QStringLiteral("&Annulla"));
        QVERIFY(dialog.cbTipoScuola->isEditable());
        QStringList voci;
        for (int i = 0; i < dialog.cbTipoScuola->count(); ++i)
            voci << dialog.cbTipoScuola->itemText(i);
        QCOMPARE(voci, (QStringList{QStringLiteral("MATERNA"), QStringLiteral("ELEMENTARE"), QStringLiteral("MEDIA"),
                                    QStringLiteral("SUPERIORE")}));
        // Without a stored type the box starts empty, not on its first item.
        QCOMPARE(dialog.cbTipoScuola->currentText(), QString());
        dialog.SetTipo(QStringLiteral("MEDIA"));
        QCOMPARE(dialog.cbTipoScuola->currentIndex(), 2);
    }

    void typeDialogNeedsAType()
    {
        TQxScriptedInteraction interazione;
        TfmDokTipoScuola dialog(m_db, interazione);
        dialog.SetCodMecc(QStringLiteral("XXIS00000X"));
        dialog.show();
        QTest::mouseClick(dialog.buConferma, Qt::LeftButton);
        QCOMPARE(interazione.Messages(), QStringList{QStringLiteral("Selezionare il tipo scuola")});
        QCOMPARE(interazione.AskedQuestions().first().Details.value(QStringLiteral("type")).toString(),
                 QStringLiteral("Informazione"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(tipiRegistrati(), QStringList{QStringLiteral("SS")});
    }

    void typeDialogStoresTheType()
    {
        exec(QStringLiteral("INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC, IANSID, SSCODTIPOSCUOLA) "
                            "VALUES (90, 'XXIS00000X', 1, 'SS')"));
        TQxScriptedInteraction interazione;
        TfmDokTipoScuola dialog(m_db, interazione);
        dialog.SetCodMecc(QStringLiteral("XXIS00000X"));
        dialog.SetTipo(QStringLiteral("SUPERIORE"));
        dialog.show();
        dialog.cbTipoScuola->setEditText(QStringLiteral("MEDIA"));
        QTest::mouseClick(dialog.buConferma, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(interazione.AskedQuestions().isEmpty());
        QCOMPARE(tipiRegistrati(), (QStringList{QStringLiteral("MM"), QStringLiteral("MM")}));
    }

    void typeDialogCancelledStoresNothing()
    {
        TQxScriptedInteraction interazione;
        TfmDokTipoScuola dialog(m_db, interazione);
        dialog.SetCodMecc(QStringLiteral("XXIS00000X"));
        dialog.show();
        dialog.cbTipoScuola->setEditText(QStringLiteral("MEDIA"));
        QTest::mouseClick(dialog.buAnnulla, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(tipiRegistrati(), QStringList{QStringLiteral("SS")});
    }

    void typeDialogShowsADatabaseErrorAndStaysOpen()
    {
        QSqlDatabase chiusa = QSqlDatabase::cloneDatabase(m_db, QStringLiteral("closed"));
        TQxScriptedInteraction interazione;
        {
            TfmDokTipoScuola dialog(chiusa, interazione);
            dialog.SetCodMecc(QStringLiteral("XXIS00000X"));
            dialog.SetTipo(QStringLiteral("MEDIA"));
            dialog.show();
            QTest::mouseClick(dialog.buConferma, Qt::LeftButton);
            QVERIFY(dialog.isVisible());
        }
        chiusa = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("closed"));
        QCOMPARE(interazione.AskedQuestions().size(), 1);
        QCOMPARE(interazione.AskedQuestions().first().Details.value(QStringLiteral("type")).toString(),
                 QStringLiteral("Errore"));
        QCOMPARE(interazione.Messages().first(), QStringLiteral("Connessione al database non aperta."));
    }

    // ------------------------------------------------------------ study-address log
    void logWindowSavesTheLines()
    {
        QTemporaryDir cartella;
        // An older log is replaced whole.
        QFile vecchio(cartella.filePath(QStringLiteral("TevoLogInd.Log")));
        QVERIFY(vecchio.open(QIODevice::WriteOnly));
        vecchio.write(QByteArray(500, 'x'));
        vecchio.close();

        TQxScriptedInteraction interazione;
        interazione.Answer(QStringLiteral("folder"), cartella.path());
        TfmDokLogIndirizzi dialog(interazione);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Log Indirizzi"));
        QVERIFY(dialog.Memo1->isReadOnly());
        dialog.SetRighe({QStringLiteral("ERRORE BLOCCANTE!"), QString(),
                         QStringLiteral("Sono presenti più indirizzi"), QStringLiteral("      Classico")});
        dialog.show();
        QTest::mouseClick(dialog.buSalvaLog, Qt::LeftButton);

        QCOMPARE(interazione.AskedQuestions().first().Text,
                 QStringLiteral("Selezionare la cartella dove salvare il file di LOG"));
        QCOMPARE(leggi(cartella.filePath(QStringLiteral("TevoLogInd.Log"))),
                 QByteArray("ERRORE BLOCCANTE!\r\n\r\nSono presenti pi\xF9 indirizzi\r\n      Classico\r\n"));
        QCOMPARE(interazione.Messages(),
                 QStringList{QStringLiteral("TevoLogInd.log salvato in ") + cartella.path()});
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(dialog.buOk, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void logWindowWithoutAFolderDoesNothing()
    {
        TQxScriptedInteraction interazione;
        interazione.Answer(QStringLiteral("folder"), QString());
        TfmDokLogIndirizzi dialog(interazione);
        dialog.SetRighe({QStringLiteral("ERRORE BLOCCANTE!")});
        QTest::mouseClick(dialog.buSalvaLog, Qt::LeftButton);
        QCOMPARE(interazione.AskedQuestions().size(), 1);
        QVERIFY(interazione.Messages().isEmpty());
    }

    void logWindowReportsAFileThatCannotBeWritten()
    {
        TQxScriptedInteraction interazione;
        interazione.Answer(QStringLiteral("folder"), m_dir.filePath(QStringLiteral("manca")));
        TfmDokLogIndirizzi dialog(interazione);
        dialog.SetRighe({QStringLiteral("ERRORE BLOCCANTE!")});
        QTest::mouseClick(dialog.buSalvaLog, Qt::LeftButton);
        QCOMPARE(interazione.AskedQuestions().size(), 2);
        QCOMPARE(interazione.AskedQuestions().last().Details.value(QStringLiteral("type")).toString(),
                 QStringLiteral("Errore"));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("manca/TevoLogInd.Log"))));
    }

    // ------------------------------------------------------------ the question handlers
    void handlersOpenTheWindows()
    {
        TQxWidgetInteraction interazione;
        TDokDialoghi::Registra(interazione, m_db);

        quandoAperta<TfmDokChiediSede>([](TfmDokChiediSede *w) {
            w->lvDettSediMultiple->setCurrentItem(
                w->lvDettSediMultiple->findItems(QStringLiteral("7"), Qt::MatchExactly, 6).value(0));
            w->buOk->click();
        });
        QCOMPARE(TDokUtil::GetIdSede(m_db, interazione, QStringLiteral("XXIS00000X")), 7);

        quandoAperta<TfmDokChiediSede>([](TfmDokChiediSede *w) { w->buCancel->click(); });
        QCOMPARE(TDokUtil::GetIdSede(m_db, interazione, QStringLiteral("XXIS00000X")), -1);

        QString etichetta, iniziale;
        quandoAperta<TfmDokTipoScuola>([&](TfmDokTipoScuola *w) {
            etichetta = w->laTipoScuola->text();
            iniziale = w->cbTipoScuola->currentText();
            w->cbTipoScuola->setEditText(QStringLiteral("MEDIA"));
            w->buConferma->click();
        });
        const QVariantMap risposta =
            interazione
                .Ask(QString::fromLatin1(TDokDomande::kTipoScuola),
                     {{QStringLiteral("CodMecc"), QStringLiteral("XXIS00000X")},
                      {QStringLiteral("Messaggio"), QStringLiteral("L'istituto selezionato: \r\nXXIS00000X - IIS\r\n")},
                      {QStringLiteral("Tipo"), QStringLiteral("SUPERIORE")}})
                .toMap();
        QCOMPARE(etichetta, QStringLiteral("L'istituto selezionato: \r\nXXIS00000X - IIS\r\n"));
        QCOMPARE(iniziale, QStringLiteral("SUPERIORE"));
        QCOMPARE(risposta.value(QStringLiteral("Ok")).toBool(), true);
        QCOMPARE(risposta.value(QStringLiteral("Tipo")).toString(), QStringLiteral("MEDIA"));
        QCOMPARE(tipiRegistrati(), QStringList{QStringLiteral("MM")});

        QStringList mostrate;
        quandoAperta<TfmDokLogIndirizzi>([&](TfmDokLogIndirizzi *w) {
            mostrate = w->Righe();
            w->buOk->click();
        });
        interazione.Ask(QString::fromLatin1(TDokDomande::kLogIndirizzi),
                        {{QStringLiteral("Righe"), QStringList{QStringLiteral("ERRORE BLOCCANTE!"), QString()}}});
        QCOMPARE(mostrate, (QStringList{QStringLiteral("ERRORE BLOCCANTE!"), QString()}));
    }
};

QTEST_MAIN(TestDokDialogs)
#include "test_dokdialogs.moc"
