#include "editor/commands/CommandRegistry.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QPointer>
#include <QWidget>

CommandRegistry::CommandRegistry(QWidget *window, ShortcutScope scope)
    : QObject(window)
    , m_window(window)
    , m_scope(scope)
{ }

CommandRegistry::~CommandRegistry() = default;

void CommandRegistry::add(CommandArea &area)
{
    const QList<Command> commands = area.commands();
    for (const Command &command : commands)
        add(command);
}

void CommandRegistry::add(const Command &command)
{
    Q_ASSERT(command.name);
    const QString name = QString::fromLatin1(command.name);
    Q_ASSERT_X(!m_byName.contains(name), "CommandRegistry::add", command.name);

    auto *action = new QAction(command.caption, m_window);
    action->setObjectName(name);
    action->setShortcut(command.shortcut);
    if (m_scope == ShortcutScope::Window)
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setToolTip(command.toolTip.isEmpty() ? QString(command.caption).remove(QLatin1Char('&')) : command.toolTip);
    action->setStatusTip(command.statusTip);
    if (command.icon)
        action->setIcon(QIcon::fromTheme(QString::fromLatin1(command.icon)));
    action->setIconVisibleInMenu(false);
    if (command.kind != Command::Kind::Plain)
        action->setCheckable(true);
    if (command.kind == Command::Kind::Exclusive) {
        QActionGroup *&group = m_groups[command.exclusiveGroup];
        if (!group) {
            group = new QActionGroup(this);
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
        group->addAction(action);
    }
    const int index = int(m_commands.size());
    if (command.run) {
        // A checkable action flips its own mark before the handler runs; the command's rule puts
        // the mark right again afterwards (a refused change shows as not done). The handler may
        // close the window, so the registry is guarded.
        connect(action, &QAction::triggered, this, [this, index]() {
            const QPointer<CommandRegistry> guard(this);
            const std::function<void()> run = m_commands[index].run;
            run();
            if (guard)
                refreshOne(index);
        });
    }
    // The shortcut works while the focus is anywhere in the window, also when the action sits
    // only in a menu of the frame's menu bar.
    if (!command.shortcut.isEmpty() && m_scope == ShortcutScope::Window)
        m_window->addAction(action);

    m_commands.append(command);
    m_actions.append(action);
    m_byName.insert(name, index);
    if (command.button)
        m_byButton.insert(QString::fromLatin1(command.button), index);
    refreshOne(index);
}

QAction *CommandRegistry::action(QStringView name) const
{
    const int index = m_byName.value(name.toString(), -1);
    return index < 0 ? nullptr : m_actions[index];
}

const Command *CommandRegistry::command(QStringView name) const
{
    const int index = m_byName.value(name.toString(), -1);
    return index < 0 ? nullptr : &m_commands[index];
}

QAction *CommandRegistry::actionForButton(QStringView buttonName) const
{
    const int index = m_byButton.value(buttonName.toString(), -1);
    return index < 0 ? nullptr : m_actions[index];
}

QStringList CommandRegistry::unbuiltCommands() const
{
    QStringList names;
    for (const Command &command : m_commands) {
        if (!command.run)
            names.append(QString::fromLatin1(command.name));
    }
    return names;
}

void CommandRegistry::refresh()
{
    for (int i = 0; i < m_commands.size(); ++i)
        refreshOne(i);
}

void CommandRegistry::refresh(const QStringList &names)
{
    for (const QString &name : names) {
        const int index = m_byName.value(name, -1);
        if (index >= 0)
            refreshOne(index);
    }
}

void CommandRegistry::refreshOne(int index)
{
    const Command &command = m_commands[index];
    QAction *action = m_actions[index];
    const bool enabled = command.run && (!command.enabled || command.enabled());
    if (action->isEnabled() != enabled)
        action->setEnabled(enabled);
    if (command.checked) {
        const bool checked = command.checked();
        if (action->isChecked() != checked)
            action->setChecked(checked);
    }
    if (command.dynamicCaption) {
        const QString caption = command.dynamicCaption();
        if (action->text() != caption)
            action->setText(caption);
    }
}
