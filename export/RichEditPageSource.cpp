#include "export/RichEditPageSource.h"

#include "editor/richtext/RxRichEdit.h"

#include <QPainter>

RichEditPageSource::RichEditPageSource(TRxRichEdit &edit)
    : m_edit(edit)
{
}

int RichEditPageSource::textLength() const
{
    return m_edit.textLength();
}

int RichEditPageSource::renderPage(QPainter &painter, const QRect &rectTwips, int start)
{
    return m_edit.formatRange(&painter, painter.device(), rectTwips, rectTwips, start, m_edit.textLength(), true);
}

void RichEditPageSource::releaseCache()
{
    m_edit.releaseFormatCache();
}

QStringList RichEditPageSource::displayLines() const
{
    return m_edit.displayLines();
}
