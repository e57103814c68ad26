#pragma once

#include "editor/commands/Command.h"

class DocumentProtection;

// Protecting a saved document file with a password, and unprotecting it.
class ProtectionCommands : public CommandArea
{
public:
    explicit ProtectionCommands(DocumentProtection &protection);
    QList<Command> commands() override;

private:
    DocumentProtection &m_protection;
};
