#include "TQxAttShell.h"

#include "TQxInteraction.h"

#include <QDir>

QString TQxAttShell::Path() const
{
    if (Directory.isEmpty())
        return FileName;
    QString dir = QDir::fromNativeSeparators(Directory);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + FileName;
}

bool TQxAttShell::Execute(TQxInteraction &interaction) const
{
    return interaction.OpenDocument(Path());
}
