#include "TDokLogScarti.h"
#include "TdmDokDataSetsAnagrafe.h"
#include "../FileDiProva.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using dataset::FieldType;
using dataset::Table;

namespace {

const QString kIntestazione = QStringLiteral("Comunicazioni SIDI 1.0.0");
const QString kSeparatore = QString(182, QLatin1Char('-'));
const QString kA_Capo = QStringLiteral("\r\n        "); // CR LF and eight blanks
const QStringList kChiaviAlunni{"IDAlunno", "Cognome", "Nome", "DataNascita", "CodFiscAlunno"};

// Appends a record with the named values; the others stay Null.
void aggiungi(Table &t, const QVariantMap &valori)
{
    t.appendRecord();
    for (auto it = valori.cbegin(); it != valori.cend(); ++it)
        t.setValue(it.key(), it.value());
    t.post();
}

QVariantMap alunno(const QString &id, const QString &cognome, const QString &nome, int e = 0,
                   const QString &scartato = QString())
{
    return {{"IDAlunno", id},         {"Cognome", cognome}, {"Nome", nome},
            {"DataNascita", "2010-05-04"}, {"CodFiscAlunno", "RSSMRA10E04H501X"},
            {"E", e},                 {"CampoScartato", scartato}};
}

// The year-end error table.
Table tabellaErrori()
{
    Table t;
    t.addField("Order", FieldType::Integer);
    t.addField("iSitId", FieldType::Integer);
    t.addField("Alunno", FieldType::String, 255);
    t.addField("Errore", FieldType::String, 255);
    t.addField("E", FieldType::Integer);
    return t;
}

} // namespace

class TestLogScarti : public QObject
{
    Q_OBJECT

private slots:
    void recordMode_data();
    void recordMode();
    void progressLabel();
    void filterLiftedAfterError();
    void twentyThousandRejectedCurriculumRows();

    void pupilGrouped();
    void emptyErrorTableUsesRecordMode();

    void cercaValore_data();
    void cercaValore();

    void salvaLogBytes();
    void salvaLogTwiceReplaces();
    void salvaLogFailure_data();
    void salvaLogFailure();
};

