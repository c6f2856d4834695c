#include "TDokArchivio.h"
#include "TDokUtil.h"
#include "TdmDokDataSetsAnagrafe.h"
#include "TdmDokDataSetsRilevazioni.h"
#include "../FileDiProva.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using dataset::FieldType;
using dataset::Table;

namespace {

// A small record table: a text of width 5, an integer, a text of width 3.
Table tabellaPiccola()
{
    Table t;
    t.addField("Cod", FieldType::String, 5);
    t.addField("Num", FieldType::Integer);
    t.addField("Nome", FieldType::String, 3);
    t.addField("E", FieldType::Integer);
    t.addField("CampoScartato", FieldType::String, 250);
    return t;
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void idSidi_data();
    void idSidi();
    void dataIso_data();
    void dataIso();
    void dataIsoRejectsNonDates();
    void base36_data();
    void base36();

    void storeLayout_data();
    void storeLayout();
    void svuotaStore();

    void segnalaErrore();
    void controllaObbligatori();
    void senzaErrori_data();
    void senzaErrori();
    void verificaRiferimento();

    void recordFile_data();
    void recordFile();
    void schoolRecordLine();
    void failedWriteLeavesNoFile();

    void salvaFlussiAvvio();
    void salvaFlussiAvvioWithoutPupils();
    void salvaFlussiAvvioFailingHalfway();
};

void TestRecords::idSidi_data()
{
    QTest::addColumn<QString>("valore");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("local id") << "1005" << "ABCDE1005";
    QTest::newRow("empty stays empty") << "" << "";
}

void TestRecords::idSidi()
{
    QFETCH(QString, valore);
    QFETCH(QString, atteso);
    QCOMPARE(TDokUtil::IdSidi(valore, "ABCDE"), atteso);
}

void TestRecords::dataIso_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("short date") << "30/09/2016" << "2016-09-30";
    QTest::newRow("short date, one digit") << "1/2/2017" << "2017-02-01";
    QTest::newRow("database text") << "2016-09-30" << "2016-09-30";
    QTest::newRow("empty") << "" << "";
}

void TestRecords::dataIso()
{
    QFETCH(QString, testo);
    QFETCH(QString, atteso);
    QCOMPARE(TDokUtil::DataIso(testo), atteso);
}

void TestRecords::dataIsoRejectsNonDates()
{
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, TDokUtil::DataIso("31/02/2016"));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, TDokUtil::DataIso("abc"));
}

void TestRecords::base36_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("1") << "1" << "1";
    QTest::newRow("35") << "35" << "Z";
    QTest::newRow("36") << "36" << "10";
    QTest::newRow("1295") << "1295" << "ZZ";
    QTest::newRow("46656") << "46656" << "1000";
    QTest::newRow("zero") << "0" << "";
    QTest::newRow("negative") << "-5" << "";
    QTest::newRow("not a number") << "12a" << "";
    QTest::newRow("empty") << "" << "";
}

void TestRecords::base36()
{
    QFETCH(QString, testo);
    QFETCH(QString, atteso);
    QCOMPARE(TDokUtil::Base36(testo), atteso);
}

