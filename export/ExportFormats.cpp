#include "export/ExportFormats.h"

namespace ExportFormats {

QList<QPair<QString, QString>> dialogFilters()
{
    return {
        { QStringLiteral("Portable Document Format (*.pdf)"), QStringLiteral("*.pdf") },
        { QStringLiteral("Portable Document Format - Text Only (*.pdf)"), QStringLiteral("*.pdf") },
        { QStringLiteral("Windows Bitmap (*.bmp)"), QStringLiteral("*.bmp") },
        { QStringLiteral("Windows Enhanced Metafile (*.emf)"), QStringLiteral("*.emf") },
        { QStringLiteral("Portable Network Graphic (*.png)"), QStringLiteral("*.png") },
        { QStringLiteral("JPEG File (*.jpg)"), QStringLiteral("*.jpg") },
        { QStringLiteral("Tagged Information File Format (*.tiff)"), QStringLiteral("*.tiff") },
        { QStringLiteral("Graphics Interchange Format (*.gif)"), QStringLiteral("*.gif") },
        { QStringLiteral("Velmora Presentation File Format (*.vmp)"), QStringLiteral("*.vmp") },
    };
}

ExportFormatInfo info(ExportKind kind)
{
    switch (kind) {
    case ExportKind::Pdf:
        return { kind, 1, QStringLiteral("Export Document As PDF"), QStringLiteral(" - PDF"), QStringLiteral(".pdf"),
            QImage::Format_RGB32 };
    case ExportKind::PdfSearchable:
        // Shares the first filter of the dialog: it writes a PDF as well.
        return { kind, 1, QStringLiteral("Export Document As Searchable PDF"), QStringLiteral(" - PDF"),
            QStringLiteral(".pdf"), QImage::Format_RGB32 };
    case ExportKind::PdfText:
        return { kind, 2, QStringLiteral("Export Document As PDF (Text Only)"), QStringLiteral(" - PDF"),
            QStringLiteral(".pdf"), QImage::Format_RGB32 };
    case ExportKind::Bmp:
        return { kind, 3, QStringLiteral("Export Document As Windows Bitmap"), QStringLiteral(" - BMP"),
            QStringLiteral(".bmp"), QImage::Format_RGB32 };
    case ExportKind::Emf:
        return { kind, 4, QStringLiteral("Export Document As Windows Enhanced Metafile"), QStringLiteral(" - EMF"),
            QStringLiteral(".emf"), QImage::Format_RGB32 };
    case ExportKind::Png:
        return { kind, 5, QStringLiteral("Export Document As Portable Network Graphic"), QStringLiteral(" - PNG"),
            QStringLiteral(".png"), QImage::Format_RGB32 };
    case ExportKind::Jpeg:
        return { kind, 6, QStringLiteral("Export Document As JPEG Image File"), QStringLiteral(" - JPG"),
            QStringLiteral(".jpg"), QImage::Format_RGB888 };
    case ExportKind::Tiff:
        return { kind, 7, QStringLiteral("Export Document As Tagged Information File Format"),
            QStringLiteral(" - TIFF"), QStringLiteral(".tiff"), QImage::Format_RGB32 };
    case ExportKind::Gif:
        return { kind, 8, QStringLiteral("Export Document As Graphics Interchange Format - Animated"),
            QStringLiteral(" - GIFA"), QStringLiteral(".gif"), QImage::Format_RGB32 };
    case ExportKind::Presentation:
        return { kind, 9, QStringLiteral("Export Document As Velmora Presentation File Format - Animated"),
            QStringLiteral(" - VMP"), QStringLiteral(".vmp"), QImage::Format_RGB32 };
    }
    return { kind, 1, {}, {}, {}, QImage::Format_RGB32 };
}

QString fileTypeChangeWarning()
{
    return QStringLiteral("This option is not available, please close the Export Dialog box and\r\n"
                          "select a new file format from the main menu to export your document to.");
}

} // namespace ExportFormats
