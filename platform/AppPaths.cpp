#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString AppPaths::executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

QString AppPaths::dataDir()
{
    const QString home = qEnvironmentVariable("LUMARO_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return QDir(home).absolutePath();
    }
    const QString exeDir = executableDir();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return exeDir;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                           + QStringLiteral("/velmora-lumaro");
    QDir().mkpath(config);
    return config;
}

QString AppPaths::dataFile(const QString &name)
{
    return dataDir() + u'/' + name;
}
