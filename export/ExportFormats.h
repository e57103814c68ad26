#pragma once

#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

// The kinds of export of the "Export Document as" submenu and what the export dialog shows
// for each.
// PdfSearchable: the PDF of vector text on the page settings' paper, beside the page-image one.
enum class ExportKind { Pdf, PdfText, Bmp, Emf, Png, Jpeg, Tiff, Gif, Presentation, PdfSearchable };

struct ExportFormatInfo
{
    ExportKind kind;
    int filterIndex; // 1-based, in the dialog's filter list
    QString title; // of the export dialog
    QString suffix; // added to the proposed name
    QString extension; // of the written files, with the dot
    QImage::Format pixelFormat; // of the page bitmaps (unused for metafiles)
};

namespace ExportFormats {

// The nine filters of the export dialog, in order: description, pattern.
QList<QPair<QString, QString>> dialogFilters();
ExportFormatInfo info(ExportKind kind);
// The warning shown when the user picks another file type inside the export dialog.
QString fileTypeChangeWarning();

} // namespace ExportFormats
