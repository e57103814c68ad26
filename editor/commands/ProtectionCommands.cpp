#include "editor/commands/ProtectionCommands.h"

#include "editor/DocumentProtection.h"

#include <QKeySequence>

ProtectionCommands::ProtectionCommands(DocumentProtection &protection)
    : m_protection(protection)
{ }

QList<Command> ProtectionCommands::commands()
{
    return {
        { .name = "ProtectDocument1", .caption = QStringLiteral("Protect Document..."),
            .shortcut = QKeySequence(Qt::Key_F10), .icon = "document-encrypt",
            .run = [this] { m_protection.ProtectDocument1Click(); } },
        { .name = "UnProtectDocument1", .caption = QStringLiteral("UnProtect Document..."),
            .shortcut = QKeySequence(Qt::Key_F11), .icon = "document-decrypt",
            .run = [this] { m_protection.UnProtectDocument1Click(); } },
    };
}
