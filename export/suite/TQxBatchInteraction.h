#pragma once

#include "TQxConsole.h"
#include "TQxInteraction.h"

#include <QHash>

#include <functional>

// The interaction of batch mode: no windows. Messages and progress go to stderr;
// questions are answered from the command line the program was started with. A
// question with no configured answer ends the run with an error naming it, rather
// than guessing what the operator would have chosen.
class TQxBatchInteraction : public TQxInteraction
{
public:
    explicit TQxBatchInteraction(std::FILE *out = stderr);

    // The folder the browser answers with; empty: no folder given.
    void SetFolder(const QString &folder) { m_folder = folder; }
    // The database login: what the options gave. The password comes from a file,
    // or is asked on the terminal when the database needs one and no file was given.
    void SetLogin(const TQxLoginData &login, bool passwordGiven);
    // The answer to messages with Yes and No (default: No, the cautious answer).
    void SetYesNoAnswer(int modalResult) { m_yesNo = modalResult; }
    // The answer to one of the program's own questions.
    void SetHandler(const QString &question, std::function<QVariant(const QVariantMap &)> handler);

    TQxProgressLine &Console() { return m_console; }

    int MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    QString BrowseFolder(const QString &caption, const QString &startDir) override;
    std::optional<TQxLoginData> Login(const TQxLoginData &proposal) override;
    void WaitShow(const QString &text, int minimum, int maximum) override;
    void WaitStep(int by, const QString &text) override;
    void WaitHide() override;
    bool OpenDocument(const QString &path) override;
    void ShowSogeiLegend() override;
    QVariant Ask(const QString &question, const QVariantMap &details) override;

private:
    TQxProgressLine m_console;
    QString m_folder;
    TQxLoginData m_login;
    bool m_passwordGiven = false;
    int m_yesNo = mrNo;
    QHash<QString, std::function<QVariant(const QVariantMap &)>> m_handlers;
    QString m_waitText;
    int m_waitPosition = 0;
    int m_waitMaximum = 0;
};
