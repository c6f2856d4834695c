#include "TDokBatch.h"

#include "DokSidiLogin.h"
#include "SidiConfig.h"
#include "TDokDomande.h"
#include "TDokDriver.h"
#include "TDokLogScarti.h"
#include "TDokSedi.h"
#include "TDokTipoScuola.h"
#include "TDokUtil.h"
#include "TQxBatchInteraction.h"
#include "TQxConsole.h"
#include "TQxParam.h"
#include "TQxSQLConnection.h"

#include <QCommandLineParser>
#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace TDokBatch {

namespace {

const char kTestoUso[] =
    "Uso: Dok --batch --database PATH|host[/port]:path --user NAME --year 2016/2017\n"
    "           --kind 0 --site XXIC00000X --output DIR\n"
    "           [--site-id N] [--force-booking] [--school-type MEDIA]\n"
    "           [--on-rejected continue|cancel] [--log-dir DIR]\n"
    "           [--sidi-user NAME --sidi-password-file FILE] [--sidi-config FILE]\n"
    "           [--password-file FILE]\n"
    "Uscita: 0 archivio scritto, 2 esportazione conclusa senza archivio, 1 errore,\n"
    "64 riga di comando non valida.\n";

struct Opzioni
{
    QString Database, Utente, Anno, Sede, Cartella, TipoScuola, CartellaLog, SidiUtente, SidiPasswordFile,
        SidiConfig, PasswordFile;
    int Tipo = -1;
    int IdSede = -1; // -1: not given
    bool ForzaCodice = false;
    bool Continua = false;
};

void scrivi(std::FILE *f, const QString &testo)
{
    const QByteArray b = testo.toLocal8Bit();
    std::fwrite(b.constData(), 1, size_t(b.size()), f);
    std::fflush(f);
}

// Reads the command line; an empty text when it is valid, else what is wrong.
QString leggi(const QStringList &arguments, Opzioni &o)
{
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto valore = [&p](const char *nome) {
        QCommandLineOption opt(QString::fromLatin1(nome));
        opt.setValueName(QStringLiteral("valore"));
        p.addOption(opt);
    };
    p.addOption(QCommandLineOption(QStringLiteral("batch")));
    p.addOption(QCommandLineOption(QStringLiteral("force-booking")));
    for (const char *n : {"database", "user", "year", "kind", "site", "output", "site-id", "school-type",
                          "on-rejected", "log-dir", "sidi-user", "sidi-password-file", "sidi-config",
                          "password-file"})
        valore(n);
    if (!p.parse(arguments))
        return p.errorText();
    if (!p.positionalArguments().isEmpty())
        return QStringLiteral("Argomento non previsto: %1").arg(p.positionalArguments().first());
    for (const char *n : {"database", "user", "year", "kind", "site", "output"})
        if (!p.isSet(QString::fromLatin1(n)) || p.value(QString::fromLatin1(n)).trimmed().isEmpty())
            return QStringLiteral("Manca l'opzione --%1").arg(QString::fromLatin1(n));
    for (const char *n : {"database", "user", "year", "kind", "site", "output", "site-id", "school-type",
                          "on-rejected", "log-dir", "sidi-user", "sidi-password-file", "sidi-config",
                          "password-file"})
        if (p.values(QString::fromLatin1(n)).size() > 1)
            return QStringLiteral("L'opzione --%1 è ripetuta").arg(QString::fromLatin1(n));

    o.Database = p.value(QStringLiteral("database"));
    o.Utente = p.value(QStringLiteral("user"));
    o.Anno = p.value(QStringLiteral("year"));
    static const QRegularExpression anno(QStringLiteral("^\\d{4}/\\d{4}$"));
    if (!anno.match(o.Anno).hasMatch())
        return QStringLiteral("Anno scolastico non valido: %1 (atteso, per esempio, 2016/2017)").arg(o.Anno);
    bool ok = false;
    o.Tipo = p.value(QStringLiteral("kind")).toInt(&ok);
    if (!ok || o.Tipo < 0 || o.Tipo > 3)
        return QStringLiteral("Tipo di esportazione non valido: %1 (0, 1, 2 o 3)").arg(p.value(QStringLiteral("kind")));
    o.Sede = p.value(QStringLiteral("site")).trimmed();
    if (o.Sede.size() != 10)
        return QStringLiteral("Codice meccanografico non valido: %1 (10 caratteri)").arg(o.Sede);
    o.Cartella = p.value(QStringLiteral("output"));
    if (p.isSet(QStringLiteral("site-id"))) {
        o.IdSede = p.value(QStringLiteral("site-id")).toInt(&ok);
        if (!ok || o.IdSede < 0)
            return QStringLiteral("Id sede non valido: %1").arg(p.value(QStringLiteral("site-id")));
    }
    o.ForzaCodice = p.isSet(QStringLiteral("force-booking"));
    o.TipoScuola = p.value(QStringLiteral("school-type"));
    if (p.isSet(QStringLiteral("on-rejected"))) {
        const QString r = p.value(QStringLiteral("on-rejected"));
        if (r != QLatin1String("continue") && r != QLatin1String("cancel"))
            return QStringLiteral("Valore non valido per --on-rejected: %1 (continue o cancel)").arg(r);
        o.Continua = r == QLatin1String("continue");
    }
    o.CartellaLog = p.value(QStringLiteral("log-dir"));
    o.SidiUtente = p.value(QStringLiteral("sidi-user"));
    o.SidiPasswordFile = p.value(QStringLiteral("sidi-password-file"));
    if (!o.SidiPasswordFile.isEmpty() && o.SidiUtente.isEmpty())
        return QStringLiteral("--sidi-password-file richiede --sidi-user");
    o.SidiConfig = p.value(QStringLiteral("sidi-config"));
    o.PasswordFile = p.value(QStringLiteral("password-file"));
    return QString();
}

// The sites of a code, one line each, as the options name them.
QString elencoSedi(const QList<TDokSede> &sedi)
{
    QString testo;
    for (const TDokSede &s : sedi)
        testo += QStringLiteral("\n  --site-id %1: %2, %3, %4").arg(s.IdSede).arg(s.Denominazione, s.Comune, s.Indirizzo);
    return testo;
}

void registraRisposte(TQxBatchInteraction &io, const QSqlDatabase &db, const Opzioni &o)
{
    TQxProgressLine &console = io.Console();
    io.SetFolder(o.Cartella);
    io.SetHandler(QString::fromLatin1(DokSidiLogin::kQuestion),
                  DokSidiLogin::BatchAnswer(o.SidiUtente, o.SidiPasswordFile));

    io.SetHandler(QString::fromLatin1(TDokDomande::kSceltaSede), [db, o](const QVariantMap &d) -> QVariant {
        const QString cod = d.value(QStringLiteral("CodMecc")).toString();
        const QList<TDokSede> sedi = TDokSedi::ElencoSedi(db, cod);
        if (sedi.isEmpty())
            throw std::runtime_error(QStringLiteral("Nessuna sede ha il codice meccanografico %1.").arg(cod).toStdString());
        if (o.IdSede < 0)
            throw std::runtime_error(QStringLiteral("Più sedi hanno il codice meccanografico %1: indicare quella "
                                                    "principale con --site-id.%2")
                                         .arg(cod, elencoSedi(sedi))
                                         .toStdString());
        if (std::none_of(sedi.cbegin(), sedi.cend(), [&o](const TDokSede &s) { return s.IdSede == o.IdSede; }))
            throw std::runtime_error(QStringLiteral("La sede %1 non ha il codice meccanografico %2.%3")
                                         .arg(o.IdSede)
                                         .arg(cod, elencoSedi(sedi))
                                         .toStdString());
        return o.IdSede;
    });

    io.SetHandler(QString::fromLatin1(TDokDomande::kTipoScuola), [db, o, &console](const QVariantMap &d) -> QVariant {
        const QString tipo = o.TipoScuola.isEmpty() ? d.value(QStringLiteral("Tipo")).toString() : o.TipoScuola;
        if (tipo.trimmed().isEmpty())
            throw std::runtime_error("Selezionare il tipo scuola: nessun tipo registrato per la sede, "
                                     "indicarlo con --school-type (MATERNA, ELEMENTARE, MEDIA o SUPERIORE).");
        TDokTipoScuola::Salva(db, d.value(QStringLiteral("CodMecc")).toString(), tipo);
        console.Message(QStringLiteral("Tipo scuola: ") + tipo);
        return QVariantMap{{QStringLiteral("Ok"), true}, {QStringLiteral("Tipo"), tipo}};
    });

    io.SetHandler(QString::fromLatin1(TDokDomande::kLogIndirizzi), [o, &console](const QVariantMap &d) -> QVariant {
        const QStringList righe = d.value(QStringLiteral("Righe")).toStringList();
        for (const QString &r : righe)
            console.Message(r);
        if (!o.CartellaLog.isEmpty())
            TDokUtil::ScriviRighe(QDir(o.CartellaLog).filePath(QString::fromLatin1(TDokDomande::kFileLogIndirizzi)),
                                  righe);
        return QVariant();
    });

    io.SetHandler(QString::fromLatin1(TDokDomande::kDatiNonImportati), [o, &console](const QVariantMap &d) -> QVariant {
        TDokLogScarti log;
        log.ListaLog = d.value(QStringLiteral("Righe")).toStringList();
        for (const QString &r : log.ListaLog)
            console.Message(r);
        if (!o.CartellaLog.isEmpty()) {
            log.SalvaLog(o.CartellaLog);
            console.Message(QStringLiteral("TevoExport.log salvato in ") + o.CartellaLog);
        }
        console.Message(o.Continua ? QStringLiteral("Dati non importati: si continua senza i record scartati "
                                                    "(--on-rejected continue).")
                                   : QStringLiteral("Dati non importati: esportazione annullata (--on-rejected "
                                                    "cancel)."));
        return o.Continua;
    });

    io.SetHandler(QString::fromLatin1(TDokDomande::kRiepilogoFrequenze), [&console](const QVariantMap &d) -> QVariant {
        console.Message(QStringLiteral("Riepilogo  Anno di corso  Frequentanti  Ritirati  Trasferiti  Esportati"));
        const QVariantList righe = d.value(QStringLiteral("Frequenze")).toList();
        for (int i = 0; i < righe.size(); ++i) {
            const QVariantMap r = righe.at(i).toMap();
            console.Message(QStringLiteral("           %1 %2 %3 %4 %5")
                                .arg(i + 1, 13)
                                .arg(r.value(QStringLiteral("Frequentanti")).toInt(), 13)
                                .arg(r.value(QStringLiteral("Ritirati")).toInt(), 9)
                                .arg(r.value(QStringLiteral("Trasferiti")).toInt(), 11)
                                .arg(r.value(QStringLiteral("Esportati")).toInt(), 10));
        }
        return QVariant();
    });
}

} // namespace