void TestLogScarti::recordMode_data()
{
    QTest::addColumn<QString>("tabella"); // alunni, curriculum, scuola
    QTest::addColumn<QVariantList>("righe");
    QTest::addColumn<QString>("titolo");
    QTest::addColumn<QStringList>("chiavi");
    QTest::addColumn<QStringList>("atteso");

    const QString idRossi = kA_Capo
                            + "IDAlunno: ABCDE101 - Cognome: Rossi - Nome: Mario - DataNascita: 2010-05-04 - "
                              "CodFiscAlunno: RSSMRA10E04H501X\r\n";

    QTest::newRow("start-of-year pupil, missing field")
        << "alunni"
        << QVariantList{alunno("ABCDE100", "Verdi", "Anna"), alunno("ABCDE101", "Rossi", "Mario", 1, "Sesso")}
        << "FLUSSO: 008TB_ALU_ALUNNI" << kChiaviAlunni
        << QStringList{kIntestazione, "", "FLUSSO: 008TB_ALU_ALUNNI",
                       "  - Campo obbligatorio mancante: Sesso" + idRossi, kSeparatore};

    QTest::newRow("missing reference")
        << "alunni" << QVariantList{alunno("ABCDE101", "Rossi", "Mario", 2, " IDScuola -  valore: ABCDE1005")}
        << "FLUSSO: 008TB_ALU_ALUNNI" << kChiaviAlunni
        << QStringList{kIntestazione, "", "FLUSSO: 008TB_ALU_ALUNNI",
                       "  - Relazioni dipendenza errate:  IDScuola -  valore: ABCDE1005" + idRossi, kSeparatore};

    QTest::newRow("rejected rows in table order, accepted and unchecked ones left out")
        << "alunni"
        << QVariantList{alunno("ABCDE103", "Neri", "Ugo", 1, "Cognome,Nome"), alunno("ABCDE100", "Verdi", "Anna"),
                        QVariantMap{{"IDAlunno", "ABCDE104"}}, alunno("ABCDE101", "Rossi", "Mario", 1, "Sesso")}
        << "FLUSSO: 008TB_ALU_ALUNNI" << QStringList{"IDAlunno"}
        << QStringList{kIntestazione,
                       "",
                       "FLUSSO: 008TB_ALU_ALUNNI",
                       "  - Campo obbligatorio mancante: Cognome,Nome" + kA_Capo + "IDAlunno: ABCDE103\r\n",
                       "  - Campo obbligatorio mancante: Sesso" + kA_Capo + "IDAlunno: ABCDE101\r\n",
                       kSeparatore};

    QTest::newRow("empty key value keeps its name")
        << "alunni" << QVariantList{alunno("ABCDE101", "Rossi", "", 1, "Nome")} << "FLUSSO: 008TB_ALU_ALUNNI"
        << QStringList{"Nome", "IDAlunno", "CodFiscAlunno"}
        << QStringList{kIntestazione, "", "FLUSSO: 008TB_ALU_ALUNNI",
                       "  - Campo obbligatorio mancante: Nome" + kA_Capo
                           + "Nome:  - IDAlunno: ABCDE101 - CodFiscAlunno: RSSMRA10E04H501X\r\n",
                       kSeparatore};

    QTest::newRow("empty last key value")
        << "alunni" << QVariantList{alunno("", "Rossi", "Mario", 1, "IDAlunno")} << "FLUSSO: 008TB_ALU_ALUNNI"
        << QStringList{"Cognome", "IDAlunno"}
        << QStringList{kIntestazione, "", "FLUSSO: 008TB_ALU_ALUNNI",
                       "  - Campo obbligatorio mancante: IDAlunno" + kA_Capo + "Cognome: Rossi - IDAlunno: \r\n",
                       kSeparatore};

    QTest::newRow("no key fields")
        << "scuola" << QVariantList{QVariantMap{{"E", 2}, {"CampoScartato", "CodComune"}}}
        << "FLUSSO: 004TB_USR_USER" << QStringList{}
        << QStringList{kIntestazione, "", "FLUSSO: 004TB_USR_USER",
                       "  - Relazioni dipendenza errate: CodComune" + kA_Capo, kSeparatore};

    QTest::newRow("curriculum names the pupil")
        << "curriculum"
        << QVariantList{QVariantMap{{"IDAlunno", "ABCDE101"}, {"E", 1}, {"CampoScartato", "IDCorso"}}}
        << "FLUSSO: 009TB_ALU_SIT" << QStringList{"IDAlunno"}
        << QStringList{kIntestazione, "", "FLUSSO: 009TB_ALU_SIT",
                       "  - Campo obbligatorio mancante: IDCorso" + kA_Capo + "Alunno: Rossi Mario\r\n", kSeparatore};

    QTest::newRow("curriculum, pupil not in the pupils table")
        << "curriculum"
        << QVariantList{QVariantMap{{"IDAlunno", "ABCDE999"}, {"E", 2}, {"CampoScartato", " IDAlunno -  valore: ABCDE999"}}}
        << "FLUSSO: 009TB_ALU_SIT" << QStringList{"IDAlunno"}
        << QStringList{kIntestazione, "", "FLUSSO: 009TB_ALU_SIT",
                       "  - Relazioni dipendenza errate:  IDAlunno -  valore: ABCDE999" + kA_Capo + "Alunno:  \r\n",
                       kSeparatore};

    QTest::newRow("curriculum, other keys after the pupil")
        << "curriculum"
        << QVariantList{QVariantMap{{"IDAlunno", "ABCDE101"}, {"AnnoCorso", 2}, {"E", 1}, {"CampoScartato", "Sezione"}}}
        << "FLUSSO: 009TB_ALU_SIT" << QStringList{"IDAlunno", "AnnoCorso"}
        << QStringList{kIntestazione, "", "FLUSSO: 009TB_ALU_SIT",
                       "  - Campo obbligatorio mancante: Sezione" + kA_Capo + "Alunno: Rossi MarioAnnoCorso: 2\r\n",
                       kSeparatore};

    QTest::newRow("no rejected row adds nothing")
        << "alunni" << QVariantList{alunno("ABCDE100", "Verdi", "Anna"), alunno("ABCDE101", "Rossi", "Mario")}
        << "FLUSSO: 008TB_ALU_ALUNNI" << kChiaviAlunni << QStringList{};

    QTest::newRow("empty flow adds nothing") << "scuola" << QVariantList{} << "FLUSSO: 004TB_USR_USER"
                                             << QStringList{} << QStringList{};
}

