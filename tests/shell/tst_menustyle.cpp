#include "app/GradientPainter.h"
#include "app/MenuStyle.h"
#include "app/SplashForm.h"
#include "editor/richtext/RxRichEdit.h"
#include "tests/shell/ShellFixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionMenuItem>

namespace {

QColor grey(int level)
{
    return QColor(level, level, level);
}

// Paints one item of a menu as the menu would and returns the picture.
QImage paintItem(QMenu &menu, QAction *action, bool selected)
{
    QStyleOptionMenuItem option;
    option.initFrom(&menu);
    option.text = action->text();
    if (!action->shortcut().isEmpty())
        option.text += u'\t' + action->shortcut().toString(QKeySequence::NativeText);
    option.menuItemType = action->isSeparator() ? QStyleOptionMenuItem::Separator : QStyleOptionMenuItem::Normal;
    option.icon = action->icon();
    option.maxIconWidth = 16;
    option.font = menu.font();
    option.fontMetrics = QFontMetrics(menu.font());
    option.state = QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
    const QSize size = MenuStyle::instance()->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), &menu);
    option.rect = QRect(QPoint(0, 0), QSize(std::max(size.width(), 200), size.height()));
    QImage image(option.rect.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    MenuStyle::instance()->drawControl(QStyle::CE_MenuItem, &option, &painter, &menu);
    return image;
}

} // namespace

class tst_MenuStyle : public QObject
{
    Q_OBJECT

private slots:
    void itemHeightIsBoldCaptionPlusHintPlusThirteen()
    {
        QMenu menu;
        menu.setStyle(MenuStyle::instance());
        QAction *withHint = menu.addAction(QStringLiteral("&Tile Vertically"));
        withHint->setStatusTip(QStringLiteral("Tile all forms vertical."));
        QAction *plain = menu.addAction(QStringLiteral("E&xit"));
        QFont bold = menu.font();
        bold.setBold(true);
        const int caption = QFontMetrics(bold).height();
        const int hint = QFontMetrics(menu.font()).height();
        QCOMPARE(menu.actionGeometry(withHint).height(), caption + hint + 13);
        QCOMPARE(menu.actionGeometry(plain).height(), caption + 13);
    }

    void separatorsAreThinLinesOrHeadings()
    {
        QMenu menu;
        menu.setStyle(MenuStyle::instance());
        menu.addAction(QStringLiteral("One"));
        QAction *line = menu.addSeparator();
        QAction *heading = menu.addSeparator();
        heading->setText(QStringLiteral("Document Viewing Actions"));
        menu.addAction(QStringLiteral("Two"));
        QFont bold = menu.font();
        bold.setBold(true);
        QCOMPARE(menu.actionGeometry(line).height(), 3);
        QCOMPARE(menu.actionGeometry(heading).height(), QFontMetrics(bold).height() + 8);

        const QImage image = paintItem(menu, heading, false);
        QCOMPARE(image.pixelColor(image.width() - 2, 1), grey(216));
        const QImage thin = paintItem(menu, line, false);
        QCOMPARE(thin.pixelColor(0, 1), grey(226)); // the image column's gradient starts at 226
        QCOMPARE(thin.pixelColor(thin.width() - 5, 0), grey(181)); // the line, 2 pixels above the bottom
        QCOMPARE(thin.pixelColor(thin.width() - 5, 2), grey(243));
    }

    void itemsPaintColumnBackgroundAndHighlight()
    {
        QMenu menu;
        menu.setStyle(MenuStyle::instance());
        QAction *action
            = menu.addAction(QApplication::style()->standardIcon(QStyle::SP_FileIcon), QStringLiteral("&Open..."));
        action->setStatusTip(QStringLiteral("Open an Existing Document."));
        const QImage idle = paintItem(menu, action, false);
        QCOMPARE(idle.pixelColor(0, idle.height() / 2), grey(226)); // column gradient, left end
        QCOMPARE(idle.pixelColor(12, idle.height() - 1), grey(185)); // column gradient: 185 starts the fourth band
        QCOMPARE(idle.pixelColor(idle.width() - 2, 1), grey(243)); // item background

        const QImage selected = paintItem(menu, action, true);
        // Inside the rounded highlight, below the caption band, the gradient runs from white.
        QFont bold = menu.font();
        bold.setBold(true);
        const int band = QFontMetrics(bold).height() + 8;
        QCOMPARE(selected.pixelColor(selected.width() / 2, band + 1), grey(255));
        QVERIFY(selected.pixelColor(selected.width() - 2, 1) != grey(243));
    }

