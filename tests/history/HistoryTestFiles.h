#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace HistoryTestFiles {

// Writes a file (creating its folders) and returns its path.
QString create(const QString &path, const QByteArray &bytes = QByteArrayLiteral("{\\rtf1 x}"));
QByteArray contents(const QString &path);
// The names in a folder, hidden ones included.
QStringList entryNames(const QString &folder);

// A folder into which a large write fails: a 16 KiB tmpfs when running as root (where file
// permissions do not stop a write), else a folder made read-only once prepared.
class UnwritableFolder
{
public:
    UnwritableFolder();
    ~UnwritableFolder();
    // Lets files be put in first, then makes writing fail (read-only case) from here on.
    bool lock();
    bool isAvailable() const { return m_available; }
    QString why() const { return m_why; }
    QString path() const { return m_path; }

private:
    QTemporaryDir m_base;
    QString m_path;
    QString m_why;
    bool m_available = false;
    bool m_mounted = false;
};

} // namespace HistoryTestFiles
