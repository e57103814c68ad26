#include "platform/RegistryStore.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

QString RegistryStore::defaultPath()
{
    const QString fromEnv = qEnvironmentVariable("LUMARO_REGISTRY_FILE");
    return fromEnv.isEmpty() ? QStringLiteral("/etc/velmora-lumaro/registry.ini") : fromEnv;
}

RegistryStore::RegistryStore(QString path)
    : m_path(std::move(path))
{ }

RegistryStore::~RegistryStore()
{
    closeKey();
}

QString RegistryStore::sectionFor(const QString &keyPath)
{
    QString key = keyPath.trimmed();
    while (key.startsWith(u'\\'))
        key.remove(0, 1);
    return QStringLiteral("HKEY_LOCAL_MACHINE\\") + key;
}

bool RegistryStore::isWritable() const
{
    // Writes replace the file through a temporary file beside it, so the folder must be writable
    // as well as the file itself.
    const QFileInfo file(m_path);
    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
        return false;
    return !file.exists() || (file.isFile() && file.isWritable());
}

bool RegistryStore::openKey(const QString &keyPath)
{
    closeKey();
    if (keyPath.trimmed().isEmpty() || !isWritable())
        return false;
    m_section = sectionFor(keyPath);
    return true;
}

bool RegistryStore::writeInteger(const QString &name, quint32 value)
{
    if (!isOpen() || name.isEmpty() || name.contains(u'=') || name.contains(u'\n') || name.contains(u'\r'))
        return false;
    IniFile ini(m_path);
    return ini.writeString(m_section, name, QString::number(value));
}

void RegistryStore::closeKey()
{
    m_section.clear();
}

std::optional<quint32> RegistryStore::readInteger(const QString &keyPath, const QString &name) const
{
    const IniFile ini(m_path);
    const QString section = sectionFor(keyPath);
    if (!ini.contains(section, name))
        return std::nullopt;
    bool ok = false;
    const quint32 value = ini.readString(section, name).toUInt(&ok);
    return ok ? std::optional<quint32>(value) : std::nullopt;
}
