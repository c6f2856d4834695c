// The start-of-year export against its floor: for demo institutes of 2 000 and
// 20 000 pupils, the wall time of "Dok --batch", the time to fetch the rows of the
// three flow queries alone (same SQL, same database), and the export's peak
// resident memory. One line per figure on stdout.
//
//   bench_export [--dok PATH] [--work DIR] [--pupils N[,N...]]
#include "DemoData.h"
#include "SchoolDatabase.h"
#include "TDokContesto.h"
#include "TDokFlussiAvvio.h"
#include "TDokUtil.h"
#include "TQxScriptedInteraction.h"
#include "TdmDokDataSetsAnagrafe.h"
#include "TdmDokDataSetsRilevazioni.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

struct Misura
{
    double secondi = 0;
    long piccoKb = 0;
    int uscita = -1;
};

// Runs the program and waits for it, with its peak resident memory.
Misura esegui(const QString &programma, const QStringList &argomenti, const QString &tmp)
{
    std::vector<QByteArray> a{QFile::encodeName(programma)};
    for (const QString &s : argomenti)
        a.push_back(QFile::encodeName(s));
    std::vector<char *> argv;
    for (QByteArray &s : a)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    const QByteArray tmpdir = QFile::encodeName(tmp);

    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("TMPDIR", tmpdir.constData(), 1);
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int stato = 0;
    rusage uso{};
    wait4(pid, &stato, 0, &uso);
    Misura m;
    m.secondi = double(t.nsecsElapsed()) / 1e9;
    m.piccoKb = uso.ru_maxrss;
    m.uscita = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
    return m;
}

// Fetches every row and every column of the three flow queries.
double pavimento(const QSqlDatabase &db, int idSede, const QString &codMecc, const QString &anno,
                 const QString &prenotazione)
{
    QElapsedTimer t;
    t.start();
    const QString tipi = QStringLiteral("1,2,3");
    for (const QString &sql : {TDokFlussiAvvio::SqlScuola, TDokFlussiAvvio::ConTipiAlunni(TDokFlussiAvvio::SqlAlunni, tipi),
                               TDokFlussiAvvio::ConTipiAlunni(TDokFlussiAvvio::SqlSituazioni, tipi)}) {
        QSqlQuery q;
        TDokUtil::PreparaQuery(q, db, sql, QString(), 0);
        const QString testo = q.lastQuery();
        const auto lega = [&q, &testo](const char *nome, const QVariant &v) {
            if (testo.contains(QLatin1Char(':') + QLatin1String(nome)))
                q.bindValue(QLatin1Char(':') + QLatin1String(nome), v);
        };
        lega("ID_SCUOLA", idSede);
        lega("COD_MECC", codMecc);
        lega("MECC_COD", codMecc);
        lega("sAnsAnnoDesc", anno);
        if (!q.exec())
            throw std::runtime_error(q.lastError().text().toStdString());
        const int colonne = q.record().count();
        qint64 righe = 0;
        while (q.next()) {
            for (int i = 0; i < colonne; ++i)
                (void)q.value(i);
            ++righe;
        }
        (void)prenotazione;
    }
    return double(t.nsecsElapsed()) / 1e9;
}

// The three flow builders alone, in this process: the rows fetched, turned into
// records and checked.
double flussi(const QSqlDatabase &db)
{
    TQxScriptedInteraction io;
    TdmDokDataSetsAnagrafe anagrafe;
    TdmDokDataSetsRilevazioni rilevazioni;
    TDokContesto ctx(db, io, anagrafe, rilevazioni);
    ctx.TipoExport = 0;
    ctx.AnnoScolastico = QStringLiteral("2016/2017");
    ctx.TipoScuolaScelto = QStringLiteral("MEDIA");
    QElapsedTimer t;
    t.start();
    TDokFlussiAvvio::EseguiAvvio(ctx, 5, QStringLiteral("XXIC00000X"), ctx.AnnoScolastico, QStringLiteral("ABCDE"));
    return double(t.nsecsElapsed()) / 1e9;
}

void riga(const char *nome, int alunni, double valore, const char *unita)
{
    std::printf("%-28s pupils=%-6d %.3f %s\n", nome, alunni, valore, unita);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString dok = QCoreApplication::applicationDirPath() + QStringLiteral("/Dok");
    QString lavoro;
    QList<int> dimensioni{2000, 20000};
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--dok"))
            dok = args[i + 1];
        else if (args[i] == QLatin1String("--work"))
            lavoro = args[i + 1];
        else if (args[i] == QLatin1String("--pupils")) {
            dimensioni.clear();
            for (const QString &n : args[i + 1].split(QLatin1Char(',')))
                dimensioni << n.toInt();
        }
    }
    QTemporaryDir temporanea;
    if (lavoro.isEmpty())
        lavoro = temporanea.path();
    QDir().mkpath(lavoro);

    try {
        QList<double> tempi;
        for (int alunni : dimensioni) {
            const QString db = QDir(lavoro).filePath(QStringLiteral("bench-%1.fdb").arg(alunni));
            const QString uscita = QDir(lavoro).filePath(QStringLiteral("out-%1").arg(alunni));
            const QString tmp = QDir(lavoro).filePath(QStringLiteral("tmp-%1").arg(alunni));
            QDir().mkpath(tmp);
            if (!QFile::exists(db))
                schooldb::createDemoDatabase(db, {alunni, 20160901});

            // Warm the file cache the same way for both measures.
            double piano = 0;
            double soloFlussi = 0;
            {
                QSqlDatabase conn = schooldb::openSchoolDatabase(QStringLiteral("bench"), db);
                pavimento(conn, 5, QStringLiteral("XXIC00000X"), QStringLiteral("2016/2017"), QStringLiteral("ABCDE"));
                piano = pavimento(conn, 5, QStringLiteral("XXIC00000X"), QStringLiteral("2016/2017"),
                                  QStringLiteral("ABCDE"));
                soloFlussi = flussi(conn);
                conn.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("bench"));

            const Misura m = esegui(dok,
                                    {"--batch", "--database", db, "--user", "SYSDBA", "--year", "2016/2017",
                                     "--kind", "0", "--site", "XXIC00000X", "--output", uscita, "--on-rejected",
                                     "continue"},
                                    tmp);
            if (m.uscita != 0)
                throw std::runtime_error("Dok --batch ended with exit code " + std::to_string(m.uscita));
            riga("export_wall_s", alunni, m.secondi, "s");
            riga("floor_fetch_s", alunni, piano, "s");
            riga("export_over_floor", alunni, m.secondi / piano, "x (goal <= 1.3)");
            riga("flows_in_process_s", alunni, soloFlussi, "s");
            riga("flows_over_floor", alunni, soloFlussi / piano, "x");
            riga("export_peak_rss_mb", alunni, double(m.piccoKb) / 1024.0, "MB (goal <= 300 at 20000)");
            tempi << m.secondi;
        }
        if (tempi.size() >= 2)
            riga("scaling_last_over_first", dimensioni.last(), tempi.last() / tempi.first(), "x (goal <= 11)");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_export: %s\n", e.what());
        return 1;
    }
    return 0;
}
