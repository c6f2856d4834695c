#pragma once

#include <QString>
#include <QVariant>

#include <functional>

class TQxInteraction;
namespace sidi { class TDokRioBase; }

// The SIDI login in front of every call that reaches SIDI from the export client
// and the pupil-extraction library. The operator's answer comes through the
// interaction's question "sidiLogin":
//   details: URL (the endpoint shown, read only)
//   answer:  a QVariantMap with Utente and Password, or an invalid QVariant when
//            the operator cancelled.
namespace DokSidiLogin {

inline constexpr const char *kQuestion = "sidiLogin";
// The developer folders that switch the address to the test environment.
inline constexpr const char *kDeveloperFolderDok = "P:/DOK-ALUEXPORTTEVO/BIN/";
inline constexpr const char *kDeveloperFolderEstraiAlu = "P:/DOKSSSS-ALUEXPORTTEVO/BIN/";
// Where each SOAP response is dumped, relative to the working directory.
inline constexpr const char *kDumpFolder = "../usr/Tevo/SogeiCert/";

// The address the dialog shows: the client's endpoint, switched from the production
// to the test base when the developer folder exists.
QString AddressShown(const QString &clientUrl, const QString &developerFolder);

// Shows the login for the client. On OK: the client gets user, password and the
// address shown, its after-call hook dumps every response, and the process-wide
// extra header carries the credentials. Returns false when cancelled, leaving the
// client as it was.
bool EseguiLogin(TQxInteraction &interaction, sidi::TDokRioBase &client,
                 const QString &developerFolder = QString::fromLatin1(kDeveloperFolderDok));

// The batch answer to the login: the user from the command line, the password
// from the first line of a file, or asked on the terminal when no file is given.
// Without a user the login cannot be answered and the run ends with an error.
std::function<QVariant(const QVariantMap &)> BatchAnswer(const QString &user, const QString &passwordFile);

// The credentials line of the extra header.
QString CredentialsHeader(const QString &user, const QString &password);

// Writes a raw SOAP response to <dump folder><method>_SOAPResponse.xml. The
// responses hold personal data: the folder is private to the user (0700) and the
// file readable by the user only (0600).
void DumpResponse(const QString &method, const QByteArray &response);

} // namespace DokSidiLogin
