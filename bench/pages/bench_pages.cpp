// Draws every page of a 1,000-page list into thumbnails, the way the thumbnail strip shows them.
#include "bench/support/BenchSupport.h"
#include "pages/GmPaperImage.h"
#include "pages/GmPreview.h"
#include "pages/GmThumbnail.h"
#include "pages/GmThumbnails.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPicture>

namespace {

constexpr int kPages = 1000;

// A page picture like pagination records: a heading and some thirty lines of text.
QPicture pagePicture(int page)
{
    QPicture picture;
    QPainter p(&picture);
    QFont heading(QStringLiteral("Arial"));
    heading.setPixelSize(60);
    QFont body(QStringLiteral("Times New Roman"));
    body.setPixelSize(30);
    p.setFont(heading);
    p.drawText(QPoint(0, 60), QStringLiteral("Chapter %1").arg(page));
    p.setFont(body);
    for (int line = 0; line < 30; ++line)
        p.drawText(QPoint(0, 140 + line * 40),
            QStringLiteral("Line %1 of page %2: the quick brown fox jumps over the lazy dog.").arg(line).arg(page));
    p.end();
    picture.setBoundingRect(QRect(0, 0, 2250, 3000));
    return picture;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("CUPS_SERVER", "/nonexistent/lumaro-no-cups.sock");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString name = QStringLiteral("pages");

    Bench::resetPeakMemory();
    TGmPreview preview;
    preview.Canvas().SetCompareGraphics(false);
    preview.Header().SetVisible(true);
    preview.Header().CaptionCenter().SetCaption(QStringLiteral("Page {PAGE} of {NUMPAGES}"));
    QElapsedTimer timer;
    timer.start();
    preview.BeginUpdate();
    for (int p = 1; p <= kPages; ++p) {
        if (p > 1)
            preview.AddPage();
        preview.Canvas().StretchDraw(pagePicture(p), gmTwips, 720, 1000, 720 + 10800, 1000 + 14400);
    }
    preview.EndUpdate();
    Bench::printFigure(name, QStringLiteral("record pages-per-second"),
        kPages * 1000.0 / std::max<qint64>(1, timer.elapsed()), QStringLiteral("pages/s"));

    // DrawPage of every page into a thumbnail image at the strip's zoom (6 %), through the same
    // 600-per-inch mapping the paper image uses.
    TGmPageList &list = preview.PageList();
    const QSize thumb = TGmPaperImage::PagePixelSize(list.PaperWidth(), list.PaperHeight(), 6);
    QImage image(thumb, QImage::Format_ARGB32_Premultiplied);
    timer.restart();
    for (int p = 1; p <= kPages; ++p) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setWindow(0, 0, GmRound(600 * list.PaperWidth()), GmRound(600 * list.PaperHeight()));
        painter.setViewport(image.rect());
        list.DrawPage(list.Pages(p), &painter, 600, 600);
    }
    const qint64 drawMs = std::max<qint64>(1, timer.elapsed());
    Bench::printFigure(name, QStringLiteral("drawpage-thumbnail pages-per-second"), kPages * 1000.0 / drawMs,
        QStringLiteral("pages/s"));

    // The whole strip: rebuild 1,000 thumbnails and paint each one.
    TGmThumbnails strip;
    strip.resize(240, 800);
    strip.SetLayout(gmThumbVert);
    timer.restart();
    strip.SetPreview(&preview);
    const qint64 rebuildMs = timer.elapsed();
    timer.restart();
    for (int i = 0; i < strip.ThumbnailCount(); ++i)
        strip.Thumbnail(i)->grab();
    const qint64 paintMs = std::max<qint64>(1, timer.elapsed());
    Bench::printFigure(name, QStringLiteral("strip-rebuild time"), double(rebuildMs), QStringLiteral("ms"));
    Bench::printFigure(
        name, QStringLiteral("strip-paint pages-per-second"), kPages * 1000.0 / paintMs, QStringLiteral("pages/s"));
    Bench::printFigure(name, QStringLiteral("peak memory"), double(Bench::peakMemoryKiB()), QStringLiteral("KiB"));
    return 0;
}
