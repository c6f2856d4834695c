#pragma once

#include "TQxInteraction.h"

#include <QList>
#include <QStringList>

#include <functional>

// The interaction of tests: it records every question and answers from a prepared
// list, in order. A message with the OK button alone needs no prepared answer and
// takes none.
// Any other question without one, or whose prepared answer is for another
// question, ends the run with std::logic_error, so that a test never hangs on an
// unexpected dialog and never passes by answering it by chance.
class TQxScriptedInteraction : public TQxInteraction
{
public:
    struct Asked
    {
        QString Question;   // "message", "folder", "login", "document", "legend", or Ask's name
        QString Text;       // the message text or caption
        QVariantMap Details;
    };

    // Prepares the answer to the next question named so. For "message" the answer is
    // a modal result, for "folder" a path (empty: cancel), for "login" a QVariantMap
    // with Database, UserName, Password (an invalid QVariant: cancel).
    void Answer(const QString &question, const QVariant &answer);
    // Answers a question at the moment it is asked, from the details given.
    void AnswerWith(const QString &question, std::function<QVariant(const QVariantMap &)> answer);

    const QList<Asked> &AskedQuestions() const { return m_asked; }
    QStringList Messages() const;      // the texts of every message, in order
    const QStringList &WaitLog() const { return m_wait; }
    int PendingAnswers() const { return int(m_answers.size()); }

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
    struct Prepared
    {
        QString Question;
        QVariant Value;
        std::function<QVariant(const QVariantMap &)> Function;
    };
    QVariant Take(const QString &question, const QString &text, const QVariantMap &details);

    QList<Prepared> m_answers;
    QList<Asked> m_asked;
    QStringList m_wait;
};
