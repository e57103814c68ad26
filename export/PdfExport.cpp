#include "export/PdfExport.h"

#include "export/ExportFileNames.h"
#include "export/ExportTexts.h"
#include "export/tnpdf2.h"
#include "platform/AnsiCodec.h"

#include <QFile>

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

void drawPage(TPrintPDF1 &pdf, const QImage &page)
{
    // Format_RGB888 stores every pixel red, green, blue: the order the writer's image data needs.
    const QImage rgb = page.convertToFormat(QImage::Format_RGB888);
    const int rowBytes = rgb.width() * 3;
    std::string pixels;
    pixels.resize(std::size_t(rowBytes) * rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        memcpy(pixels.data() + std::size_t(y) * rowBytes, rgb.constScanLine(y), std::size_t(rowBytes));
    pdf.Draw(25, 20, {rgb.width(), rgb.height(), pixels});
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
