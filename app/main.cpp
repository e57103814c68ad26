#include "app/CommandLine.h"
#include "app/MDIFrame.h"
#include "app/ProgramStart.h"
#include "app/QtDialogs.h"
#include "editor/ConversionBatch.h"
#include "app/StartupOptions.h"
#include "editor/DocumentConverter.h"
#include "editor/HeadlessPrinting.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

namespace {

// The headless conversion: the offscreen platform serves the rich text control, so no display
// is needed and no window appears.
int convert(int argc, char **argv, const CommandLine &cl)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const DocumentConverter::Format format = *DocumentConverter::format(cl.convertFormat);
    int failures = 0;
    if (qEnvironmentVariableIsSet(ConversionBatch::workerVariable())) {
        failures = ConversionBatch::runWorker(format, cl.outputDir, cl.inputFiles);
    } else {
        ConversionBatch batch(format, cl.outputDir, cl.jobs > 0 ? cl.jobs : ConversionBatch::defaultJobs());
        failures = batch.run(cl.inputFiles, stdout, stderr);
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

// Headless printing with the window's pagination and printing code.
int print(int argc, char **argv, const CommandLine &cl)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString error;
    const QString queue = HeadlessPrinting::choosePrinter(cl.printerName, &error);
    if (queue.isEmpty()) {
        std::fprintf(stderr, "lumaro: %s\n", qPrintable(error));
        return 1;
    }
    // The page margins of the startup options, when there are any.
    const StartupOptions::ReadResult read = StartupOptions::readFile();
    PageMarginsMm margins;
    if (read.status == StartupOptions::ReadResult::Status::Ok) {
        margins.top = read.options.MarginTop;
        margins.left = read.options.MarginLeft;
        margins.bottom = read.options.MarginBottom;
        margins.right = read.options.MarginRight;
    }
    HeadlessPrinting printing(queue, margins);
    int failures = 0;
    for (const QString &input : cl.inputFiles) {
        const HeadlessPrinting::Outcome outcome = printing.print(input);
        if (outcome.ok) {
            std::printf("%s -> %s (%d page%s)\n", qPrintable(input), qPrintable(queue), outcome.pages,
                outcome.pages == 1 ? "" : "s");
        } else {
            std::fprintf(stderr, "lumaro: %s\n", qPrintable(outcome.message));
            ++failures;
        }
    }
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Informational options and the conversion need no display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine early = CommandLine::parse(args);
    switch (early.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::printf("%s\n", qPrintable(CommandLine::versionText()));
        return 0;
    case CommandLine::Action::Convert:
        return convert(argc, argv, early);
    case CommandLine::Action::Print:
        return print(argc, argv, early);
    case CommandLine::Action::Error:
        // A wrong conversion command line is reported here, before anything needs a display;
        // other unknown options may still be Qt's own (-platform ...), parsed again below.
        for (const QString &arg : args) {
            if (arg.startsWith(QLatin1String("--convert-to")) || arg.startsWith(QLatin1String("--outdir"))
                || arg.startsWith(QLatin1String("--jobs")) || arg.startsWith(QLatin1String("--print"))) {
                std::fprintf(stderr, "lumaro: %s\n", qPrintable(early.error));
                return 2;
            }
        }
        break;
    case CommandLine::Action::RunEditor:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora Lumaro Editor"));
    // Toolbar and menu icons by their freedesktop names: the desktop's theme first, then the
    // theme the program installs with it, so a session without a desktop has icons too.
    QIcon::setFallbackThemeName(QStringLiteral("breeze"));
    const CommandLine cl = CommandLine::parse(QApplication::arguments().mid(1));
    if (cl.action == CommandLine::Action::Error) {
        std::fprintf(stderr, "lumaro: %s\n", qPrintable(cl.error));
        return 2;
    }
    QtDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    int rc = 0;
    {
        ProgramStart program;
        program.start(cl.documentFile.isEmpty() ? QStringList() : QStringList { cl.documentFile });
        dialogs.setParentWidget(program.frame());
        rc = app.exec();
        program.finish();
    }
    Dialogs::setInstance(nullptr);
    return rc;
}