void TestLogScarti::recordMode()
{
    QFETCH(QString, tabella);
    QFETCH(QVariantList, righe);
    QFETCH(QString, titolo);
    QFETCH(QStringList, chiavi);
    QFETCH(QStringList, atteso);

    TdmDokDataSetsAnagrafe store;
    Table &t = tabella == "alunni" ? store.cdsAlunni : tabella == "curriculum" ? store.cdsCurriculum : store.cdsScuola;
    if (tabella == "curriculum") {
        aggiungi(store.cdsAlunni, alunno("ABCDE100", "Verdi", "Anna"));
        aggiungi(store.cdsAlunni, alunno("ABCDE101", "Rossi", "Mario"));
    }
    for (const QVariant &r : righe)
        aggiungi(t, r.toMap());

    Table errori = tabellaErrori();
    TDokLogScarti log;
    log.Intestazione = kIntestazione;
    log.ImpostaErrori(&errori); // empty: record mode
    log.ImpostaCurriculum(&store.cdsCurriculum, &store.cdsAlunni);
    log.AggiungiErroriFlusso(t, titolo, chiavi, {});

    QCOMPARE(log.ListaLog, atteso);
    QVERIFY(!t.isFiltered());
    QCOMPARE(t.recordCount(), int(righe.size()));
}

void TestLogScarti::progressLabel()
{
    TdmDokDataSetsAnagrafe store;
    aggiungi(store.cdsAlunni, alunno("ABCDE100", "Verdi", "Anna"));
    aggiungi(store.cdsAlunni, alunno("ABCDE101", "Rossi", "Mario", 1, "Sesso"));
    aggiungi(store.cdsAlunni, alunno("ABCDE102", "Bianchi", "Lia"));
    aggiungi(store.cdsAlunni, alunno("ABCDE103", "Neri", "Ugo", 2, "IDScuola"));
    QStringList stati;
    TDokLogScarti log;
    log.ListaLog << "FLUSSO: 004TB_USR_USER" << kSeparatore; // an earlier block stays
    log.AggiungiErroriFlusso(store.cdsAlunni, "FLUSSO: 008TB_ALU_ALUNNI", {"IDAlunno"},
                             [&stati](const QString &s) { stati << s; });
    // Numbered within the rejected records.
    QCOMPARE(stati, QStringList({"CONTROLLO FLUSSO: 008TB_ALU_ALUNNI - Record 1",
                                 "CONTROLLO FLUSSO: 008TB_ALU_ALUNNI - Record 2"}));
    QCOMPARE(log.ListaLog.size(), 2 + 3 + 2 + 1);
    QCOMPARE(log.ListaLog.at(0), QString("FLUSSO: 004TB_USR_USER"));
    QCOMPARE(log.ListaLog.at(2), QString()); // the empty Intestazione
}

void TestLogScarti::filterLiftedAfterError()
{
    TdmDokDataSetsAnagrafe store;
    aggiungi(store.cdsAlunni, alunno("ABCDE100", "Verdi", "Anna"));
    aggiungi(store.cdsAlunni, alunno("ABCDE101", "Rossi", "Mario", 1, "Sesso"));
    TDokLogScarti log;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             log.AggiungiErroriFlusso(store.cdsAlunni, "FLUSSO: 008TB_ALU_ALUNNI", {"IDAlunno"},
                                                      [](const QString &) { throw std::runtime_error("stop"); }));
    QVERIFY(!store.cdsAlunni.isFiltered());
    QCOMPARE(store.cdsAlunni.recordCount(), 2);
}

