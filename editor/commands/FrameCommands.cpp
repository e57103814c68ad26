#include "editor/commands/FrameCommands.h"

#include "app/MDIFrame.h"

#include <QKeySequence>

FrameCommands::FrameCommands(TFrameForm &frame)
    : m_frame(frame)
{ }

QList<Command> FrameCommands::commands()
{
    TFrameForm &f = m_frame;
    const auto anyDocument = [&f] { return f.documentCount() > 0; };
    return {
        { .name = "New1",
            .caption = QStringLiteral("&New"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_N),
            .statusTip = QStringLiteral("Start a New Document."),
            .icon = "document-new",
            .run = [&f] { f.New1Click(); } },
        { .name = "Open1",
            .caption = QStringLiteral("&Open..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_O),
            .statusTip = QStringLiteral("Open an Existing Document."),
            .icon = "document-open",
            .run = [&f] { f.Open1Click(); } },
        { .name = "DocumentHistory1",
            .caption = QStringLiteral("Document History..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_H),
            .statusTip = QStringLiteral("Open Document History."),
            .icon = "document-open-recent",
            .run = [&f] { f.DocumentHistory1Click(); } },
        { .name = "Exit1",
            .caption = QStringLiteral("E&xit"),
            .icon = "application-exit",
            .run = [&f] { f.Exit1Click(); } },
        { .name = "TileVertically1",
            .caption = QStringLiteral("&Tile Vertically"),
            .statusTip = QStringLiteral("Tile all forms vertical."),
            .run = [&f] { f.TileVertically1Click(); },
            .enabled = anyDocument },
        { .name = "TileHorizontally1",
            .caption = QStringLiteral("Tile &Horizontally"),
            .statusTip = QStringLiteral("Tile all forms horizontal."),
            .run = [&f] { f.TileHorizontally1Click(); },
            .enabled = anyDocument },
        { .name = "FlipThroughTop2Documents1",
            .caption = QStringLiteral("Flip To Last Active Document"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_F7),
            .run = [&f] { f.FlipThroughTop2Documents1Click(); } },
        { .name = "StepThroughAllDocuments1",
            .caption = QStringLiteral("Step To Next Document"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_F8),
            .run = [&f] { f.StepThroughAllDocuments1Click(); } },
        { .name = "CloseAllDocuments1",
            .caption = QStringLiteral("Clo&se All Documents"),
            .run = [&f] { f.CloseAllDocuments1Click(); } },
        { .name = "CloseCurrentDocument1",
            .caption = QStringLiteral("C&lose Current Document"),
            .run = [&f] { f.CloseCurrentDocument1Click(); },
            .enabled = anyDocument },
    };
}

QList<MenuDefinition> FrameCommands::menuBar()
{
    using E = MenuEntry;
    return {
        { QStringLiteral("&File"), "FrameFile1", 0,
            { E::command("New1"), E::command("Open1"), E::command("DocumentHistory1"), E::separator(),
                E::command("Exit1") } },
        { QStringLiteral("&Window"), "Window1", 9,
            { E::command("TileVertically1"), E::command("TileHorizontally1"),
                E::separator(QStringLiteral("Document Viewing Actions")), E::command("FlipThroughTop2Documents1"),
                E::command("StepThroughAllDocuments1"), E::separator(), E::command("CloseAllDocuments1"),
                E::command("CloseCurrentDocument1") } },
    };
}
