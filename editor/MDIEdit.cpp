#include "editor/MDIEdit.h"

#include "app/CommandTable.h"
#include "app/History.h"
#include "app/MDIFrame.h"
#include "app/StartupOptions.h"
#include "editor/CloseQuery.h"
#include "editor/DocumentFileFormats.h"
#include "editor/DocumentIO.h"
#include "editor/DocumentZoom.h"
#include "editor/WaitCursor.h"
#include "editor/richtext/RxRichEdit.h"
#include "export/RichEditPageSource.h"
#include "export/TfrmExport.h"
#include "export/TfrmInterval.h"
#include "export/TfrmPresentation.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

using Item = CommandTable::MenuItem<TEditForm>;
using Button = CommandTable::Button<TEditForm>;

constexpr int kPanelWidths[] = { 125, 100, 45, 45, 65, 80, 140, 172, 100, 125, 50 };
constexpr int kPanelCount = int(std::size(kPanelWidths));

QSize screenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

QWidget *sidePanel(const char *name, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAttribute(Qt::WA_StyledBackground);
    panel->setStyleSheet(QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                                        "stop:0 #cfd6e0, stop:0.5 #b9c3d1, stop:1 #cfd6e0); }")
                             .arg(QString::fromLatin1(name)));
    return panel;
}

} // namespace

TEditForm::TEditForm(TFrameForm *frame)
    : QMainWindow(nullptr)
    , m_frame(frame)
    , m_save(*this)
    , m_crypt(this)
    , m_protection(*this, m_save, m_crypt, [this] { closeWithoutQuery(); })
    , m_export(*this)
{
    setObjectName(QStringLiteral("EditForm"));
    setAttribute(Qt::WA_DeleteOnClose, false); // the sub-window frees the window
    buildControls();
    buildMenus();
    buildToolBars();
    FormCreate();
}

TEditForm::~TEditForm()
{
    if (!m_closed && m_frame)
        m_frame->RemoveDocumentTab(this);
}

QMdiSubWindow *TEditForm::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

QString TEditForm::applicationTitleFor(const QString &documentFileName)
{
    return QFileInfo(documentFileName).fileName() + QStringLiteral(" - Velmora Lumaro");
}

// --- Construction ------------------------------------------------------------------------------

void TEditForm::buildControls()
{
    setWindowTitle(DocumentHost::untitled());
    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel3 = new QWidget(central);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedHeight(5);
    Panel3->setAttribute(Qt::WA_StyledBackground);
    Panel3->setStyleSheet(QStringLiteral("#Panel3 { background: #5a5f66; }"));
    column->addWidget(Panel3);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    XiPanel1 = sidePanel("XiPanel1", central);
    XiPanel2 = sidePanel("XiPanel2", central);
    XiPanel1->setFixedWidth(200);
    XiPanel2->setFixedWidth(200);

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAttribute(Qt::WA_StyledBackground);
    Panel1->setStyleSheet(QStringLiteral("#Panel1 { background: white; }"));
    auto *textColumn = new QVBoxLayout(Panel1);
    textColumn->setContentsMargins(18, 0, 18, 0);
    textColumn->setSpacing(0);
    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(41);
    Panel2->setAttribute(Qt::WA_StyledBackground);
    Panel2->setStyleSheet(QStringLiteral("#Panel2 { background: white; }"));
    m_editor = new TRxRichEdit(Panel1);
    m_editor->setObjectName(QStringLiteral("Editor"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_exportSource = std::make_unique<RichEditPageSource>(*m_editor);
    textColumn->addWidget(Panel2);
    textColumn->addWidget(m_editor, 1);

    row->addWidget(XiPanel1);
    row->addWidget(Panel1, 1);
    row->addWidget(XiPanel2);
    column->addLayout(row, 1);
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < kPanelCount; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i + 1 < kPanelCount) {
            // The zoom panel grows when this system's font needs more room for its longest text.
            int width = kPanelWidths[i];
            if (i == 7)
                width = std::max(
                    width, panel->fontMetrics().horizontalAdvance(QStringLiteral("Zoom Factor: 200% - Maximum")) + 12);
            panel->setFixedWidth(width);
            panel->setAlignment(Qt::AlignCenter);
            StatusBar1->addWidget(panel);
        } else {
            StatusBar1->addWidget(panel, 1);
        }
        m_panels.append(panel);
    }
    setStatusBar(StatusBar1);
    setStatusText(5, QStringLiteral("INSERT"));
    setStatusText(7, QStringLiteral("Zoom Factor: 100% - Default"));

    connect(m_editor, &TRxRichEdit::contentChanged, this, &TEditForm::EditorChange);
    connect(m_editor, &TRxRichEdit::caretOrSelectionChanged, this, &TEditForm::EditorSelectionChange);
}

