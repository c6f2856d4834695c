#include "TQxSQLConnection.h"

#include "DatabaseVersion.h"
#include "FirebirdDatabase.h"
#include "TQxInteraction.h"
#include "TQxParam.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

namespace {
QAtomicInt connectionCounter;
}

TQxSQLConnection::TQxSQLConnection()
    : m_connectionName(QStringLiteral("xqoMain_%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

TQxSQLConnection::~TQxSQLConnection()
{
    Close();
}

QString TQxSQLConnection::DefaultIniFile()
{
    return TQxParam::GetMainDir() + QStringLiteral("etc/database.ini");
}

void TQxSQLConnection::LoadSettings(const QString &iniFile)
{
    if (!QFileInfo::exists(iniFile))
        return;
    QSettings ini(iniFile, QSettings::IniFormat);
    Database = ini.value(QStringLiteral("Database/Database"), Database).toString();
    UserName = ini.value(QStringLiteral("Database/User"), UserName).toString();
}

QSqlDatabase TQxSQLConnection::Connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool TQxSQLConnection::Connected() const
{
    return QSqlDatabase::contains(m_connectionName) && Connection().isOpen();
}

void TQxSQLConnection::Close()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase db = Connection();
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool TQxSQLConnection::Fail(TQxInteraction &interaction, const QString &text)
{
    Close();
    m_lastError = text;
    interaction.ShowError(text);
    return false;
}

bool TQxSQLConnection::Open(TQxInteraction &interaction)
{
    Close();
    m_lastError.clear();

    TQxLoginData proposal;
    proposal.Database = Database;
    proposal.UserName = UserName.isEmpty() ? QString::fromLatin1(schooldb::kDefaultUser) : UserName;
    proposal.PasswordNeeded = schooldb::isServerDatabase(Database);
    const std::optional<TQxLoginData> login = interaction.Login(proposal);
    if (!login) {
        m_lastError = QStringLiteral("Accesso annullato dall'operatore.");
        return false;
    }
    Database = login->Database;
    UserName = login->UserName;

    if (Database.trimmed().isEmpty())
        return Fail(interaction, QStringLiteral("Nessun database indicato: impossibile collegarsi."));
    if (!schooldb::isServerDatabase(Database) && !QFileInfo::exists(Database))
        return Fail(interaction, QStringLiteral("Il database %1 non esiste.").arg(Database));

    QSqlDatabase db = schooldb::addConnection(m_connectionName, Database, UserName, login->Password);
    if (!db.open()) {
        const QString detail = db.lastError().text();
        return Fail(interaction, QStringLiteral("Accesso al database %1 non riuscito.\r\n%2").arg(Database, detail));
    }
    if (CheckDatabaseVersion && !VersionAccepted(interaction))
        return false;
    return true;
}

bool TQxSQLConnection::VersionAccepted(TQxInteraction &interaction)
{
    QSqlQuery query(Connection());
    query.prepare(QStringLiteral("SELECT SVERNUMERO FROM TVER_VERSIONE WHERE SVERCODDB = :SVERCODDB"));
    query.bindValue(QStringLiteral(":SVERCODDB"), DatabaseCode);
    if (!query.exec())
        return Fail(interaction, QStringLiteral("Impossibile leggere la versione del database %1.\r\n%2")
                                     .arg(Database, query.lastError().text()));
    // Several rows for the code: the highest counts.
    QString best;
    while (query.next()) {
        const QString version = query.value(0).toString().trimmed();
        if (best.isEmpty() || schooldb::compareVersions(version, best) > 0)
            best = version;
    }
    if (best.isEmpty())
        return Fail(interaction, QStringLiteral("Il database %1 non riporta la propria versione (codice %2).")
                                     .arg(Database, DatabaseCode));
    if (schooldb::compareVersions(best, DatabaseVersion) < 0)
        return Fail(interaction,
                    QStringLiteral("La versione del database (%1) è inferiore a quella richiesta dal programma (%2).\r\n"
                                   "Aggiornare il database prima di proseguire.")
                        .arg(best, DatabaseVersion));
    return true;
}