bool Richiesto(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--batch"));
}

int Esegui(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    Opzioni o;
    const QString errore = leggi(arguments, o);
    if (!errore.isEmpty()) {
        scrivi(err, errore + QLatin1Char('\n') + QString::fromUtf8(kTestoUso));
        return kUso;
    }

    // The connection outlives the interaction, whose answers hold copies of it.
    TQxSQLConnection xqoMain;
    TQxBatchInteraction io(err);
    try {
        // SIDI addresses: the given file, else the usual places.
        sidi::SidiConfig::setCurrent(sidi::SidiConfig::load(o.SidiConfig, TQxParam::GetMainDir()));

        xqoMain.DatabaseVersion = QStringLiteral("6.95.13");
        xqoMain.Database = o.Database;
        xqoMain.UserName = o.Utente;
        TQxLoginData login;
        login.Database = o.Database;
        login.UserName = o.Utente;
        if (!o.PasswordFile.isEmpty())
            login.Password = TQxSecrets::ReadFirstLine(o.PasswordFile);
        io.SetLogin(login, !o.PasswordFile.isEmpty());
        if (!xqoMain.Open(io))
            return kErrore; // the reason is already on stderr

        TDokDriver driver(xqoMain.Connection(), io);
        driver.Contesto.MostraStato = [&io](const QString &stato, int n) {
            if (n >= 0)
                io.Console().Progress(stato, n);
            else if (n == TDokContesto::kNuovoStato)
                io.Console().Status(stato);
        };
        registraRisposte(io, xqoMain.Connection(), o);

        TDokDriver::Richiesta r;
        for (const TQxEnumItem &a : driver.CaricaAnni())
            if (a.Text == o.Anno)
                r.IdAnno = a.Id;
        if (r.IdAnno < 0)
            throw std::runtime_error(
                QStringLiteral("L'anno scolastico %1 non è nell'elenco degli anni del database.").arg(o.Anno).toStdString());

        r.Tipo = o.Tipo;
        r.AnnoScolastico = o.Anno;
        r.ForzaCodice = o.ForzaCodice;
        for (const TDokVoceSede &s : driver.CaricaSedi(o.Anno.left(4), o.Tipo))
            if (s.Testo.left(10) == o.Sede) {
                r.VoceSede = s.Testo;
                break;
            }
        if (r.VoceSede.isEmpty())
            throw std::runtime_error(QStringLiteral("La sede %1 non è nell'elenco delle sedi dell'anno %2 per "
                                                    "questo tipo di esportazione.")
                                         .arg(o.Sede, o.Anno)
                                         .toStdString());
        for (const QString &cartella : {o.Cartella, o.CartellaLog})
            if (!cartella.isEmpty() && !QDir().mkpath(cartella))
                throw std::runtime_error(
                    QStringLiteral("Impossibile creare la cartella %1").arg(cartella).toStdString());

        const QString archivio = driver.Esporta(r);
        io.Console().Finish();
        if (archivio.isEmpty())
            return kSenzaArchivio;
        scrivi(out, QDir::toNativeSeparators(archivio) + QLatin1Char('\n'));
        return kArchivioScritto;
    } catch (const std::exception &e) {
        io.ShowError(QString::fromUtf8(e.what()));
        return kErrore;
    }
}

} // namespace TDokBatch
