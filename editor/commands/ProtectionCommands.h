#pragma once

#include "editor/commands/Command.h"

// Protecting a saved document file with a password, and unprotecting it.
class ProtectionCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
