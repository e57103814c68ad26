#include "export/PresentationTile.h"
#include "export/TfrmExport.h"
#include "export/TfrmInterval.h"
#include "export/TfrmPresentation.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QSpinBox>
#include <QCheckBox>
#include <QToolButton>

using PageSize = PresentationOptions::PageSize;

class tst_ExportDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { ScriptedDialogs::installed().reset(); }
    void cleanup() { QCOMPARE(ScriptedDialogs::installed().unexpectedCount(), 0); }

    void progressWindowShowsPercentAndResetsOnClose()
    {
        TfrmExport window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Document Export Status..."));
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(window.lblStatus->text(), QStringLiteral("Exporting Data..."));
        QCOMPARE(window.lblStatus->font().family(), QStringLiteral("Arial"));
        QCOMPARE(window.lblStatus->font().pointSize(), 32);
        QVERIFY(window.lblStatus->font().bold() && window.lblStatus->font().italic());
        QCOMPARE(window.lblProgBar->font(), window.lblStatus->font());
        QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::white));

        window.showProgress();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isModal());
        QCOMPARE(window.movie()->state(), QMovie::Running);
        window.setProgress(47);
        QCOMPARE(window.lblProgBar->text(), QStringLiteral("47%"));
        window.closeProgress();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.lblProgBar->text(), QStringLiteral("0%"));
    }

    void progressAnimationIsA32PixelGif()
    {
        QByteArray gif = TfrmExport::animationGif();
        QBuffer buffer(&gif);
        QImageReader reader(&buffer, "gif");
        QCOMPARE(reader.size(), QSize(32, 32));
        QCOMPARE(reader.imageCount(), 8);
    }

    void viewingTimeKeepsItsValue()
    {
        TfrmInterval window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Viewing Time Interval"));
        QCOMPARE(window.spnSeconds->minimum(), 5);
        QCOMPARE(window.spnSeconds->maximum(), 60);
        QCOMPARE(window.spnSeconds->value(), 5);
        QTimer::singleShot(0, &window, [&] {
            window.spnSeconds->setValue(60);
            window.findChild<QPushButton *>(QStringLiteral("btnSave"))->click();
        });
        QCOMPARE(window.ask(), 60);
        QTimer::singleShot(0, &window, &QDialog::reject);
        QCOMPARE(window.ask(), 60); // however it is closed, the value stands
        window.spnSeconds->setValue(99);
        QCOMPARE(window.seconds(), 60);
    }

    void presentationDefaults()
    {
        TfrmPresentation window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Presentation Options"));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(window.pnlHeading->text(), QStringLiteral("Presentation Page Options"));
        const PresentationOptions o = window.options();
        QCOMPARE(o.pageSize, PageSize::FullPage);
        QCOMPARE(o.screenSize, QStringLiteral("800 x 600"));
        QCOMPARE(o.seconds, 15);
        QCOMPARE(o.frame, false);
        QCOMPARE(o.frameColor, QColor(0, 128, 192));
        QCOMPARE(window.tileFullPage->tileColor(), QColor(0, 128, 192));
        QCOMPARE(window.tileScreen->tileColor(), QColor(255, 211, 94));
        QCOMPARE(window.btnSmaller->toolTip(), QStringLiteral("Smaller"));
        QCOMPARE(window.btnLarger->toolTip(), QStringLiteral("Larger"));
        QCOMPARE(window.spnSeconds->minimum(), 5);
        QCOMPARE(window.spnSeconds->maximum(), 60);
        QCOMPARE(window.chkFrame->text(), QStringLiteral("Add a frame to each page."));
    }

    void tilesSelectTheirChoice_data()
    {
        QTest::addColumn<QString>("tile");
        QTest::addColumn<int>("choice");
        QTest::newRow("full") << QStringLiteral("tileFullPage") << int(PageSize::FullPage);
        QTest::newRow("upper half") << QStringLiteral("tileHalfPage1") << int(PageSize::HalfPage);
        QTest::newRow("lower half") << QStringLiteral("tileHalfPage2") << int(PageSize::HalfPage);
        QTest::newRow("4:3") << QStringLiteral("tileScreen") << int(PageSize::Screen);
    }
    void tilesSelectTheirChoice()
    {
        QFETCH(QString, tile);
        QFETCH(int, choice);
        TfrmPresentation window;
        window.show();
        // Start from another choice so that every click changes something.
        window.selectPageSize(choice == int(PageSize::Screen) ? PageSize::HalfPage : PageSize::Screen);
        auto *clicked = window.findChild<PresentationTile *>(tile);
        QVERIFY(clicked);
        QTest::mouseClick(clicked, Qt::LeftButton);
        QCOMPARE(int(window.options().pageSize), choice);
        QCOMPARE(clicked->tileColor(), PresentationTile::selectedColor());
        QCOMPARE(clicked->textColor(), QColor(Qt::white));
        for (auto *other : window.findChildren<PresentationTile *>()) {
            const bool sameChoice = other == clicked
                                    || (choice == int(PageSize::HalfPage) && other->objectName().startsWith(QStringLiteral("tileHalf")));
            QCOMPARE(other->isSelected(), sameChoice);
            if (!sameChoice)
                QCOMPARE(other->textColor(), QColor(Qt::black));
        }
        // The size label follows its tile's text colour.
        const QColor label = window.tileScreen->detailLabel()->palette().color(QPalette::WindowText);
        QCOMPARE(label, window.tileScreen->textColor());
    }

    void arrowsStepTheScreenSize()
    {
        TfrmPresentation window;
        window.show();
        window.btnSmaller->click();
        QCOMPARE(window.tileScreen->detail(), QStringLiteral("800 x 600"));
        window.btnLarger->click();
        window.btnLarger->click();
        QCOMPARE(window.tileScreen->detail(), QStringLiteral("1000 x 750"));
        window.btnLarger->click();
        QCOMPARE(window.tileScreen->detail(), QStringLiteral("1000 x 750"));
        window.btnSmaller->click();
        QCOMPARE(window.tileScreen->detail(), QStringLiteral("900 x 675"));
        QCOMPARE(window.options().pageSize, PageSize::FullPage); // the arrows do not select 4:3
        QTest::mouseClick(window.tileScreen, Qt::LeftButton);
        QCOMPARE(window.options().geometry().surface, QSize(900, 675));
    }

    void hoverFramesFollowTheMouse()
    {
        TfrmPresentation window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(window.tileHalfPage2, &enter);
        QVERIFY(window.tileHalfPage1->hasHoverFrame());
        QVERIFY(window.tileHalfPage2->hasHoverFrame());
        QVERIFY(!window.tileFullPage->hasHoverFrame());
        QCoreApplication::sendEvent(window.tileScreen, &enter);
        QVERIFY(window.tileScreen->hasHoverFrame());
        QVERIFY(!window.tileHalfPage1->hasHoverFrame());
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.grpPageSize, &move);
        for (auto *tile : window.findChildren<PresentationTile *>())
            QVERIFY(!tile->hasHoverFrame());
        QCoreApplication::sendEvent(window.tileFullPage, &enter);
        window.hide();
        window.show();
        QVERIFY(!window.tileFullPage->hasHoverFrame());
    }

    void frameColourComesFromTheColourDialog()
    {
        TfrmPresentation window;
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerColor(QColor(200, 10, 10));
        window.btnFrameColour->click();
        QCOMPARE(window.options().frameColor, QColor(200, 10, 10));
        QCOMPARE(dialogs.shown().last().text, QColor(0, 128, 192).name()); // preset to the swatch
        dialogs.answerColor(std::nullopt);
        window.btnFrameColour->click();
        QCOMPARE(window.options().frameColor, QColor(200, 10, 10));
    }

    void choicesStayForTheNextShowing()
    {
        TfrmPresentation window;
        QTimer::singleShot(0, &window, [&] {
            QTest::mouseClick(window.tileHalfPage1, Qt::LeftButton);
            window.spnSeconds->setValue(30);
            window.chkFrame->setChecked(true);
            window.btnSave->click();
        });
        PresentationOptions o = window.ask();
        QCOMPARE(o.pageSize, PageSize::HalfPage);
        QCOMPARE(o.seconds, 30);
        QVERIFY(o.frame);
        QTimer::singleShot(0, &window, &QDialog::reject);
        o = window.ask();
        QCOMPARE(o.pageSize, PageSize::HalfPage);
        QCOMPARE(o.seconds, 30);
    }

    void headingDragsTheWindow()
    {
        TfrmPresentation window;
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint before = window.pos();
        QTest::mousePress(window.pnlHeading, Qt::LeftButton, {}, QPoint(10, 5));
        QMouseEvent move(QEvent::MouseMove, QPointF(50, 45), window.pnlHeading->mapToGlobal(QPointF(50, 45)),
                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.pnlHeading, &move);
        QTest::mouseRelease(window.pnlHeading, Qt::LeftButton, {}, QPoint(50, 45));
        QCOMPARE(window.pos(), before + QPoint(40, 40));
    }
};

LUMARO_TEST_CLASS(tst_ExportDialogs)
#include "tst_exportdialogs.moc"
