#pragma once

#include "editor/ProtectedFile.h"

#include <QDir>
#include <QSaveFile>

// A save file on a disk that fills up: it takes `room` bytes, then every write fails the way a
// full disk fails.
class FailingSaveFile : public QSaveFile
{
public:
    FailingSaveFile(const QString &path, qint64 room)
        : QSaveFile(path)
        , m_room(room)
    { }

    static ProtectedFile::SaveFileFactory factory(qint64 room)
    {
        return [room](const QString &path) { return std::make_unique<FailingSaveFile>(path, room); };
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        if (m_room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = std::min(len, m_room);
        m_room -= n;
        return QSaveFile::writeData(data, n);
    }

private:
    qint64 m_room;
};

// The names in a folder, hidden ones included.
inline QStringList folderEntries(const QString &dir)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}
