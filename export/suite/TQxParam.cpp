#include "TQxParam.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString &configuredMainDir()
{
    static QString folder;
    return folder;
}

QString withSeparator(QString folder)
{
    folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
} // namespace

QString TQxParam::GetMainDir()
{
    if (!configuredMainDir().isEmpty())
        return withSeparator(configuredMainDir());
    const QString fromEnv = qEnvironmentVariable("SIDILINK_MAIN_DIR");
    if (!fromEnv.isEmpty())
        return withSeparator(fromEnv);
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                         + QStringLiteral("/SidiLink"));
}

void TQxParam::SetMainDir(const QString &folder)
{
    configuredMainDir() = folder;
}

QString TQxParam::TempDir()
{
    return withSeparator(QDir::tempPath());
}
