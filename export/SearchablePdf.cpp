#include "export/SearchablePdf.h"

#include "export/ExportError.h"
#include "export/ExportPageSource.h"
#include "export/ReplacingFile.h"

#include <QBuffer>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>

namespace {

// A PDF text string that holds any character: UTF-16BE with a byte order mark, in hex.
QByteArray textString(const QString &text)
{
    QByteArray out("<FEFF");
    for (const QChar c : text)
        out += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    out += '>';
    return out;
}

QByteArray pdfDate(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    QByteArray date = "(D:" + time.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (offset == 0) {
        date += 'Z';
    } else {
        const int minutes = std::abs(offset) / 60;
        date += offset > 0 ? '+' : '-';
        date += QByteArray::number(minutes / 60).rightJustified(2, '0') + '\''
            + QByteArray::number(minutes % 60).rightJustified(2, '0') + '\'';
    }
    return date + ')';
}

} // namespace

QPageLayout SearchablePdf::defaultPageSettings()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(36, 36, 36, 36), QPageLayout::Point);
}

SearchablePdf::SearchablePdf(ExportPageSource &source, QPageLayout pageSettings)
    : m_source(source)
    , m_pageSettings(std::move(pageSettings))
{ }

bool SearchablePdf::replaceInfo(QByteArray &pdf, const Info &info, const QByteArray &creationDate)
{
    const qsizetype trailerAt = pdf.lastIndexOf("trailer");
    const qsizetype startAt = pdf.lastIndexOf("startxref");
    if (trailerAt < 0 || startAt < trailerAt)
        return false;
    const QString trailer = QString::fromLatin1(pdf.mid(trailerAt, startAt - trailerAt));
    const QRegularExpressionMatch size = QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(trailer);
    const QRegularExpressionMatch root
        = QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")).match(trailer);
    const QRegularExpressionMatch previous
        = QRegularExpression(QStringLiteral("startxref\\s+(\\d+)")).match(QString::fromLatin1(pdf.mid(startAt, 64)));
    if (!size.hasMatch() || !root.hasMatch() || !previous.hasMatch())
        return false;
    const int number = size.captured(1).toInt();
    if (!pdf.endsWith('\n'))
        pdf += '\n';

    const qsizetype objectAt = pdf.size();
    QByteArray object = QByteArray::number(number) + " 0 obj\n<<\n";
    auto entry = [&](const char *key, const QString &value) {
        if (!value.isEmpty())
            object += QByteArray("/") + key + ' ' + textString(value) + '\n';
    };
    entry("Title", info.title);
    entry("Author", info.author);
    entry("Subject", info.subject);
    entry("Keywords", info.keywords);
    entry("Creator", info.creator);
    entry("Producer", info.producer);
    object += "/CreationDate " + creationDate + "\n>>\nendobj\n";
    pdf += object;

    const qsizetype xrefAt = pdf.size();
    pdf += "xref\n" + QByteArray::number(number) + " 1\n";
    pdf += QByteArray::number(objectAt).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<<\n/Size " + QByteArray::number(number + 1) + "\n/Root " + root.captured(1).toLatin1()
        + "\n/Info " + QByteArray::number(number) + " 0 R\n/Prev " + previous.captured(1).toLatin1() + "\n>>\n";
    pdf += "startxref\n" + QByteArray::number(xrefAt) + "\n%%EOF\n";
    return true;
}

int SearchablePdf::write(const QString &path)
{
    m_renderSeconds = 0;
    m_writeSeconds = 0;
    QElapsedTimer timer;
    timer.start();

    // The pages are made in memory (a text PDF is small) and the finished file written by a
    // temporary name.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(m_dpi);
        writer.setPageLayout(m_pageSettings);
        writer.setTitle(m_info.title);
        writer.setCreator(m_info.creator);
        QPainter painter;
        if (!painter.begin(&writer))
            throw ExportError(QStringLiteral("The PDF file cannot be made."));
        // The text goes into the paint rectangle (the page inside its margins), whose top left
        // corner is the painter's origin.
        const QRect paint = m_pageSettings.paintRectPixels(m_dpi);
        const QRect rectTwips(
            0, 0, int(qint64(paint.width()) * 1440 / m_dpi), int(qint64(paint.height()) * 1440 / m_dpi));
        struct CacheRelease
        {
            ExportPageSource &source;
            ~CacheRelease() { source.releaseCache(); }
        } release { m_source };

        const int total = m_source.textLength();
        int start = 0;
        while (true) {
            if (pages > 0 && !writer.newPage())
                throw ExportError(QStringLiteral("The PDF file cannot be made."));
            ++pages;
            const int next = m_source.renderPage(painter, rectTwips, start);
            // A page that takes nothing would repeat for ever: end the export there instead.
            const bool more = next < total && next > start;
            if (m_progress)
                m_progress(total > 0 ? int(qint64(qMin(next, total)) * 100 / total) : 100);
            if (!more)
                break;
            start = next;
        }
        painter.end();
    }
    m_renderSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();

    QByteArray pdf = buffer.buffer();
    buffer.close();
    if (!replaceInfo(pdf, m_info, pdfDate(QDateTime::currentDateTime())))
        throw ExportError(QStringLiteral("The PDF file cannot be made."));

    ReplacingFile file(QFile::encodeName(path).toStdString());
    if (!file.open())
        throw ExportError(QStringLiteral("Error Opening File ") + path + QStringLiteral("! ")
            + QString::fromLocal8Bit(file.error().c_str()));
    if (!file.write(pdf.constData(), std::size_t(pdf.size())) || !file.commit())
        throw ExportError(QStringLiteral("Error Writing File ") + path + QStringLiteral("! ")
            + QString::fromLocal8Bit(file.error().c_str()));
    m_writeSeconds = timer.nsecsElapsed() / 1e9;
    return pages;
}
