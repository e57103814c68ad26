#pragma once

#include <QString>
#include <QStringList>

// How a document file is read and written, decided by its name (and, for saving, by the save
// dialog's filter index) alone, never by a format left over from an earlier load or save.
//
// ".rtc" and ".ktp" are recognised only in lower case ("X.RTC" is rich text); the plain-text
// extensions in any letter case ("NOTES.TXT" is plain text).
class DocumentFileFormats
{
public:
    enum class ReadFormat {
        RichText, // ".rtf", ".doc" and every unlisted extension; plain text when not rich text
        Compressed, // ".rtc": a zlib stream of rich text
        Template, // ".ktp": rich text; the window treats the document as "Untitled"
        PlainText, // the plain-text list: ANSI (a byte-order mark or UTF-8 is detected)
    };
    enum class WriteFormat { RichText, Compressed, PlainAnsi, PlainUnicode };

    // The save dialog's filter that writes UTF-16LE plain text.
    static constexpr int UnicodeTextFilter = 5;
    static constexpr int SaveFilterCount = 13;

    static QStringList plainTextExtensions(); // ".txt", ".pas", ".cpp", ".xml", ".h", ".htm", ".html", ".sql"

    // The extension as the file-name functions give it: the text from the last dot of the file
    // name (not of the folder), the dot included; empty without a dot.
    static QString extension(const QString &path);
    static bool isCompressed(const QString &path);
    static bool isTemplate(const QString &path);
    static bool isPlainText(const QString &path);

    static ReadFormat readFormat(const QString &path);
    static WriteFormat writeFormat(const QString &path, int filterIndex);

    // The save dialog's filters (1 to 13) and the frame's open dialog filters (1 to 11), as
    // (description, patterns) pairs.
    static QList<QPair<QString, QString>> saveFilters();
    static QList<QPair<QString, QString>> openFilters();
};
