#include "SidiConfig.h"

#include "SoapError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <optional>

namespace sidi {

namespace {

QString withoutTrailingSlash(QString base)
{
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

// The SOAPAction is the namespace, "/" and the operation: the namespace has to
// end in "/" for the two slashes SIDI expects.
QString withTrailingSlash(const QString &uri)
{
    return uri.endsWith(QLatin1Char('/')) ? uri : uri + QLatin1Char('/');
}

std::optional<SidiConfig> &currentSlot()
{
    static std::optional<SidiConfig> slot;
    return slot;
}

} // namespace

const QStringList &SidiConfig::portInterfaces()
{
    static const QStringList list = {
        QStringLiteral("EstraiCodicePrenotazioneWSTrs"),
        QStringLiteral("GestioneSedeSidiWSTrs"),
        QStringLiteral("GestioneIndirizzoSidiWSTrs"),
        QStringLiteral("GestioneClasseSidiWSTrs"),
        QStringLiteral("GestioneAlunnoSidiWSTrs"),
        QStringLiteral("GestionePluriclasseWSTrs"),
        QStringLiteral("UtilitySidiWSTrs"),
        QStringLiteral("ArchiviSidiWSTrs"),
        QStringLiteral("AccessoSidiWSTrs"),
        QStringLiteral("EstraiDatiAlunniSogeiWSTrs"),
    };
    return list;
}

QString SidiConfig::defaultNamespace(const QString &portInterface)
{
    return QStringLiteral("http://ws.sidi.istruzione.it/%1/").arg(portInterface);
}

SidiConfig::SidiConfig()
    : m_produzione(QString::fromLatin1(kDefaultProduzione)),
      m_test(QString::fromLatin1(kDefaultTest))
{
}

SidiConfig SidiConfig::fromFile(const QString &path)
{
    QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        throw SoapError(SoapError::Kind::Configuration,
                        QStringLiteral("File di configurazione SIDI non trovato o non leggibile: %1")
                            .arg(QDir::toNativeSeparators(path)));
    }
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        throw SoapError(SoapError::Kind::Configuration,
                        QStringLiteral("File di configurazione SIDI non valido: %1")
                            .arg(QDir::toNativeSeparators(path)));
    }
    SidiConfig c;
    c.m_source = info.absoluteFilePath();
    ini.beginGroup(QStringLiteral("SIDI"));
    const QString produzione = ini.value(QStringLiteral("Produzione")).toString().trimmed();
    const QString test = ini.value(QStringLiteral("Test")).toString().trimmed();
    const QString caFile = ini.value(QStringLiteral("CaFile")).toString().trimmed();
    ini.endGroup();
    if (!produzione.isEmpty())
        c.setProduzione(produzione);
    if (!test.isEmpty())
        c.setTest(test);
    if (!caFile.isEmpty())
        c.m_caFile = QFileInfo(caFile).isRelative() ? info.absoluteDir().filePath(caFile) : caFile;
    ini.beginGroup(QStringLiteral("Namespace"));
    for (const QString &key : ini.childKeys()) {
        const QString uri = ini.value(key).toString().trimmed();
        if (!uri.isEmpty())
            c.setNamespace(key, uri);
    }
    ini.endGroup();
    return c;
}

QString SidiConfig::findFile(const QString &explicitFile, const QString &suiteMainDir)
{
    auto mustExist = [](const QString &path, const QString &from) {
        if (!QFileInfo(path).isFile()) {
            throw SoapError(SoapError::Kind::Configuration,
                            QStringLiteral("File di configurazione SIDI non trovato: %1 (%2)")
                                .arg(QDir::toNativeSeparators(path), from));
        }
        return path;
    };
    if (!explicitFile.isEmpty())
        return mustExist(explicitFile, QStringLiteral("--sidi-config"));
    const QString fromEnv = qEnvironmentVariable(kEnvironmentVariable);
    if (!fromEnv.isEmpty())
        return mustExist(fromEnv, QString::fromLatin1(kEnvironmentVariable));
    if (!suiteMainDir.isEmpty()) {
        const QString inMain = QDir(suiteMainDir).filePath(QStringLiteral("etc/sidi.ini"));
        if (QFileInfo(inMain).isFile())
            return inMain;
    }
    return QString();
}

SidiConfig SidiConfig::load(const QString &explicitFile, const QString &suiteMainDir)
{
    const QString file = findFile(explicitFile, suiteMainDir);
    return file.isEmpty() ? SidiConfig() : fromFile(file);
}

QString SidiConfig::fileFromArguments(const QStringList &arguments)
{
    const QString option = QStringLiteral("--sidi-config");
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == option && i + 1 < arguments.size())
            return arguments[i + 1];
        if (a.startsWith(option + QLatin1Char('=')))
            return a.mid(option.size() + 1);
    }
    return QString();
}

const SidiConfig &SidiConfig::current()
{
    auto &slot = currentSlot();
    if (!slot)
        slot = load(QString(), QString());
    return *slot;
}

void SidiConfig::setCurrent(const SidiConfig &config)
{
    currentSlot() = config;
}

void SidiConfig::setProduzione(const QString &base)
{
    m_produzione = withoutTrailingSlash(base);
}

void SidiConfig::setTest(const QString &base)
{
    m_test = withoutTrailingSlash(base);
}

QString SidiConfig::namespaceOf(const QString &portInterface) const
{
    const QString uri = m_namespaces.value(portInterface);
    return uri.isEmpty() ? defaultNamespace(portInterface) : uri;
}

void SidiConfig::setNamespace(const QString &portInterface, const QString &uri)
{
    m_namespaces.insert(portInterface, withTrailingSlash(uri));
}

QString SidiConfig::serviceAddress(const QString &portName) const
{
    return m_produzione + QStringLiteral("/SSANWSTRS/") + portName;
}

QList<QSslCertificate> SidiConfig::caCertificates() const
{
    if (m_caFile.isEmpty())
        return {};
    QFile f(m_caFile);
    if (!f.open(QIODevice::ReadOnly)) {
        throw SoapError(SoapError::Kind::Configuration,
                        QStringLiteral("Impossibile leggere il file dei certificati CA %1: %2")
                            .arg(QDir::toNativeSeparators(m_caFile), f.errorString()));
    }
    const QList<QSslCertificate> certs = QSslCertificate::fromData(f.readAll(), QSsl::Pem);
    if (certs.isEmpty()) {
        throw SoapError(SoapError::Kind::Configuration,
                        QStringLiteral("Il file %1 non contiene certificati PEM")
                            .arg(QDir::toNativeSeparators(m_caFile)));
    }
    return certs;
}

void SidiConfig::save(const QString &path) const
{
    // Written by hand: QSettings would quote and escape the URLs.
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        throw SoapError(SoapError::Kind::Configuration,
                        QStringLiteral("Impossibile scrivere il file di configurazione SIDI %1: %2")
                            .arg(QDir::toNativeSeparators(path), f.errorString()));
    }
    QByteArray out = "[SIDI]\n";
    out += "Produzione=" + m_produzione.toUtf8() + '\n';
    out += "Test=" + m_test.toUtf8() + '\n';
    out += "CaFile=" + m_caFile.toUtf8() + '\n';
    out += "\n[Namespace]\n";
    for (const QString &port : portInterfaces())
        out += port.toUtf8() + '=' + namespaceOf(port).toUtf8() + '\n';
    f.write(out);
}

} // namespace sidi
