#include "TQxBatchInteraction.h"

#include "TQxSogeiStates.h"

#include <stdexcept>

TQxBatchInteraction::TQxBatchInteraction(std::FILE *out) : m_console(out) {}

void TQxBatchInteraction::SetLogin(const TQxLoginData &login, bool passwordGiven)
{
    m_login = login;
    m_passwordGiven = passwordGiven;
}

void TQxBatchInteraction::SetHandler(const QString &question,
                                     std::function<QVariant(const QVariantMap &)> handler)
{
    m_handlers.insert(question, std::move(handler));
}

int TQxBatchInteraction::MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    if (buttons == TMsgDlgButtons::mbOK) {
        m_console.Message(MsgDlgTypeText(type) + QStringLiteral(": ") + text);
        return mrOk;
    }
    m_console.Message(MsgDlgTypeText(type) + QStringLiteral(": ") + text + QStringLiteral(" -> ")
                      + (m_yesNo == mrYes ? QStringLiteral("Sì") : QStringLiteral("No")));
    return m_yesNo;
}

QString TQxBatchInteraction::BrowseFolder(const QString &caption, const QString &)
{
    if (m_folder.isEmpty())
        throw std::runtime_error(QStringLiteral("Nessuna cartella indicata per: %1").arg(caption).toStdString());
    return m_folder;
}

std::optional<TQxLoginData> TQxBatchInteraction::Login(const TQxLoginData &proposal)
{
    TQxLoginData data = proposal;
    if (!m_login.Database.isEmpty())
        data.Database = m_login.Database;
    if (!m_login.UserName.isEmpty())
        data.UserName = m_login.UserName;
    if (m_passwordGiven)
        data.Password = m_login.Password;
    else if (data.PasswordNeeded)
        data.Password = TQxSecrets::ReadFromTerminal(
            QStringLiteral("Password di %1 per %2: ").arg(data.UserName, data.Database));
    return data;
}

void TQxBatchInteraction::WaitShow(const QString &text, int minimum, int maximum)
{
    m_waitText = text;
    m_waitPosition = minimum;
    m_waitMaximum = maximum;
    m_console.Status(text);
}

void TQxBatchInteraction::WaitStep(int by, const QString &text)
{
    m_waitPosition += by;
    if (!text.isEmpty() && text != m_waitText) {
        m_waitText = text;
        m_console.Status(text);
    }
    m_console.Progress(m_waitText, m_waitPosition, m_waitMaximum);
}

void TQxBatchInteraction::WaitHide()
{
    m_console.Finish();
}

bool TQxBatchInteraction::OpenDocument(const QString &path)
{
    m_console.Message(QStringLiteral("Documento: %1").arg(path));
    return true;
}

void TQxBatchInteraction::ShowSogeiLegend()
{
    m_console.Message(TQxSogeiStates::LegendText());
}

QVariant TQxBatchInteraction::Ask(const QString &question, const QVariantMap &details)
{
    const auto handler = m_handlers.constFind(question);
    if (handler == m_handlers.constEnd())
        throw std::runtime_error(
            QStringLiteral("Domanda senza risposta in modalità batch: %1").arg(question).toStdString());
    return (*handler)(details);
}
