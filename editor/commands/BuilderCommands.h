#pragma once

#include "editor/commands/Command.h"

// The content builders: table, character map, emoticons, dividers, equations and character art.
class BuilderCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
