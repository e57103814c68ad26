#pragma once

#include "editor/commands/Command.h"

class TEditForm;

// The document window's file commands: New, Open, Close, the saves, the exports, the history,
// Last Opened Document, Exit and the startup options editor. They reach the frame through the
// window.
class FileCommands : public CommandArea
{
public:
    explicit FileCommands(TEditForm &window);

    QList<Command> commands() override;

    void New1Click();
    void Open1Click();
    void Close1Click();
    void Save1Click();
    void Saveas1Click();
    void Saveselectedas1Click();
    void DocumentHistory1Click();
    void ToolButton18Click();
    void Exit1Click();
    void VelmoraLumaroStartupOptions1Click();

private:
    TEditForm &m_window;
};