void TEditForm::buildMenus()
{
    QMenu *file = CommandTable::buildMenu<TEditForm>(this, QStringLiteral("&File"), "File1",
        {
            { QStringLiteral("&New"), "New1", QKeySequence(Qt::CTRL | Qt::Key_N),
                QStringLiteral("Start a New Document."), &TEditForm::New1Click, QStyle::SP_FileIcon },
            { QStringLiteral("&Open..."), "Open1", QKeySequence(Qt::CTRL | Qt::Key_O),
                QStringLiteral("Open an Existing Document."), &TEditForm::Open1Click, QStyle::SP_DialogOpenButton },
            { QStringLiteral("&Close"), "Close1", {}, QStringLiteral("Close Current Document."),
                &TEditForm::Close1Click, QStyle::SP_DialogCloseButton },
            Item::separator(QStringLiteral("Document Save Options")),
            { QStringLiteral("&Save"), "Save1", QKeySequence(Qt::CTRL | Qt::Key_S),
                QStringLiteral("Save Current Document."), &TEditForm::Save1Click, QStyle::SP_DialogSaveButton },
            { QStringLiteral("Save &as..."), "Saveas1", {}, {}, &TEditForm::Saveas1Click, {} },
            { QStringLiteral("Save Se&lected Text as..."), "Saveselectedas1", {}, {}, &TEditForm::Saveselectedas1Click,
                {} },
            Item::submenu(QStringLiteral("Export Document as"), "ExportDocumentas1",
                {
                    { QStringLiteral("Portable Document Format (*.pdf)..."), "PortableDocumentFormatpdf1", {}, {},
                        &TEditForm::PortableDocumentFormatpdf1Click, {} },
                    Item::submenu(QStringLiteral("Portable Document Format (Text Only)"),
                        "PortableDocumentFormatTextOnly1",
                        {
                            { QStringLiteral("in Times Roman 12..."), "inTimesRoman121", {}, {},
                                &TEditForm::TextOnlyPdfClick<8, 12>, {} },
                            { QStringLiteral("in Times Roman 11..."), "inTimesRoman111", {}, {},
                                &TEditForm::TextOnlyPdfClick<8, 11>, {} },
                            { QStringLiteral("in Times Roman 10..."), "inTimesRoman101", {}, {},
                                &TEditForm::TextOnlyPdfClick<8, 10>, {} },
                            Item::separator(),
                            { QStringLiteral("in Helvetica 12..."), "inHelvetica121", {}, {},
                                &TEditForm::TextOnlyPdfClick<0, 12>, {} },
                            { QStringLiteral("in Helvetica 11..."), "inHelvetica111", {}, {},
                                &TEditForm::TextOnlyPdfClick<0, 11>, {} },
                            { QStringLiteral("in Helvetica 10 ..."), "inHelvetica101", {}, {},
                                &TEditForm::TextOnlyPdfClick<0, 10>, {} },
                            Item::separator(),
                            { QStringLiteral("in Courier New 12..."), "inCourierNew121", {}, {},
                                &TEditForm::TextOnlyPdfClick<4, 12>, {} },
                            { QStringLiteral("in Courier New 11..."), "inCourierNew111", {}, {},
                                &TEditForm::TextOnlyPdfClick<4, 11>, {} },
                            { QStringLiteral("in Courier New 10..."), "inCourierNew101", {}, {},
                                &TEditForm::TextOnlyPdfClick<4, 10>, {} },
                            Item::separator(),
                            { QStringLiteral("in Courier New 9..."), "inCourierNew91", {}, {},
                                &TEditForm::TextOnlyPdfClick<4, 9>, {} },
                            { QStringLiteral("in Courier New 8..."), "inCourierNew81", {}, {},
                                &TEditForm::TextOnlyPdfClick<4, 8>, {} },
                            { QStringLiteral("in Courier New 7..."), "inCourierNew71", {}, {},
                                &TEditForm::TextOnlyPdfClick<4, 7>, {} },
                        }),
                    Item::separator(QStringLiteral("Digital Image Formats")),
                    { QStringLiteral("Windows Bitmap (*.bmp)..."), "WindowsBitmapbmp1", {}, {},
                        &TEditForm::WindowsBitmapbmp1Click, {} },
                    { QStringLiteral("Portable Network Graphic ( *.png)..."), "PortableNetworkGraphicpng1", {}, {},
                        &TEditForm::PortableNetworkGraphicpng1Click, {} },
                    { QStringLiteral("Graphics Interchange Format (*.gif)..."), "GraphicsInterchangeFormatgif1", {}, {},
                        &TEditForm::GraphicsInterchangeFormatgif1Click, {} },
                    { QStringLiteral("Windows Enhanced Metafile (*.emf)..."), "WindowsEnhancedMetafileemf1", {}, {},
                        &TEditForm::WindowsEnhancedMetafileemf1Click, {} },
                    { QStringLiteral("Tagged Information File Format (*.tiff)..."), "TaggedInformationFileFormattiff1",
                        {}, {}, &TEditForm::TaggedInformationFileFormattiff1Click, {} },
                    { QStringLiteral("Joint Photographic Experts Group (*.jpg)..."),
                        "JointPhotographicExpertsGroupjpg1", {}, {}, &TEditForm::JointPhotographicExpertsGroupjpg1Click,
                        {} },
                    Item::separator(QStringLiteral("Velmora Office Presentation Format")),
                    { QStringLiteral("Velmora Presentation File Format (*.vmp)..."),
                        "VelmoraPresentationFileFormatvmp1", {}, {}, &TEditForm::VelmoraPresentationFileFormatvmp1Click,
                        {} },
                }),
            Item::separator(),
            { QStringLiteral("Document History..."), "DocumentHistory1", QKeySequence(Qt::CTRL | Qt::Key_H),
                QStringLiteral("Open Document History."), &TEditForm::DocumentHistory1Click,
                QStyle::SP_FileDialogContentsView },
            Item::separator(),
            { QStringLiteral("E&xit Velmora Lumaro Editor"), "Exit1", {}, {}, &TEditForm::Exit1Click, {} },
        });
    // The frame's Window menu holds the navigation keys; these items show them without taking
    // them, so each key has one owner.
    QMenu *view = CommandTable::buildMenu<TEditForm>(this, QStringLiteral("View"), "View1",
        {
            Item::separator(QStringLiteral("Document Navigation")),
            { QStringLiteral("Flip To Last Active Document\tCtrl+F7"), "FlipToLastActiveDocument1", {}, {},
                &TEditForm::FlipClick, {} },
            { QStringLiteral("Step To Next Document\tCtrl+F8"), "StepToNextDocument1", {}, {}, &TEditForm::StepClick,
                {} },
        });
    m_menus = { { 0, file }, { 1, view } };
    findChild<QAction *>(QStringLiteral("Saveselectedas1"))->setEnabled(false);
}

