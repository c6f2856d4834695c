#include "Base64.h"
#include "DemoData.h"
#include "DokSidiLogin.h"
#include "HttpTransport.h"
#include "SchoolDatabase.h"
#include "SidiConfig.h"
#include "SidiSimulator.h"
#include "TDokRIOPrenota.h"
#include "TQxScriptedInteraction.h"
#include "TdmDokPrenota.h"
#include "TfmDokLogin.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using sidisim::SidiSimulator;
using sidisim::SimInjection;

namespace {

const QString kSite = QStringLiteral("XXIC00000X");
const QString kYear = QStringLiteral("2016/2017");

// Stored rows of the booking table: (site, year label or "-", code).
using Rows = QList<QStringList>;

QVariantMap credentials(const QString &user = QStringLiteral("segreteria"),
                        const QString &password = QStringLiteral("Pw.2016"))
{
    return {{QStringLiteral("Utente"), user}, {QStringLiteral("Password"), password}};
}

} // namespace

class TestBooking : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<SidiSimulator> m_sim;
    QSqlDatabase m_conn;

    void exec(const QString &sql)
    {
        QSqlQuery q(m_conn);
        if (!q.exec(sql))
            QFAIL(qPrintable(sql));
    }

    void store(const QString &site, const QString &yearId, const QString &code)
    {
        QSqlQuery q(m_conn);
        q.prepare(QStringLiteral("INSERT INTO TSCOD_CODICETEVO (ISCODID, SSCODMECC, SSCODPRENOTAZIONE, IANSID) "
                                 "VALUES ((SELECT L_ICNTID FROM PYSETGETID('TSCOD_CODICETEVO', 0)), :M, :C, :Y)"));
        q.bindValue(QStringLiteral(":M"), site);
        q.bindValue(QStringLiteral(":C"), code);
        q.bindValue(QStringLiteral(":Y"), yearId.isEmpty() ? QVariant(QMetaType(QMetaType::Int)) : QVariant(yearId.toInt()));
        QVERIFY(q.exec());
    }

    Rows rows()
    {
        QSqlQuery q(m_conn);
        q.exec(QStringLiteral("SELECT s.SSCODMECC, COALESCE(a.SANSANNODESC, '-'), s.SSCODPRENOTAZIONE "
                              "FROM TSCOD_CODICETEVO s LEFT JOIN VANS_ANNISCOLAST a ON a.IANSID = s.IANSID "
                              "ORDER BY 1, 2"));
        Rows r;
        while (q.next())
            r.append({q.value(0).toString(), q.value(1).toString(),
                      q.value(2).isNull() ? QStringLiteral("<null>") : q.value(2).toString()});
        return r;
    }

