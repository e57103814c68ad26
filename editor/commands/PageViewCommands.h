#pragma once

#include "editor/commands/Command.h"

// The page views beside the text (print, PDF and image thumbnails) and the paper commands.
class PageViewCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
