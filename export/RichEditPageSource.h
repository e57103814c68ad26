#pragma once

#include "export/ExportPageSource.h"

class TRxRichEdit;

// The rich text control as the exports' page source: pages are its format range requests, the
// rectangle serving as render and page rectangle, the painter's device also measuring.
class RichEditPageSource : public ExportPageSource
{
public:
    explicit RichEditPageSource(TRxRichEdit &edit);

    int textLength() const override;
    int renderPage(QPainter &painter, const QRect &rectTwips, int start) override;
    void releaseCache() override;
    QStringList displayLines() const override;
    DocumentInfo documentInfo() const override;

private:
    TRxRichEdit &m_edit;
};
