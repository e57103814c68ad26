#include "editor/DocumentFileFormats.h"

#include <QPair>

QStringList DocumentFileFormats::plainTextExtensions()
{
    return { QStringLiteral(".txt"), QStringLiteral(".pas"), QStringLiteral(".cpp"), QStringLiteral(".xml"),
        QStringLiteral(".h"), QStringLiteral(".htm"), QStringLiteral(".html"), QStringLiteral(".sql") };
}

QString DocumentFileFormats::extension(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0 || dot < slash)
        return {};
    return path.mid(dot);
}

bool DocumentFileFormats::isCompressed(const QString &path)
{
    return extension(path) == QLatin1String(".rtc");
}

bool DocumentFileFormats::isTemplate(const QString &path)
{
    return extension(path) == QLatin1String(".ktp");
}

bool DocumentFileFormats::isPlainText(const QString &path)
{
    return plainTextExtensions().contains(extension(path).toLower());
}

DocumentFileFormats::ReadFormat DocumentFileFormats::readFormat(const QString &path)
{
    if (isCompressed(path))
        return ReadFormat::Compressed;
    if (isPlainText(path))
        return ReadFormat::PlainText;
    if (isTemplate(path))
        return ReadFormat::Template;
    return ReadFormat::RichText;
}

DocumentFileFormats::WriteFormat DocumentFileFormats::writeFormat(const QString &path, int filterIndex)
{
    // A compressed name wins over the filter: the file is compressed rich text whatever the
    // dialog showed.
    if (isCompressed(path))
        return WriteFormat::Compressed;
    if (filterIndex == UnicodeTextFilter)
        return WriteFormat::PlainUnicode;
    if (isPlainText(path))
        return WriteFormat::PlainAnsi;
    return WriteFormat::RichText;
}

QList<QPair<QString, QString>> DocumentFileFormats::saveFilters()
{
    return {
        { QStringLiteral("Rich Text Format (*.rtf)"), QStringLiteral("*.rtf") },
        { QStringLiteral("Rich Text Compressed (*.rtc)"), QStringLiteral("*.rtc") },
        { QStringLiteral("Word 97-2003 & 6.0/95 - RTF (*.doc)"), QStringLiteral("*.doc") },
        { QStringLiteral("Scrivane Template (*.ktp)"), QStringLiteral("*.ktp") },
        { QStringLiteral("Plain Text File UniCode (*.txt)"), QStringLiteral("*.txt") },
        { QStringLiteral("Plain Text File ANSI (*.txt)"), QStringLiteral("*.txt") },
        { QStringLiteral("Pascal File (*.pas)"), QStringLiteral("*.pas") },
        { QStringLiteral("C++ File (*.cpp)"), QStringLiteral("*.cpp") },
        { QStringLiteral("Header File (*.h)"), QStringLiteral("*.h") },
        { QStringLiteral("XML File (*.xml)"), QStringLiteral("*.xml") },
        { QStringLiteral("Web Page (*.htm;*.html)"), QStringLiteral("*.htm") },
        { QStringLiteral("SQL File (*.sql)"), QStringLiteral("*.sql") },
        { QStringLiteral("All Files (*.*)"), QStringLiteral("*.*") },
    };
}

QList<QPair<QString, QString>> DocumentFileFormats::openFilters()
{
    return {
        { QStringLiteral("Rich Text Format (*.rtf)"), QStringLiteral("*.rtf") },
        { QStringLiteral("Rich Text Compressed (*.rtc)"), QStringLiteral("*.rtc") },
        { QStringLiteral("Word 97-2003 & 6.0/95 - RTF (*.doc)"), QStringLiteral("*.doc") },
        { QStringLiteral("Plain Text File ANSI (*.txt)"), QStringLiteral("*.txt") },
        { QStringLiteral("Pascal File (*.pas)"), QStringLiteral("*.pas") },
        { QStringLiteral("C++ File (*.cpp)"), QStringLiteral("*.cpp") },
        { QStringLiteral("Header File (*.h)"), QStringLiteral("*.h") },
        { QStringLiteral("XML File (*.xml)"), QStringLiteral("*.xml") },
        { QStringLiteral("Web Page (*.htm;*.html)"), QStringLiteral("*.htm;*.html") },
        { QStringLiteral("SQL File (*.sql)"), QStringLiteral("*.sql") },
        { QStringLiteral("All Files (*.*)"), QStringLiteral("*.*") },
    };
}