void TestLogScarti::twentyThousandRejectedCurriculumRows()
{
    // Every rejected curriculum row looks its pupil up twice: the log must stay
    // linear in the number of rows.
    const int n = 20000;
    TdmDokDataSetsAnagrafe store;
    for (int i = 0; i < n; ++i) {
        store.cdsAlunni.append({});
        store.cdsAlunni.edit();
        store.cdsAlunni.setValue("IDAlunno", QString("ABCDE%1").arg(i));
        store.cdsAlunni.setValue("Cognome", QString("Cognome%1").arg(i));
        store.cdsAlunni.setValue("Nome", QString("Nome%1").arg(i));
        store.cdsAlunni.post();
        store.cdsCurriculum.append({});
        store.cdsCurriculum.edit();
        store.cdsCurriculum.setValue("IDAlunno", QString("ABCDE%1").arg(n - 1 - i));
        store.cdsCurriculum.setValue("E", 1);
        store.cdsCurriculum.setValue("CampoScartato", "IDCorso");
        store.cdsCurriculum.post();
    }
    TDokLogScarti log;
    log.ImpostaCurriculum(&store.cdsCurriculum, &store.cdsAlunni);
    QElapsedTimer timer;
    timer.start();
    log.AggiungiErroriFlusso(store.cdsCurriculum, "FLUSSO: 009TB_ALU_SIT", {"IDAlunno"}, {});
    const qint64 ms = timer.elapsed();
    qInfo("%d rejected rows in %lld ms", n, ms);
    QCOMPARE(log.ListaLog.size(), 3 + n + 1);
    QCOMPARE(log.ListaLog.at(3), "  - Campo obbligatorio mancante: IDCorso" + kA_Capo + "Alunno: Cognome19999 Nome19999\r\n");
    QCOMPARE(log.ListaLog.at(3 + n - 1), "  - Campo obbligatorio mancante: IDCorso" + kA_Capo + "Alunno: Cognome0 Nome0\r\n");
    QVERIFY2(ms < 5000, "the log of 20 000 rejected rows took too long");
}

void TestLogScarti::pupilGrouped()
{
    Table errori = tabellaErrori();
    const QString rossi = "- Campi obbligatori mancanti per l'alunno: Rossi Mario della classe 1A";
    const QString bianchi = "- Campi obbligatori mancanti per l'alunno: Bianchi Lia della classe 1A";
    errori.append({3, 10, rossi, "Voto mancante", 1});
    errori.append({0, 10, rossi, "Ore di assenza mancanti", 1});
    errori.append({1, 10, rossi, "Esito mancante", 1});
    errori.append({2, 20, bianchi, "Esito mancante", 1});
    errori.append({3, 10, rossi, "Credito mancante", 1});

    TdmDokDataSetsAnagrafe store;
    aggiungi(store.cdsAlunni, alunno("ABCDE101", "Rossi", "Mario", 1, "Sesso")); // not read in this mode
    TDokLogScarti log;
    log.Intestazione = kIntestazione;
    log.ListaLog << "an earlier entry";
    log.ImpostaErrori(&errori);
    QStringList stati;
    log.AggiungiErroriFlusso(store.cdsAlunni, "FLUSSO: SCRUTINI ANALITICI", {}, [&stati](const QString &s) { stati << s; });

    QCOMPARE(log.ListaLog, QStringList({"FLUSSO: SCRUTINI ANALITICI", "", rossi, "Ore di assenza mancanti",
                                        "Esito mancante", "", bianchi, "Esito mancante", "", rossi,
                                        "Credito mancante", "Voto mancante"}));
    QVERIFY(stati.isEmpty());
}

void TestLogScarti::emptyErrorTableUsesRecordMode()
{
    Table errori = tabellaErrori();
    TdmDokDataSetsAnagrafe store;
    aggiungi(store.cdsScuola, {{"E", 1}, {"CampoScartato", "CodCap"}});
    TDokLogScarti log;
    log.ImpostaErrori(&errori);
    log.AggiungiErroriFlusso(store.cdsScuola, "FLUSSO: 004TB_USR_USER", {}, {});
    QCOMPARE(log.ListaLog.size(), 5);
    QCOMPARE(log.ListaLog.at(3), "  - Campo obbligatorio mancante: CodCap" + kA_Capo);
}

