#pragma once

#include "app/DesktopSettings.h"
#include "app/History.h"
#include "app/MenuMerger.h"
#include "app/StartupOptions.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>

class CommandRegistry;
class FrameClientArea;
class FrameCommands;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QTabBar;
class TEditForm;

// The program's main window: a maximised multiple-document frame whose client area holds the
// document windows (TEditForm), with a tab bar of one tab per document, the File and Window
// menus, and the document history.
//
// The frame owns nothing of a document: each document window registers with the frame when it is
// made and leaves when it starts closing (or is destroyed), and frees itself. The frame's own list
// of live windows, not the client area's list of sub-windows, answers which documents there are:
// a sub-window being destroyed is still in the area's list, half gone.
class TFrameForm : public QMainWindow, public HistoryHost
{
    Q_OBJECT
public:
    explicit TFrameForm(QWidget *parent = nullptr); // FormCreate
    ~TFrameForm() override;

    // The program's command line without the program name; the first showing opens its first
    // argument when that names an existing file.
    void setStartArguments(const QStringList &arguments) { m_startArguments = arguments; }
    // The history dialog of the program (not owned); documents opened and saved are recorded there.
    void setHistoryForm(THistoryForm *history);
    THistoryForm *historyForm() const { return m_history; }

    // --- Operations other windows call ----------------------------------------------------------
    // A nesting lock on redrawing the document area: drawing resumes, with a full redraw, when the
    // outermost pair ends.
    void BeginScreenUpdate();
    void EndScreenUpdate();
    int UpdateLockCount() const { return m_updateLockCount; }
    bool isScreenUpdateSuspended() const;

    void AddDocumentTab(TEditForm *document);
    void RemoveDocumentTab(TEditForm *document);
    QString NewTabCaption() const { return m_newTabCaption; }
    void setNewTabCaption(const QString &caption) { m_newTabCaption = caption; }
    // The caption of the currently selected tab.
    void setSelectedTabCaption(const QString &caption);

    // Reads "WordOptions.bin"; when it cannot be read the previous values stay and the user is told.
    void ReadStartupOptions();
    const StartupOptions &startupOptions() const { return m_options; }
    const DesktopSettings::Flags &settings() const { return m_settings; }
    DesktopSettings::Flags &settings() { return m_settings; }
    const QStringList &SymbolFonts() const { return m_symbolFonts; }

    // Marks the active document modified, renames it to path and saves it there.
    void SaveActiveDocumentAs(const QString &path);

    // Opens a file into a new document window by the usual steps (tab caption, update lock,
    // window, load). The window stays also when the file could not be read; false then, with the
    // reason in *error when given (else it was shown).
    bool openInNewWindow(const QString &path, QString *error = nullptr);
    bool openDocument(const QString &path) override; // HistoryHost

    // Document windows front to back: the active one first, then the one active before it.
    // Windows that started closing are not in it.
    QList<TEditForm *> documentWindows() const;
    TEditForm *activeDocument() const;
    int documentCount() const { return int(documentWindows().size()); }
    // Brings a document window to the front and activates it.
    void activateDocument(TEditForm *document);

    QTabBar *tabBar() const { return mdiChildrenTabs; }
    int tabTag() const { return m_tabTag; }
    // The document whose tab is at index.
    TEditForm *documentOfTab(int index) const;
    void setTabBarVisible(bool visible);

    // Menus: the frame's own, and the merge of a document window's menus into the menu bar.
    QList<MenuGroup> menuGroups() const { return m_menus; }
    void mergeMenus(const QList<MenuGroup> &documentMenus);
    void unmergeMenus();

    // The translucency of the frame for a percentage of the settings: 255 is opaque.
    static int transparencyAlpha(int percent);
    // The picture painted in the middle of the empty client area.
    QPixmap backgroundPicture() const;

    bool isOpenNewOnShow() const { return m_openNewOnShow; }
    bool isFirstPaintPending() const { return m_firstPaintPending; }
    void setFirstPaintPending(bool pending) { m_firstPaintPending = pending; }

    // --- Commands -------------------------------------------------------------------------------
    void New1Click();
    void Open1Click();
    void DocumentHistory1Click();
    void Exit1Click();
    void TileVertically1Click();
    void TileHorizontally1Click();
    void FlipThroughTop2Documents1Click();
    void StepThroughAllDocuments1Click();
    void CloseAllDocuments1Click();
    void CloseCurrentDocument1Click();

    void mdiChildrenTabsChange(int index);

signals:
    // A document window was made (before its file, if any, is loaded).
    void documentCreated(TEditForm *document);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    void buildWindowList();
    void FormShow();
    TEditForm *createDocumentWindow();
    void subWindowActivated(QMdiSubWindow *window);
    // The live document shown in a sub-window; the sub-window itself is never asked, it may be
    // in its destruction.
    TEditForm *documentOfSubWindow(const QMdiSubWindow *window) const;
    void updateWindowCommands();
    void tile(Qt::Orientation orientation);
    static QPixmap makeBackgroundPicture();

    QTabBar *mdiChildrenTabs = nullptr;
    FrameClientArea *m_area = nullptr;
    QLabel *Image1 = nullptr;
    CommandRegistry *m_commands = nullptr;
    std::unique_ptr<FrameCommands> m_frameCommands;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_windowMenu = nullptr;
    QList<MenuGroup> m_menus;
    QList<QAction *> m_windowListActions;

    QPointer<THistoryForm> m_history;
    QPointer<TEditForm> m_active;
    // The live document windows, most recently activated first.
    QList<QPointer<TEditForm>> m_documents;
    StartupOptions m_options;
    DesktopSettings::Flags m_settings;
    QStringList m_symbolFonts;
    QStringList m_startArguments;
    QString m_newTabCaption;
    int m_updateLockCount = 0;
    int m_tabTag = 0;
    int m_openFilterIndex = 1;
    bool m_openNewOnShow = false;
    bool m_firstPaintPending = false;
    bool m_shown = false;
    bool m_exitConfirmed = false;
};
