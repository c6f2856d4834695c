#include "TQxWidgetInteraction.h"

#include "QxMessageDlg.h"
#include "TfmQxLogin.h"
#include "TfmQxWait.h"
#include "TfmZupLegend.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include <stdexcept>

TQxWidgetInteraction::TQxWidgetInteraction(QWidget *owner) : m_owner(owner) {}

TQxWidgetInteraction::~TQxWidgetInteraction()
{
    delete m_wait;
}

void TQxWidgetInteraction::SetHandler(const QString &question, Handler handler)
{
    m_handlers.insert(question, std::move(handler));
}

int TQxWidgetInteraction::MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    return QxMessageDlg(text, type, buttons, m_owner);
}

QString TQxWidgetInteraction::BrowseFolder(const QString &caption, const QString &startDir)
{
    return QFileDialog::getExistingDirectory(m_owner, caption, startDir);
}

std::optional<TQxLoginData> TQxWidgetInteraction::Login(const TQxLoginData &proposal)
{
    TfmQxLogin dialog(m_owner);
    dialog.SetProposal(proposal);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Result();
}

TfmQxWait *TQxWidgetInteraction::WaitWindow()
{
    if (!m_wait)
        m_wait = new TfmQxWait(m_owner);
    return m_wait;
}

void TQxWidgetInteraction::WaitShow(const QString &text, int minimum, int maximum)
{
    WaitWindow()->SetRange(minimum, maximum);
    WaitWindow()->ShowOperation(text);
}

void TQxWidgetInteraction::WaitStep(int by, const QString &text)
{
    WaitWindow()->Step(by, text);
}

void TQxWidgetInteraction::WaitHide()
{
    if (m_wait)
        m_wait->hide();
}

bool TQxWidgetInteraction::OpenDocument(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        QxMessageDlg(QStringLiteral("Il documento %1 non esiste.").arg(path), TMsgDlgType::mtWarning,
                     TMsgDlgButtons::mbOK, m_owner);
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TQxWidgetInteraction::ShowSogeiLegend()
{
    TfmZupLegend legend(m_owner);
    legend.exec();
}

QVariant TQxWidgetInteraction::Ask(const QString &question, const QVariantMap &details)
{
    const auto handler = m_handlers.constFind(question);
    if (handler == m_handlers.constEnd())
        throw std::logic_error(QStringLiteral("Nessuna finestra per la domanda %1").arg(question).toStdString());
    return (*handler)(m_owner, details);
}
