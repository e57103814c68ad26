// The document window: opening a new window with all its commands, and the status bar after a
// caret move in a long document.
#include "app/History.h"
#include "app/MDIFrame.h"
#include "app/StartupOptions.h"
#include "bench/support/BenchSupport.h"
#include "editor/MDIEdit.h"
#include "editor/richtext/RxRichEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>

#include <algorithm>

namespace {

// About 1,000 pages of text: 50 lines a page, a paragraph of 12 words a line.
QString longText()
{
    QString text;
    const QString line = QStringLiteral("The quick brown fox jumps over the lazy dog again and again.\n");
    text.reserve(line.size() * 50000);
    for (int i = 0; i < 50000; ++i)
        text += line;
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("LUMARO_HOME", home.path().toLocal8Bit());
    qputenv("LUMARO_REGISTRY_FILE", home.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    QApplication app(argc, argv);
    StartupOptions options;
    options.DefaultFontName = QStringLiteral("Arial");
    options.DefaultFontSize = 12;
    options.writeFile(home.filePath(StartupOptions::fileName()));
    QFile(home.filePath(QStringLiteral("WrdFileList.dat"))).open(QIODevice::WriteOnly);

    TFrameForm frame;
    THistoryForm history(&frame);
    frame.setHistoryForm(&history);
    frame.resize(1600, 1000);
    frame.show();
    QCoreApplication::processEvents();

    // Opening a document window: the window with its full tables, menus and toolbars, shown.
    constexpr int kWindows = 10;
    QList<double> openTimes;
    for (int i = 0; i < kWindows; ++i) {
        QElapsedTimer timer;
        timer.start();
        frame.New1Click();
        QCoreApplication::processEvents();
        openTimes.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(openTimes.begin(), openTimes.end());
    Bench::printFigure(QStringLiteral("window"), QStringLiteral("open-new-document-median"), openTimes[kWindows / 2],
        QStringLiteral("ms"));

    TEditForm *doc = frame.activeDocument();
    doc->Editor()->setPlainText(longText());
    QCoreApplication::processEvents();
    doc->UpdateStatusBar(); // the first count of this revision
    // Caret moves: each runs the selection-change handler with the status bar.
    constexpr int kMoves = 200;
    QList<double> moveTimes;
    QTextCursor cursor = doc->Editor()->textCursor();
    for (int i = 0; i < kMoves; ++i) {
        cursor.setPosition((i * 7919) % doc->Editor()->textLength());
        QElapsedTimer timer;
        timer.start();
        doc->Editor()->setTextCursor(cursor);
        doc->EditorSelectionChange();
        moveTimes.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(moveTimes.begin(), moveTimes.end());
    Bench::printFigure(QStringLiteral("window"), QStringLiteral("status-after-caret-move-median"),
        moveTimes[kMoves / 2], QStringLiteral("ms"));
    Bench::printFigure(QStringLiteral("window"), QStringLiteral("status-after-caret-move-max"), moveTimes.last(),
        QStringLiteral("ms"));
    Bench::printFigure(QStringLiteral("window"), QStringLiteral("document-pages"), 50000 / 50, QStringLiteral("pages"));

    // A keystroke changes the revision: the next status update counts the whole text once.
    QElapsedTimer recount;
    recount.start();
    doc->Editor()->textCursor().insertText(QStringLiteral("x"));
    doc->EditorSelectionChange();
    Bench::printFigure(QStringLiteral("window"), QStringLiteral("status-after-typing"), recount.nsecsElapsed() / 1e6,
        QStringLiteral("ms"));
    for (TEditForm *window : frame.documentWindows())
        window->closeWithoutQuery();
    QCoreApplication::processEvents();
    return 0;
}
