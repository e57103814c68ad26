#pragma once

#include "editor/commands/Command.h"

// The spelling check, the help pages, the About box, the launchers of the maker's other programs and the e-mail
// hand-off.
class SpellingHelpCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