void TestRecords::storeLayout_data()
{
    QTest::addColumn<QString>("tabella");
    QTest::addColumn<int>("colonne"); // without E and CampoScartato
    QTest::addColumn<QString>("ultima");
    QTest::addColumn<int>("larghezza"); // 0: integer
    QTest::newRow("cdsAnnoScolastico") << "cdsAnnoScolastico" << 4 << "OrdineScuola" << 7;
    QTest::newRow("cdsScuola") << "cdsScuola" << 26 << "FlagIstitutoDichiarante" << 1;
    QTest::newRow("cdsMaterie") << "cdsMaterie" << 1 << "IDMateria" << 13;
    QTest::newRow("cdsAlunni") << "cdsAlunni" << 41 << "LuogoNascitaStaEstero" << 100;
    QTest::newRow("cdsEsiti") << "cdsEsiti" << 1 << "IDEsito" << 9;
    QTest::newRow("cdsObbligoFormativo") << "cdsObbligoFormativo" << 1 << "IDObbligoFormativo" << 7;
    QTest::newRow("cdsCurriculum") << "cdsCurriculum" << 69 << "EsameIdoneita" << 1;
    QTest::newRow("cdsScuInf") << "cdsScuInf" << 3 << "IdScuola" << 21;
    QTest::newRow("cdsSediInf") << "cdsSediInf" << 10 << "DataFineVal" << 10;
    QTest::newRow("cdsSezInf") << "cdsSezInf" << 8 << "NrGiorniSett" << 0;
    QTest::newRow("cdsAluInf") << "cdsAluInf" << 19 << "LuogoNascitaStaEstero" << 100;
    QTest::newRow("cdsCurrInf") << "cdsCurrInf" << 10 << "FlagTrasferito" << 1;
}

void TestRecords::storeLayout()
{
    QFETCH(QString, tabella);
    QFETCH(int, colonne);
    QFETCH(QString, ultima);
    QFETCH(int, larghezza);
    TdmDokDataSetsAnagrafe store;
    Table &t = store.Tabella(tabella);
    QCOMPARE(t.fieldCount(), colonne + 2);
    QCOMPARE(t.field(colonne - 1).name, ultima);
    QCOMPARE(t.field(colonne - 1).type, larghezza ? FieldType::String : FieldType::Integer);
    if (larghezza)
        QCOMPARE(t.field(colonne - 1).size, larghezza);
    QCOMPARE(t.field(colonne).name, QString("E"));
    QCOMPARE(t.field(colonne).type, FieldType::Integer);
    QCOMPARE(t.field(colonne + 1).name, QString("CampoScartato"));
    QCOMPARE(t.field(colonne + 1).size, 250);
}

void TestRecords::svuotaStore()
{
    TdmDokDataSetsAnagrafe store;
    QCOMPARE(store.NomiTabelle().size(), 12);
    store.cdsScuola.append({"00185"});
    store.cdsCurrInf.append({"2016-09-30"});
    store.ElencoFile << "/tmp/x.TXT";
    store.SvuotaStore();
    QCOMPARE(store.cdsScuola.recordCount(), 0);
    QCOMPARE(store.cdsCurrInf.recordCount(), 0);
    QVERIFY(store.ElencoFile.isEmpty());

    TdmDokDataSetsRilevazioni ril;
    QCOMPARE(ril.NomiTabelle(), QStringList({"cdsFoglioIscrizione", "cdsOrarioSettimanale"}));
    ril.cdsFoglioIscrizione.append({"X"});
    ril.SvuotaStore();
    QCOMPARE(ril.cdsFoglioIscrizione.recordCount(), 0);
}

void TestRecords::segnalaErrore()
{
    Table t = tabellaPiccola();
    t.append({"A", 1, "x", 0, ""});
    TDokUtil::SegnalaErrore(t, 1, "");
    QCOMPARE(t.asInteger("E"), 0); // nothing to say: nothing marked
    TDokUtil::SegnalaErrore(t, 1, "Cognome");
    TDokUtil::SegnalaErrore(t, 2, "Nome");
    QCOMPARE(t.asInteger("E"), 2);
    QCOMPARE(t.asString("CampoScartato"), QString("Cognome,Nome"));
    TDokUtil::SegnalaErrore(t, 1, QString(300, 'x'));
    QCOMPARE(t.asString("CampoScartato").size(), 250);
}

