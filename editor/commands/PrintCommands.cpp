#include "editor/commands/PrintCommands.h"

#include <QKeySequence>

QList<Command> PrintCommands::commands()
{
    return {
        { .name = "PrinterSetup1", .caption = QStringLiteral("P&rinter Setup..."), .icon = "document-print" },
        { .name = "PrintPreview1",
            .caption = QStringLiteral("Pr&int Preview..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P),
            .toolTip = QStringLiteral("Print Preview"),
            .statusTip = QStringLiteral("Open Print Preview."),
            .icon = "document-print-preview",
            .button = "btnPreview" },
        { .name = "Print1",
            .caption = QStringLiteral("&Print..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_P),
            .icon = "document-print" },
        { .name = "btnPrint",
            .caption = QStringLiteral("Print All"),
            .toolTip = QStringLiteral("Print All"),
            .statusTip = QStringLiteral("Print the Current Document."),
            .icon = "document-print",
            .button = "btnPrint" },
    };
}
