#include "app/MenuStyle.h"

#include "app/GradientPainter.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleOptionMenuItem>

namespace {

constexpr int kMarkColumn = 18;
constexpr int kImageColumn = 26;

QColor grey(int level)
{
    return QColor(level, level, level);
}

const QList<QColor> &imageColumnColours()
{
    static const QList<QColor> c { grey(226), grey(210), grey(194), grey(185), grey(194), grey(210), grey(226) };
    return c;
}

const QList<QColor> &highlightColours()
{
    static const QList<QColor> c { grey(255), grey(255), grey(216), grey(232), grey(248), grey(200) };
    return c;
}

const QList<QColor> &menuBarHighlightColours()
{
    static const QList<QColor> c { grey(226), grey(185), grey(226) };
    return c;
}

const QList<QColor> &menuBarHintColours()
{
    static const QList<QColor> c { QColor(255, 245, 221), QColor(255, 210, 94), QColor(255, 245, 221) };
    return c;
}

QFont boldFont(QFont font)
{
    font.setBold(true);
    return font;
}

QString captionOf(const QString &text)
{
    return text.section(u'\t', 0, 0);
}

QString shortcutOf(const QString &text)
{
    return text.section(u'\t', 1);
}

int textWidth(const QFontMetrics &fm, const QString &text)
{
    return fm.horizontalAdvance(QString(text).remove(u'&'));
}

QPainterPath roundedHighlight(const QRect &r)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(r.adjusted(0, 0, 2, 0)), 5, 5);
    return path;
}

} // namespace

MenuStyle::MenuStyle() = default;

MenuStyle *MenuStyle::instance()
{
    static QPointer<MenuStyle> style;
    if (!style) {
        style = new MenuStyle;
        style->setParent(qApp);
    }
    return style;
}

QString MenuStyle::hintOf(const QStyleOptionMenuItem &item, const QWidget *menu)
{
    if (!menu)
        return {};
    const QString caption = captionOf(item.text);
    const bool separator = item.menuItemType == QStyleOptionMenuItem::Separator;
    if (separator)
        return caption;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (!action->isSeparator() && captionOf(action->text()) == caption)
            return action->statusTip();
    }
    return {};
}

int MenuStyle::itemHeight(const QFont &font, const QString &hint)
{
    const int caption = QFontMetrics(boldFont(font)).height();
    const int hintHeight = hint.isEmpty() ? 0 : QFontMetrics(font).height();
    return caption + hintHeight + 13;
}

