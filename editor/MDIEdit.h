#pragma once

#include "app/LastOpenedDocument.h"
#include "app/MenuMerger.h"
#include "editor/Crypt.h"
#include "editor/DocumentHost.h"
#include "editor/DocumentProtection.h"
#include "editor/SaveCommands.h"
#include "export/ExportCommands.h"
#include "export/ExportHost.h"

#include <QDateTime>
#include <QMainWindow>

#include <memory>

class QLabel;
class QMdiSubWindow;
class QStatusBar;
class QToolBar;
class RichEditPageSource;
class TFrameForm;
class TRxRichEdit;

// A document window: one document in a rich text control `Editor`, with its toolbars, status bar
// and side panels, living in the frame's client area. The window is a façade: saving, the close
// query, the file formats and the exports live in their own classes; its handlers adapt to them.
//
// A window starts "Untitled" with a clean modified flag; LoadDocument gives it a file (templates
// stay "Untitled"), Save As renames it. It frees itself when it is closed.
class TEditForm : public QMainWindow, public DocumentHost, public LastOpenedDocumentHost, public ExportHost
{
    Q_OBJECT
public:
    // FormCreate: registers the tab with the frame (caption: the frame's NewTabCaption) and reads
    // the startup options.
    explicit TEditForm(TFrameForm *frame);
    ~TEditForm() override;

    TFrameForm *frame() const { return m_frame; }
    QMdiSubWindow *subWindow() const;

    // --- Document ------------------------------------------------------------------------------
    // Loads a file into this window by its extension, replacing the content. False when it could
    // not be read: the reason goes to *error when given, else it is shown; the window keeps its
    // content and its name, so a later Save cannot overwrite the unread file.
    bool LoadDocument(const QString &path, QString *error = nullptr);
    QString DocumentFileName() const { return m_documentFileName; }
    bool ForceSave() const { return m_save.forceSave(); }
    bool SavedForMail() const { return m_save.savedForMail(); }
    SaveCommands &saveCommands() { return m_save; }
    // The file-protection component of the first scheme, and the protection commands.
    TCryptFile &Crypt() { return m_crypt; }
    DocumentProtection &protection() { return m_protection; }
    // The exports of this document, with the frame's progress, viewing-time and presentation
    // windows when the program made them.
    ExportCommands &exportCommands();
    // Status panel 1 "Modified" (or empty) and the editor's modified flag.
    void SetModifiedIndicator(bool modified);
    // Re-paginates or rebuilds the visible page view after a change of the text.
    void RefreshPageViews();
    void ApplyZoom();
    void UpdateStatusBar();
    int ZoomStep() const { return m_zoomStep; }
    int SideMarginWidth() const { return m_sideMarginWidth; }
    QDateTime CreatedAt() const { return m_createdAt; }
    bool isFirstActivationPending() const { return m_firstActivation; }

    QString statusText(int panel) const;
    TRxRichEdit *Editor() const { return m_editor; }

    // Menus of this window with their group numbers, merged into the frame's while it is active.
    QList<MenuGroup> menuGroups() const { return m_menus; }
    // Called by the frame when this window becomes, or stops being, the active document.
    void FormActivate();
    void FormDeactivate();

    // Closes the window through its sub-window; the close query applies. True when it closed.
    bool closeDocument();
    // Closes without asking (the question was answered already, as at Exit).
    void closeWithoutQuery();
    bool isClosed() const { return m_closed; }
    // The close query alone: true when the window may close.
    bool FormCloseQuery();

    // --- Handlers ------------------------------------------------------------------------------
    void New1Click();
    void Open1Click();
    void Close1Click();
    void Save1Click();
    void Saveas1Click();
    void Saveselectedas1Click();
    void DocumentHistory1Click();
    void Exit1Click();
    void ToolButton18Click();
    void FlipClick();
    void StepClick();
    void EditorChange();
    void EditorSelectionChange();

    // "Export Document as"
    void PortableDocumentFormatpdf1Click();
    template <int FontNumber, int FontSize> void TextOnlyPdfClick()
    {
        exportCommands().exportTextPdf(FontNumber, FontSize);
    }
    void WindowsBitmapbmp1Click();
    void PortableNetworkGraphicpng1Click();
    void GraphicsInterchangeFormatgif1Click();
    void WindowsEnhancedMetafileemf1Click();
    void TaggedInformationFileFormattiff1Click();
    void JointPhotographicExpertsGroupjpg1Click();
    void VelmoraPresentationFileFormatvmp1Click();

    // --- DocumentHost --------------------------------------------------------------------------
    TRxRichEdit &editor() override;
    QString documentFileName() const override { return m_documentFileName; }
    void setDocumentFileName(const QString &path) override;
    void setWindowCaption(const QString &caption) override;
    void setSelectedTabCaption(const QString &caption) override;
    void setApplicationTitle(const QString &title) override;
    void setModifiedIndicator(bool modified) override { SetModifiedIndicator(modified); }
    void applyZoom() override { ApplyZoom(); }
    void runChangeHandler() override { EditorChange(); }
    void focusEditor() override;
    QString saveFolder() const override { return m_saveFolder; }
    void recordSavedAs(const QString &path, int filterIndex) override;
    void recordSavedSelection(const QString &path) override;

    // --- LastOpenedDocumentHost ----------------------------------------------------------------
    bool isModified() const override;
    bool hasText() const override;
    bool save() override;
    void loadDocument(const QString &path) override { LoadDocument(path); }
    void setTabCaption(const QString &caption) override { setSelectedTabCaption(caption); }

    // --- ExportHost ----------------------------------------------------------------------------
    ExportPageSource &pageSource() override;
    int zoomStep() const override { return m_zoomStep; }
    void setZoomStep(int step) override;
    void setCaretToStart() override;

    static QString applicationTitleFor(const QString &documentFileName);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void buildControls();
    void buildMenus();
    void buildToolBars();
    void setStatusText(int panel, const QString &text);
    void updateDocumentCount();
    QString documentCountText() const;

    TFrameForm *m_frame = nullptr;
    SaveCommands m_save;
    TCryptFile m_crypt;
    DocumentProtection m_protection;
    TRxRichEdit *m_editor = nullptr;
    std::unique_ptr<RichEditPageSource> m_exportSource;
    ExportCommands m_export;
    QToolBar *ToolBar1 = nullptr;
    QToolBar *ToolBar2 = nullptr;
    QWidget *Panel3 = nullptr;
    QWidget *XiPanel1 = nullptr;
    QWidget *XiPanel2 = nullptr;
    QWidget *Panel1 = nullptr;
    QWidget *Panel2 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QList<QLabel *> m_panels;
    QList<MenuGroup> m_menus;

    QString m_documentFileName = DocumentHost::untitled();
    QString m_saveFolder;
    QDateTime m_createdAt;
    int m_zoomStep = 1;
    int m_sideMarginWidth = 400;
    int m_cachedFirstIndent = 0;
    int m_cachedLeftIndent = 0;
    int m_underlineColour = 0;
    int m_underlineType = 1;
    bool m_firstActivation = true;
    bool m_optionsPendingOnActivate = true;
    bool m_inSelectionChange = false;
    bool m_shown = false;
    bool m_closed = false;
    bool m_skipCloseQuery = false;
};
