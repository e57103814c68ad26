#include "editor/commands/FileCommands.h"

#include "app/History.h"
#include "app/LastOpenedDocument.h"
#include "app/MDIFrame.h"
#include "app/OptionsLibrary.h"
#include "editor/MDIEdit.h"
#include "editor/richtext/RxRichEdit.h"

#include <QKeySequence>

namespace {

// A text-only PDF export in one font and size.
Command textPdf(TEditForm &window, const char *name, const char *caption, int font, int size)
{
    return { .name = name, .caption = QString::fromLatin1(caption), .run = [&window, font, size] {
                window.exportCommands().exportTextPdf(font, size);
            } };
}

Command imageExport(TEditForm &window, const char *name, const char *caption, ExportKind kind)
{
    return { .name = name, .caption = QString::fromLatin1(caption), .run = [&window, kind] {
                window.exportCommands().exportImages(kind);
            } };
}

} // namespace

FileCommands::FileCommands(TEditForm &window)
    : m_window(window)
{ }

QList<Command> FileCommands::commands()
{
    TEditForm &w = m_window;
    return {
        { .name = "New1",
            .caption = QStringLiteral("&New"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_N),
            .toolTip = QStringLiteral("New"),
            .statusTip = QStringLiteral("Start a New Document."),
            .icon = "document-new",
            .button = "btnNew",
            .run = [this] { New1Click(); } },
        { .name = "Open1",
            .caption = QStringLiteral("&Open..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_O),
            .toolTip = QStringLiteral("Open"),
            .statusTip = QStringLiteral("Open an Existing Document."),
            .icon = "document-open",
            .button = "btnOpen",
            .run = [this] { Open1Click(); } },
        { .name = "Close1",
            .caption = QStringLiteral("&Close"),
            .toolTip = QStringLiteral("Close"),
            .statusTip = QStringLiteral("Close Current Document."),
            .icon = "window-close",
            .button = "btnCrypt",
            .run = [this] { Close1Click(); } },
        { .name = "Save1",
            .caption = QStringLiteral("&Save"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_S),
            .toolTip = QStringLiteral("Save"),
            .statusTip = QStringLiteral("Save Current Document."),
            .icon = "document-save",
            .button = "btnSave",
            .run = [this] { Save1Click(); } },
        { .name = "Saveas1",
            .caption = QStringLiteral("Save &as..."),
            .statusTip = QStringLiteral("Save Document As..."),
            .icon = "document-save-as",
            .run = [this] { Saveas1Click(); } },
        { .name = "Saveselectedas1",
            .caption = QStringLiteral("Save Se&lected Text as..."),
            .statusTip = QStringLiteral("Save the Selected Text As..."),
            .run = [this] { Saveselectedas1Click(); },
            .enabled = [&w] { return w.Editor()->selLength() > 0; } },
        { .name = "DocumentHistory1",
            .caption = QStringLiteral("Document History..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_H),
            .toolTip = QStringLiteral("Document History"),
            .statusTip = QStringLiteral("Open Document History."),
            .icon = "document-open-recent",
            .button = "btnHistory",
            .run = [this] { DocumentHistory1Click(); } },
        { .name = "ToolButton18",
            .caption = QStringLiteral("Last Opened Document"),
            .toolTip = QStringLiteral("Last Opened Document"),
            .statusTip = QStringLiteral("Last Opened Document"),
            .icon = "view-refresh",
            .button = "ToolButton18",
            .run = [this] { ToolButton18Click(); } },
        { .name = "Exit1",
            .caption = QStringLiteral("E&xit Velmora Lumaro Editor"),
            .statusTip = QStringLiteral("Exit Velmora Lumaro Editor."),
            .icon = "application-exit",
            .run = [this] { Exit1Click(); } },
        { .name = "VelmoraLumaroStartupOptions1",
            .caption = QStringLiteral("Velmora Lumaro Startup Options..."),
            .icon = "preferences-system",
            .run = [this] { VelmoraLumaroStartupOptions1Click(); } },

        { .name = "PortableDocumentFormatpdf1",
            .caption = QStringLiteral("Portable Document Format (*.pdf)..."),
            .icon = "application-pdf",
            .run = [&w] { w.exportCommands().exportPdf(); } },
        textPdf(w, "inTimesRoman121", "in Times Roman 12...", 8, 12),
        textPdf(w, "inTimesRoman111", "in Times Roman 11...", 8, 11),
        textPdf(w, "inTimesRoman101", "in Times Roman 10...", 8, 10),
        textPdf(w, "inHelvetica121", "in Helvetica 12...", 0, 12),
        textPdf(w, "inHelvetica111", "in Helvetica 11...", 0, 11),
        textPdf(w, "inHelvetica101", "in Helvetica 10 ...", 0, 10),
        textPdf(w, "inCourierNew121", "in Courier New 12...", 4, 12),
        textPdf(w, "inCourierNew111", "in Courier New 11...", 4, 11),
        textPdf(w, "inCourierNew101", "in Courier New 10...", 4, 10),
        textPdf(w, "inCourierNew91", "in Courier New 9...", 4, 9),
        textPdf(w, "inCourierNew81", "in Courier New 8...", 4, 8),
        textPdf(w, "inCourierNew71", "in Courier New 7...", 4, 7),
        imageExport(w, "WindowsBitmapbmp1", "Windows Bitmap (*.bmp)...", ExportKind::Bmp),
        imageExport(w, "PortableNetworkGraphicpng1", "Portable Network Graphic ( *.png)...", ExportKind::Png),
        imageExport(w, "GraphicsInterchangeFormatgif1", "Graphics Interchange Format (*.gif)...", ExportKind::Gif),
        imageExport(w, "WindowsEnhancedMetafileemf1", "Windows Enhanced Metafile (*.emf)...", ExportKind::Emf),
        imageExport(
            w, "TaggedInformationFileFormattiff1", "Tagged Information File Format (*.tiff)...", ExportKind::Tiff),
        imageExport(
            w, "JointPhotographicExpertsGroupjpg1", "Joint Photographic Experts Group (*.jpg)...", ExportKind::Jpeg),
        { .name = "VelmoraPresentationFileFormatvmp1",
            .caption = QStringLiteral("Velmora Presentation File Format (*.vmp)..."),
            .run = [&w] { w.exportCommands().exportPresentation(); } },
    };
}

void FileCommands::New1Click()
{
    m_window.frame()->New1Click();
}

void FileCommands::Open1Click()
{
    m_window.frame()->Open1Click();
}

void FileCommands::Close1Click()
{
    m_window.closeDocument();
}

void FileCommands::Save1Click()
{
    m_window.saveCommands().save();
}

void FileCommands::Saveas1Click()
{
    m_window.saveCommands().saveAs();
}

void FileCommands::Saveselectedas1Click()
{
    m_window.saveCommands().saveSelectionAs();
}

void FileCommands::Exit1Click()
{
    m_window.frame()->Exit1Click();
}

void FileCommands::DocumentHistory1Click()
{
    TFrameForm *frame = m_window.frame();
    frame->DocumentHistory1Click();
    if (TEditForm *active = frame->activeDocument())
        active->focusEditor();
}

void FileCommands::ToolButton18Click()
{
    if (THistoryForm *history = m_window.frame()->historyForm())
        LastOpenedDocument::reload(history->history(), m_window);
}

void FileCommands::VelmoraLumaroStartupOptions1Click()
{
    OptionsLibrary().showForm();
}
