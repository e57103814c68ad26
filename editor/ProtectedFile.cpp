#include "editor/ProtectedFile.h"

#include "platform/crypto/LegacyCipher.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using Status = ProtectedContainer::Status;

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

ProtectedFile::SaveFileFactory ProtectedFile::defaultSaveFileFactory()
{
    return [](const QString &path) { return std::make_unique<QSaveFile>(path); };
}

ProtectedFile::Kind ProtectedFile::kind(QByteArrayView head)
{
    if (ProtectedContainer::hasMagic(head))
        return Kind::Container;
    if (LegacyCipher::recognise(head))
        return Kind::Legacy;
    return Kind::Plain;
}

QByteArray ProtectedFile::head(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(HeadSize);
}

ProtectedFile::Kind ProtectedFile::kindOfFile(const QString &path)
{
    return kind(head(path));
}

bool ProtectedFile::sameFile(const QString &a, const QString &b)
{
    struct stat sa;
    struct stat sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString ProtectedFile::writeTarget(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString ProtectedFile::cannotOpen(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot open file \"%1\". %2.").arg(shown(path), reason);
}

QString ProtectedFile::cannotCreate(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot create file \"%1\". %2.").arg(shown(path), reason);
}

QString ProtectedFile::cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot write file \"%1\". %2.").arg(shown(path), reason);
}

bool ProtectedFile::replace(
    const QString &path, const Producer &produce, const SaveFileFactory &factory, QString *error)
{
    const QString target = writeTarget(path);
    std::unique_ptr<QSaveFile> file = factory(target);
    if (!file->open(QIODevice::WriteOnly))
        return fail(error, cannotCreate(path, file->errorString()));
    QString why;
    if (!produce(*file, &why)) {
        const QString reason = file->errorString();
        file->cancelWriting();
        file->commit(); // removes the temporary file; the target stays as it was
        return fail(error, why.isEmpty() ? cannotWrite(path, reason) : why);
    }
    if (!file->commit())
        return fail(error, cannotWrite(path, file->errorString()));
    return true;
}

bool ProtectedFile::protect(const QString &path, QByteArrayView password, const SaveFileFactory &factory,
    QString *error, const QByteArray *currentPassword)
{
    if (password.size() < ProtectedContainer::MinPasswordBytes
        || password.size() > ProtectedContainer::MaxPasswordBytes)
        return fail(error, ProtectedContainer::message(Status::InvalidPassword));
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, cannotOpen(path, in.errorString()));

    QByteArray content;
    QBuffer opened(&content);
    QIODevice *source = &in;
    if (currentPassword && ProtectedContainer::hasMagic(in.peek(4))) {
        opened.open(QIODevice::WriteOnly);
        const Status status = ProtectedContainer::open(in, opened, *currentPassword);
        if (status != Status::Ok)
            return fail(error,
                status == Status::ReadError ? cannotOpen(path, in.errorString()) : ProtectedContainer::message(status));
        opened.close();
        opened.open(QIODevice::ReadOnly);
        source = &opened;
    }
    const bool ok = replace(
        path,
        [&](QIODevice &out, QString *why) {
            const Status status = ProtectedContainer::seal(*source, out, password);
            if (status == Status::ReadError)
                *why = cannotOpen(path, in.errorString());
            else if (status != Status::WriteError && status != Status::Ok)
                *why = ProtectedContainer::message(status);
            return status == Status::Ok;
        },
        factory, error);
    content.fill('\0');
    return ok;
}

bool ProtectedFile::unprotect(
    const QString &path, QByteArrayView password, const SaveFileFactory &factory, QString *error, Status *status)
{
    if (status)
        *status = Status::Ok;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, cannotOpen(path, in.errorString()));
    // The whole content is opened and checked in memory first: nothing is written for a wrong
    // password or a damaged file, and the target is replaced in one step.
    QByteArray content;
    QBuffer sink(&content);
    sink.open(QIODevice::WriteOnly);
    const Status opened = ProtectedContainer::open(in, sink, password);
    if (status)
        *status = opened;
    if (opened != Status::Ok) {
        content.fill('\0');
        return fail(error,
            opened == Status::ReadError ? cannotOpen(path, in.errorString()) : ProtectedContainer::message(opened));
    }
    in.close();
    return replace(
        path, [&](QIODevice &out, QString *) { return out.write(content) == content.size(); }, factory, error);
}

bool ProtectedFile::read(
    const QString &path, QByteArrayView password, QByteArray *content, QString *error, Status *status)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, cannotOpen(path, in.errorString()));
    QByteArray plain;
    QBuffer sink(&plain);
    sink.open(QIODevice::WriteOnly);
    const Status opened = ProtectedContainer::open(in, sink, password);
    if (status)
        *status = opened;
    if (opened != Status::Ok) {
        plain.fill('\0');
        return fail(error,
            opened == Status::ReadError ? cannotOpen(path, in.errorString()) : ProtectedContainer::message(opened));
    }
    *content = std::move(plain);
    return true;
}
