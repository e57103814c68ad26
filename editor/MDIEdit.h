#pragma once

#include "app/LastOpenedDocument.h"
#include "app/MenuMerger.h"
#include "editor/Crypt.h"
#include "editor/DocumentHost.h"
#include "editor/DocumentProtection.h"
#include "editor/SaveCommands.h"
#include "editor/commands/ViewCommands.h"
#include "export/ExportCommands.h"
#include "export/ExportHost.h"
#include "platform/WordCounter.h"

#include <QDateTime>
#include <QMainWindow>

#include <memory>
#include <vector>

class CommandArea;
class CommandRegistry;
class EditCommands;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QScrollArea;
class QStatusBar;
class QTimer;
class QToolBar;
class RichEditPageSource;
class TFrameForm;
class TRxRichEdit;

// A document window: one document in a rich text control `Editor`, with its toolbars, status bar
// and side panels, living in the frame's client area. The window is a façade: its commands live
// in command classes (editor/commands) whose tables give one action per command; the window builds
// its menus, pop-up menus, toolbars and side buttons from those actions and keeps the view (zoom,
// layouts, status bar).
//
// A window starts "Untitled" with a clean modified flag; LoadDocument gives it a file (templates
// stay "Untitled"), Save As renames it. It frees itself when it is closed.
class TEditForm : public QMainWindow,
                  public DocumentHost,
                  public LastOpenedDocumentHost,
                  public ExportHost,
                  public ViewHost
{
    Q_OBJECT
public:
    // FormCreate: registers the tab with the frame (caption: the frame's NewTabCaption) and reads
    // the startup options.
    explicit TEditForm(TFrameForm *frame);
    ~TEditForm() override;

    TFrameForm *frame() const { return m_frame; }
    QMdiSubWindow *subWindow() const;
    CommandRegistry &commands() const { return *m_registry; }

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
    // Panels 2 to 5 from the keyboard's lock states and the editor's overwrite mode.
    void UpdateKeyStates();
    int ZoomStep() const { return m_zoomStep; }
    int SideMarginWidth() const { return m_sideMarginWidth; }
    QDateTime CreatedAt() const { return m_createdAt; }
    int CachedFirstIndent() const { return m_cachedFirstIndent; }
    int CachedLeftIndent() const { return m_cachedLeftIndent; }
    bool isFirstActivationPending() const { return m_firstActivation; }

    QString statusText(int panel) const;
    TRxRichEdit *Editor() const { return m_editor; }
    // Words and characters of the whole text as the status bar shows them, counted once per
    // revision of the document.
    WordCount documentWordCount();

    // Menus of this window with their group numbers, merged into the frame's while it is active.
    QList<MenuGroup> menuGroups() const { return m_menus; }
    QMenu *editorPopup() const { return m_editorPopup; }
    QMenu *paragraphPopup() const { return m_paragraphPopup; }
    QMenu *paperPopup() const { return m_paperPopup; }
    QMenu *specialCharacterPopup() const { return m_charPopup; }
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

    void EditorChange();
    void EditorSelectionChange();
    // The resize rules: zoom only in a maximised window, toolbars centred on wide screens.
    void FormResize();
    // The screen the zoom tables and the toolbar indent are computed for; the primary screen
    // unless a test sets another.
    static void setScreenSizeForTesting(const QSize &size);
    static QSize screenSize();
    // Indent of the toolbars in a maximised window: centred on screens of at least 1287 pixels.
    static int toolBarIndent(int screenWidth);

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
    void runSelectionChangeHandler() override { EditorSelectionChange(); }
    void refreshPageViews() override { RefreshPageViews(); }
    void setCachedIndents(int firstIndent, int leftIndent) override;
    void focusEditor() override;
    QString saveFolder() const override { return m_saveFolder; }
    void recordSavedAs(const QString &path, int filterIndex) override;
    void recordSavedSelection(const QString &path) override;

    // --- LastOpenedDocumentHost ----------------------------------------------------------------
    bool isModified() const override;
    bool hasText() const override;
    bool save() override;
    bool loadDocument(const QString &path) override { return LoadDocument(path); }
    void setTabCaption(const QString &caption) override { setSelectedTabCaption(caption); }

    // --- ExportHost and ViewHost ---------------------------------------------------------------
    ExportPageSource &pageSource() override;
    int zoomStep() const override { return m_zoomStep; }
    void setZoomStep(int step) override;
    void setCaretToStart() override;
    TRxRichEdit &viewEditor() override { return *m_editor; }
    bool isZoomAllowed() const override { return m_zoomAllowed; }
    void setSidePanelsVisible(bool visible) override;
    void setBarsVisible(bool visible) override;
    void setSideButtonsVisible(bool visible) override;
    bool isAnyThumbnailViewOn() const override;
    void flipDocuments() override;
    void stepDocuments() override;
    bool frameSetting(int which) const override;
    void setFrameSetting(int which, bool on) override;

    static QString applicationTitleFor(const QString &documentFileName);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void buildControls();
    void buildSidePanels();
    void buildStatusBar();
    void buildCommands();
    void buildMenus();
    void buildToolBars();
    void showEditorPopup(const QPoint &globalPos);
    void editorKeyPressed(QKeyEvent *event);
    void editorKeyReleased(QKeyEvent *event);
    bool wheelOverPageView(QObject *watched, QWheelEvent *event);
    void splitterDragged(int globalX);
    void setStatusText(int panel, const QString &text);
    void updateDocumentCount();
    void updateCommandStates();
    QString documentCountText() const;

    TFrameForm *m_frame = nullptr;
    SaveCommands m_save;
    TCryptFile m_crypt;
    DocumentProtection m_protection;
    TRxRichEdit *m_editor = nullptr;
    std::unique_ptr<RichEditPageSource> m_exportSource;
    ExportCommands m_export;
    CommandRegistry *m_registry = nullptr;
    std::vector<std::unique_ptr<CommandArea>> m_areas;
    EditCommands *m_edit = nullptr;
    ViewCommands *m_view = nullptr;

    QToolBar *ToolBar1 = nullptr;
    QToolBar *ToolBar2 = nullptr;
    QWidget *m_toolBar1Indent = nullptr;
    QWidget *m_toolBar2Indent = nullptr;
    QWidget *Panel3 = nullptr;
    QWidget *XiPanel1 = nullptr;
    QWidget *XiPanel2 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QWidget *RbSplitter1 = nullptr;
    QLabel *RxClock1 = nullptr;
    QLabel *lblViewMode = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QTimer *m_clockTimer = nullptr;
    QList<QWidget *> m_sideButtons;
    QWidget *Panel1 = nullptr;
    QWidget *Panel2 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QList<QLabel *> m_panels;
    QList<MenuGroup> m_menus;
    QMenu *m_editorPopup = nullptr;
    QMenu *m_paragraphPopup = nullptr;
    QMenu *m_charPopup = nullptr;
    QMenu *m_paperPopup = nullptr;

    QString m_documentFileName = DocumentHost::untitled();
    QString m_saveFolder;
    QDateTime m_createdAt;
    quint64 m_countedRevision = ~quint64(0);
    WordCount m_count;
    int m_zoomStep = 1;
    int m_sideMarginWidth = 400;
    int m_cachedFirstIndent = 0;
    int m_cachedLeftIndent = 0;
    int m_splitterStartX = -1;
    int m_splitterStartWidth = 0;
    bool m_zoomAllowed = false;
    bool m_firstActivation = true;
    bool m_optionsPendingOnActivate = true;
    bool m_inSelectionChange = false;
    bool m_inWheel = false;
    bool m_shown = false;
    bool m_closed = false;
    bool m_skipCloseQuery = false;
};
