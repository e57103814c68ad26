#pragma once

#include <QList>

class QMenu;

// One menu of a main menu with its group number.
struct MenuGroup
{
    int group = 0;
    QMenu *menu = nullptr;
};

// The frame's menu bar while a document window is active: the document's menus of a group
// replace the frame's menus of the same group; all menus stand in ascending group order, and
// within a group in their own order.
class MenuMerger
{
public:
    static QList<QMenu *> merged(const QList<MenuGroup> &frame, const QList<MenuGroup> &child);
};
