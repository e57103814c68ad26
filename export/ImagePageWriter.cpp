#include "export/ImagePageWriter.h"

#include "export/BmpWriter.h"
#include "export/ExportError.h"
#include "export/JpegWriter.h"
#include "export/PngWriter.h"
#include "export/TiffWriter.h"

#include <QSaveFile>

namespace ImagePageWriter {

void write(ExportKind kind, const QImage &page, const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(QStringLiteral("Error Opening File ") + fileName + QStringLiteral("!"));
    bool ok = false;
    QString error;
    switch (kind) {
    case ExportKind::Bmp: {
        BmpWriter writer;
        ok = writer.write(file, page);
        error = writer.errorString();
        break;
    }
    case ExportKind::Png: {
        PngWriter writer;
        ok = writer.write(file, page, PngWriter::pageTransparentColor());
        error = writer.errorString();
        break;
    }
    case ExportKind::Jpeg: {
        JpegWriter writer;
        ok = writer.write(file, page, 100);
        error = writer.errorString();
        break;
    }
    case ExportKind::Tiff: {
        TiffWriter writer;
        ok = writer.write(file, page);
        error = writer.errorString();
        break;
    }
    default:
        error = QStringLiteral("Not a page image format.");
        break;
    }
    if (!ok) {
        file.cancelWriting();
        throw ExportError(error.isEmpty() ? file.errorString() : error);
    }
    if (!file.commit())
        throw ExportError(QStringLiteral("Error Writing File ") + fileName + QStringLiteral("! ") + file.errorString());
}

} // namespace ImagePageWriter
