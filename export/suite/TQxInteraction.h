#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// Every question the programs ask the operator goes through this interface, so that
// the same logic runs behind the windows, in batch mode and in tests. The suite
// services have their own members; a program's own dialogs (site chooser, school
// type, validation log, ...) are reached through Ask() with a question name and its
// details, and each implementation answers them in its own way.

enum class TMsgDlgType { mtError, mtWarning, mtInformation, mtConfirmation };
enum class TMsgDlgButtons { mbOK, mbYesNo };

// Modal results, with the values the suite has always used.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// What the database login asks and answers.
struct TQxLoginData
{
    QString Database;      // file path, or host[/port]:path
    QString UserName;
    QString Password;      // never stored anywhere
    bool PasswordNeeded = false; // the embedded engine checks no password
};

class TQxInteraction
{
public:
    virtual ~TQxInteraction();

    // A modal message; returns the modal result of the button pressed.
    virtual int MessageDlg(const QString &text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;

    // The folder browser; an empty text means the operator cancelled.
    virtual QString BrowseFolder(const QString &caption, const QString &startDir) = 0;

    // The database login; std::nullopt when the operator cancelled.
    virtual std::optional<TQxLoginData> Login(const TQxLoginData &proposal) = 0;

    // The wait window: shown with a text and a range, advanced by steps, hidden.
    virtual void WaitShow(const QString &text, int minimum, int maximum) = 0;
    virtual void WaitStep(int by, const QString &text) = 0;
    virtual void WaitHide() = 0;

    // Opens a document with the program the system associates with it; false when
    // nothing could open it.
    virtual bool OpenDocument(const QString &path) = 0;

    // The legend of the Sogei state codes.
    virtual void ShowSogeiLegend() = 0;

    // A program's own question. The details and the answer of each question name are
    // documented where the program declares it.
    virtual QVariant Ask(const QString &question, const QVariantMap &details) = 0;

    // Shorthands.
    int ShowError(const QString &text) { return MessageDlg(text, TMsgDlgType::mtError, TMsgDlgButtons::mbOK); }
    int ShowWarning(const QString &text) { return MessageDlg(text, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK); }
    int ShowInformation(const QString &text) { return MessageDlg(text, TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK); }
    bool Confirm(const QString &text, TMsgDlgType type = TMsgDlgType::mtConfirmation)
    {
        return MessageDlg(text, type, TMsgDlgButtons::mbYesNo) == mrYes;
    }
};

// The Italian name of a message kind, as batch mode and the logs print it.
QString MsgDlgTypeText(TMsgDlgType type);
