#pragma once

#include "export/ExportFormats.h"
#include "export/PresentationOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

class ExportJobs;

// One export as a batch run names it, with the choices the menu commands take from their
// windows: "pdf", "pdf-searchable", "pdf-text[:FONT[:SIZE]]", "bmp", "emf", "png", "jpg", "tiff", "gif" and
// "vmp[:SIZE[:SECONDS[:FRAME]]]". Names and options are case-insensitive.
struct ExportRequest
{
    ExportKind kind = ExportKind::Pdf;
    // Text-only PDF: a font number of the standard font table and a size of the text-only
    // commands (times 12 by default).
    int fontNumber = 8;
    int fontSize = 12;
    // Presentation: the page size, the seconds per page and the frame, as the presentation
    // options window starts.
    PresentationOptions presentation;
    // GIF: the seconds per page, as the viewing-time window starts.
    int gifSeconds = 5;

    // The request a text names; nullopt with the reason in *error when the name is unknown or an
    // option is not one of the choices.
    static std::optional<ExportRequest> parse(const QString &text, QString *error = nullptr);
    // The format names without options, in the order the export submenu lists them.
    static QStringList names();
    // The lines of --help that describe the names and their options.
    static QString helpText();

    // True for the exports that write one file per page, named after the chosen path.
    static bool writesPageFiles(ExportKind kind);
    // The extension (with its dot) of the files the export writes.
    QString extension() const;
    // Writes the export as the menu command does for chosenPath; returns the files written. Raises
    // what ExportJobs raises.
    QStringList run(ExportJobs &jobs, const QString &chosenPath) const;
};
