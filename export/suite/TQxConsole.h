#pragma once

#include <QString>

#include <cstdio>

// What batch mode writes for the operator goes to stderr: messages with their kind
// and a progress indicator that redraws in place on a terminal and prints plain,
// thinned-out lines otherwise (a log file must not get one line per record).
class TQxProgressLine
{
public:
    explicit TQxProgressLine(std::FILE *out = stderr);
    ~TQxProgressLine();

    void Status(const QString &text);               // a status line of its own
    void Progress(const QString &text, qint64 n, qint64 total = 0); // running count of a status
    void Message(const QString &line);              // ends any redrawn line first
    void Finish();                                  // closes a line being redrawn

    bool IsTerminal() const { return m_terminal; }

private:
    void Write(const QString &text);

    std::FILE *m_out;
    bool m_terminal;
    bool m_open = false;       // a line is being redrawn
    QString m_lastText;
    qint64 m_lastPrinted = -1;
};

// Secrets come from a file or from the terminal, never from the command line.
namespace TQxSecrets {
// The first line of the file, without its line end; throws with an Italian text
// when the file cannot be read.
QString ReadFirstLine(const QString &path);
// Asks on the controlling terminal with echo off; throws when there is no terminal.
QString ReadFromTerminal(const QString &prompt);
}
