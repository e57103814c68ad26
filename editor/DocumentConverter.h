#pragma once

#include "editor/DocumentFileFormats.h"
#include "export/ExportRequest.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class TRxRichEdit;

// Batch conversion of document files with the document window's own load, save and export code:
// each input is read by its extension and written as "<DIR>/<base name>.<ext>" in the chosen
// format; the page-image exports write "<DIR>/<base name> - Page N.<ext>", as the menu commands
// do for that chosen name. Needs a QApplication (the rich text control is a widget) but no
// display: the offscreen platform serves.
class DocumentConverter
{
public:
    struct Format
    {
        QString name; // as given after --convert-to: "rtf", "utxt", "pdf-text:courier:9", ...
        QString extension; // of the output file, without dot
        DocumentFileFormats::WriteFormat writeFormat = DocumentFileFormats::WriteFormat::RichText;
        std::optional<ExportRequest> exportRequest = {}; // set for the export formats
    };
    struct Outcome
    {
        bool ok = false;
        QStringList outputs; // the files written, when ok
        QString message; // why the input could not be converted, when not ok
    };

    static QList<Format> formats();
    // The format a --convert-to value names, export options included; nullopt with the reason in
    // *error when it names none.
    static std::optional<Format> format(const QString &name, QString *error = nullptr);
    static QStringList formatNames();

    DocumentConverter(Format format, QString outputDir);

    // The output path for an input (not yet written); for the page-image exports the name the
    // page files are derived from.
    QString outputPath(const QString &input) const;
    // Converts one file. Nothing is written when the input cannot be read, when the output would
    // replace the input itself, or when an earlier input of this run already wrote that output.
    // An export that fails on its way removes the page files it had written.
    Outcome convert(const QString &input);

    // The width of the editor whose display lines the text-only PDF takes: the document window's
    // text column at 100 % zoom.
    static int textColumnWidth();

private:
    bool exportDocument(TRxRichEdit &editor, const QString &output, Outcome &outcome) const;

    Format m_format;
    QString m_outputDir;
    QSet<QString> m_written;
};
