#include "export/ExportCommands.h"

#include "export/ExportError.h"
#include "export/ExportFileNames.h"
#include "export/ExportHost.h"
#include "export/ExportJobs.h"
#include "export/ExportProgress.h"
#include "export/tnpdf2.h"
#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace {

// The wait cursor for the length of a command.
class WaitCursor
{
public:
    WaitCursor()
        : m_set(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_set)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~WaitCursor()
    {
        if (m_set)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_set;
};

} // namespace

ExportCommands::ExportCommands(ExportHost &host)
    : m_host(host)
{ }

QList<ExportCommands::TextCommand> ExportCommands::textCommands()
{
    return {
        { QStringLiteral("in Times Roman 12..."), 8, 12 },
        { QStringLiteral("in Times Roman 11..."), 8, 11 },
        { QStringLiteral("in Times Roman 10..."), 8, 10 },
        { QStringLiteral("in Helvetica 12..."), 0, 12 },
        { QStringLiteral("in Helvetica 11..."), 0, 11 },
        { QStringLiteral("in Helvetica 10 ..."), 0, 10 },
        { QStringLiteral("in Courier New 12..."), 4, 12 },
        { QStringLiteral("in Courier New 11..."), 4, 11 },
        { QStringLiteral("in Courier New 10..."), 4, 10 },
        { QStringLiteral("in Courier New 9..."), 4, 9 },
        { QStringLiteral("in Courier New 8..."), 4, 8 },
        { QStringLiteral("in Courier New 7..."), 4, 7 },
    };
}

QString ExportCommands::askFileName(ExportKind kind, const QString &suggestion)
{
    const ExportFormatInfo format = ExportFormats::info(kind);
    Dialogs::FileRequest request;
    request.title = format.title;
    request.fileName = suggestion;
    request.filters = ExportFormats::dialogFilters();
    request.filterIndex = format.filterIndex;
    request.defaultSuffix = QStringLiteral("pdf");
    request.overwritePrompt = true;
    // Another file type cannot change the kind of export: say so, and go on with this one.
    request.filterChanged = [](int) { Dialogs::instance().warning(ExportFormats::fileTypeChangeWarning()); };
    const Dialogs::FileResult result = Dialogs::instance().saveFile(request);
    return result.accepted() ? result.file() : QString();
}

template <typename Job> bool ExportCommands::run(Job job, const QString &success, bool showProgress)
{
    ExportJobs jobs(m_host.pageSource());
    if (showProgress && m_progress)
        jobs.setProgress([this](int percent) { m_progress->setProgress(percent); });
    else
        jobs.setProgress([](int) { QCoreApplication::processEvents(); });
    if (m_setup)
        m_setup(jobs);
    QString error;
    QString message;
    {
        WaitCursor wait;
        if (showProgress && m_progress)
            m_progress->showProgress();
        try {
            message = job(jobs);
        } catch (const ExportError &e) {
            error = e.message();
        } catch (const PdfWriteError &e) {
            error = QString::fromLocal8Bit(e.what());
        } catch (const std::exception &e) {
            error = QString::fromLocal8Bit(e.what());
        }
        if (showProgress && m_progress)
            m_progress->closeProgress();
    }
    if (!error.isEmpty()) {
        Dialogs::instance().error(error);
        return false;
    }
    Dialogs::instance().information(message.isEmpty() ? success : message);
    return true;
}

bool ExportCommands::exportPdf()
{
    const QString path = askFileName(ExportKind::Pdf,
        ExportFileNames::suggested(m_host.documentFileName(), ExportFormats::info(ExportKind::Pdf).suffix));
    if (path.isEmpty())
        return false;
    return run(
        [&](ExportJobs &jobs) {
            jobs.writeFullPdf(path);
            return QString();
        },
        QStringLiteral("Document succesfully exported to PDF format."), true);
}

bool ExportCommands::exportSearchablePdf()
{
    const ExportFormatInfo format = ExportFormats::info(ExportKind::PdfSearchable);
    const QString path
        = askFileName(ExportKind::PdfSearchable, ExportFileNames::suggested(m_host.documentFileName(), format.suffix));
    if (path.isEmpty())
        return false;
    const QPageLayout settings = m_host.pageSettings();
    return run(
        [&](ExportJobs &jobs) {
            jobs.setPageSettings(settings);
            jobs.writeSearchablePdf(path);
            return QString();
        },
        QStringLiteral("Document succesfully exported to PDF format."), true);
}

bool ExportCommands::exportTextPdf(int fontNumber, int fontSize)
{
    const int zoom = m_host.zoomStep();
    m_host.setZoomStep(1);
    struct RestoreZoom
    {
        ExportHost &host;
        int step;
        ~RestoreZoom() { host.setZoomStep(step); }
    } restore { m_host, zoom };

    const QString path = askFileName(ExportKind::PdfText,
        ExportFileNames::suggestedKeepingExtension(m_host.documentFileName(), QStringLiteral(" - PDF")));
    if (path.isEmpty())
        return false;
    const QString success
        = QStringLiteral("Export To PDF ") + ExportFileNames::fileNamePart(path) + QStringLiteral(" Completed.");
    return run(
        [&](ExportJobs &jobs) {
            jobs.writeTextPdf(path, fontNumber, fontSize);
            m_host.setCaretToStart();
            return QString();
        },
        success, false);
}

bool ExportCommands::exportImages(ExportKind kind)
{
    const ExportFormatInfo format = ExportFormats::info(kind);
    const QString path = askFileName(kind, ExportFileNames::suggested(m_host.documentFileName(), format.suffix));
    if (path.isEmpty())
        return false;
    if (kind == ExportKind::Gif) {
        int seconds = 5;
        {
            WaitCursor wait;
            if (m_viewingTime)
                seconds = m_viewingTime();
        }
        return run(
            [&](ExportJobs &jobs) {
                jobs.writeGif(path, seconds);
                return QString();
            },
            QStringLiteral("Document Succesfully Exported to GIF Animated Format."), true);
    }
    return run(
        [&](ExportJobs &jobs) {
            const int n = jobs.writePageImages(kind, path);
            return QStringLiteral("[ ") + QString::number(n)
                + QStringLiteral(" ] separate image(s) have been created from your document.");
        },
        QString(), true);
}

bool ExportCommands::exportPresentation()
{
    const QString path = askFileName(ExportKind::Presentation,
        ExportFileNames::suggested(m_host.documentFileName(), ExportFormats::info(ExportKind::Presentation).suffix));
    if (path.isEmpty())
        return false;
    PresentationOptions options;
    {
        WaitCursor wait;
        if (m_presentation)
            options = m_presentation();
    }
    return run(
        [&](ExportJobs &jobs) {
            jobs.writePresentation(path, options);
            return QString();
        },
        QStringLiteral("Document Succesfully Exported to Velmora Presentation File Format."), true);
}
