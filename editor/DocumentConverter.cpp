#include "editor/DocumentConverter.h"

#include "editor/DocumentIO.h"
#include "editor/richtext/RxRichEdit.h"

#include <QDir>
#include <QFileInfo>

using WriteFormat = DocumentFileFormats::WriteFormat;

QList<DocumentConverter::Format> DocumentConverter::formats()
{
    return {
        { QStringLiteral("rtf"), QStringLiteral("rtf"), WriteFormat::RichText },
        { QStringLiteral("doc"), QStringLiteral("doc"), WriteFormat::RichText },
        { QStringLiteral("rtc"), QStringLiteral("rtc"), WriteFormat::Compressed },
        { QStringLiteral("ktp"), QStringLiteral("ktp"), WriteFormat::RichText },
        { QStringLiteral("txt"), QStringLiteral("txt"), WriteFormat::PlainAnsi },
        { QStringLiteral("utxt"), QStringLiteral("txt"), WriteFormat::PlainUnicode },
    };
}

std::optional<DocumentConverter::Format> DocumentConverter::format(const QString &name)
{
    for (const Format &f : formats()) {
        if (f.name == name.toLower())
            return f;
    }
    return std::nullopt;
}

QStringList DocumentConverter::formatNames()
{
    QStringList names;
    for (const Format &f : formats())
        names.append(f.name);
    return names;
}

DocumentConverter::DocumentConverter(Format format, QString outputDir)
    : m_format(std::move(format))
    , m_outputDir(outputDir.isEmpty() ? QDir::currentPath() : QDir(outputDir).absolutePath())
{ }

QString DocumentConverter::outputPath(const QString &input) const
{
    return QDir(m_outputDir).filePath(QFileInfo(input).completeBaseName() + u'.' + m_format.extension);
}

DocumentConverter::Outcome DocumentConverter::convert(const QString &input)
{
    Outcome outcome;
    const QFileInfo in(input);
    if (!in.exists()) {
        outcome.message = QStringLiteral("%1: no such file").arg(input);
        return outcome;
    }
    if (in.isDir()) {
        outcome.message = QStringLiteral("%1: is a folder, not a document").arg(input);
        return outcome;
    }
    const QString output = outputPath(input);
    const QFileInfo out(output);
    if (out.exists() && out.canonicalFilePath() == in.canonicalFilePath()) {
        outcome.message = QStringLiteral("%1: the output would replace the input; choose another --outdir").arg(input);
        return outcome;
    }
    if (m_written.contains(out.absoluteFilePath())) {
        outcome.message = QStringLiteral("%1: %2 was already written for an earlier input").arg(input, output);
        return outcome;
    }

    TRxRichEdit editor;
    QString error;
    if (!DocumentIO::load(editor, in.absoluteFilePath(), &error)) {
        outcome.message = QStringLiteral("%1: %2").arg(input, error);
        return outcome;
    }
    if (!QDir().mkpath(m_outputDir)) {
        outcome.message = QStringLiteral("%1: cannot create the folder %2").arg(input, m_outputDir);
        return outcome;
    }
    if (!DocumentIO::save(editor, output, m_format.writeFormat, false, &error)) {
        outcome.message = QStringLiteral("%1: %2").arg(input, error);
        return outcome;
    }
    m_written.insert(out.absoluteFilePath());
    outcome.ok = true;
    outcome.output = output;
    return outcome;
}
