#pragma once

#include "app/MenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <optional>

// Menus and toolbars built from tables that list their items in order, as the windows declare
// them: caption, object name, shortcut, hint, handler. Every action and button gets its object
// name, so it can be found by name (findChild<QAction *>("Save1")).
namespace CommandTable {

template <class Owner> struct MenuItem
{
    MenuItem(QString caption, const char *name, QKeySequence shortcut, QString hint, void (Owner::*handler)(),
        std::optional<QStyle::StandardPixmap> icon, QList<MenuItem> items = {})
        : caption(std::move(caption))
        , name(name)
        , shortcut(std::move(shortcut))
        , hint(std::move(hint))
        , handler(handler)
        , icon(icon)
        , items(std::move(items))
    { }

    QString caption; // empty: a separator, headed by the hint when that is not empty
    const char *name = nullptr;
    QKeySequence shortcut;
    QString hint;
    void (Owner::*handler)() = nullptr;
    std::optional<QStyle::StandardPixmap> icon;
    QList<MenuItem> items; // not empty: the item opens a submenu of these

    static MenuItem separator(const QString &heading = {}) { return { QString(), nullptr, {}, heading, nullptr, {} }; }
    // A submenu named `name` (its QMenu and the action that opens it).
    static MenuItem submenu(const QString &caption, const char *name, const QList<MenuItem> &items)
    {
        return { caption, name, {}, {}, nullptr, {}, items };
    }
};

template <class Owner> struct Button
{
    const char *name = nullptr; // nullptr: a separator
    QString shortHint; // the tool tip
    QString longHint; // the status bar text
    void (Owner::*handler)() = nullptr;
    std::optional<QStyle::StandardPixmap> icon;
    QString text; // shown when there is no icon
};

inline QIcon standardIcon(std::optional<QStyle::StandardPixmap> icon)
{
    return icon ? QApplication::style()->standardIcon(*icon) : QIcon();
}

// A menu (owned by owner) with its items; menu-level object name `name`.
template <class Owner>
QMenu *buildMenu(Owner *owner, const QString &title, const char *name, const QList<MenuItem<Owner>> &items)
{
    auto *menu = new QMenu(title, owner);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setStyle(MenuStyle::instance());
    menu->setToolTipsVisible(false);
    for (const MenuItem<Owner> &item : items) {
        if (item.caption.isEmpty()) {
            QAction *separator = menu->addSeparator();
            separator->setText(item.hint);
            separator->setStatusTip(item.hint);
            continue;
        }
        if (!item.items.isEmpty()) {
            QMenu *sub = buildMenu(owner, item.caption, item.name, item.items);
            sub->menuAction()->setObjectName(QString::fromLatin1(item.name));
            sub->menuAction()->setStatusTip(item.hint);
            menu->addMenu(sub);
            continue;
        }
        auto *action = new QAction(standardIcon(item.icon), item.caption, owner);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.shortcut);
        action->setStatusTip(item.hint);
        if (item.handler)
            QObject::connect(action, &QAction::triggered, owner, item.handler);
        menu->addAction(action);
    }
    return menu;
}

template <class Owner> void addButtons(Owner *owner, QToolBar *bar, const QList<Button<Owner>> &buttons)
{
    for (const Button<Owner> &b : buttons) {
        if (!b.name) {
            bar->addSeparator();
            continue;
        }
        auto *action = new QAction(standardIcon(b.icon), b.text.isEmpty() ? b.shortHint : b.text, owner);
        action->setObjectName(QString::fromLatin1(b.name));
        action->setToolTip(b.shortHint);
        action->setStatusTip(b.longHint);
        if (b.handler)
            QObject::connect(action, &QAction::triggered, owner, b.handler);
        bar->addAction(action);
        if (QWidget *button = bar->widgetForAction(action))
            button->setObjectName(QString::fromLatin1(b.name));
    }
}

} // namespace CommandTable
