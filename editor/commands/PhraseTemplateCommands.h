#pragma once

#include "editor/commands/Command.h"

// The user's own phrases and the template library.
class PhraseTemplateCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
