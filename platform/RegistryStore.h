#pragma once

#include <QString>

#include <optional>

// The stand-in for the system registry's machine-wide keys: one initialisation file in the
// system configuration folder, writable only with administrator rights. Each key is a section
// named "HKEY_LOCAL_MACHINE\<key path>", each value a "name=number" line. The file is
// /etc/velmora-lumaro/registry.ini unless $LUMARO_REGISTRY_FILE names another (tests always do).
//
// Used like the registry: open (creating if needed) a key, write values into it, close it.
class RegistryStore
{
public:
    static QString defaultPath();

    explicit RegistryStore(QString path = defaultPath());
    ~RegistryStore();

    RegistryStore(const RegistryStore &) = delete;
    RegistryStore &operator=(const RegistryStore &) = delete;

    const QString &path() const { return m_path; }

    // Opens the key (a path below HKEY_LOCAL_MACHINE, "\Software\..."), creating it when needed.
    // Fails, and leaves no key open, when the store cannot be written: the case of a user
    // without administrator rights.
    bool openKey(const QString &keyPath);
    bool isOpen() const { return !m_section.isEmpty(); }
    // Writes a 32-bit number value into the open key; false when no key is open or the write
    // fails.
    bool writeInteger(const QString &name, quint32 value);
    void closeKey();

    // A value as stored, for anyone who reads without opening for writing.
    std::optional<quint32> readInteger(const QString &keyPath, const QString &name) const;

private:
    static QString sectionFor(const QString &keyPath);
    bool isWritable() const;

    QString m_path;
    QString m_section;
};
