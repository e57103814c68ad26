#pragma once

#include "editor/commands/Command.h"

// Find, Find Next, Find and Replace and Go to line.
class SearchCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
