#pragma once

#include <QString>

// Where the program keeps its settings and small data files: $LUMARO_HOME when set, else the
// executable's folder when it is writable (a portable install), else
// $XDG_CONFIG_HOME/velmora-lumaro. The folder is created when missing.
class AppPaths
{
public:
    static QString dataDir();
    static QString dataFile(const QString &name);
    static QString executableDir();
};