    void menusWithoutImagesShowCheckAndRadioMarks_data()
    {
        QTest::addColumn<int>("checkType");
        QTest::newRow("check mark") << int(QStyleOptionMenuItem::NonExclusive);
        QTest::newRow("radio mark") << int(QStyleOptionMenuItem::Exclusive);
    }

    void menusWithoutImagesShowCheckAndRadioMarks()
    {
        QFETCH(int, checkType);
        QMenu menu;
        auto paint = [&](bool checked) {
            QStyleOptionMenuItem option;
            option.initFrom(&menu);
            option.text = QStringLiteral("Wave");
            option.menuItemType = QStyleOptionMenuItem::Normal;
            option.maxIconWidth = 0;
            option.menuHasCheckableItems = true;
            option.checkType = QStyleOptionMenuItem::CheckType(checkType);
            option.checked = checked;
            option.font = menu.font();
            option.fontMetrics = QFontMetrics(menu.font());
            option.state = QStyle::State_Enabled;
            const QSize size = MenuStyle::instance()->sizeFromContents(QStyle::CT_MenuItem, &option, QSize(), &menu);
            option.rect = QRect(QPoint(0, 0), size);
            QImage image(size, QImage::Format_RGB32);
            QPainter painter(&image);
            MenuStyle::instance()->drawControl(QStyle::CE_MenuItem, &option, &painter, &menu);
            return image.copy(0, 0, 20, size.height());
        };
        const auto darkPixels = [](const QImage &image) {
            int dark = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    dark += qGray(image.pixel(x, y)) < 100;
            return dark;
        };
        QCOMPARE(darkPixels(paint(false)), 0); // the caption starts after the mark column
        QVERIFY(darkPixels(paint(true)) > 4);
    }

    void gradientRunsThroughItsColours()
    {
        QImage image(10, 1, QImage::Format_RGB32);
        QPainter painter(&image);
        QVERIFY(GradientPainter::fill(painter, image.rect(), { grey(0), grey(90) }, Qt::Horizontal));
        painter.end();
        QCOMPARE(image.pixelColor(0, 0), grey(0));
        QCOMPARE(image.pixelColor(9, 0), grey(90));
    }

    void splashWaitsForItsTimer()
    {
        TSplashForm splash;
        QCOMPARE(splash.size(), QSize(353, 145));
        QCOMPARE(splash.timer()->interval(), 250);
        splash.showAndWait();
        QVERIFY(splash.isTimerDone());
        QVERIFY(!splash.timer()->isActive());
        const QImage shot = splash.grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() / 2, shot.height() - 10), QColor(128, 0, 0));
        QDir().mkpath(QStringLiteral(LUMARO_BINARY_DIR) + QStringLiteral("/test-artifacts"));
        QVERIFY(shot.save(QStringLiteral(LUMARO_BINARY_DIR) + QStringLiteral("/test-artifacts/shell-splash.png")));
    }

    // A picture of the program for a person to look at: the frame with two documents. Kept in
    // the build folder, not checked in.
    void screenshotOfTwoDocumentsLooksLikeAWordProcessor()
    {
        ShellFixture fx;
        ShellFixture::writeFile(fx.home() + QStringLiteral("/DeskTopDock.ini"), "[InterFace]\r\nTabbed Document=1\r\n");
        const QString path = fx.file(QStringLiteral("letter.rtf"));
        ShellFixture::writeFile(path, sampleRtf());
        TFrameForm *frame = fx.showFrame({ path });
        frame->New1Click();
        frame->activeDocument()->Editor()->textCursor().insertText(QStringLiteral("A second document."));
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        const QImage shot = frame->grab().toImage();
        const QString out
            = QStringLiteral(LUMARO_BINARY_DIR) + QStringLiteral("/test-artifacts/shell-two-documents.png");
        QDir().mkpath(QFileInfo(out).path());
        QVERIFY(shot.save(out));
        QSet<QRgb> colours;
        for (int y = 0; y < shot.height(); y += 7)
            for (int x = 0; x < shot.width(); x += 7)
                colours.insert(shot.pixel(x, y));
        QVERIFY2(colours.size() > 20, "the frame paints more than a blank area");
        QCOMPARE(frame->tabBar()->count(), 2);
    }
};

LUMARO_TEST_CLASS(tst_MenuStyle)
#include "tst_menustyle.moc"