void TestRecords::controllaObbligatori()
{
    Table t = tabellaPiccola();
    t.append({"ABCDE", 1, "abc", 0, ""});   // id equal to the booking code: missing
    t.append({"ABCD1", {}, "", 2, "rif"});  // Num null, Nome empty; E 2 becomes 1
    t.append({"ABCD2", 0, "ok", 0, ""});    // complete
    QVERIFY(!TDokUtil::ControllaObbligatori(t, {"Cod", "Num", "Nome"}, "ABCDE"));
    QCOMPARE(t.recordAt(1).asInteger("E"), 1);
    QCOMPARE(t.recordAt(1).asString("CampoScartato"), QString("Cod"));
    QCOMPARE(t.recordAt(2).asInteger("E"), 1);
    QCOMPARE(t.recordAt(2).asString("CampoScartato"), QString("rif,Num,Nome"));
    QCOMPARE(t.recordAt(3).asInteger("E"), 0);

    Table completa = tabellaPiccola();
    completa.append({"X", 0, "y", 0, ""});
    QVERIFY(TDokUtil::ControllaObbligatori(completa, {"Cod", "Num"}, "ABCDE"));
}

void TestRecords::senzaErrori_data()
{
    QTest::addColumn<int>("errore"); // E of the one record added to cdsCurrInf; -1: none
    QTest::addColumn<bool>("atteso");
    QTest::newRow("no records") << -1 << true;
    QTest::newRow("accepted") << 0 << true;
    QTest::newRow("missing value") << 1 << false;
    QTest::newRow("missing reference") << 2 << false;
}

void TestRecords::senzaErrori()
{
    QFETCH(int, errore);
    QFETCH(bool, atteso);
    TdmDokDataSetsAnagrafe store;
    store.cdsScuola.append({"00185"}); // E null is not an error
    if (errore >= 0) {
        QVariantList valori(10);
        valori << errore;
        store.cdsCurrInf.append(valori);
    }
    QCOMPARE(TDokUtil::SenzaErrori(store), atteso);
}

void TestRecords::verificaRiferimento()
{
    TdmDokDataSetsAnagrafe store;
    Table &scuole = store.cdsScuola;
    QString mancanti;

    QCOMPARE(TDokUtil::VerificaRiferimento(scuole, "IDScuola", "", mancanti), QString());
    QVERIFY(mancanti.isEmpty()); // an empty reference is not checked

    QCOMPARE(TDokUtil::VerificaRiferimento(scuole, "IDScuola", "ABCDE1005", mancanti), QString("ABCDE1005"));
    QCOMPARE(mancanti, QString(" IDScuola -  valore: ABCDE1005"));

    // Appended after the index exists: found now.
    QVariantList scuola(26);
    scuola[13] = "ABCDE1005";
    scuola << 0 << "";
    scuole.append(scuola);
    mancanti.clear();
    TDokUtil::VerificaRiferimento(scuole, "IDScuola", "ABCDE1005", mancanti);
    TDokUtil::VerificaRiferimento(scuole, "IDScuola", "ABCDE1005  ", mancanti); // trailing blanks ignored
    QVERIFY(mancanti.isEmpty());
    TDokUtil::VerificaRiferimento(scuole, "IDScuola", "abcde1005", mancanti); // case counts
    QCOMPARE(mancanti, QString(" IDScuola -  valore: abcde1005"));

    // Rejected after the lookup was built: no longer a valid target.
    TDokUtil::SegnalaErrore(scuole, 1, "CodCap");
    mancanti.clear();
    TDokUtil::VerificaRiferimento(scuole, "IDScuola", "ABCDE1005", mancanti);
    TDokUtil::VerificaRiferimento(scuole, "IDScuola", "ABCDE1006", mancanti);
    QCOMPARE(mancanti, QString(" IDScuola -  valore: ABCDE1005; IDScuola -  valore: ABCDE1006"));

    // The pupil whose school is missing ends with E = 2 and the collected text.
    Table &alunni = store.cdsAlunni;
    QVariantList alunno(41);
    alunno << 0 << "";
    alunni.append(alunno);
    TDokUtil::SegnalaRiferimentiMancanti(alunni, mancanti);
    QCOMPARE(alunni.asInteger("E"), 2);
    QCOMPARE(alunni.asString("CampoScartato"), mancanti);
    alunni.append(alunno);
    TDokUtil::SegnalaRiferimentiMancanti(alunni, QString());
    QCOMPARE(alunni.asInteger("E"), 0);

    // A lookup-only table is always empty: every value is missing.
    mancanti.clear();
    TDokUtil::VerificaRiferimento(store.cdsMaterie, "IDMateria", "ABCDE7", mancanti);
    QCOMPARE(mancanti, QString(" IDMateria -  valore: ABCDE7"));
}

