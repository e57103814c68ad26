#include "app/GradientPainter.h"
#include "tests/support/TestMain.h"

#include <QImage>
#include <QPainter>

using Colors = QList<QColor>;
// A line of the gradient and the colour every pixel of that line must have.
using LineColors = QList<QPair<int, QColor>>;

class tst_GradientPainter : public QObject
{
    Q_OBJECT

private:
    static QImage canvas(QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(1, 2, 3));
        return image;
    }

private slots:
    void fillsEqualBandsLineByLine_data()
    {
        QTest::addColumn<Colors>("colors");
        QTest::addColumn<Qt::Orientation>("orientation");
        QTest::addColumn<int>("length");
        QTest::addColumn<LineColors>("expected");

        const QColor cream(255, 245, 221), orange(255, 210, 94);
        // Two bands over 35 lines: 17 lines of the first band, 18 (with the remainder) of the second.
        QTest::newRow("history row, vertical")
            << Colors { cream, cream, orange } << Qt::Vertical << 35
            << LineColors { { 0, cream }, { 16, cream }, { 17, cream }, { 25, QColor(255, 229, 161) }, { 34, orange } };
        // Six bands over 26 columns: five of 4 columns, the last of 6.
        const auto grey = [](int v) { return QColor(v, v, v); };
        QTest::newRow("image column, horizontal")
            << Colors { grey(226), grey(210), grey(194), grey(185), grey(194), grey(210), grey(226) } << Qt::Horizontal
            << 26
            << LineColors { { 0, grey(226) }, { 1, grey(221) }, { 2, grey(215) }, { 3, grey(210) }, { 4, grey(210) },
                   { 12, grey(185) }, { 15, grey(194) }, { 20, grey(210) }, { 22, grey(216) }, { 25, grey(226) } };
        // Each channel runs on its own, also downwards.
        QTest::newRow("channels apart") << Colors { QColor(0, 100, 255), QColor(255, 0, 100) } << Qt::Vertical << 6
                                        << LineColors { { 0, QColor(0, 100, 255) }, { 1, QColor(51, 80, 224) },
                                               { 5, QColor(255, 0, 100) } };
        // More bands than lines: the last band takes every line.
        QTest::newRow("more bands than lines")
            << Colors { Qt::red, Qt::green, QColor(10, 20, 30), QColor(200, 100, 50) } << Qt::Vertical << 2
            << LineColors { { 0, QColor(10, 20, 30) }, { 1, QColor(200, 100, 50) } };
        QTest::newRow("one line") << Colors { Qt::blue, Qt::white } << Qt::Horizontal << 1
                                  << LineColors { { 0, QColor(Qt::blue) } };
    }

    void fillsEqualBandsLineByLine()
    {
        QFETCH(Colors, colors);
        QFETCH(Qt::Orientation, orientation);
        QFETCH(int, length);
        QFETCH(LineColors, expected);

        // The gradient sits inside a larger image so the pixels around it prove it stays in place.
        const int across = 5;
        const QRect rect = orientation == Qt::Vertical ? QRect(3, 4, across, length) : QRect(3, 4, length, across);
        QImage image = canvas(rect.size() + QSize(7, 9));
        {
            QPainter painter(&image);
            QVERIFY(GradientPainter::fill(painter, rect, colors, orientation));
        }
        for (const auto &[line, color] : expected) {
            for (int i = 0; i < across; ++i) {
                const QPoint at = orientation == Qt::Vertical ? QPoint(rect.left() + i, rect.top() + line)
                                                              : QPoint(rect.left() + line, rect.top() + i);
                QCOMPARE(image.pixelColor(at), color);
            }
            QCOMPARE(GradientPainter::colorAt(colors, length, line), color);
        }
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!rect.contains(x, y))
                    QCOMPARE(image.pixelColor(x, y), QColor(1, 2, 3));
            }
        }
    }

    void fewerThanTwoColoursPaintNothing_data()
    {
        QTest::addColumn<Colors>("colors");
        QTest::newRow("none") << Colors {};
        QTest::newRow("one") << Colors { Qt::red };
    }

    void fewerThanTwoColoursPaintNothing()
    {
        QFETCH(Colors, colors);
        QImage image = canvas(QSize(10, 10));
        const QImage before = image;
        QPainter painter(&image);
        QVERIFY(!GradientPainter::fill(painter, image.rect(), colors, Qt::Vertical));
        painter.end();
        QCOMPARE(image, before);
        QVERIFY(!GradientPainter::colorAt(colors, 10, 0).isValid());
    }

    void keepsToThePaintersClip()
    {
        QImage image = canvas(QSize(20, 20));
        QPainter painter(&image);
        painter.setClipRect(QRect(0, 0, 20, 10));
        QVERIFY(GradientPainter::fill(painter, image.rect(), { Qt::black, Qt::white }, Qt::Vertical));
        painter.end();
        QCOMPARE(image.pixelColor(5, 0), QColor(Qt::black));
        QCOMPARE(image.pixelColor(5, 10), QColor(1, 2, 3));
        QCOMPARE(image.pixelColor(5, 19), QColor(1, 2, 3));
    }
};

LUMARO_TEST_CLASS(tst_GradientPainter)
#include "tst_gradientpainter.moc"
