#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Helpers of the export tests: outside tools and a small structural reader of our PDF files.
namespace ExportTestTools {

struct ToolResult
{
    bool started = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to completion (60 s at most).
ToolResult run(const QString &program, const QStringList &arguments);
bool haveTool(const QString &program);

QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);

// One "n 0 obj ... endobj" of a PDF written by TPrintPDF1, found by scanning the file.
struct PdfObject
{
    int number = 0;
    qint64 offset = 0;
    QByteArray body;   // between the "n 0 obj" line and "endobj" (stream data included)
    QByteArray stream; // the raw stream data when the object has one
};

struct PdfFile
{
    QList<PdfObject> objects; // in file order
    QList<qint64> xrefOffsets; // entry k: offset of object k (entry 0 unused)
    QByteArray xrefSection;
    QByteArray trailer;
    qint64 startxref = -1;
    const PdfObject *object(int number) const;
};

PdfFile parsePdf(const QByteArray &bytes);
// Inflates one zlib stream; empty on error.
QByteArray inflate(const QByteArray &data);

// Renders page `page` (1-based) of a PDF with pdftoppm at the given resolution.
QImage renderPdfPage(const QString &pdf, int page, int dpi);

// Fraction of pixels whose grey value differs by more than `tolerance` after both images are
// scaled to `size` with smoothing.
double differingFraction(const QImage &a, const QImage &b, QSize size, int tolerance);

// The block structure of a GIF file, read by a small parser of its own.
struct GifStructure
{
    bool valid = false;
    QByteArray version;
    QSize screen;
    int globalTableSize = 0; // entries, 0 without a global table
    int backgroundIndex = 0;
    QList<QRgb> globalTable;
    QStringList applications;        // identifiers of application extensions, in order
    QList<QByteArray> applicationData; // their first data sub-block
    QList<int> delays;               // of each graphic control extension, hundredths
    QList<int> controlFlags;         // packed byte of each graphic control extension
    QList<QRect> frames;
    QList<bool> localTables;
    QList<QByteArrayList> comments;  // sub-blocks of each comment extension
    QByteArrayList order;            // "screen", "app", "gce", "image", "comment", "trailer"
};
GifStructure parseGif(const QByteArray &bytes);

} // namespace ExportTestTools
