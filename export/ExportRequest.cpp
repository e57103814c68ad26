#include "export/ExportRequest.h"

#include "export/ExportCommands.h"
#include "export/ExportJobs.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

struct Name
{
    const char *name;
    ExportKind kind;
};

constexpr Name kNames[] = {
    { "pdf", ExportKind::Pdf },
    { "pdf-searchable", ExportKind::PdfSearchable },
    { "pdf-text", ExportKind::PdfText },
    { "bmp", ExportKind::Bmp },
    { "emf", ExportKind::Emf },
    { "png", ExportKind::Png },
    { "jpg", ExportKind::Jpeg },
    { "tiff", ExportKind::Tiff },
    { "gif", ExportKind::Gif },
    { "vmp", ExportKind::Presentation },
};

struct Font
{
    const char *name;
    int number; // of the standard font table
};

constexpr Font kFonts[] = { { "times", 8 }, { "helvetica", 0 }, { "courier", 4 } };

// The sizes the text-only commands offer for a font, largest first.
QList<int> sizesOf(int fontNumber)
{
    QList<int> sizes;
    for (const ExportCommands::TextCommand &command : ExportCommands::textCommands()) {
        if (command.fontNumber == fontNumber)
            sizes.append(command.fontSize);
    }
    return sizes;
}

QString joined(const QList<int> &numbers)
{
    QStringList texts;
    for (int n : numbers)
        texts.append(QString::number(n));
    return texts.join(QStringLiteral(", "));
}

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool parseTextOptions(const QStringList &options, ExportRequest &request, QString *error)
{
    if (options.size() > 2)
        return fail(error, QStringLiteral("pdf-text takes at most FONT:SIZE, not \"%1\"").arg(options.join(u':')));
    if (options.isEmpty())
        return true;
    const Font *font = nullptr;
    for (const Font &f : kFonts) {
        if (options[0] == QLatin1String(f.name))
            font = &f;
    }
    if (!font)
        return fail(error,
            QStringLiteral("unknown font \"%1\" for pdf-text (known: times, helvetica, courier)").arg(options[0]));
    request.fontNumber = font->number;
    if (options.size() < 2)
        return true;
    const QList<int> sizes = sizesOf(font->number);
    bool ok = false;
    const int size = options[1].toInt(&ok);
    if (!ok || !sizes.contains(size))
        return fail(error,
            QStringLiteral("size \"%1\" is not offered for %2 in pdf-text (sizes: %3)")
                .arg(options[1], QLatin1String(font->name), joined(sizes)));
    request.fontSize = size;
    return true;
}

bool parsePresentationOptions(const QStringList &options, ExportRequest &request, QString *error)
{
    if (options.size() > 3)
        return fail(error, QStringLiteral("vmp takes at most SIZE:SECONDS:FRAME, not \"%1\"").arg(options.join(u':')));
    PresentationOptions &p = request.presentation;
    if (!options.isEmpty()) {
        const QString &size = options[0];
        if (size == QLatin1String("full")) {
            p.pageSize = PresentationOptions::PageSize::FullPage;
        } else if (size == QLatin1String("half")) {
            p.pageSize = PresentationOptions::PageSize::HalfPage;
        } else {
            const QStringList screens = PresentationOptions::screenSizes();
            const auto screen = std::find_if(screens.begin(), screens.end(),
                [&](const QString &s) { return s.startsWith(size + QStringLiteral(" x ")); });
            if (size.isEmpty() || screen == screens.end())
                return fail(error,
                    QStringLiteral("unknown page size \"%1\" for vmp (known: full, half, 800, 900, 1000)").arg(size));
            p.pageSize = PresentationOptions::PageSize::Screen;
            p.screenSize = *screen;
        }
    }
    if (options.size() > 1) {
        bool ok = false;
        const int seconds = options[1].toInt(&ok);
        if (!ok || seconds < 5 || seconds > 60)
            return fail(error,
                QStringLiteral("viewing time \"%1\" for vmp must be whole seconds from 5 to 60").arg(options[1]));
        p.seconds = seconds;
    }
    if (options.size() > 2) {
        const QString &frame = options[2];
        static const QRegularExpression colour(QStringLiteral("^#[0-9a-f]{6}$"));
        if (frame == QLatin1String("on")) {
            p.frame = true;
        } else if (frame == QLatin1String("off")) {
            p.frame = false;
        } else if (colour.match(frame).hasMatch()) {
            p.frame = true;
            p.frameColor = QColor(frame);
        } else {
            return fail(error, QStringLiteral("frame \"%1\" for vmp must be on, off or a colour #RRGGBB").arg(frame));
        }
    }
    return true;
}

} // namespace

