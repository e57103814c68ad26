#include "editor/DocumentIO.h"

#include "editor/CompressedRtf.h"
#include "editor/ProtectedFile.h"
#include "editor/richtext/RxRichEdit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>

using Formats = DocumentFileFormats;

namespace {

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString cannotCreate(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot create file \"%1\". %2.").arg(shownPath(path), reason);
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// The ".rtc" write: the rich text goes to a temporary file first, which is then read back from
// its start through the compressor. The temporary file lies beside the target and is removed
// when this returns, whatever happened.
bool writeCompressed(const QByteArray &rtf, const QString &path, QString *error)
{
    QTemporaryFile intermediate(path + QStringLiteral(".XXXXXX.tmp"));
    if (!intermediate.open())
        return fail(error, cannotCreate(intermediate.fileTemplate(), intermediate.errorString()));
    if (intermediate.write(rtf) != rtf.size() || !intermediate.flush())
        return fail(error, DocumentIO::failedToSaveMessage());
    if (!intermediate.seek(0))
        return fail(error, DocumentIO::failedToSaveMessage());
    const QByteArray plain = intermediate.readAll();
    if (plain.size() != rtf.size())
        return fail(error, DocumentIO::failedToSaveMessage());
    const QByteArray packed = CompressedRtf::compress(plain);
    if (packed.isEmpty())
        return fail(error, DocumentIO::failedToSaveMessage());
    return DocumentIO::writeFile(path, packed, error);
}

} // namespace

QString DocumentIO::failedToSaveMessage()
{
    return QStringLiteral("Failed to Save Stream");
}

QString DocumentIO::failedToLoadMessage()
{
    return QStringLiteral("Failed to Load Stream");
}

bool DocumentIO::readFile(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("Cannot open file \"%1\". %2.").arg(shownPath(path), file.errorString()));
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("Cannot read file \"%1\". %2.").arg(shownPath(path), file.errorString()));
    return true;
}

bool DocumentIO::load(TRxRichEdit &editor, const QString &path, QString *error)
{
    QByteArray bytes;
    if (!readFile(path, &bytes, error))
        return false;
    switch (ProtectedFile::kind(bytes.first(std::min<qsizetype>(bytes.size(), ProtectedFile::HeadSize)))) {
    case ProtectedFile::Kind::Container:
    case ProtectedFile::Kind::Legacy:
        return fail(error, QStringLiteral("The file \"%1\" is protected with a password.").arg(shownPath(path)));
    case ProtectedFile::Kind::Plain:
        break;
    }
    return loadContent(editor, bytes, path, error);
}

bool DocumentIO::loadContent(TRxRichEdit &editor, const QByteArray &bytes, const QString &path, QString *error)
{
    QByteArray content = bytes;
    auto streamFormat = TRxRichEdit::StreamFormat::RichText;
    switch (Formats::readFormat(path)) {
    case Formats::ReadFormat::Compressed: {
        QString why;
        std::optional<QByteArray> rtf = CompressedRtf::decompress(bytes, &why);
        if (!rtf)
            return fail(error, why);
        content = std::move(*rtf);
        break;
    }
    case Formats::ReadFormat::PlainText:
        streamFormat = TRxRichEdit::StreamFormat::PlainText;
        break;
    case Formats::ReadFormat::RichText:
    case Formats::ReadFormat::Template:
        break;
    }

    editor.setPlainTextMode(streamFormat == TRxRichEdit::StreamFormat::PlainText);
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    QString why;
    if (!editor.loadFromStream(buffer, streamFormat, TRxRichEdit::StreamWhole, &why))
        return fail(error, why.isEmpty() ? failedToLoadMessage() : why);
    return true;
}

QByteArray DocumentIO::encode(const TRxRichEdit &editor, Formats::WriteFormat format, bool selectionOnly)
{
    TRxRichEdit::StreamModes modes = selectionOnly ? TRxRichEdit::StreamSelection : TRxRichEdit::StreamWhole;
    switch (format) {
    case Formats::WriteFormat::RichText:
    case Formats::WriteFormat::Compressed:
        return editor.contentBytes(TRxRichEdit::StreamFormat::RichText, modes);
    case Formats::WriteFormat::PlainAnsi:
        return editor.contentBytes(TRxRichEdit::StreamFormat::PlainText, modes);
    case Formats::WriteFormat::PlainUnicode:
        return editor.contentBytes(TRxRichEdit::StreamFormat::PlainText, modes | TRxRichEdit::StreamUnicode);
    }
    return {};
}

bool DocumentIO::save(
    const TRxRichEdit &editor, const QString &path, Formats::WriteFormat format, bool selectionOnly, QString *error)
{
    const QByteArray bytes = encode(editor, format, selectionOnly);
    if (format == Formats::WriteFormat::Compressed)
        return writeCompressed(bytes, path, error);
    return writeFile(path, bytes, error);
}

bool DocumentIO::saveProtected(const TRxRichEdit &editor, const QString &path, Formats::WriteFormat format,
    bool selectionOnly, const QByteArray &password, QString *error)
{
    QByteArray bytes = encode(editor, format, selectionOnly);
    if (format == Formats::WriteFormat::Compressed) {
        QByteArray packed = CompressedRtf::compress(bytes);
        bytes.fill('\0');
        if (packed.isEmpty())
            return fail(error, failedToSaveMessage());
        bytes = std::move(packed);
    }
    QByteArray sealed;
    const ProtectedContainer::Status status = ProtectedContainer::sealBytes(bytes, &sealed, password);
    bytes.fill('\0');
    if (status != ProtectedContainer::Status::Ok)
        return fail(error, ProtectedContainer::message(status));
    return writeFile(path, sealed, error);
}

bool DocumentIO::writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, cannotCreate(path, file.errorString()));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return fail(error, failedToSaveMessage());
    }
    if (!file.commit())
        return fail(error, failedToSaveMessage());
    return true;
}
