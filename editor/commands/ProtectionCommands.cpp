#include "editor/commands/ProtectionCommands.h"

#include <QKeySequence>

QList<Command> ProtectionCommands::commands()
{
    return {
        { .name = "ProtectDocument1",
            .caption = QStringLiteral("Protect Document..."),
            .shortcut = QKeySequence(Qt::Key_F10),
            .icon = "document-encrypt" },
        { .name = "UnProtectDocument1",
            .caption = QStringLiteral("UnProtect Document..."),
            .shortcut = QKeySequence(Qt::Key_F11),
            .icon = "document-decrypt" },
    };
}
