#include "tests/history/HistoryTestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <unistd.h>

namespace HistoryTestFiles {

QString create(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entryNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

UnwritableFolder::UnwritableFolder()
    : m_path(m_base.filePath(QStringLiteral("target")))
{
    QDir().mkpath(m_path);
    if (::geteuid() != 0) {
        m_available = true;
        return;
    }
    const int rc = QProcess::execute(QStringLiteral("mount"),
        { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=16k"),
            QStringLiteral("tmpfs"), m_path });
    m_mounted = rc == 0;
    m_available = m_mounted;
    if (!m_mounted)
        m_why = QStringLiteral("running as root and no small tmpfs could be mounted");
}

UnwritableFolder::~UnwritableFolder()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), { m_path });
    else
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

bool UnwritableFolder::lock()
{
    if (m_mounted)
        return true;
    return QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

} // namespace HistoryTestFiles
