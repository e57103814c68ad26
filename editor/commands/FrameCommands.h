#pragma once

#include "editor/commands/Command.h"
#include "editor/commands/MenuLayout.h"

class TFrameForm;

// The frame's own commands: its File menu (shown while no document is active) and its Window
// menu.
class FrameCommands : public CommandArea
{
public:
    explicit FrameCommands(TFrameForm &frame);
    QList<Command> commands() override;

    static QList<MenuDefinition> menuBar();

private:
    TFrameForm &m_frame;
};
