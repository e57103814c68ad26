#include "editor/commands/BuilderCommands.h"

QList<Command> BuilderCommands::commands()
{
    return {
        { .name = "Table1",
            .caption = QStringLiteral("Table..."),
            .toolTip = QStringLiteral("Insert Table"),
            .statusTip = QStringLiteral("Insert Customized Table."),
            .icon = "insert-table",
            .button = "btnTable" },
        { .name = "FromCharacterMap1",
            .caption = QStringLiteral("From Character Map..."),
            .toolTip = QStringLiteral("Character Map"),
            .statusTip = QStringLiteral("Insert From Character Map..."),
            .icon = "accessories-character-map",
            .button = "ToolButton13" },
        { .name = "EmotionalIcons1", .caption = QStringLiteral("Emotional Icon..."), .icon = "face-smile" },
        { .name = "ParagraphDivider1",
            .caption = QStringLiteral("Paragraph Divider..."),
            .icon = "insert-horizontal-rule" },
        { .name = "FromEquationBuilder1",
            .caption = QStringLiteral("From Equation Builder..."),
            .icon = "insert-math-expression" },
        { .name = "CreativeCharacters1",
            .caption = QStringLiteral("Colourful Character Art..."),
            .icon = "insert-text" },
    };
}