void TestRecords::recordFile_data()
{
    QTest::addColumn<QVariantList>("righe"); // records of tabellaPiccola(), flattened by 5
    QTest::addColumn<QByteArray>("atteso");

    QTest::newRow("one record")
        << QVariantList{"00185", 12, "abc", 0, ""} << QByteArray("00185|12|abc|\r\n");
    QTest::newRow("null, zero, negative")
        << QVariantList{"", {}, {}, 0, "", "X", 0, "y", 0, "", "Y", -7, "", 0, ""}
        << QByteArray("|||\r\nX|0|y|\r\nY|-7||\r\n");
    QTest::newRow("only accepted records")
        << QVariantList{"A", 1, "a", 1, "Cod", "B", 2, "b", 0, "", "C", 3, "c", 2, "rif", "D", 4, "d", {}, ""}
        << QByteArray("B|2|b|\r\n");
    QTest::newRow("no accepted record: empty file")
        << QVariantList{"A", 1, "a", 1, "Cod"} << QByteArray();
    QTest::newRow("cut to width")
        << QVariantList{"1234567", 1, "abcdef", 0, ""} << QByteArray("12345|1|abc|\r\n");
    QTest::newRow("Windows-1252 letters")
        << QVariantList{QString::fromUtf8("àèéì"), 1, QString::fromUtf8("ò€ù"), 0, ""}
        << QByteArray("\xE0\xE8\xE9\xEC|1|\xF2\x80\xF9|\r\n");
    QTest::newRow("outside the code page")
        << QVariantList{QString::fromUtf8("a\u0142b"), 1, QString::fromUtf8("\U0001F600z"), 0, ""}
        << QByteArray("a?b|1|?z|\r\n");
    QTest::newRow("separators inside values unchanged")
        << QVariantList{"a|b", 1, "c\r\n", 0, ""} << QByteArray("a|b|1|c\r\n|\r\n");
}

void TestRecords::recordFile()
{
    QFETCH(QVariantList, righe);
    QFETCH(QByteArray, atteso);
    Table t = tabellaPiccola();
    for (int i = 0; i < righe.size(); i += 5)
        t.append(righe.mid(i, 5));
    QTemporaryDir dir;
    const QString nome = dir.filePath("F.TXT");
    QFile vecchio(nome);
    QVERIFY(vecchio.open(QIODevice::WriteOnly));
    vecchio.write("old contents that must go");
    vecchio.close();
    TDokUtil::SalvaDataSetSuFile(t, nome);
    QCOMPARE(leggi(nome), atteso);
}

void TestRecords::schoolRecordLine()
{
    TdmDokDataSetsAnagrafe store;
    QVariantList scuola(26);
    scuola[0] = "00185";
    scuola[3] = "XXIC00000X";
    scuola[13] = "ABCDE1005";
    scuola[15] = QString(90, 'N'); // NomeScuola keeps 80
    scuola << 0 << "";
    store.cdsScuola.append(scuola);
    QTemporaryDir dir;
    TDokUtil::SalvaDataSetSuFile(store.cdsScuola, dir.filePath("S.TXT"));
    QCOMPARE(leggi(dir.filePath("S.TXT")),
             "00185|||XXIC00000X||||||||||ABCDE1005||" + QByteArray(80, 'N') + "|||||||||||\r\n");
}

void TestRecords::failedWriteLeavesNoFile()
{
    Table t = tabellaPiccola();
    t.append({"A", 1, "a", 0, ""});
    QTemporaryDir dir;
    const QString nome = dir.filePath("missing/F.TXT");
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, TDokUtil::SalvaDataSetSuFile(t, nome));
    QVERIFY(!QFile::exists(nome));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
}

