#pragma once

#include <QList>
#include <QString>

class CommandRegistry;
class QMenu;
class QToolBar;
class QWidget;

// Menus, pop-up menus and toolbars described by the names of their commands; the commands
// themselves come from a CommandRegistry, so one action serves every place that shows it.
struct MenuEntry
{
    enum class Kind { Command, Separator, Submenu };

    Kind kind = Kind::Command;
    const char *name = nullptr; // the command, or the submenu's object name
    QString caption; // the submenu's caption, or the separator's heading (may be empty)
    QList<MenuEntry> items; // of a submenu

    static MenuEntry command(const char *name) { return { Kind::Command, name, {}, {} }; }
    static MenuEntry separator(const QString &heading = {}) { return { Kind::Separator, nullptr, heading, {} }; }
    static MenuEntry submenu(const QString &caption, const char *name, const QList<MenuEntry> &items)
    {
        return { Kind::Submenu, name, caption, items };
    }
};

struct MenuDefinition
{
    QString caption;
    const char *name = nullptr;
    int group = 0; // for merging into the frame's menu bar
    QList<MenuEntry> items;
};

namespace MenuLayout {

// A menu (a child of parent) showing the registry's actions. Every submenu gets its object name,
// and so does the action that opens it. An unknown command name is a programming error.
QMenu *buildMenu(const CommandRegistry &registry, const QString &caption, const char *name,
    const QList<MenuEntry> &items, QWidget *parent);

// Toolbar buttons by their object names (nullptr: a separator). Each button shows the action of
// the command that names it as its button, and carries the button's own object name. Names that
// `widgetFor` gives a widget for (the font boxes) become that widget.
template <class WidgetFactory>
void addButtons(
    const CommandRegistry &registry, QToolBar *bar, const QList<const char *> &buttons, WidgetFactory &&widgetFor);
void addButton(const CommandRegistry &registry, QToolBar *bar, const char *buttonName);

} // namespace MenuLayout

#include <QToolBar>

template <class WidgetFactory>
void MenuLayout::addButtons(
    const CommandRegistry &registry, QToolBar *bar, const QList<const char *> &buttons, WidgetFactory &&widgetFor)
{
    for (const char *name : buttons) {
        if (!name) {
            bar->addSeparator();
            continue;
        }
        if (QWidget *widget = widgetFor(name)) {
            bar->addWidget(widget);
            continue;
        }
        addButton(registry, bar, name);
    }
}
