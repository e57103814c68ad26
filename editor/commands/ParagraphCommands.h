#pragma once

#include "editor/commands/Command.h"

// Paragraph formatting: alignment, indents, line spacing, headings, page breaks, bullets and numbering, and the
// paragraph dialog.
class ParagraphCommands : public CommandArea
{
public:
    QList<Command> commands() override;
};
