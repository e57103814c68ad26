#include "editor/commands/SearchCommands.h"

#include <QKeySequence>

QList<Command> SearchCommands::commands()
{
    return {
        { .name = "Find1",
            .caption = QStringLiteral("Find..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_F),
            .statusTip = QStringLiteral("Find Text."),
            .icon = "edit-find" },
        { .name = "FindNext1",
            .caption = QStringLiteral("Find Next"),
            .shortcut = QKeySequence(Qt::Key_F3),
            .statusTip = QStringLiteral("Search Again."),
            .icon = "go-down-search" },
        { .name = "FindandReplace1",
            .caption = QStringLiteral("Find and Replace..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_R),
            .toolTip = QStringLiteral("Find and Replace..."),
            .statusTip = QStringLiteral("Find and Replace..."),
            .icon = "edit-find-replace",
            .button = "imgFindReplace" },
        { .name = "GotoLine1",
            .caption = QStringLiteral("Goto Line #..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_G),
            .toolTip = QStringLiteral("Go To Line..."),
            .statusTip = QStringLiteral("Go To Line..."),
            .icon = "go-jump",
            .button = "ToolButton16" },
    };
}
