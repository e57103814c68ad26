#pragma once

#include "export/ExportFormats.h"

#include <QImage>
#include <QString>

// Writes one page bitmap to a file in the format of a per-page image export (BMP, PNG with the
// F7F7F7 key colour transparent, JPEG at quality 100, TIFF). The file is replaced only once the
// new one is complete. Failures are raised as ExportError.
namespace ImagePageWriter {

void write(ExportKind kind, const QImage &page, const QString &fileName);

} // namespace ImagePageWriter