void TestRecords::salvaFlussiAvvio()
{
    TdmDokDataSetsAnagrafe store;
    QVariantList alunno(41);
    alunno[15] = QString::fromUtf8("Rossì");
    alunno << 0 << "";
    store.cdsAlunni.append(alunno);
    QTemporaryDir dir;
    const QString cartella = dir.path() + "/";
    QString timbro;
    store.SalvaFlussiAvvio(timbro, cartella, "XXIC00000X", "ABCDE", "1005", "2016", "00NF", "NORV", "20160930", 0,
                           QDateTime(QDate(2016, 9, 30), QTime(12, 30, 45)));
    QCOMPARE(timbro, QString("201609301230"));
    const QString base = "XXIC00000XABCDE1005201600NFNORV20160930201609301230";
    QCOMPARE(store.ElencoFile, QStringList({cartella + "##" + base + ".DAT", cartella + base + "001TB_USR_USER.TXT",
                                            cartella + base + "002TB_ALU_ALUNNI.TXT",
                                            cartella + base + "003TB_ALU_SIT.TXT"}));
    QCOMPARE(leggi(store.ElencoFile[0]), QByteArray());
    QCOMPARE(leggi(store.ElencoFile[1]), QByteArray());
    QCOMPARE(leggi(store.ElencoFile[2]), QByteArray(15, '|') + "Ross\xEC|" + QByteArray(25, '|') + "\r\n");
    QCOMPARE(leggi(store.ElencoFile[3]), QByteArray());

    // Another kind: no descriptor file.
    store.ElencoFile.clear();
    store.SalvaFlussiAvvio(timbro, cartella, "XXIC00000X", "ABCDE", "1005", "2016", "00NF", "NORV", "20160930", 2,
                           QDateTime(QDate(2016, 9, 30), QTime(12, 31)));
    QCOMPARE(store.ElencoFile.size(), 3);
    QVERIFY(store.ElencoFile[0].endsWith("201609301231001TB_USR_USER.TXT"));
}

void TestRecords::salvaFlussiAvvioWithoutPupils()
{
    TdmDokDataSetsAnagrafe store;
    QVariantList alunno(41);
    alunno << 1 << "Cognome";
    store.cdsAlunni.append(alunno);
    QTemporaryDir dir;
    QString timbro;
    try {
        store.SalvaFlussiAvvio(timbro, dir.path() + "/", "XXIC00000X", "ABCDE", "1005", "2016", "00NF", "NORV",
                               "20160930", 0);
        QFAIL("no error");
    } catch (const std::runtime_error &e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 QString("Impossibile salvare i dati! Non risultano presenti alunni validi"));
    }
    QVERIFY(store.ElencoFile.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// A file that cannot be written ends the writer; the files already written are
// listed, so that the run can delete them and leave no working file behind.
void TestRecords::salvaFlussiAvvioFailingHalfway()
{
    TdmDokDataSetsAnagrafe store;
    QVariantList alunno(41);
    alunno << 0 << "";
    store.cdsAlunni.append(alunno);
    QTemporaryDir dir;
    const QString cartella = dir.path() + "/";
    const QString base = "XXIC00000XABCDE1005201600NFNORV20160930201609301230";
    QVERIFY(QDir().mkpath(cartella + base + "002TB_ALU_ALUNNI.TXT")); // a folder in the file's place
    QString timbro;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             store.SalvaFlussiAvvio(timbro, cartella, "XXIC00000X", "ABCDE", "1005", "2016", "00NF",
                                                    "NORV", "20160930", 0, QDateTime(QDate(2016, 9, 30), QTime(12, 30))));
    QCOMPARE(store.ElencoFile,
             QStringList({cartella + "##" + base + ".DAT", cartella + base + "001TB_USR_USER.TXT"}));
    TDokArchivio::CancellaFileTemporanei(store.ElencoFile);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(TestRecords)
#include "test_records.moc"
