#include "export/ImagePageWriter.h"

#include "export/BmpWriter.h"
#include "export/ExportError.h"
#include "export/JpegWriter.h"
#include "export/PngWriter.h"
#include "export/ReplacingFile.h"
#include "export/TiffWriter.h"

#include <QFile>

namespace ImagePageWriter {

void write(ExportKind kind, const QImage &page, const QString &fileName)
{
    // Written by a temporary name and renamed into place; the export syncs the folder once at the
    // end instead of every page on its own.
    ReplacingFile replacing(QFile::encodeName(fileName).toStdString());
    QFile file;
    if (!replacing.open() || !file.open(replacing.fd(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
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
    if (ok && !file.flush()) {
        ok = false;
        error = file.errorString();
    }
    file.close();
    if (!ok)
        throw ExportError(error.isEmpty() ? file.errorString() : error);
    if (!replacing.commit())
        throw ExportError(QStringLiteral("Error Writing File ") + fileName + QStringLiteral("! ")
            + QString::fromLocal8Bit(replacing.error().c_str()));
}

} // namespace ImagePageWriter
