#include "TQxScriptedInteraction.h"

#include <stdexcept>

void TQxScriptedInteraction::Answer(const QString &question, const QVariant &answer)
{
    m_answers.append({question, answer, {}});
}

void TQxScriptedInteraction::AnswerWith(const QString &question,
                                        std::function<QVariant(const QVariantMap &)> answer)
{
    m_answers.append({question, QVariant(), std::move(answer)});
}

QStringList TQxScriptedInteraction::Messages() const
{
    QStringList texts;
    for (const Asked &a : m_asked)
        if (a.Question == QLatin1String("message"))
            texts << a.Text;
    return texts;
}

QVariant TQxScriptedInteraction::Take(const QString &question, const QString &text,
                                      const QVariantMap &details)
{
    m_asked.append({question, text, details});
    if (m_answers.isEmpty() || m_answers.first().Question != question) {
        const QString expected = m_answers.isEmpty() ? QStringLiteral("nessuna") : m_answers.first().Question;
        throw std::logic_error(QStringLiteral("Domanda inattesa \"%1\" (%2); risposta pronta: %3")
                                   .arg(question, text, expected).toStdString());
    }
    const Prepared p = m_answers.takeFirst();
    return p.Function ? p.Function(details) : p.Value;
}

int TQxScriptedInteraction::MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    const QVariantMap details{{QStringLiteral("type"), MsgDlgTypeText(type)},
                              {QStringLiteral("buttons"), buttons == TMsgDlgButtons::mbOK ? QStringLiteral("OK")
                                                                                           : QStringLiteral("YesNo")}};
    if (buttons == TMsgDlgButtons::mbOK) {
        m_asked.append({QStringLiteral("message"), text, details});
        return mrOk;
    }
    return Take(QStringLiteral("message"), text, details).toInt();
}

QString TQxScriptedInteraction::BrowseFolder(const QString &caption, const QString &startDir)
{
    return Take(QStringLiteral("folder"), caption, {{QStringLiteral("startDir"), startDir}}).toString();
}

std::optional<TQxLoginData> TQxScriptedInteraction::Login(const TQxLoginData &proposal)
{
    const QVariant a = Take(QStringLiteral("login"), proposal.Database,
                            {{QStringLiteral("UserName"), proposal.UserName},
                             {QStringLiteral("PasswordNeeded"), proposal.PasswordNeeded}});
    if (!a.isValid())
        return std::nullopt;
    const QVariantMap m = a.toMap();
    TQxLoginData data = proposal;
    data.Database = m.value(QStringLiteral("Database"), proposal.Database).toString();
    data.UserName = m.value(QStringLiteral("UserName"), proposal.UserName).toString();
    data.Password = m.value(QStringLiteral("Password")).toString();
    return data;
}

void TQxScriptedInteraction::WaitShow(const QString &text, int minimum, int maximum)
{
    m_wait << QStringLiteral("show %1 %2..%3").arg(text).arg(minimum).arg(maximum);
}

void TQxScriptedInteraction::WaitStep(int by, const QString &text)
{
    m_wait << QStringLiteral("step %1 %2").arg(by).arg(text);
}

void TQxScriptedInteraction::WaitHide()
{
    m_wait << QStringLiteral("hide");
}

bool TQxScriptedInteraction::OpenDocument(const QString &path)
{
    m_asked.append({QStringLiteral("document"), path, {}});
    return true;
}

void TQxScriptedInteraction::ShowSogeiLegend()
{
    m_asked.append({QStringLiteral("legend"), QString(), {}});
}

QVariant TQxScriptedInteraction::Ask(const QString &question, const QVariantMap &details)
{
    return Take(question, details.value(QStringLiteral("text")).toString(), details);
}
