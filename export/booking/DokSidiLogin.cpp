#include "DokSidiLogin.h"

#include "Base64.h"
#include "HttpTransport.h"
#include "SidiConfig.h"
#include "TDokRioBase.h"
#include "TQxConsole.h"
#include "TQxInteraction.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace DokSidiLogin {

QString AddressShown(const QString &clientUrl, const QString &developerFolder)
{
    QString url = clientUrl;
    if (!developerFolder.isEmpty() && QDir(developerFolder).exists()) {
        const sidi::SidiConfig &config = sidi::SidiConfig::current();
        const int at = url.indexOf(config.produzione());
        if (at >= 0)
            url.replace(at, config.produzione().size(), config.test());
    }
    return url;
}

QString CredentialsHeader(const QString &user, const QString &password)
{
    return QStringLiteral("AUTHORIZATION: Basic ")
        + sidi::Base64Encode((user + QLatin1Char(':') + password).toLatin1());
}

void DumpResponse(const QString &method, const QByteArray &response)
{
    const QString folder = QString::fromLatin1(kDumpFolder);
    if (!QDir().mkpath(folder))
        throw std::runtime_error(
            QStringLiteral("Impossibile creare la cartella %1").arg(QDir(folder).absolutePath()).toStdString());
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(folder + method + QStringLiteral("_SOAPResponse.xml"));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(QStringLiteral("Impossibile scrivere la risposta di %1: %2")
                                     .arg(method, file.errorString()).toStdString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(response);
    if (!file.commit())
        throw std::runtime_error(QStringLiteral("Impossibile scrivere la risposta di %1: %2")
                                     .arg(method, file.errorString()).toStdString());
}

bool EseguiLogin(TQxInteraction &interaction, sidi::TDokRioBase &client, const QString &developerFolder)
{
    const QString url = AddressShown(client.URL(), developerFolder);
    const QVariant answer = interaction.Ask(QString::fromLatin1(kQuestion), {{QStringLiteral("URL"), url}});
    if (!answer.isValid())
        return false;
    const QVariantMap m = answer.toMap();
    const QString user = m.value(QStringLiteral("Utente")).toString();
    const QString password = m.value(QStringLiteral("Password")).toString();
    client.setUtente(user);
    client.setPassword(password);
    client.setURL(url);
    client.AfterExecute = [](const QString &method, const QByteArray &response) { DumpResponse(method, response); };
    sidi::HttpTransport::setExtraHeader(CredentialsHeader(user, password));
    return true;
}

std::function<QVariant(const QVariantMap &)> BatchAnswer(const QString &user, const QString &passwordFile)
{
    return [user, passwordFile](const QVariantMap &details) -> QVariant {
        if (user.isEmpty())
            throw std::runtime_error(QStringLiteral("Per accedere a SIDI indicare l'utente con --sidi-user e la "
                                                    "password con --sidi-password-file.").toStdString());
        const QString password = passwordFile.isEmpty()
            ? TQxSecrets::ReadFromTerminal(QStringLiteral("Password SIDI di %1 (%2): ")
                                               .arg(user, details.value(QStringLiteral("URL")).toString()))
            : TQxSecrets::ReadFirstLine(passwordFile);
        return QVariantMap{{QStringLiteral("Utente"), user}, {QStringLiteral("Password"), password}};
    };
}

} // namespace DokSidiLogin
