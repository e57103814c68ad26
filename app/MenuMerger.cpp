#include "app/MenuMerger.h"

#include <QSet>

#include <algorithm>

QList<QMenu *> MenuMerger::merged(const QList<MenuGroup> &frame, const QList<MenuGroup> &child)
{
    QSet<int> childGroups;
    for (const MenuGroup &g : child)
        childGroups.insert(g.group);
    QList<MenuGroup> all;
    for (const MenuGroup &g : frame) {
        if (!childGroups.contains(g.group))
            all.append(g);
    }
    all.append(child);
    std::stable_sort(all.begin(), all.end(), [](const MenuGroup &a, const MenuGroup &b) { return a.group < b.group; });
    QList<QMenu *> menus;
    for (const MenuGroup &g : all)
        menus.append(g.menu);
    return menus;
}
