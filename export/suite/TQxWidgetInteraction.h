#pragma once

#include "TQxInteraction.h"

#include <QHash>
#include <QPointer>

#include <functional>

class QWidget;
class TfmQxWait;

// The interaction of the windows: every question is a modal window owned by the
// program's main window. The program registers the windows of its own questions.
class TQxWidgetInteraction : public TQxInteraction
{
public:
    explicit TQxWidgetInteraction(QWidget *owner = nullptr);
    ~TQxWidgetInteraction() override;

    void SetOwner(QWidget *owner) { m_owner = owner; }
    QWidget *Owner() const { return m_owner; }
    using Handler = std::function<QVariant(QWidget *owner, const QVariantMap &details)>;
    void SetHandler(const QString &question, Handler handler);

    int MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    QString BrowseFolder(const QString &caption, const QString &startDir) override;
    std::optional<TQxLoginData> Login(const TQxLoginData &proposal) override;
    void WaitShow(const QString &text, int minimum, int maximum) override;
    void WaitStep(int by, const QString &text) override;
    void WaitHide() override;
    bool OpenDocument(const QString &path) override;
    void ShowSogeiLegend() override;
    QVariant Ask(const QString &question, const QVariantMap &details) override;

    TfmQxWait *WaitWindow();

private:
    QPointer<QWidget> m_owner;
    QPointer<TfmQxWait> m_wait;
    QHash<QString, Handler> m_handlers;
};
