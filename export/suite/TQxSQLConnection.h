#pragma once

#include <QSqlDatabase>
#include <QString>

class TQxInteraction;

// The connection to the school database. Database and user come from the ini file
// "etc/database.ini" under the suite's main directory (section [Database], keys
// Database and User) and may be overridden by the program's options; the password is
// asked at each opening through the login and never stored. Database is a file path
// (embedded engine, no password) or host[/port]:path (a Firebird server).
//
// Opening checks the database version: table TVER_VERSIONE must hold, for
// DatabaseCode, a version at least DatabaseVersion (compared part by part as
// numbers). A cancelled login, a failed login, a missing file and a version
// mismatch leave Connected() false; all but the cancel tell the operator why.
class TQxSQLConnection
{
public:
    TQxSQLConnection();
    ~TQxSQLConnection();
    TQxSQLConnection(const TQxSQLConnection &) = delete;
    TQxSQLConnection &operator=(const TQxSQLConnection &) = delete;

    // Settings of the program.
    QString LoginFormName = QStringLiteral("TfmQxLogin");
    int UserProfile = 0;
    QString DatabaseCode = QStringLiteral("KA");
    QString DatabaseVersion;
    bool CheckDatabaseVersion = true;
    bool CheckApplicationVersion = true;

    // Where the connection goes; LoadSettings fills them from the ini file.
    QString Database;
    QString UserName;

    static QString DefaultIniFile();
    void LoadSettings(const QString &iniFile = DefaultIniFile());

    // Asks the login and connects; true when connected.
    bool Open(TQxInteraction &interaction);
    void Close();
    bool Connected() const;
    QString LastError() const { return m_lastError; }

    QSqlDatabase Connection() const;

private:
    bool Fail(TQxInteraction &interaction, const QString &text);
    bool VersionAccepted(TQxInteraction &interaction);

    QString m_connectionName;
    QString m_lastError;
};
