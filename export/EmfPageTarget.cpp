#include "export/EmfPageTarget.h"

#include "export/ExportError.h"
#include "export/ExportFileNames.h"

#include <QSaveFile>

EmfPageTarget::EmfPageTarget(const QString &base, QSize size, const EmfPaintDevice::Options &options)
    : m_base(base)
    , m_size(size)
    , m_options(options)
{
}

EmfPageTarget::~EmfPageTarget() = default;

QPaintDevice *EmfPageTarget::beginPage(int)
{
    m_page = std::make_unique<EmfPaintDevice>(m_size, m_options);
    return m_page.get();
}

void EmfPageTarget::endPage(int pageNumber, bool)
{
    const QString name = ExportFileNames::pageFile(m_base, pageNumber, QStringLiteral(".emf"));
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(QStringLiteral("Error Opening File ") + name + QStringLiteral("!"));
    if (!m_page->save(file) || !file.commit())
        throw ExportError(QStringLiteral("Error Writing File ") + name + QStringLiteral("! ") + file.errorString());
    m_page.reset();
    ++m_written;
}
