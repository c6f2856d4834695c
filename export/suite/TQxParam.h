#pragma once

#include <QString>

// The suite's global parameters. The main directory is the suite's main folder:
// relative paths such as "Doc/Tevo/" and "VAR/" are appended to it directly, so it
// always ends with a separator.
//   1. the folder set by the program (its --main-dir option), else
//   2. the environment variable SIDILINK_MAIN_DIR, else
//   3. "SidiLink" under the user's data folder.
class TQxParam
{
public:
    static QString GetMainDir();
    static void SetMainDir(const QString &folder); // empty: back to the default
    // The system temporary folder, with a trailing separator.
    static QString TempDir();
};
