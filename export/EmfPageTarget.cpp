#include "export/EmfPageTarget.h"

#include "export/ExportError.h"
#include "export/ExportFileNames.h"
#include "export/ReplacingFile.h"

#include <QFile>

EmfPageTarget::EmfPageTarget(const QString &base, QSize size, const EmfPaintDevice::Options &options)
    : m_base(base)
    , m_size(size)
    , m_options(options)
{ }

EmfPageTarget::~EmfPageTarget() = default;

QPaintDevice *EmfPageTarget::beginPage(int)
{
    m_page = std::make_unique<EmfPaintDevice>(m_size, m_options);
    return m_page.get();
}

void EmfPageTarget::endPage(int pageNumber, bool)
{
    const QString name = ExportFileNames::pageFile(m_base, pageNumber, QStringLiteral(".emf"));
    ReplacingFile replacing(QFile::encodeName(name).toStdString());
    QFile file;
    if (!replacing.open() || !file.open(replacing.fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        throw ExportError(QStringLiteral("Error Opening File ") + name + QStringLiteral("!"));
    const bool saved = m_page->save(file) && file.flush();
    const QString reason = file.errorString();
    file.close();
    if (!saved || !replacing.commit())
        throw ExportError(QStringLiteral("Error Writing File ") + name + QStringLiteral("! ")
            + (saved ? QString::fromLocal8Bit(replacing.error().c_str()) : reason));
    m_page.reset();
    ++m_written;
}