void TEditForm::buildToolBars()
{
    ToolBar1 = new QToolBar(QStringLiteral("Main"), this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setStyleSheet(QStringLiteral("QToolButton { min-width: 36px; }"));
    CommandTable::addButtons<TEditForm>(this, ToolBar1,
        {
            { "btnNew", QStringLiteral("New"), QStringLiteral("Start a New Document."), &TEditForm::New1Click,
                QStyle::SP_FileIcon, {} },
            { "ToolButton18", QStringLiteral("Last Opened Document"), QStringLiteral("Last Opened Document"),
                &TEditForm::ToolButton18Click, QStyle::SP_BrowserReload, {} },
            { "btnHistory", QStringLiteral("Document History"), QStringLiteral("Open Document History."),
                &TEditForm::DocumentHistory1Click, QStyle::SP_FileDialogContentsView, {} },
            { "btnOpen", QStringLiteral("Open"), QStringLiteral("Open an Existing Document."), &TEditForm::Open1Click,
                QStyle::SP_DialogOpenButton, {} },
            { "btnSave", QStringLiteral("Save"), QStringLiteral("Save Current Document."), &TEditForm::Save1Click,
                QStyle::SP_DialogSaveButton, {} },
            {},
            { "btnCrypt", QStringLiteral("Close"), QStringLiteral("Close Current Document."), &TEditForm::Close1Click,
                QStyle::SP_DialogCloseButton, {} },
        });
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ToolBar2 = new QToolBar(QStringLiteral("Format"), this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->setIconSize(QSize(24, 24));
    ToolBar2->setStyleSheet(QStringLiteral("QToolButton { min-width: 36px; }"));
    CommandTable::addButtons<TEditForm>(this, ToolBar2,
        {
            { "btnSuperScript", QStringLiteral("Flip To Last Active Document"),
                QStringLiteral("Flip To Last Active Document - Ctrl+F7"), &TEditForm::FlipClick, QStyle::SP_ArrowBack,
                {} },
            { "btnSubScript", QStringLiteral("Step To Next Document"),
                QStringLiteral("Step To Next Document - Ctrl+F8"), &TEditForm::StepClick, QStyle::SP_ArrowForward, {} },
        });
    addToolBar(Qt::TopToolBarArea, ToolBar2);
}

void TEditForm::FormCreate()
{
    m_frame->AddDocumentTab(this);
    m_firstActivation = true;
    m_underlineColour = 0;
    m_underlineType = 1;
    m_createdAt = QDateTime::currentDateTime();
    m_cachedFirstIndent = 0;
    m_cachedLeftIndent = 0;
    m_optionsPendingOnActivate = true;
    m_documentFileName = DocumentHost::untitled();
    m_editor->emptyUndoBuffer();

    const StartupOptions::ReadResult read = StartupOptions::readFile();
    if (!read.ok()) {
        // The steps that need the options are skipped; the window stays usable.
        Dialogs::instance().error(read.errorMessage);
        return;
    }
    const StartupOptions &options = read.options;
    m_saveFolder = options.DefaultFolder;
    m_sideMarginWidth = options.sidePanelWidth(screenSize().width());
    m_zoomStep = options.ZoomStep;
    m_editor->setAdvancedTypography(true);
}

// --- Showing, activation -----------------------------------------------------------------------

void TEditForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TEditForm::FormShow()
{
    const bool fullWidth = m_frame->settings().fullWidthLayout;
    XiPanel1->setVisible(!fullWidth);
    XiPanel2->setVisible(!fullWidth);
    EditorChange();
    focusEditor();
    updateDocumentCount();
}

void TEditForm::FormActivate()
{
    m_frame->BeginScreenUpdate();
    m_frame->mergeMenus(m_menus);
    if (m_optionsPendingOnActivate) {
        m_optionsPendingOnActivate = false;
        const StartupOptions::ReadResult read = StartupOptions::readFile();
        if (!read.ok()) {
            Dialogs::instance().error(read.errorMessage);
        } else {
            QTextCharFormat format;
            format.setFontFamilies({ read.options.DefaultFontName });
            format.setFontPointSize(read.options.DefaultFontSize);
            m_editor->mergeCurrentCharFormat(format);
            if (read.options.isRightToLeft())
                m_editor->paragraph().setRightToLeft(true);
        }
    }
    updateDocumentCount();
    setApplicationTitle(applicationTitleFor(m_documentFileName));
    if (m_firstActivation) {
        m_firstActivation = false;
        m_frame->setTabBarVisible(m_frame->settings().tabbedDocument);
        if (m_frame->settings().fullHeightLayout) {
            ToolBar1->hide();
            ToolBar2->hide();
            StatusBar1->hide();
        }
        SetModifiedIndicator(false);
    }
    if (m_editor->isVisible())
        focusEditor();
    UpdateStatusBar();
    m_frame->EndScreenUpdate();
}

void TEditForm::FormDeactivate()
{
    m_frame->BeginScreenUpdate();
    m_frame->unmergeMenus();
    m_frame->EndScreenUpdate();
}

// --- Document ------------------------------------------------------------------------------------

bool TEditForm::LoadDocument(const QString &path, QString *error)
{
    // A protected file asks for its password (or offers to unprotect an old one) first; its
    // plain content stays in memory.
    QByteArray content;
    QByteArray password;
    QString why;
    const DocumentProtection::OpenResult opened = m_protection.openFile(path, &content, &password, &why);
    if (opened == DocumentProtection::OpenResult::Cancelled
        || (opened == DocumentProtection::OpenResult::Failed && why.isEmpty()))
        return false;
    bool ok = opened != DocumentProtection::OpenResult::Failed;
    if (ok) {
        WaitCursor wait;
        m_editor->setUpdatesEnabled(false);
        ok = DocumentIO::loadContent(*m_editor, content, path, &why);
        m_editor->setUpdatesEnabled(true);
    }
    content.fill('\0');
    if (!ok) {
        if (error)
            *error = why;
        else
            Dialogs::instance().error(why);
        return false;
    }
    m_save.setProtectionPassword(password);
    const bool isTemplate = DocumentFileFormats::isTemplate(path);
    m_documentFileName = isTemplate ? DocumentHost::untitled() : path;
    setWindowCaption(isTemplate ? DocumentHost::untitled() : path);
    // A loaded file is saved in its own format, not in one left over from an earlier Save As.
    m_save.setFilterIndex(1);
    setApplicationTitle(applicationTitleFor(m_documentFileName));
    m_editor->setSelection(0, 0);
    ApplyZoom();
    RefreshPageViews();
    if (m_editor->isVisible())
        focusEditor();
    UpdateStatusBar();
    SetModifiedIndicator(false);
    return true;
}

void TEditForm::SetModifiedIndicator(bool modified)
{
    setStatusText(1, modified ? QStringLiteral("Modified") : QString());
    m_editor->setModified(modified);
}

void TEditForm::RefreshPageViews()
{
    // The thumbnail strip and the export strip are the page views; a window shows neither yet.
}

void TEditForm::ApplyZoom()
{
    const DocumentZoom::Applied applied = DocumentZoom::apply(m_zoomStep, m_sideMarginWidth, screenSize());
    m_zoomStep = applied.step;
    if (!applied.changed)
        return;
    m_editor->setUpdatesEnabled(false);
    XiPanel1->setFixedWidth(applied.panelWidth);
    XiPanel2->setFixedWidth(applied.panelWidth);
    m_editor->setZoom(applied.numerator, applied.denominator);
    setStatusText(7, applied.text);
    m_editor->setUpdatesEnabled(true);
}

void TEditForm::UpdateStatusBar()
{
    const QPoint caret = m_editor->caretPos();
    setStatusText(0, QString::asprintf("Line: %3d  Col: %3d", caret.y() + 1, caret.x() + 1));
    updateDocumentCount();
    if (QAction *selected = findChild<QAction *>(QStringLiteral("Saveselectedas1")))
        selected->setEnabled(m_editor->selLength() > 0);
}

QString TEditForm::statusText(int panel) const
{
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel]->text() : QString();
}

void TEditForm::setStatusText(int panel, const QString &text)
{
    if (panel >= 0 && panel < m_panels.size())
        m_panels[panel]->setText(text);
}

QString TEditForm::documentCountText() const
{
    return QString::number(m_frame->documentCount()) + QStringLiteral(" Document(s) Open");
}

void TEditForm::updateDocumentCount()
{
    setStatusText(6, documentCountText());
}

// --- Closing -------------------------------------------------------------------------------------

bool TEditForm::FormCloseQuery()
{
    return CloseQuery::mayClose(*this, m_save);
}

void TEditForm::closeEvent(QCloseEvent *event)
{
    if (!m_skipCloseQuery && !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TEditForm::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    m_frame->RemoveDocumentTab(this);
}

bool TEditForm::closeDocument()
{
    if (QMdiSubWindow *sub = subWindow())
        return sub->close();
    return close();
}

void TEditForm::closeWithoutQuery()
{
    m_skipCloseQuery = true;
    closeDocument();
}

// --- Handlers ------------------------------------------------------------------------------------

void TEditForm::New1Click()
{
    m_frame->New1Click();
}
void TEditForm::Open1Click()
{
    m_frame->Open1Click();
}
void TEditForm::Close1Click()
{
    closeDocument();
}
void TEditForm::Save1Click()
{
    m_save.save();
}
void TEditForm::Saveas1Click()
{
    m_save.saveAs();
}
void TEditForm::Saveselectedas1Click()
{
    m_save.saveSelectionAs();
}
void TEditForm::Exit1Click()
{
    m_frame->Exit1Click();
}
void TEditForm::FlipClick()
{
    m_frame->FlipThroughTop2Documents1Click();
}
void TEditForm::StepClick()
{
    m_frame->StepThroughAllDocuments1Click();
}

void TEditForm::DocumentHistory1Click()
{
    m_frame->DocumentHistory1Click();
    if (TEditForm *active = m_frame->activeDocument())
        active->focusEditor();
}

void TEditForm::ToolButton18Click()
{
    if (THistoryForm *history = m_frame->historyForm())
        LastOpenedDocument::reload(history->history(), *this);
}

void TEditForm::PortableDocumentFormatpdf1Click()
{
    exportCommands().exportPdf();
}
void TEditForm::WindowsBitmapbmp1Click()
{
    exportCommands().exportImages(ExportKind::Bmp);
}
void TEditForm::PortableNetworkGraphicpng1Click()
{
    exportCommands().exportImages(ExportKind::Png);
}
void TEditForm::GraphicsInterchangeFormatgif1Click()
{
    exportCommands().exportImages(ExportKind::Gif);
}
void TEditForm::WindowsEnhancedMetafileemf1Click()
{
    exportCommands().exportImages(ExportKind::Emf);
}
void TEditForm::TaggedInformationFileFormattiff1Click()
{
    exportCommands().exportImages(ExportKind::Tiff);
}
void TEditForm::JointPhotographicExpertsGroupjpg1Click()
{
    exportCommands().exportImages(ExportKind::Jpeg);
}
void TEditForm::VelmoraPresentationFileFormatvmp1Click()
{
    exportCommands().exportPresentation();
}

void TEditForm::EditorChange()
{
    SetModifiedIndicator(m_editor->isModified());
}

void TEditForm::EditorSelectionChange()
{
    m_inSelectionChange = true;
    UpdateStatusBar();
    m_inSelectionChange = false;
}

// --- Host interfaces -------------------------------------------------------------------------------

TRxRichEdit &TEditForm::editor()
{
    return *m_editor;
}

void TEditForm::setDocumentFileName(const QString &path)
{
    m_documentFileName = path;
}

void TEditForm::setWindowCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TEditForm::setSelectedTabCaption(const QString &caption)
{
    m_frame->setSelectedTabCaption(caption);
}

void TEditForm::setApplicationTitle(const QString &title)
{
    QGuiApplication::setApplicationDisplayName(title);
}

void TEditForm::focusEditor()
{
    if (m_editor->isEnabled())
        m_editor->setFocus();
}

void TEditForm::recordSavedAs(const QString &path, int filterIndex)
{
    if (THistoryForm *history = m_frame->historyForm())
        history->addFromSaveAs(path, filterIndex);
}

void TEditForm::recordSavedSelection(const QString &path)
{
    if (THistoryForm *history = m_frame->historyForm())
        history->addFromSaveSelection(path);
}

ExportCommands &TEditForm::exportCommands()
{
    // The export windows are made once at program start as children of the frame. A document
    // window made without them exports with no progress window and the options' first values.
    m_export.setProgress(m_frame->findChild<TfrmExport *>());
    std::function<int()> viewingTime;
    if (auto *interval = m_frame->findChild<TfrmInterval *>())
        viewingTime = [interval]() { return interval->ask(); };
    m_export.setViewingTime(viewingTime);
    std::function<PresentationOptions()> presentationOptions;
    if (auto *presentation = m_frame->findChild<TfrmPresentation *>())
        presentationOptions = [presentation]() { return presentation->ask(); };
    m_export.setPresentationOptions(presentationOptions);
    return m_export;
}

ExportPageSource &TEditForm::pageSource()
{
    return *m_exportSource;
}

void TEditForm::setZoomStep(int step)
{
    m_zoomStep = step;
    ApplyZoom();
    // The text column takes its new width at once, not when the event loop next runs: the
    // text-only export reads the display lines right after.
    if (QLayout *layout = centralWidget()->layout())
        layout->activate();
}

void TEditForm::setCaretToStart()
{
    m_editor->setSelection(0, 0);
}

bool TEditForm::isModified() const
{
    return m_editor->isModified();
}

bool TEditForm::hasText() const
{
    return m_editor->textLength() > 0;
}

bool TEditForm::save()
{
    const SaveCommands::Result result = m_save.save();
    return result == SaveCommands::Result::Saved || result == SaveCommands::Result::NotNeeded;
}
