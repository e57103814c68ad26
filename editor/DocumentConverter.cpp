#include "editor/DocumentConverter.h"

#include "app/StartupOptions.h"
#include "editor/DocumentIO.h"
#include "editor/richtext/RxRichEdit.h"
#include "export/ExportError.h"
#include "export/ExportJobs.h"
#include "export/RichEditPageSource.h"
#include "export/tnpdf2.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using WriteFormat = DocumentFileFormats::WriteFormat;

namespace {

// The document window's text column keeps 18 pixels free on either side of the editor.
constexpr int kTextColumnMargins = 2 * 18;
// The exports lay pages out at the resolution of a common screen; a batch run has none.
constexpr int kExportDpi = 96;

} // namespace

QList<DocumentConverter::Format> DocumentConverter::formats()
{
    QList<Format> list = {
        { QStringLiteral("rtf"), QStringLiteral("rtf"), WriteFormat::RichText },
        { QStringLiteral("doc"), QStringLiteral("doc"), WriteFormat::RichText },
        { QStringLiteral("rtc"), QStringLiteral("rtc"), WriteFormat::Compressed },
        { QStringLiteral("ktp"), QStringLiteral("ktp"), WriteFormat::RichText },
        { QStringLiteral("txt"), QStringLiteral("txt"), WriteFormat::PlainAnsi },
        { QStringLiteral("utxt"), QStringLiteral("txt"), WriteFormat::PlainUnicode },
    };
    for (const QString &name : ExportRequest::names()) {
        const std::optional<ExportRequest> request = ExportRequest::parse(name);
        list.append({ name, request->extension().mid(1), WriteFormat::RichText, request });
    }
    return list;
}

std::optional<DocumentConverter::Format> DocumentConverter::format(const QString &name, QString *error)
{
    const QString lower = name.toLower();
    const QString head = lower.section(u':', 0, 0);
    for (Format f : formats()) {
        if (f.name != head)
            continue;
        if (!f.exportRequest) {
            if (head != lower) {
                if (error)
                    *error = QStringLiteral("the format %1 takes no options, not \"%2\"")
                                 .arg(head, lower.section(u':', 1));
                return std::nullopt;
            }
            return f;
        }
        f.exportRequest = ExportRequest::parse(lower, error);
        if (!f.exportRequest)
            return std::nullopt;
        f.name = lower;
        return f;
    }
    if (error)
        *error = QStringLiteral("unknown format \"%1\" for --convert-to (known: %2)")
                     .arg(name, formatNames().join(QStringLiteral(", ")));
    return std::nullopt;
}

QStringList DocumentConverter::formatNames()
{
    QStringList names;
    for (const Format &f : formats())
        names.append(f.name);
    return names;
}

int DocumentConverter::textColumnWidth()
{
    const StartupOptions::ReadResult read = StartupOptions::readFile();
    const int column = read.ok() ? read.options.TextColumnWidth : StartupOptions().TextColumnWidth;
    return std::max(100, column - kTextColumnMargins);
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
    const bool writesPages = m_format.exportRequest && ExportRequest::writesPageFiles(m_format.exportRequest->kind);
    if (!writesPages && out.exists() && out.canonicalFilePath() == in.canonicalFilePath()) {
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
    if (m_format.exportRequest) {
        if (!exportDocument(editor, output, outcome)) {
            outcome.message = QStringLiteral("%1: %2").arg(input, outcome.message);
            return outcome;
        }
    } else {
        if (!DocumentIO::save(editor, output, m_format.writeFormat, false, &error)) {
            outcome.message = QStringLiteral("%1: %2").arg(input, error);
            return outcome;
        }
        outcome.outputs = QStringList { output };
    }
    m_written.insert(out.absoluteFilePath());
    outcome.ok = true;
    return outcome;
}

bool DocumentConverter::exportDocument(TRxRichEdit &editor, const QString &output, Outcome &outcome) const
{
    // The display lines of the text-only PDF are the lines as the editor wraps them in a
    // document window; the editor gets that width, shown without a screen.
    editor.setAttribute(Qt::WA_DontShowOnScreen);
    editor.resize(textColumnWidth(), 600);
    editor.show();

    RichEditPageSource source(editor);
    ExportJobs jobs(source);
    jobs.setScreenDpi(kExportDpi, kExportDpi);
    // The pause after each TIFF page lets a window repaint; a batch run has none.
    jobs.setTiffPagePause(0);
    try {
        outcome.outputs = m_format.exportRequest->run(jobs, output);
        return true;
    } catch (const ExportError &e) {
        outcome.message = e.message();
    } catch (const PdfWriteError &e) {
        outcome.message = QString::fromLocal8Bit(e.what());
    } catch (const std::exception &e) {
        outcome.message = QString::fromLocal8Bit(e.what());
    }
    // Pages of a failed export are not left behind as if it had succeeded.
    for (const QString &page : jobs.writtenFiles())
        QFile::remove(page);
    return false;
}
