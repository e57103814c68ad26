#pragma once

#include <QPageLayout>
#include <QString>

#include <functional>

class ExportPageSource;

// The searchable PDF: the document laid out by the control's own page renderer straight onto a
// PDF device, so the file holds vector text in embedded fonts (selectable and searchable),
// pictures (each embedded once however often it is shown) and link annotations for hyperlinks,
// on pages of the paper size and inside the margins of the page settings.
class SearchablePdf
{
public:
    struct Info
    {
        QString title;
        QString author;
        QString subject;
        QString keywords;
        QString creator;
        QString producer;
    };

    // The page settings a document has until its paper is changed: A4 portrait, half an inch
    // of margin on every side.
    static QPageLayout defaultPageSettings();

    SearchablePdf(ExportPageSource &source, QPageLayout pageSettings);

    void setInfo(const Info &info) { m_info = info; }
    // Percent of the text done, after each page.
    void setProgress(std::function<void(int)> progress) { m_progress = std::move(progress); }
    // The resolution the text is laid out and drawn at (1200 per inch by default).
    void setResolution(int dpi) { m_dpi = dpi; }

    // Writes the PDF (replacing a file only once the new one is complete); returns the pages.
    // Failures are raised as ExportError.
    int write(const QString &path);

    // The time spent drawing the pages and writing the file in the last write, in seconds.
    double renderSeconds() const { return m_renderSeconds; }
    double writeSeconds() const { return m_writeSeconds; }

    // Appends an incremental update to a finished PDF that replaces its information dictionary
    // with one holding the given entries (the writer of the pages cannot set all of them).
    // Returns false when the file's trailer cannot be read.
    static bool replaceInfo(QByteArray &pdf, const Info &info, const QByteArray &creationDate);

private:
    ExportPageSource &m_source;
    QPageLayout m_pageSettings;
    Info m_info;
    std::function<void(int)> m_progress;
    int m_dpi = 1200;
    double m_renderSeconds = 0;
    double m_writeSeconds = 0;
};
