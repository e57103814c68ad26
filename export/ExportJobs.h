#pragma once

#include "export/ExportFormats.h"
#include "export/PresentationOptions.h"

#include <QPageLayout>
#include <QSize>
#include <QString>

#include <ctime>
#include <functional>

class ExportPageSource;

// The exports themselves, from a chosen file name to the written files, without dialogs or
// messages: what the menu commands and the command line share. Every failure is raised as
// ExportError or PdfWriteError; files of pages already written stay, a file being replaced keeps
// its old contents.
class ExportJobs
{
public:
    explicit ExportJobs(ExportPageSource &source);

    void setScreenDpi(int dpiX, int dpiY);
    // Percent of the text done, after each page or line.
    void setProgress(std::function<void(int)> progress) { m_progress = std::move(progress); }
    void setPdfClock(std::function<std::tm()> clock) { m_clock = std::move(clock); }
    // The pause after each TIFF page, in milliseconds (300 by default); events run meanwhile.
    void setTiffPagePause(int milliseconds) { m_tiffPause = milliseconds; }
    // The reference device the metafile pages are recorded against: the primary screen when
    // there is one, else 1920 x 1080 pixels (508 x 286 mm).
    void setEmfReference(QSize pixels, QSize millimeters);
    QSize emfReferencePixels() const { return m_emfReferencePixels; }
    struct EmfReference
    {
        QSize pixels;
        QSize millimeters;
    };
    static EmfReference screenReference();
    // Threads that compress and write pages while the next page is drawn (0: all on the
    // calling thread); PageWorkers::defaultThreads() by default. The files are the same either way.
    void setThreads(int threads) { m_threads = qMax(0, threads); }
    int threads() const { return m_threads; }

    // Returns the number of PDF pages.
    int writeFullPdf(const QString &path);
    int writeTextPdf(const QString &path, int fontNumber, int fontSize);
    // The searchable PDF of vector text on the paper and inside the margins of the page settings;
    // returns the number of pages.
    int writeSearchablePdf(const QString &path);
    // The page settings of the searchable PDF (A4 with half-inch margins by default).
    void setPageSettings(const QPageLayout &layout) { m_pageSettings = layout; }
    // One file per page, base + " - Page " + n + extension with base the chosen path without its
    // extension; returns the number of files. kind: Bmp, Emf, Png, Jpeg or Tiff.
    int writePageImages(ExportKind kind, const QString &chosenPath);
    // base + ".gif" with every page a frame shown for the given seconds; returns the frames.
    int writeGif(const QString &chosenPath, int seconds);
    // base + ".vmp"; returns the frames.
    int writePresentation(const QString &chosenPath, const PresentationOptions &options);

    // The files the last job wrote.
    QStringList writtenFiles() const { return m_written; }

private:
    void progress(int percent);

    ExportPageSource &m_source;
    int m_dpiX;
    int m_dpiY;
    std::function<void(int)> m_progress;
    std::function<std::tm()> m_clock;
    int m_tiffPause = 300;
    int m_threads;
    QPageLayout m_pageSettings;
    QSize m_emfReferencePixels;
    QSize m_emfReferenceMillimeters;
    QStringList m_written;
};