std::optional<ExportRequest> ExportRequest::parse(const QString &text, QString *error)
{
    QStringList parts = text.toLower().split(u':');
    const QString name = parts.takeFirst();
    ExportRequest request;
    bool known = false;
    for (const Name &n : kNames) {
        if (name == QLatin1String(n.name)) {
            request.kind = n.kind;
            known = true;
        }
    }
    if (!known) {
        fail(error,
            QStringLiteral("unknown export format \"%1\" (known: %2)").arg(name, names().join(QStringLiteral(", "))));
        return std::nullopt;
    }
    bool ok = true;
    if (request.kind == ExportKind::PdfText)
        ok = parseTextOptions(parts, request, error);
    else if (request.kind == ExportKind::Presentation)
        ok = parsePresentationOptions(parts, request, error);
    else if (!parts.isEmpty())
        ok = fail(error, QStringLiteral("the format %1 takes no options, not \"%2\"").arg(name, parts.join(u':')));
    if (!ok)
        return std::nullopt;
    return request;
}

QStringList ExportRequest::names()
{
    QStringList out;
    for (const Name &n : kNames)
        out.append(QLatin1String(n.name));
    return out;
}

QString ExportRequest::helpText()
{
    return QStringLiteral("                          pdf   PDF, every page an image of its full layout\n"
                          "                          pdf-searchable\n"
                          "                                PDF of selectable, searchable text in embedded fonts,\n"
                          "                                on A4 paper with margins of half an inch, pictures,\n"
                          "                                links and the document's title and author\n"
                          "                          pdf-text[:FONT[:SIZE]]\n"
                          "                                PDF of the text only, 50 lines a page; FONT is times,\n"
                          "                                helvetica or courier, SIZE 12, 11 or 10 (courier also\n"
                          "                                9, 8 or 7); default times:12\n"
                          "                          bmp, emf, png, jpg, tiff\n"
                          "                                one image per page, written as\n"
                          "                                DIR/<base name> - Page N.<extension>\n"
                          "                          gif   one animated GIF, every page a frame of 5 seconds\n"
                          "                          vmp[:SIZE[:SECONDS[:FRAME]]]\n"
                          "                                presentation file (animated GIF, .vmp); SIZE is full,\n"
                          "                                half, 800, 900 or 1000 (a 4:3 screen that wide), SECONDS\n"
                          "                                per page from 5 to 60, FRAME on, off or a colour #RRGGBB\n"
                          "                                for a frame around every page; default full:15:off\n");
}

bool ExportRequest::writesPageFiles(ExportKind kind)
{
    return kind == ExportKind::Bmp || kind == ExportKind::Emf || kind == ExportKind::Png || kind == ExportKind::Jpeg
        || kind == ExportKind::Tiff;
}

QString ExportRequest::extension() const
{
    return ExportFormats::info(kind).extension;
}

QStringList ExportRequest::run(ExportJobs &jobs, const QString &chosenPath) const
{
    switch (kind) {
    case ExportKind::Pdf:
        jobs.writeFullPdf(chosenPath);
        break;
    case ExportKind::PdfText:
        jobs.writeTextPdf(chosenPath, fontNumber, fontSize);
        break;
    case ExportKind::PdfSearchable:
        jobs.writeSearchablePdf(chosenPath);
        break;
    case ExportKind::Gif:
        jobs.writeGif(chosenPath, gifSeconds);
        break;
    case ExportKind::Presentation:
        jobs.writePresentation(chosenPath, presentation);
        break;
    case ExportKind::Bmp:
    case ExportKind::Emf:
    case ExportKind::Png:
    case ExportKind::Jpeg:
    case ExportKind::Tiff:
        jobs.writePageImages(kind, chosenPath);
        break;
    }
    return jobs.writtenFiles();
}
