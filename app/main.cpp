#include "app/CommandLine.h"
#include "app/MDIFrame.h"
#include "app/QtDialogs.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Informational options need no display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine early = CommandLine::parse(args);
    if (early.action == CommandLine::Action::ShowHelp) {
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    }
    if (early.action == CommandLine::Action::ShowVersion) {
        std::printf("%s\n", qPrintable(CommandLine::versionText()));
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora Lumaro Editor"));
    const CommandLine cl = CommandLine::parse(QApplication::arguments().mid(1));
    if (cl.action == CommandLine::Action::Error) {
        std::fprintf(stderr, "lumaro: %s\n", qPrintable(cl.error));
        return 2;
    }
    QtDialogs dialogs;
    Dialogs::setInstance(&dialogs);
    TFrameForm frame;
    dialogs.setParentWidget(&frame);
    frame.show();
    const int rc = app.exec();
    Dialogs::setInstance(nullptr);
    return rc;
}
