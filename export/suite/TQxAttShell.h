#pragma once

#include <QString>

class TQxInteraction;

// The shell-launch action: opens FileName in Directory with the program that the
// system associates with it, without waiting for it.
class TQxAttShell
{
public:
    QString FileName;
    QString Directory;   // set just before use; a missing trailing separator is added

    QString Path() const;
    bool Execute(TQxInteraction &interaction) const;
};
