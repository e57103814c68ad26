#pragma once

#include "editor/commands/Command.h"

// Printer setup, print preview and printing.
class PrintCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
