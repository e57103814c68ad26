#pragma once

#include "editor/commands/Command.h"

// Word count, rich text code view, document statistics, online storage and web tools, scanner input, font smoothing,
// the window selector and the startup options.
class ToolCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
