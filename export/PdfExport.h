#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

class TPrintPDF1;

// The two PDF exports' use of the PDF writer.
namespace PdfExport {

enum class Layout { Full, TextOnly };

// Compress on, an A4 page of 596 x 842 points, the file name and title, and the Info entries of
// the layout.
void applyStandardProperties(TPrintPDF1 &pdf, const QString &fileName, Layout layout);

// One full-layout page: the page bitmap placed at (25, 20) as red-green-blue pixels.
void drawPage(TPrintPDF1 &pdf, const QImage &page);
// The same in two halves: placePage on the page loop's thread returns the image number, and
// writePageImage (on any thread) spools that image's pixels.
int placePage(TPrintPDF1 &pdf, const QImage &page);
void writePageImage(const TPrintPDF1 &pdf, int image, const QImage &page);

// The text-only body: each display line at (45, 54 + 15 * row), 50 rows to a page, parentheses
// turned into braces, characters outside Windows-1252 as "?". afterLine runs after each line.
void writeTextLines(TPrintPDF1 &pdf, const QStringList &lines, const std::function<void()> &afterLine = {});

constexpr int kRowsPerPage = 50;

} // namespace PdfExport
