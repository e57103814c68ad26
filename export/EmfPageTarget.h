#pragma once

#include "export/ExportPageTarget.h"
#include "platform/emf/EmfPaintDevice.h"

#include <QString>

#include <memory>

// Pages as enhanced metafiles: each page is recorded on a fresh metafile surface and saved as
// base + " - Page " + n + ".emf". Nothing fills the background.
class EmfPageTarget : public ExportPageTarget
{
public:
    EmfPageTarget(const QString &base, QSize size, const EmfPaintDevice::Options &options);
    ~EmfPageTarget() override;

    QPaintDevice *beginPage(int pageNumber) override;
    void endPage(int pageNumber, bool morePages) override;
    int pagesWritten() const { return m_written; }

private:
    QString m_base;
    QSize m_size;
    EmfPaintDevice::Options m_options;
    std::unique_ptr<EmfPaintDevice> m_page;
    int m_written = 0;
};
