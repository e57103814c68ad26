#pragma once

#include "export/ExportFormats.h"
#include "export/PresentationOptions.h"

#include <QString>

#include <ctime>
#include <functional>

class ExportHost;
class ExportJobs;
class ExportProgress;

// The commands of the "Export Document as" submenu: each asks for a file name through the export
// dialog, runs its export with the progress window and the wait cursor, and reports the outcome
// in a message box. Cancelling the dialog writes nothing; an error ends the export with the
// error's message.
class ExportCommands
{
public:
    explicit ExportCommands(ExportHost &host);

    void setProgress(ExportProgress *progress) { m_progress = progress; }
    // Shown before a GIF export; returns the seconds per page.
    void setViewingTime(std::function<int()> ask) { m_viewingTime = std::move(ask); }
    // Shown before a presentation export; returns the options as they stand when it closes.
    void setPresentationOptions(std::function<PresentationOptions()> ask) { m_presentation = std::move(ask); }
    // Adjusts each export's jobs (screen resolution, clock, pauses); for tests.
    void setJobSetup(std::function<void(ExportJobs &)> setup) { m_setup = std::move(setup); }

    bool exportPdf();
    bool exportTextPdf(int fontNumber, int fontSize);
    // The searchable PDF: vector text on the paper of the page settings.
    bool exportSearchablePdf();
    // Bmp, Emf, Png, Jpeg, Tiff or Gif.
    bool exportImages(ExportKind kind);
    bool exportPresentation();

    // The twelve text-only commands: caption, font number, size.
    struct TextCommand
    {
        QString caption;
        int fontNumber;
        int fontSize;
    };
    static QList<TextCommand> textCommands();

private:
    QString askFileName(ExportKind kind, const QString &suggestion);
    template <typename Job> bool run(Job job, const QString &success, bool showProgress);

    ExportHost &m_host;
    ExportProgress *m_progress = nullptr;
    std::function<int()> m_viewingTime;
    std::function<PresentationOptions()> m_presentation;
    std::function<void(ExportJobs &)> m_setup;
};
