#include "export/RichEditPageSource.h"

#include "editor/richtext/RxRichEdit.h"
#include "platform/RichTextProperties.h"

#include <QPainter>
#include <QTextDocument>
#include <QVariant>

RichEditPageSource::RichEditPageSource(TRxRichEdit &edit)
    : m_edit(edit)
{ }

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

ExportPageSource::DocumentInfo RichEditPageSource::documentInfo() const
{
    const QTextDocument *document = m_edit.document();
    DocumentInfo info;
    info.title = document->metaInformation(QTextDocument::DocumentTitle).trimmed();
    info.author = document->property(RichText::kDocumentAuthor).toString().trimmed();
    info.subject = document->property(RichText::kDocumentSubject).toString().trimmed();
    info.keywords = document->property(RichText::kDocumentKeywords).toString().trimmed();
    return info;
}

QStringList RichEditPageSource::displayLines() const
{
    return m_edit.displayLines();
}
