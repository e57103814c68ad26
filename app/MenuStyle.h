#pragma once

#include <QProxyStyle>

class QAction;
class QStyleOptionMenuItem;

// The owner-drawn look of every menu of the program (frame and document windows alike), painted
// over the application's style:
//
// - drop-down items on grey 243: the caption in bold, its shortcut right-aligned on the same line,
//   the item's hint (its status tip) in normal weight below; a 26-pixel image column with a grey
//   gradient when the menu has images; the selected item in a rounded, outlined highlight
//   gradient;
// - separators: a separator whose hint (text) is not empty is a bold section heading on grey 216,
//   others a thin grey line;
// - menu-bar items: bold captions with a rounded grey gradient when selected.
//
// Item sizes follow the text: height = bold caption height + hint height + 13 pixels.
class MenuStyle : public QProxyStyle
{
    Q_OBJECT
public:
    MenuStyle();

    // The one instance the program's menus share; it lives as long as the application.
    static MenuStyle *instance();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
        const QWidget *widget = nullptr) const override;
    int pixelMetric(
        PixelMetric metric, const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override;

    // The hint shown under an item's caption (for a separator: its heading), found from the
    // option's text among the menu's actions.
    static QString hintOf(const QStyleOptionMenuItem &item, const QWidget *menu);
    // The height of a drop-down item with the given texts in a font.
    static int itemHeight(const QFont &font, const QString &hint);

private:
    void drawMenuItem(const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const;
    void drawSeparator(const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const;
    void drawMenuBarItem(const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const;
};