private slots:
    void initTestCase()
    {
        // The response dump goes to ../usr/Tevo/SogeiCert/ from the working folder.
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QVERIFY(QDir::setCurrent(m_dir.filePath(QStringLiteral("bin"))));

        m_db = m_dir.filePath(QStringLiteral("scuola.fdb"));
        // The demo institute: years 1 = 2015/2016 and 2 = 2016/2017.
        schooldb::createDemoDatabase(m_db, schooldb::DemoOptions{40, 1});
        m_conn = schooldb::openSchoolDatabase(QStringLiteral("booking"), m_db);

        sidisim::SimFixture fixture;
        fixture.users.insert(QStringLiteral("segreteria"), QStringLiteral("Pw.2016"));
        fixture.users.insert(QStringLiteral("dirigente"), QStringLiteral("Altra.Pw"));
        fixture.bookingCodes.insert(kSite, QStringLiteral("K7Q2M"));
        fixture.bookingCodes.insert(QStringLiteral("XXEE00004X"), QStringLiteral("ABCD"));
        fixture.bookingCodes.insert(QStringLiteral("XXEE00006X"), QStringLiteral("ABCDEF"));
        fixture.bookingCodes.insert(QStringLiteral("XXEE0000MX"), QStringLiteral("Scuola non abilitata"));
        m_sim = std::make_unique<SidiSimulator>(fixture);
        SidiSimulator::Options options;
        options.https = true;
        options.certDir = m_dir.filePath(QStringLiteral("cert"));
        m_sim->start(options);
        sidi::SidiConfig::setCurrent(m_sim->config());
    }

    void init()
    {
        exec(QStringLiteral("DELETE FROM TSCOD_CODICETEVO"));
        m_sim->clearRequests();
        m_sim->clearInjections();
        sidi::HttpTransport::setExtraHeader(QString());
    }

    void cleanupTestCase()
    {
        m_conn.close();
        m_conn = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("booking"));
        QDir::setCurrent(QDir::tempPath());
    }

    // Login over HTTPS, a code from SIDI stored, then reused without a login.
    void obtainsStoresAndReusesTheCode()
    {
        TQxScriptedInteraction ui;
        ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), credentials());
        TdmDokPrenota prenota(m_conn, ui);
        QString code;
        prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), false, kYear, code);
        QCOMPARE(code, QStringLiteral("K7Q2M"));
        QCOMPARE(rows(), (Rows{{kSite, kYear, "K7Q2M"}}));
        QCOMPARE(m_sim->requests().size(), 1);
        QVERIFY(m_sim->baseUrl().scheme() == QLatin1String("https"));
        QCOMPARE(ui.AskedQuestions().first().Details.value("URL").toString(),
                 m_sim->baseUrl().toString(QUrl::StripTrailingSlash)
                     + QStringLiteral("/SSANWSTRS/EstraiCodicePrenotazioneWSTrsSoapHttpPort"));

        TQxScriptedInteraction silent; // no prepared answer: a login would fail the test
        TdmDokPrenota again(m_conn, silent);
        prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), false, kYear, code);
        QCOMPARE(code, QStringLiteral("K7Q2M"));
        QCOMPARE(m_sim->requests().size(), 1);
    }

    void storedCodeDecidesWhetherToAsk_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("force");
        QTest::addColumn<bool>("asks");
        QTest::newRow("valid code kept") << "ZZZZZ" << false << false;
        QTest::newRow("valid code, forced") << "ZZZZZ" << true << true;
        QTest::newRow("4 characters") << "ZZZZ" << false << true;
        QTest::newRow("6 characters") << "ZZZZZZ" << false << true;
        QTest::newRow("empty") << "" << false << true;
    }
    void storedCodeDecidesWhetherToAsk()
    {
        QFETCH(QString, stored);
        QFETCH(bool, force);
        QFETCH(bool, asks);
        store(kSite, QStringLiteral("2"), stored);
        TQxScriptedInteraction ui;
        if (asks)
            ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), credentials());
        TdmDokPrenota prenota(m_conn, ui);
        QString code;
        prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), force, kYear, code);
        QCOMPARE(code, asks ? QStringLiteral("K7Q2M") : stored);
        QCOMPARE(m_sim->requests().size(), asks ? 1 : 0);
        QCOMPARE(rows(), (Rows{{kSite, kYear, code}}));
    }

    void cancelStoresTheCodeInHand_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("after");
        QTest::newRow("forced: stored code emptied") << "ZZZZZ" << true << "";
        QTest::newRow("invalid stored code kept") << "ZZZZ" << false << "ZZZZ";
    }
    void cancelStoresTheCodeInHand()
    {
        QFETCH(QString, stored);
        QFETCH(bool, force);
        QFETCH(QString, after);
        store(kSite, QStringLiteral("2"), stored);
        TQxScriptedInteraction ui;
        ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), QVariant());
        TdmDokPrenota prenota(m_conn, ui);
        QString code = QStringLiteral("prima");
        prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), force, kYear, code);
        QVERIFY(code.isEmpty());
        QCOMPARE(m_sim->requests().size(), 0);
        QCOMPARE(rows(), (Rows{{kSite, kYear, after}}));
    }

    void oddAnswersAreStoredButNotReturned_data()
    {
        QTest::addColumn<QString>("site");
        QTest::addColumn<QString>("answer");
        QTest::newRow("4 characters") << "XXEE00004X" << "ABCD";
        QTest::newRow("6 characters") << "XXEE00006X" << "ABCDEF";
        QTest::newRow("a message") << "XXEE0000MX" << "Scuola non abilitata";
    }
    void oddAnswersAreStoredButNotReturned()
    {
        QFETCH(QString, site);
        QFETCH(QString, answer);
        TQxScriptedInteraction ui;
        ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), credentials());
        TdmDokPrenota prenota(m_conn, ui);
        QString code;
        prenota.RichiediCodicePrenotazione(site, QStringLiteral("3"), false, kYear, code);
        QVERIFY(code.isEmpty());
        QCOMPARE(rows(), (Rows{{site, kYear, answer}}));
    }

    // A first code for the site replaces the site's rows of every other year, a
    // row without year included; other sites keep theirs.
    void firstCodeDeletesTheSiteOtherYears()
    {
        store(kSite, QStringLiteral("1"), QStringLiteral("OLD15"));
        store(kSite, QString(), QStringLiteral("NOYEA"));
        store(QStringLiteral("XXEE000001"), QStringLiteral("1"), QStringLiteral("OTHER"));
        TQxScriptedInteraction ui;
        TdmDokPrenota prenota(m_conn, ui);
        prenota.SalvaCodicePrenotazione(kSite, QStringLiteral("NEW16"), kYear);
        QCOMPARE(rows(), (Rows{{"XXEE000001", "2015/2016", "OTHER"}, {kSite, kYear, "NEW16"}}));
    }

    void updateKeepsOtherYears()
    {
        store(kSite, QStringLiteral("1"), QStringLiteral("OLD15"));
        store(kSite, QStringLiteral("2"), QStringLiteral("OLD16"));
        TQxScriptedInteraction ui;
        TdmDokPrenota prenota(m_conn, ui);
        prenota.SalvaCodicePrenotazione(kSite, QStringLiteral("NEW16"), kYear);
        QCOMPARE(rows(), (Rows{{kSite, "2015/2016", "OLD15"}, {kSite, kYear, "NEW16"}}));
    }

    void soapFaultStoresTheCodeInHandAndReachesTheCaller()
    {
        store(kSite, QStringLiteral("2"), QStringLiteral("ZZZZ"));
        SimInjection fault;
        fault.kind = SimInjection::Kind::SoapFault;
        fault.text = QStringLiteral("Servizio momentaneamente non disponibile");
        fault.times = 1;
        m_sim->inject(fault);
        TQxScriptedInteraction ui;
        ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), credentials());
        TdmDokPrenota prenota(m_conn, ui);
        QString code;
        try {
            prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), false, kYear, code);
            QFAIL("a SOAP fault must reach the caller");
        } catch (const std::exception &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(fault.text), e.what());
        }
        QCOMPARE(rows(), (Rows{{kSite, kYear, "ZZZZ"}}));
    }

    // Exactly one credentials line, between SOAPAction and Content-Type; a second
    // login replaces it; the SOAPAction has two slashes before the operation.
    void credentialsLineOnTheWire()
    {
        for (const auto &[user, password] : {std::pair{QStringLiteral("segreteria"), QStringLiteral("Pw.2016")},
                                             std::pair{QStringLiteral("dirigente"), QStringLiteral("Altra.Pw")}}) {
            TQxScriptedInteraction ui;
            ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), credentials(user, password));
            TdmDokPrenota prenota(m_conn, ui);
            QString code;
            prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), true, kYear, code);
            QCOMPARE(code, QStringLiteral("K7Q2M"));
            const sidisim::RecordedRequest r = m_sim->requests().last();
            const QList<int> auth = r.indicesOf("Authorization");
            QCOMPARE(auth.size(), 1);
            const int action = r.indicesOf("SOAPAction").value(0, -1);
            const int type = r.indicesOf("Content-Type").value(0, -1);
            QVERIFY(action >= 0 && type >= 0);
            QCOMPARE(auth.first(), action + 1);
            QCOMPARE(type, auth.first() + 1);
            QCOMPARE(r.headers.at(auth.first()).second,
                     "Basic " + (user + ":" + password).toLatin1().toBase64());
            QCOMPARE(r.user, user);
            const QByteArray soapAction = r.header("SOAPAction");
            QVERIFY2(soapAction.contains("//getCodicePrenotazione"), soapAction.constData());
        }
    }

    void responseIsDumpedPrivately()
    {
        TQxScriptedInteraction ui;
        ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), credentials());
        TdmDokPrenota prenota(m_conn, ui);
        QString code;
        prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), true, kYear, code);
        const QString folder = m_dir.filePath(QStringLiteral("usr/Tevo/SogeiCert"));
        QFile dump(folder + QStringLiteral("/getCodicePrenotazione_SOAPResponse.xml"));
        QVERIFY(dump.open(QIODevice::ReadOnly));
        QVERIFY(dump.readAll().contains("K7Q2M"));
        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(dump.permissions() & (others | QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(QFile::permissions(folder) & others, QFileDevice::Permissions());
    }

    void base64OfTheCredentials_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("breakAtEnd");
        QTest::newRow("57 bytes") << 57 << 78 << true;
        QTest::newRow("58 bytes") << 58 << 82 << false;
    }
    void base64OfTheCredentials()
    {
        QFETCH(int, bytes);
        QFETCH(int, length);
        QFETCH(bool, breakAtEnd);
        const QString encoded = sidi::Base64Encode(QByteArray(bytes, 'a'));
        QCOMPARE(encoded.size(), length);
        QCOMPARE(encoded.mid(76, 2), QStringLiteral("\r\n"));
        QCOMPARE(encoded.endsWith(QStringLiteral("\r\n")), breakAtEnd);
    }

    // Long credentials break the Base64 text; they still reach SIDI as one line.
    void longCredentialsStillLogIn()
    {
        const QString user = QStringLiteral("utente.con.un.nome.molto.lungo.della.segreteria");
        const QString password = QStringLiteral("UnaPasswordAltrettantoLunga.2016");
        m_sim->fixture().users.insert(user, password);
        TQxScriptedInteraction ui;
        ui.Answer(QString::fromLatin1(DokSidiLogin::kQuestion), credentials(user, password));
        TdmDokPrenota prenota(m_conn, ui);
        QString code;
        prenota.RichiediCodicePrenotazione(kSite, QStringLiteral("3"), true, kYear, code);
        QCOMPARE(code, QStringLiteral("K7Q2M"));
        QCOMPARE(m_sim->requests().last().user, user);
    }

    void batchAnswerNeedsAUserAndReadsThePasswordFile()
    {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, DokSidiLogin::BatchAnswer(QString(), QString())({}));
        QFile pw(m_dir.filePath(QStringLiteral("sidi.pw")));
        QVERIFY(pw.open(QIODevice::WriteOnly));
        pw.write("Pw.2016\r\naltro\r\n");
        pw.close();
        QCOMPARE(DokSidiLogin::BatchAnswer(QStringLiteral("segreteria"), pw.fileName())({}).toMap(), credentials());
    }

    void loginWindowShowsTheServiceAddress()
    {
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<TfmDokLogin *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Login a SIDI"));
            QCOMPARE(dialog->Label4->text(), QStringLiteral("Utilizzare l'utente SIDI abilitato a \"Anagrafe Nazionale\""));
            QVERIFY(dialog->edURL->isReadOnly());
            QCOMPARE(dialog->edURL->text(), sidi::TDokRIOPrenota::productionAddress());
            QCOMPARE(dialog->edPassword->echoMode(), QLineEdit::Password);
            QTest::keyClicks(dialog->edUtente, QStringLiteral("segreteria"));
            QTest::keyClicks(dialog->edPassword, QStringLiteral("Pw.2016"));
            dialog->buOk->click();
        });
        QCOMPARE(TfmDokLogin::Ask(nullptr, {{QStringLiteral("URL"), sidi::TDokRIOPrenota::productionAddress()}}).toMap(),
                 credentials());

        QTimer::singleShot(0, [] { qobject_cast<TfmDokLogin *>(QApplication::activeModalWidget())->buCancel->click(); });
        QVERIFY(!TfmDokLogin::Ask(nullptr, {}).isValid());
    }
};

QTEST_MAIN(TestBooking)
#include "test_booking.moc"
