#pragma once

#include "editor/commands/MenuLayout.h"

// Where the document window shows its commands: the menu bar with its groups, the pop-up menus,
// the two toolbars and the side buttons, all by command and button names.
namespace DocumentLayout {

QList<MenuDefinition> menuBar();
// The editor's pop-up menu (right mouse button).
QList<MenuEntry> editorPopup();
// The paragraph pop-up (right mouse button on the strip above the text).
QList<MenuEntry> paragraphPopup();
// The special characters, dropped down by the formatting toolbar's button.
QList<MenuEntry> specialCharacterPopup();
// Paper sizes and orientation, opened by the paper icon of the side panel.
QList<MenuEntry> paperPopup();

QList<const char *> toolBar1();
QList<const char *> toolBar2();
QList<const char *> leftSideButtons();
QList<const char *> rightSideButtons();

} // namespace DocumentLayout
