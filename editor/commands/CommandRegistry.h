#pragma once

#include "editor/commands/Command.h"

#include <QHash>
#include <QList>
#include <QObject>

class QAction;
class QActionGroup;
class QWidget;

// The actions of one document window, one per command, made from the tables of its command
// classes and found by name. Menus, toolbars, side buttons and pop-up menus are built from these
// actions (DocumentLayout), so a command shows the same state wherever it appears.
//
// Enabling, check marks and changing captions are computed from each command's rules by refresh(),
// which the window calls when a menu opens, on selection change and after every text change. A
// command without a handler stays disabled.
class CommandRegistry : public QObject
{
    Q_OBJECT
public:
    enum class ShortcutScope {
        // Shortcuts work while the focus is inside the window, so several document windows in
        // one frame never compete for a key.
        Window,
        // Shortcuts work while the actions' menus are in the active window's menu bar (the
        // frame's own menus, which a document window's menus replace while it is active).
        Menus,
    };

    // Actions are children of `window`.
    explicit CommandRegistry(QWidget *window, ShortcutScope scope = ShortcutScope::Window);
    ~CommandRegistry() override;

    void add(CommandArea &area);
    void add(const Command &command);

    QAction *action(QStringView name) const;
    const Command *command(QStringView name) const;
    // The command shown by the toolbar or side button of that name.
    QAction *actionForButton(QStringView buttonName) const;
    QList<QAction *> actions() const { return m_actions; }
    // Names of the commands that have no handler yet, in table order.
    QStringList unbuiltCommands() const;

    // Applies every command's enabling, check and caption rules.
    void refresh();
    // Applies the rules of the named commands only.
    void refresh(const QStringList &names);

private:
    void refreshOne(int index);

    QWidget *m_window = nullptr;
    ShortcutScope m_scope = ShortcutScope::Window;
    QList<Command> m_commands;
    QList<QAction *> m_actions;
    QHash<QString, int> m_byName;
    QHash<QString, int> m_byButton;
    QHash<int, QActionGroup *> m_groups;
};
