#include "editor/commands/MenuLayout.h"

#include "app/MenuStyle.h"
#include "editor/commands/CommandRegistry.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

QMenu *MenuLayout::buildMenu(const CommandRegistry &registry, const QString &caption, const char *name,
    const QList<MenuEntry> &items, QWidget *parent)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    menu->setStyle(MenuStyle::instance());
    menu->setToolTipsVisible(false);
    for (const MenuEntry &entry : items) {
        switch (entry.kind) {
        case MenuEntry::Kind::Separator: {
            QAction *separator = menu->addSeparator();
            separator->setText(entry.caption);
            separator->setStatusTip(entry.caption);
            break;
        }
        case MenuEntry::Kind::Submenu:
            menu->addMenu(buildMenu(registry, entry.caption, entry.name, entry.items, menu));
            break;
        case MenuEntry::Kind::Command: {
            QAction *action = registry.action(QString::fromLatin1(entry.name));
            Q_ASSERT_X(action, "MenuLayout::buildMenu", entry.name);
            if (action)
                menu->addAction(action);
            break;
        }
        }
    }
    return menu;
}

void MenuLayout::addButton(const CommandRegistry &registry, QToolBar *bar, const char *buttonName)
{
    QAction *action = registry.actionForButton(QString::fromLatin1(buttonName));
    Q_ASSERT_X(action, "MenuLayout::addButton", buttonName);
    if (!action)
        return;
    bar->addAction(action);
    if (QWidget *button = bar->widgetForAction(action))
        button->setObjectName(QString::fromLatin1(buttonName));
}
