#pragma once

#include <QString>

// The names the exports propose and write.
namespace ExportFileNames {

// The path without the extension of its file-name part ("C:/Docs/Letter.rtf" gives
// "C:/Docs/Letter"); a name without extension stays as it is.
QString withoutExtension(const QString &path);
// The proposal of an export dialog: the document's path without extension plus the suffix, or
// "Untitled" plus the suffix for a document never saved.
QString suggested(const QString &documentFileName, const QString &suffix);
// The text-only PDF keeps the whole path: "C:/Docs/Letter.rtf - PDF".
QString suggestedKeepingExtension(const QString &documentFileName, const QString &suffix);
// base + " - Page " + n + extension (extension with its dot).
QString pageFile(const QString &base, int page, const QString &extension);
// The file-name part of a path.
QString fileNamePart(const QString &path);

} // namespace ExportFileNames
