#pragma once

#include <QHash>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QStringList>

namespace sidi {

// Where SIDI lives: the production and test bases, an optional file of extra CA
// certificates, and the target namespace of each port interface. Read from an
// ini file:
//
//   [SIDI]
//   Produzione=https://host[:port]
//   Test=http://host[:port]
//   CaFile=path of a PEM file (relative to the ini file's folder)
//   [Namespace]
//   EstraiCodicePrenotazioneWSTrs=http://.../
//
// Keys that are missing keep their built-in default.
class SidiConfig
{
public:
    static constexpr const char *kEnvironmentVariable = "DOK_SIDI_INI";
    static constexpr const char *kDefaultProduzione = "https://ws.sidi.istruzione.it";
    static constexpr const char *kDefaultTest = "http://wstest.sidi.istruzione.it";

    // Every port interface the system talks to, each a [Namespace] key.
    static const QStringList &portInterfaces();
    static QString defaultNamespace(const QString &portInterface);

    // Built-in defaults only.
    SidiConfig();
    // Reads a file; throws SoapError (Configuration) when it cannot be read.
    static SidiConfig fromFile(const QString &path);
    // The file to use: the explicit one, else $DOK_SIDI_INI, else
    // etc/sidi.ini under the suite's main directory when it exists; empty for
    // the built-in defaults. An explicit or environment file that does not
    // exist is an error (SoapError, Configuration).
    static QString findFile(const QString &explicitFile, const QString &suiteMainDir);
    static SidiConfig load(const QString &explicitFile, const QString &suiteMainDir);
    // The value of "--sidi-config FILE" or "--sidi-config=FILE" in a command
    // line; empty when absent.
    static QString fileFromArguments(const QStringList &arguments);

    // The configuration every client of the process uses unless told otherwise:
    // the one set by setCurrent, else found through $DOK_SIDI_INI, else the
    // defaults.
    static const SidiConfig &current();
    static void setCurrent(const SidiConfig &config);

    QString produzione() const { return m_produzione; }
    QString test() const { return m_test; }
    QString caFile() const { return m_caFile; }
    QString sourceFile() const { return m_source; }
    void setProduzione(const QString &base);
    void setTest(const QString &base);
    void setCaFile(const QString &path) { m_caFile = path; }

    // The target namespace of a port interface, always ending in "/".
    QString namespaceOf(const QString &portInterface) const;
    void setNamespace(const QString &portInterface, const QString &uri);

    // Production base + "/SSANWSTRS/" + port name.
    QString serviceAddress(const QString &portName) const;

    // The certificates of CaFile (none when unset); throws SoapError
    // (Configuration) when the file cannot be read or holds none.
    QList<QSslCertificate> caCertificates() const;

    // Writes the file in the layout above.
    void save(const QString &path) const;

private:
    QString m_produzione;
    QString m_test;
    QString m_caFile;
    QString m_source;
    QHash<QString, QString> m_namespaces;
};

} // namespace sidi
