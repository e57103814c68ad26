#include "export/ExportFileNames.h"

namespace ExportFileNames {

namespace {
const QString kUntitled = QStringLiteral("Untitled");

qsizetype nameStart(const QString &path)
{
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return slash + 1;
}
} // namespace

QString withoutExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart(path) ? path.left(dot) : path;
}

QString suggested(const QString &documentFileName, const QString &suffix)
{
    if (documentFileName.isEmpty() || documentFileName == kUntitled)
        return kUntitled + suffix;
    return withoutExtension(documentFileName) + suffix;
}

QString suggestedKeepingExtension(const QString &documentFileName, const QString &suffix)
{
    if (documentFileName.isEmpty())
        return kUntitled + suffix;
    return documentFileName + suffix;
}

QString pageFile(const QString &base, int page, const QString &extension)
{
    return base + QStringLiteral(" - Page ") + QString::number(page) + extension;
}

QString fileNamePart(const QString &path)
{
    return path.mid(nameStart(path));
}

} // namespace ExportFileNames
