#include "editor/commands/PhraseTemplateCommands.h"

#include <QKeySequence>

QList<Command> PhraseTemplateCommands::commands()
{
    return {
        { .name = "Templates1",
            .caption = QStringLiteral("Templates..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_T),
            .toolTip = QStringLiteral("Template Library..."),
            .statusTip = QStringLiteral("Template Library..."),
            .icon = "folder-templates",
            .button = "imgTemplates" },
        { .name = "CustomTextPhrases1",
            .caption = QStringLiteral("Custom Text and Phrases..."),
            .toolTip = QStringLiteral("Insert Custom Text..."),
            .statusTip = QStringLiteral("Insert Custom Text..."),
            .icon = "insert-text",
            .button = "imgCustText" },
    };
}
