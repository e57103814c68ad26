#include "export/ExportJobs.h"

#include "export/BitmapPageTarget.h"
#include "export/EmfPageTarget.h"
#include "export/ExportError.h"
#include "export/ExportFileNames.h"
#include "export/ExportPageLoop.h"
#include "export/ExportPageSource.h"
#include "export/ExportTexts.h"
#include "export/GifEncoder.h"
#include "export/ImagePageWriter.h"
#include "export/PageWorkers.h"
#include "export/PdfExport.h"
#include "export/ReplacingFile.h"
#include "export/SearchablePdf.h"
#include "export/tnpdf2.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QSaveFile>
#include <QThread>
#include <QFile>
#include <QFileInfo>

#include <map>
#include <mutex>

ExportJobs::ExportJobs(ExportPageSource &source)
    : m_source(source)
    , m_dpiX(ExportPageLoop::defaultDpiX())
    , m_dpiY(ExportPageLoop::defaultDpiY())
    , m_threads(PageWorkers::defaultThreads())
    , m_pageSettings(SearchablePdf::defaultPageSettings())
{
    const EmfReference screen = screenReference();
    m_emfReferencePixels = screen.pixels;
    m_emfReferenceMillimeters = screen.millimeters;
}

ExportJobs::EmfReference ExportJobs::screenReference()
{
    // The offscreen platform's screen is made up: a batch run has no screen.
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    const QScreen *screen = app && QGuiApplication::platformName() != QLatin1String("offscreen")
        ? QGuiApplication::primaryScreen()
        : nullptr;
    if (!screen)
        return { QSize(1920, 1080), QSize(508, 286) };
    const QSize pixels = (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize();
    QSize millimeters = screen->physicalSize().toSize();
    // A screen that does not tell its size is taken at 96 pixels per inch.
    if (millimeters.width() <= 0 || millimeters.height() <= 0)
        millimeters = QSize(qRound(pixels.width() * 25.4 / 96), qRound(pixels.height() * 25.4 / 96));
    return { pixels, millimeters };
}

void ExportJobs::setScreenDpi(int dpiX, int dpiY)
{
    m_dpiX = qMax(1, dpiX);
    m_dpiY = qMax(1, dpiY);
}

void ExportJobs::setEmfReference(QSize pixels, QSize millimeters)
{
    m_emfReferencePixels = pixels;
    m_emfReferenceMillimeters = millimeters;
}

void ExportJobs::progress(int percent)
{
    if (m_progress)
        m_progress(percent);
}

int ExportJobs::writeFullPdf(const QString &path)
{
    m_written.clear();
    TPrintPDF1 pdf;
    PdfExport::applyStandardProperties(pdf, path, PdfExport::Layout::Full);
    pdf.setPixelsPerInch(m_dpiX, m_dpiY);
    if (m_clock)
        pdf.setClock(m_clock);
    pdf.BeginDoc();

    const ExportPageGeometry geometry = ExportPageGeometry::pdfPage();
    ExportPageLoop loop(m_source, geometry);
    loop.setScreenDpi(m_dpiX, m_dpiY);
    loop.setProgress([this](int percent) { progress(percent); });
    // The page's drawing operators in page order; its pixels are compressed and spooled beside
    // the drawing of the next page. Every page holds one image, numbered as the page.
    BitmapPageTarget target(
        geometry.surface, QImage::Format_RGB32, m_dpiX, m_dpiY, [&pdf](const QImage &page, int, bool more) {
            PdfExport::placePage(pdf, page);
            if (more)
                pdf.NewPage();
        });
    target.setBackgroundStep(
        [&pdf](const QImage &page, int n, bool) { PdfExport::writePageImage(pdf, n, page); }, m_threads);
    loop.run(target);
    pdf.EndDoc();
    m_written.append(path);
    return pdf.PageNumber();
}

int ExportJobs::writeTextPdf(const QString &path, int fontNumber, int fontSize)
{
    m_written.clear();
    TPrintPDF1 pdf;
    PdfExport::applyStandardProperties(pdf, path, PdfExport::Layout::TextOnly);
    if (m_clock)
        pdf.setClock(m_clock);
    pdf.BeginDoc();
    pdf.Font.Number = fontNumber;
    pdf.Font.Size = fontSize;
    const QStringList lines = m_source.displayLines();
    int done = 0;
    PdfExport::writeTextLines(pdf, lines, [&]() {
        ++done;
        progress(int(qint64(done) * 100 / qMax(1, int(lines.size()))));
    });
    pdf.EndDoc();
    m_written.append(path);
    return pdf.PageNumber();
}

int ExportJobs::writeSearchablePdf(const QString &path)
{
    m_written.clear();
    const ExportPageSource::DocumentInfo document = m_source.documentInfo();
    SearchablePdf::Info info;
    info.title = document.title.isEmpty() ? ExportFileNames::fileNamePart(path) : document.title;
    info.author = document.author;
    info.subject = document.subject;
    info.keywords = document.keywords;
    info.creator = ExportTexts::fullLayoutCreator();
    info.producer = ExportTexts::pdfProducer();
    SearchablePdf pdf(m_source, m_pageSettings);
    pdf.setInfo(info);
    pdf.setProgress([this](int percent) { progress(percent); });
    const int pages = pdf.write(path);
    m_written.append(path);
    return pages;
}

int ExportJobs::writePageImages(ExportKind kind, const QString &chosenPath)
{
    m_written.clear();
    const ExportFormatInfo format = ExportFormats::info(kind);
    const QString base = ExportFileNames::withoutExtension(chosenPath);
    const ExportPageGeometry geometry = ExportPageGeometry::imagePage();
    ExportPageLoop loop(m_source, geometry);
    loop.setScreenDpi(m_dpiX, m_dpiY);
    loop.setProgress([this](int percent) { progress(percent); });

    if (kind == ExportKind::Emf) {
        EmfPaintDevice::Options options;
        options.application = ExportTexts::emfApplication();
        options.description = ExportTexts::emfDescription();
        options.dpiX = m_dpiX;
        options.dpiY = m_dpiY;
        options.referencePixels = m_emfReferencePixels;
        options.referenceMillimeters = m_emfReferenceMillimeters;
        EmfPageTarget target(base, geometry.surface, options);
        struct Collect
        {
            EmfPageTarget &target;
            const QString &base;
            const QString &extension;
            QStringList &list;
            ~Collect()
            {
                for (int n = 1; n <= target.pagesWritten(); ++n)
                    list.append(ExportFileNames::pageFile(base, n, extension));
            }
        } collect { target, base, format.extension, m_written };
        const int pages = loop.run(target);
        ReplacingFile::syncFolder(QFile::encodeName(QFileInfo(base).absolutePath()).toStdString());
        return pages;
    }

    if (kind != ExportKind::Bmp && kind != ExportKind::Png && kind != ExportKind::Jpeg && kind != ExportKind::Tiff)
        throw ExportError(QStringLiteral("Not a page image format."));

    // Pages are written beside the drawing of the next ones; the list of written files follows
    // the page order and names only files that were completely written, also after a failure.
    std::mutex writtenMutex;
    std::map<int, QString> written;
    struct Collect
    {
        std::mutex &mutex;
        std::map<int, QString> &written;
        QStringList &list;
        ~Collect()
        {
            std::lock_guard lock(mutex);
            for (const auto &[page, name] : written)
                list.append(name);
        }
    } collect { writtenMutex, written, m_written };

    BitmapPageTarget target(geometry.surface, format.pixelFormat, m_dpiX, m_dpiY, {});
    target.setBackgroundStep(
        [&](const QImage &page, int n, bool) {
            const QString name = ExportFileNames::pageFile(base, n, format.extension);
            ImagePageWriter::write(kind, page, name);
            std::lock_guard lock(writtenMutex);
            written.emplace(n, name);
        },
        m_threads);
    if (kind == ExportKind::Tiff && m_tiffPause > 0) {
        target.setAfterPage([this](int) {
            const QDeadlineTimer until(m_tiffPause);
            while (!until.hasExpired()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                QThread::msleep(qMin<qint64>(10, qMax<qint64>(0, until.remainingTime())));
            }
        });
    }
    const int pages = loop.run(target);
    // The pages were renamed into place without waiting for the disk: one sync of the folder.
    ReplacingFile::syncFolder(QFile::encodeName(QFileInfo(base).absolutePath()).toStdString());
    return pages;
}

namespace {

void saveGif(GifEncoder &gif, const QString &name)
{
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(QStringLiteral("Error Opening File ") + name + QStringLiteral("!"));
    if (!gif.write(file)) {
        file.cancelWriting();
        throw ExportError(gif.errorString());
    }
    if (!file.commit())
        throw ExportError(QStringLiteral("Error Writing File ") + name + QStringLiteral("! ") + file.errorString());
}

} // namespace

int ExportJobs::writeGif(const QString &chosenPath, int seconds)
{
    m_written.clear();
    const QString name = ExportFileNames::withoutExtension(chosenPath) + QStringLiteral(".gif");
    const ExportPageGeometry geometry = ExportPageGeometry::imagePage();
    GifEncoder gif;
    gif.setCommentLines(ExportTexts::gifCommentLines());
    gif.setLoopCount(0);
    const int delay = seconds * 1000;
    ExportPageLoop loop(m_source, geometry);
    loop.setScreenDpi(m_dpiX, m_dpiY);
    loop.setProgress([this](int percent) { progress(percent); });
    BitmapPageTarget target(geometry.surface, QImage::Format_RGB32, m_dpiX, m_dpiY,
        [&](const QImage &page, int, bool) { gif.addFrame(page, delay); });
    loop.run(target);
    saveGif(gif, name);
    m_written.append(name);
    return gif.frameCount();
}

int ExportJobs::writePresentation(const QString &chosenPath, const PresentationOptions &options)
{
    m_written.clear();
    const QString name = ExportFileNames::withoutExtension(chosenPath) + QStringLiteral(".vmp");
    const ExportPageGeometry geometry = options.geometry();
    GifEncoder gif;
    gif.setCommentLines(ExportTexts::presentationCommentLines());
    gif.setLoopCount(0);
    const int delay = options.seconds * 1000;
    ExportPageLoop loop(m_source, geometry);
    loop.setScreenDpi(m_dpiX, m_dpiY);
    loop.setProgress([this](int percent) { progress(percent); });
    BitmapPageTarget target(geometry.surface, QImage::Format_RGB32, m_dpiX, m_dpiY,
        [&](const QImage &page, int, bool) { gif.addFrame(page, delay); });
    if (options.frame) {
        const QSize surface = geometry.surface;
        const QColor color = options.frameColor;
        target.setDecoration(
            [surface, color](QPainter &painter) { PresentationOptions::drawFrame(painter, surface, color); });
    }
    loop.run(target);
    saveGif(gif, name);
    m_written.append(name);
    return gif.frameCount();
}
