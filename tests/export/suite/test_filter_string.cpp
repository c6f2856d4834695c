#include "TQxFilterString.h"

#include <QTest>

class TestFilterString : public QObject
{
    Q_OBJECT
private slots:
    void defaultFilter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Rossi" << "Rossi";
        QTest::newRow("grave") << "Niccolò" << "Niccolo";
        QTest::newRow("acute and grave") << "Pèrè Andrè" << "Pere Andre";
        QTest::newRow("upper accents") << "ÀÈÉÌÒÙ" << "AEEIOU";
        QTest::newRow("apostrophe kept") << "D'Alò" << "D'Alo";
        QTest::newRow("spaces kept") << "De Filippìs" << "De Filippis";
        QTest::newRow("diaeresis and cedilla") << "Müller Françoise" << "Muller Francoise";
        QTest::newRow("letters without marks") << "Øystein Straße Æsir" << "Oystein Strasse AEsir";
        QTest::newRow("tilde") << "Nuñez" << "Nunez";
        QTest::newRow("empty") << "" << "";
    }
    void defaultFilter()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(filterString(text), expected);
    }

    // The name key of the pupil registry: apostrophe removed, upper case, no
    // accents, no spaces.
    void nameKeySettings_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("apostrophe and accent") << "D'Alò" << "DALO";
        QTest::newRow("two words") << "De Filippìs" << "DEFILIPPIS";
        QTest::newRow("mixed") << "dell'Acqua Càrmen" << "DELLACQUACARMEN";
        QTest::newRow("sharp s") << "Weiß" << "WEISS";
        QTest::newRow("tab and spaces") << " La\tRosa " << "LAROSA";
    }
    void nameKeySettings()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        TQxFilterString f;
        f.DeleteChars = QStringLiteral("'");
        f.UpperCase = true;
        f.KeepAccents = false;
        f.KeepSpaces = false;
        QCOMPARE(f.Filter(text), expected);
    }

    void accentsKeptWhenAsked()
    {
        TQxFilterString f;
        f.KeepAccents = true;
        f.UpperCase = true;
        QCOMPARE(f.Filter(QStringLiteral("Niccolò")), QStringLiteral("NICCOLÒ"));
    }
};

QTEST_GUILESS_MAIN(TestFilterString)
#include "test_filter_string.moc"