QSize MenuStyle::sizeFromContents(
    ContentsType type, const QStyleOption *option, const QSize &size, const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (type == CT_MenuItem && item) {
        const QFont font = item->font;
        const QFontMetrics bold(boldFont(font));
        const QFontMetrics normal(font);
        const bool images = item->maxIconWidth > 0;
        const QString hint = hintOf(*item, widget);
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            if (hint.isEmpty())
                return { kImageColumn + 8, 3 };
            return { bold.horizontalAdvance(hint) + (images ? 10 : 4) + 8, bold.height() + 8 };
        }
        int width = textWidth(bold, captionOf(item->text));
        // The menu itself adds the width of the shortcut column; only the gap is ours.
        if (!shortcutOf(item->text).isEmpty())
            width += 8;
        width = std::max(width, hint.isEmpty() ? 0 : normal.horizontalAdvance(hint)) + 8;
        if (images)
            width += kImageColumn;
        else if (item->menuHasCheckableItems)
            width += kMarkColumn;
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
            width += 12;
        return { width, itemHeight(font, hint) };
    }
    if (type == CT_MenuBarItem && item) {
        const QFontMetrics bold(boldFont(item->font));
        return { textWidth(bold, item->text) + 16, bold.height() + 8 };
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
        return 0;
    case PM_MenuVMargin:
        return 1;
    case PM_MenuBarPanelWidth:
        return 0;
    case PM_MenuBarItemSpacing:
        return 2;
    case PM_MenuBarHMargin:
        return 2;
    case PM_MenuBarVMargin:
        return 1;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void MenuStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_PanelMenu:
    case PE_FrameMenu:
        painter->fillRect(option->rect, grey(243));
        painter->setPen(grey(181));
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        return;
    case PE_PanelMenuBar:
        painter->fillRect(option->rect, grey(243));
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void MenuStyle::drawControl(
    ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    switch (element) {
    case CE_MenuItem:
        if (item) {
            painter->save();
            if (item->menuItemType == QStyleOptionMenuItem::Separator)
                drawSeparator(*item, painter, widget);
            else
                drawMenuItem(*item, painter, widget);
            painter->restore();
            return;
        }
        break;
    case CE_MenuEmptyArea:
        painter->fillRect(option->rect, grey(243));
        return;
    case CE_MenuBarItem:
        if (item) {
            painter->save();
            drawMenuBarItem(*item, painter, widget);
            painter->restore();
            return;
        }
        break;
    case CE_MenuBarEmptyArea:
        painter->fillRect(option->rect, grey(243));
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void MenuStyle::drawSeparator(const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const
{
    const QRect r = item.rect;
    const bool images = item.maxIconWidth > 0;
    const QString heading = hintOf(item, widget);
    if (!heading.isEmpty()) {
        painter->fillRect(r, grey(216));
        painter->setFont(boldFont(item.font));
        painter->setPen(Qt::black);
        painter->drawText(r.adjusted(images ? 10 : 4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, heading);
        return;
    }
    painter->fillRect(r, grey(243));
    painter->setPen(grey(181));
    const int y = r.bottom() - 2;
    if (!images) {
        // A menu without images has no column to continue.
        painter->drawLine(r.left() + 4, y, r.right() - 4, y);
        return;
    }
    GradientPainter::fill(
        *painter, QRect(r.left(), r.top(), kImageColumn, r.height()), imageColumnColours(), Qt::Horizontal);
    painter->drawLine(r.left() + kImageColumn, y, r.right(), y);
}

void MenuStyle::drawMenuItem(const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const
{
    const QRect r = item.rect;
    const bool images = item.maxIconWidth > 0;
    const bool enabled = item.state & State_Enabled;
    const bool selected = (item.state & State_Selected) && enabled;
    const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    const QString hint = hintOf(item, widget);
    const QFont bold = boldFont(item.font);
    const int captionHeight = QFontMetrics(bold).height();

    painter->fillRect(r, grey(243));
    const QRect column(r.left(), r.top(), kImageColumn, r.height());
    if (images)
        GradientPainter::fill(*painter, column, imageColumnColours(), Qt::Horizontal);

    if (selected) {
        painter->save();
        const QPainterPath outline = roundedHighlight(r.adjusted(1, 0, -2, -1));
        painter->setClipPath(outline);
        if (hint.isEmpty()) {
            GradientPainter::fill(*painter, r, highlightColours(), Qt::Vertical);
        } else {
            const QRect band(r.left(), r.top(), r.width() + 2, captionHeight + 8);
            GradientPainter::fill(*painter, band, highlightColours(), Qt::Vertical);
            GradientPainter::fill(*painter,
                QRect(r.left(), band.bottom() + 1, r.width() + 2, r.bottom() - band.bottom()), highlightColours(),
                Qt::Vertical);
        }
        painter->setClipping(false);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(grey(181));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(outline);
        painter->restore();
    }

    if (checked && images) {
        GradientPainter::fill(*painter, column.adjusted(1, 1, -1, -1), highlightColours(), Qt::Vertical);
        painter->setPen(grey(158));
        painter->drawRect(column.adjusted(1, 1, -2, -2));
        if (item.icon.isNull()) {
            QStyleOptionMenuItem mark = item;
            mark.rect = QRect(column.center().x() - 6, column.center().y() - 6, 13, 13);
            mark.state |= State_On;
            QProxyStyle::drawPrimitive(PE_IndicatorMenuCheckMark, &mark, painter, widget);
        }
    }
    if (!item.icon.isNull()) {
        const QPixmap pixmap = item.icon.pixmap(QSize(16, 16), enabled ? QIcon::Normal : QIcon::Disabled);
        painter->drawPixmap(r.left() + 4, r.top() + 5, pixmap);
    }

    // Menus without images keep a narrow column for check and radio marks when they have any.
    const bool marks = !images && item.menuHasCheckableItems;
    if (checked && marks) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QRect box(r.left() + 5, r.top() + 6, 11, 11);
        if (item.checkType == QStyleOptionMenuItem::Exclusive) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(enabled ? QColor(Qt::black) : grey(192));
            painter->drawEllipse(box.adjusted(2, 2, -2, -2));
        } else {
            QPen pen(enabled ? QColor(Qt::black) : grey(192), 2);
            painter->setPen(pen);
            painter->drawPolyline(QPolygon({ QPoint(box.left() + 1, box.top() + 6), QPoint(box.left() + 4, box.bottom() - 1),
                QPoint(box.right(), box.top() + 1) }));
        }
        painter->restore();
    }
    const int left = r.left() + (images ? 30 : (marks ? 4 + kMarkColumn : 4));
    const int right = r.right() - 4;
    const QColor textColour = enabled ? QColor(Qt::black) : grey(192);
    painter->setPen(textColour);
    painter->setFont(bold);
    const QRect captionRect(left, r.top() + 6, right - left, captionHeight);
    painter->drawText(captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, captionOf(item.text));
    const QString shortcut = shortcutOf(item.text);
    if (!shortcut.isEmpty()) {
        painter->setFont(item.font);
        painter->drawText(captionRect, Qt::AlignRight | Qt::AlignTop, shortcut);
    }
    if (!hint.isEmpty()) {
        painter->setFont(item.font);
        painter->drawText(
            QRect(left, r.top() + captionHeight + 10, right - left, r.height()), Qt::AlignLeft | Qt::AlignTop, hint);
    }
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = item;
        arrow.rect = QRect(r.right() - 12, r.top() + (r.height() - 8) / 2, 8, 8);
        QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
    }
}

void MenuStyle::drawMenuBarItem(const QStyleOptionMenuItem &item, QPainter *painter, const QWidget *widget) const
{
    const QRect r = item.rect;
    const bool enabled = item.state & State_Enabled;
    const bool selected = enabled && (item.state & (State_Selected | State_Sunken));
    const QFont bold = boldFont(item.font);
    const int captionHeight = QFontMetrics(bold).height();
    painter->fillRect(r, grey(243));
    if (selected) {
        const QPainterPath outline = roundedHighlight(r.adjusted(0, 0, -3, -1));
        painter->setClipPath(outline);
        GradientPainter::fill(*painter, r, menuBarHighlightColours(), Qt::Vertical);
        if (!hintOf(item, widget).isEmpty()) {
            const QRect band(
                r.left(), r.top() + captionHeight + 4, r.width(), r.bottom() - r.top() - captionHeight - 3);
            GradientPainter::fill(*painter, band, menuBarHintColours(), Qt::Vertical);
        }
        painter->setClipping(false);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(grey(181));
        painter->drawPath(outline);
    }
    if (!item.icon.isNull())
        painter->drawPixmap(r.left() + 4, r.top() + 2, item.icon.pixmap(QSize(16, 16)));
    painter->setFont(bold);
    painter->setPen(enabled ? QColor(Qt::black) : grey(192));
    painter->drawText(QRect(r.left(), r.top(), r.width(), std::max(r.height(), captionHeight)),
        Qt::AlignCenter | Qt::TextShowMnemonic, item.text);
}
