#include "export/PdfExport.h"

#include "export/ExportFileNames.h"
#include "export/ExportTexts.h"
#include "export/tnpdf2.h"
#include "platform/AnsiCodec.h"

#include <QFile>

#include <vector>

namespace PdfExport {

namespace {
std::string ansi(const QString &text)
{
    return AnsiCodec::fromUnicode(text).toStdString();
}
} // namespace

void applyStandardProperties(TPrintPDF1 &pdf, const QString &fileName, Layout layout)
{
    pdf.Compress = true;
    pdf.PageWidth = 596;
    pdf.PageHeight = 842;
    pdf.FileName = QFile::encodeName(fileName).toStdString();
    pdf.TITLE = ansi(ExportFileNames::fileNamePart(fileName));
    pdf.Keywords = ansi(ExportTexts::pdfKeywords());
    pdf.Producer = ansi(ExportTexts::pdfProducer());
    if (layout == Layout::Full) {
        pdf.Author = ansi(ExportTexts::fullLayoutAuthor());
        pdf.Creator = ansi(ExportTexts::fullLayoutCreator());
        pdf.Subject = ansi(ExportTexts::fullLayoutSubject());
    } else {
        pdf.Author = ansi(ExportTexts::textOnlyAuthor());
        pdf.Creator = ansi(ExportTexts::textOnlyCreator());
        pdf.Subject = ansi(ExportTexts::textOnlySubject());
    }
}

int placePage(TPrintPDF1 &pdf, const QImage &page)
{
    return pdf.PlaceImage(25, 20, page.width(), page.height());
}

void writePageImage(const TPrintPDF1 &pdf, int image, const QImage &page)
{
    // Each row goes to the writer as red, green, blue bytes straight from the surface.
    const QImage source = page.format() == QImage::Format_RGB32 ? page : page.convertToFormat(QImage::Format_RGB32);
    const int width = source.width();
    std::vector<unsigned char> row(std::size_t(width) * 3);
    pdf.WriteImage(image, width, source.height(), [&](int y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        unsigned char *out = row.data();
        for (int x = 0; x < width; ++x) {
            const QRgb p = in[x];
            *out++ = static_cast<unsigned char>(qRed(p));
            *out++ = static_cast<unsigned char>(qGreen(p));
            *out++ = static_cast<unsigned char>(qBlue(p));
        }
        return static_cast<const unsigned char *>(row.data());
    });
}

void drawPage(TPrintPDF1 &pdf, const QImage &page)
{
    writePageImage(pdf, placePage(pdf, page), page);
}

void writeTextLines(TPrintPDF1 &pdf, const QStringList &lines, const std::function<void()> &afterLine)
{
    int row = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (row == kRowsPerPage) {
            pdf.NewPage();
            row = 0;
        }
        QString line = lines[i];
        line.replace(QLatin1Char('('), QLatin1Char('{')).replace(QLatin1Char(')'), QLatin1Char('}'));
        pdf.TextOut(45, 54 + 15 * row, ansi(line));
        ++row;
        if (afterLine)
            afterLine();
    }
}

} // namespace PdfExport
