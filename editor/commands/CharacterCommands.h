#pragma once

#include "editor/commands/Command.h"

// Character formatting: font and size, styles, underline types and colours, colours, effects, case, direction, the font
// dialog and the format painter.
class CharacterCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
