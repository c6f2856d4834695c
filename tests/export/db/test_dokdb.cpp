#include "DemoData.h"
#include "SchoolDatabase.h"
#include "TDokDomande.h"
#include "TDokSedi.h"
#include "TDokTipoScuola.h"
#include "TDokUtil.h"
#include "TQxScriptedInteraction.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

// The database operations of the export client on the demo institute: site
// XXIC00000X has one site (5), XXIS00000X two (7 Roma, 8 Tivoli).
class TestDokDb : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QSqlDatabase m_db;

    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

    // The stored type code of every booking row of a site, by row id.
    QStringList tipiRegistrati(const QString &codMecc)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT SSCODTIPOSCUOLA FROM TSCOD_CODICETEVO WHERE SSCODMECC = :M ORDER BY ISCODID"));
        q.bindValue(QStringLiteral(":M"), codMecc);
        q.exec();
        QStringList tipi;
        while (q.next())
            tipi << (q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString());
        return tipi;
    }

private slots:
    void initTestCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("scuola.fdb"));
        schooldb::createDemoDatabase(path, schooldb::DemoOptions{schooldb::kDemoMinimumPupils, 1});
        m_db = schooldb::openSchoolDatabase(QStringLiteral("dokdb"), path);
    }

    void cleanupTestCase() { m_db.close(); }

    void getIdSedeOneSite()
    {
        TQxScriptedInteraction interazione;
        QCOMPARE(TDokUtil::GetIdSede(m_db, interazione, QStringLiteral("XXIC00000X")), 5);
        QVERIFY(interazione.AskedQuestions().isEmpty());
    }

    void getIdSedeAsksTheOperator_data()
    {
        QTest::addColumn<QString>("codMecc");
        QTest::addColumn<QVariant>("risposta");
        QTest::addColumn<int>("atteso");
        QTest::newRow("two sites, the detached one chosen") << "XXIS00000X" << QVariant(8) << 8;
        QTest::newRow("two sites, cancelled") << "XXIS00000X" << QVariant() << -1;
        QTest::newRow("no site, cancelled") << "XXZZ99999X" << QVariant() << -1;
    }

    void getIdSedeAsksTheOperator()
    {
        QFETCH(QString, codMecc);
        QFETCH(QVariant, risposta);
        QFETCH(int, atteso);
        TQxScriptedInteraction interazione;
        interazione.Answer(QString::fromLatin1(TDokDomande::kSceltaSede), risposta);
        QCOMPARE(TDokUtil::GetIdSede(m_db, interazione, codMecc), atteso);
        QCOMPARE(interazione.AskedQuestions().size(), 1);
        QCOMPARE(interazione.AskedQuestions().first().Details.value(QStringLiteral("CodMecc")).toString(), codMecc);
    }

    void elencoSedi()
    {
        const QList<TDokSede> sedi = TDokSedi::ElencoSedi(m_db, QStringLiteral("XXIS00000X"));
        QCOMPARE(sedi.size(), 2);
        const TDokSede &tivoli = sedi.at(0).IdSede == 8 ? sedi.at(0) : sedi.at(1);
        const TDokSede &roma = sedi.at(0).IdSede == 8 ? sedi.at(1) : sedi.at(0);
        QCOMPARE(roma.IdSede, 7);
        QCOMPARE(roma.Denominazione, QStringLiteral("ISTITUTO DI ISTRUZIONE SUPERIORE GALILEO GALILEI"));
        QCOMPARE(roma.Comune, QStringLiteral("ROMA"));
        QCOMPARE(roma.Indirizzo, QStringLiteral("VIALE REGINA MARGHERITA 10"));
        QCOMPARE(roma.Telefono1, QStringLiteral("06 4450021"));
        QCOMPARE(roma.Telefono2, QStringLiteral("06 4450022"));
        QCOMPARE(roma.Fax, QStringLiteral("06 4450023"));
        QCOMPARE(tivoli.Comune, QStringLiteral("TIVOLI"));
        QVERIFY(tivoli.Fax.isEmpty());
        QVERIFY(TDokSedi::ElencoSedi(m_db, QStringLiteral("XXZZ99999X")).isEmpty());
    }

    void formattaIdScuola_data()
    {
        QTest::addColumn<int>("idSede");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("-1 gives nothing") << -1 << "";
        QTest::newRow("0") << 0 << "1000";
        QTest::newRow("999") << 999 << "1999";
        QTest::newRow("1000001") << 1000001 << "0001";
        QTest::newRow("1012345 is not cut") << 1012345 << "12345";
    }

    void formattaIdScuola()
    {
        QFETCH(int, idSede);
        QFETCH(QString, atteso);
        QCOMPARE(TDokUtil::FormattaIdScuola(idSede), atteso);
    }

    void formattaIdScuolaRejectsTheMiddleRange_data()
    {
        QTest::addColumn<int>("idSede");
        QTest::newRow("1000") << 1000;
        QTest::newRow("1000000") << 1000000;
    }

    void formattaIdScuolaRejectsTheMiddleRange()
    {
        QFETCH(int, idSede);
        try {
            TDokUtil::FormattaIdScuola(idSede);
            QFAIL("no error");
        } catch (const std::runtime_error &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("ID Scuola non valido"));
        }
    }

    void preparaQuery_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("classi");
        QTest::addColumn<QString>("atteso");
        const QString base = QStringLiteral("SELECT cls.ICLSID FROM TCLS_CLASSI cls WHERE cls.ICLSID > 0/*FLT_CLS*/");
        QTest::newRow("kind 2 filters the classes")
            << 2 << "12,15" << "SELECT cls.ICLSID FROM TCLS_CLASSI cls WHERE cls.ICLSID > 0 AND cls.ICLSID IN(12,15) ";
        QTest::newRow("kind 0 keeps the marker") << 0 << "12,15" << base;
        QTest::newRow("kind 3 ignores the list") << 3 << "1;drop" << base;
    }

    void preparaQuery()
    {
        QFETCH(int, tipo);
        QFETCH(QString, classi);
        QFETCH(QString, atteso);
        QSqlQuery q;
        TDokUtil::PreparaQuery(q, m_db,
                               QStringLiteral("SELECT cls.ICLSID FROM TCLS_CLASSI cls WHERE cls.ICLSID > 0/*FLT_CLS*/"),
                               classi, tipo);
        QCOMPARE(q.lastQuery(), atteso);
        QVERIFY(q.exec());
    }

    void preparaQueryRejectsAClassListThatIsNotIntegers()
    {
        QSqlQuery q;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 TDokUtil::PreparaQuery(q, m_db, QStringLiteral("SELECT 1 FROM RDB$DATABASE /*FLT_CLS*/"),
                                                        QStringLiteral("1;drop"), 2));
    }

    void descrizioneRegistrata_data()
    {
        QTest::addColumn<QString>("codMecc");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("lower secondary") << "XXIC00000X" << "MEDIA";
        QTest::newRow("pre-primary") << "XXAA00000X" << "MATERNA";
        QTest::newRow("no booking row") << "XXZZ99999X" << "";
    }

    void descrizioneRegistrata()
    {
        QFETCH(QString, codMecc);
        QFETCH(QString, atteso);
        QCOMPARE(TDokTipoScuola::DescrizioneRegistrata(m_db, codMecc), atteso);
    }

    void descrizioneRegistrataOfAnUnknownCode()
    {
        exec(QStringLiteral("INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC, IANSID, SSCODTIPOSCUOLA) "
                            "VALUES (90, 'XXYY00000X', 1, 'XX')"));
        QCOMPARE(TDokTipoScuola::DescrizioneRegistrata(m_db, QStringLiteral("XXYY00000X")), QString());
        exec(QStringLiteral("DELETE FROM TSCOD_CODICETEVO WHERE ISCODID = 90"));
    }

    void salva_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("codice");
        QTest::newRow("upper secondary") << "SUPERIORE" << "SS";
        QTest::newRow("blanks around") << "  ELEMENTARE " << "EE";
        QTest::newRow("lower case is no known type") << "materna" << "";
        QTest::newRow("typed over") << "PRIMARIA" << "";
    }

    void salva()
    {
        QFETCH(QString, testo);
        QFETCH(QString, codice);
        // Booking rows of two years for the site; the other sites keep theirs.
        exec(QStringLiteral("INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC, IANSID, SSCODTIPOSCUOLA) "
                            "VALUES (91, 'XXIS00000X', 1, 'MM')"));
        TDokTipoScuola::Salva(m_db, QStringLiteral("XXIS00000X"), testo);
        QCOMPARE(tipiRegistrati(QStringLiteral("XXIS00000X")), (QStringList{codice, codice}));
        QCOMPARE(tipiRegistrati(QStringLiteral("XXIC00000X")), QStringList{QStringLiteral("MM")});
        exec(QStringLiteral("DELETE FROM TSCOD_CODICETEVO WHERE ISCODID = 91"));
        exec(QStringLiteral("UPDATE TSCOD_CODICETEVO SET SSCODTIPOSCUOLA = 'SS' WHERE ISCODID = 3"));
    }
};

QTEST_GUILESS_MAIN(TestDokDb)
#include "test_dokdb.moc"
