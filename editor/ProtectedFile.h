#pragma once

#include "platform/crypto/ProtectedContainer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

// Files in their protected forms: recognising them, and replacing a file by its protected or
// unprotected form without ever putting the original at risk.
//
// Every write goes through a save file (a uniquely named temporary file in the target's folder)
// that replaces the target only once everything was written; on any failure the target keeps
// its old bytes and the temporary file is removed. A link is followed: its target is replaced,
// the link stays.
class ProtectedFile
{
public:
    enum class Kind {
        Plain,
        Container, // the password container (version 2)
        Legacy, // recognised as protected by the first scheme (version 1)
    };
    // Makes the save file for a target path; tests substitute one that fails its writes.
    using SaveFileFactory = std::function<std::unique_ptr<QSaveFile>(const QString &path)>;
    // Writes the new content into the open device; false with the reason in *why (or an empty
    // reason when the device's own error tells it).
    using Producer = std::function<bool(QIODevice &out, QString *why)>;

    static SaveFileFactory defaultSaveFileFactory();

    // How many first bytes `kind` needs.
    static constexpr int HeadSize = 16;
    static Kind kind(QByteArrayView head);
    // The first bytes of a file (empty when it cannot be read).
    static QByteArray head(const QString &path);
    static Kind kindOfFile(const QString &path);

    // True when both names lead to the same file (a relative name, "./", a link); false when
    // either does not exist.
    static bool sameFile(const QString &a, const QString &b);
    // The file a write to path replaces: the final target of a link, else path itself.
    static QString writeTarget(const QString &path);

    static bool replace(const QString &path, const Producer &produce, const SaveFileFactory &factory, QString *error);

    // Replaces the file by its container sealed with password. When the file is a container
    // already, currentPassword opens it first, so the content is protected once, with the new
    // password.
    static bool protect(const QString &path, QByteArrayView password, const SaveFileFactory &factory, QString *error,
        const QByteArray *currentPassword = nullptr);
    // Replaces the container by its content. *status tells a wrong password from other failures.
    static bool unprotect(const QString &path, QByteArrayView password, const SaveFileFactory &factory, QString *error,
        ProtectedContainer::Status *status = nullptr);
    // The content of a container file, in memory only.
    static bool read(const QString &path, QByteArrayView password, QByteArray *content, QString *error,
        ProtectedContainer::Status *status = nullptr);

    static QString cannotOpen(const QString &path, const QString &reason);
    static QString cannotCreate(const QString &path, const QString &reason);
    static QString cannotWrite(const QString &path, const QString &reason);
};
