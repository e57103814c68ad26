#pragma once

#include "editor/DocumentFileFormats.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// Batch conversion of document files with the document window's own load and save code: each
// input is read by its extension and written as "<DIR>/<base name>.<ext>" in the chosen format.
// Needs a QApplication (the rich text control is a widget) but no display: the offscreen platform
// serves.
class DocumentConverter
{
public:
    struct Format
    {
        QString name; // as given after --convert-to: "rtf", "utxt", ...
        QString extension; // of the output file, without dot
        DocumentFileFormats::WriteFormat writeFormat;
    };
    struct Outcome
    {
        bool ok = false;
        QString output; // the file written, when ok
        QString message; // why the input could not be converted, when not ok
    };

    static QList<Format> formats();
    static std::optional<Format> format(const QString &name);
    static QStringList formatNames();

    DocumentConverter(Format format, QString outputDir);

    // The output path for an input (not yet written).
    QString outputPath(const QString &input) const;
    // Converts one file. Nothing is written when the input cannot be read, when the output would
    // replace the input itself, or when an earlier input of this run already wrote that output.
    Outcome convert(const QString &input);

private:
    Format m_format;
    QString m_outputDir;
    QSet<QString> m_written;
};