void TestLogScarti::cercaValore_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("found") << "IDAlunno" << "ABCDE102" << "Bianchi";
    QTest::newRow("first of two") << "IDAlunno" << "ABCDE101" << "Rossi";
    QTest::newRow("not found") << "IDAlunno" << "ABCDE999" << "";
    QTest::newRow("case counts") << "IDAlunno" << "abcde102" << "";
    QTest::newRow("hidden by a filter") << "IDAlunno" << "ABCDE100" << "Verdi";
    QTest::newRow("number column") << "AnniFrequenzaScuolaMaterna" << "3" << "Bianchi";
    QTest::newRow("number column, not the same text") << "AnniFrequenzaScuolaMaterna" << " 3" << "";
    QTest::newRow("not a number") << "AnniFrequenzaScuolaMaterna" << "tre" << "";
}

void TestLogScarti::cercaValore()
{
    QFETCH(QString, campo);
    QFETCH(QString, valore);
    QFETCH(QString, atteso);
    TdmDokDataSetsAnagrafe store;
    Table &t = store.cdsAlunni;
    aggiungi(t, alunno("ABCDE100", "Verdi", "Anna", 1, "Sesso"));
    aggiungi(t, alunno("ABCDE101", "Rossi", "Mario"));
    QVariantMap bianchi = alunno("ABCDE102", "Bianchi", "Lia");
    bianchi.insert("AnniFrequenzaScuolaMaterna", 3);
    aggiungi(t, bianchi);
    aggiungi(t, alunno("ABCDE101", "Rossini", "Mario"));
    t.setFilter([](const dataset::Record &r) { return r.asInteger("E") == 0; });
    t.setRecNo(2); // ABCDE102
    QCOMPARE(TDokLogScarti::CercaValore(t, campo, valore, "Cognome"), atteso);
    QVERIFY(!t.isFiltered());
    QCOMPARE(t.recordCount(), 4);
    QCOMPARE(t.asString("IDAlunno"), QString("ABCDE102")); // the cursor stays
}

void TestLogScarti::salvaLogBytes()
{
    QTemporaryDir dir;
    TDokLogScarti log;
    log.ListaLog << "Versione" << "" << "  - Campo obbligatorio mancante: Sesso\r\n        Cognome: Nicolò\r\n"
                 << QString::fromUtf8("Il file è salvato");
    log.SalvaLog(dir.path());
    QCOMPARE(leggi(dir.filePath("TevoExport.Log")),
             QByteArray("Versione\r\n\r\n  - Campo obbligatorio mancante: Sesso\r\n        Cognome: Nicol\xF2\r\n\r\n"
                        "Il file \xE8 salvato\r\n"));
}

void TestLogScarti::salvaLogTwiceReplaces()
{
    QTemporaryDir dir;
    TDokLogScarti log;
    log.ListaLog << "prima riga, la più lunga" << "seconda";
    log.SalvaLog(dir.path() + "/");
    log.ListaLog = QStringList{"nuovo"};
    log.SalvaLog(dir.path());
    QCOMPARE(leggi(dir.filePath("TevoExport.Log")), QByteArray("nuovo\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"TevoExport.Log"}));
}

void TestLogScarti::salvaLogFailure_data()
{
    QTest::addColumn<QString>("cartella"); // inside a new temporary folder
    QTest::newRow("missing folder") << "manca";
    QTest::newRow("a file, not a folder") << "file.txt";
}

void TestLogScarti::salvaLogFailure()
{
    QFETCH(QString, cartella);
    QTemporaryDir dir;
    QFile file(dir.filePath("file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    TDokLogScarti log;
    log.ListaLog << "riga";
    try {
        log.SalvaLog(dir.filePath(cartella));
        QFAIL("no error");
    } catch (const std::runtime_error &e) {
        const QString testo = QString::fromUtf8(e.what());
        QVERIFY2(testo.contains("TevoExport.Log"), qPrintable(testo));
        // The system's reason follows the file name.
        QVERIFY2(!testo.section(": ", -1).trimmed().isEmpty(), qPrintable(testo));
    }
    QCOMPARE(log.ListaLog, QStringList({"riga"}));
    QVERIFY(!QFile::exists(dir.filePath(cartella + "/TevoExport.Log")));
}

QTEST_GUILESS_MAIN(TestLogScarti)
#include "test_log_scarti.moc"
