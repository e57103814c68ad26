#include "editor/MDIEdit.h"

#include "app/History.h"
#include "app/MDIFrame.h"
#include "app/StartupOptions.h"
#include "editor/CloseQuery.h"
#include "editor/DocumentFileFormats.h"
#include "editor/DocumentIO.h"
#include "editor/DocumentZoom.h"
#include "editor/WaitCursor.h"
#include "editor/commands/BuilderCommands.h"
#include "editor/commands/CharacterCommands.h"
#include "editor/commands/CommandRegistry.h"
#include "editor/commands/DocumentLayout.h"
#include "editor/commands/EditCommands.h"
#include "editor/commands/FileCommands.h"
#include "editor/commands/PageViewCommands.h"
#include "editor/commands/ParagraphCommands.h"
#include "editor/commands/PhraseTemplateCommands.h"
#include "editor/commands/PrintCommands.h"
#include "editor/commands/ProtectionCommands.h"
#include "editor/commands/SearchCommands.h"
#include "editor/commands/SpellingHelpCommands.h"
#include "editor/commands/TextToolCommands.h"
#include "editor/commands/ToolCommands.h"
#include "editor/commands/ViewCommands.h"
#include "editor/richtext/RxRichEdit.h"
#include "export/RichEditPageSource.h"
#include "export/TfrmExport.h"
#include "export/TfrmInterval.h"
#include "export/TfrmPresentation.h"
#include "platform/KeyboardState.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <optional>

namespace {

constexpr int kPanelWidths[] = { 125, 100, 45, 45, 65, 80, 140, 172, 100, 125, 50 };
constexpr int kPanelCount = int(std::size(kPanelWidths));
constexpr int kRulerWidth = 43;
constexpr int kSplitterWidth = 3;

std::optional<QSize> &testScreenSize()
{
    static std::optional<QSize> size;
    return size;
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

// A vertical pixel ruler as tall as the screen: a tick at every even y from the inner edge, longer
// at tens, fifties (numbered) and hundreds (numbered in bold).
QPixmap rulerPixmap(int height, bool leftPanel)
{
    QPixmap pixmap(kRulerWidth, height);
    pixmap.fill(QColor(0x5a, 0x6b, 0x84));
    QPainter painter(&pixmap);
    painter.setPen(Qt::white);
    QFont normal(QStringLiteral("Arial"));
    normal.setPixelSize(9);
    QFont bold = normal;
    bold.setBold(true);
    for (int y = 1; y <= height; ++y) {
        int length = 0;
        if (y % 100 == 0)
            length = 15;
        else if (y % 50 == 0)
            length = 12;
        else if (y % 10 == 0)
            length = 8;
        else if (y % 2 == 0)
            length = 5;
        if (length == 0)
            continue;
        if (leftPanel)
            painter.drawLine(kRulerWidth - length, y, kRulerWidth - 1, y);
        else
            painter.drawLine(0, y, length - 1, y);
        if (y % 50 == 0) {
            painter.setFont(y % 100 == 0 ? bold : normal);
            const int x = leftPanel ? (y % 100 == 0 ? kRulerWidth - 41 : kRulerWidth - 33) : (y % 100 == 0 ? 19 : 14);
            painter.drawText(QPoint(x, y + 3), QString::number(y));
        }
    }
    return pixmap;
}

QToolButton *sideButton(const CommandRegistry &registry, const char *name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setIconSize(QSize(32, 32));
    if (QAction *action = registry.actionForButton(QString::fromLatin1(name)))
        button->setDefaultAction(action);
    return button;
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
    buildCommands();
    buildSidePanels();
    buildMenus();
    buildToolBars();
    FormCreate();
}

TEditForm::~TEditForm()
{
    // Destroyed without closing (the frame or the sub-window went first): the window leaves the
    // frame before anything of it is gone, and its children's last signals reach nobody.
    disconnect(m_editor, nullptr, this, nullptr);
    if (!m_closed) {
        m_closed = true;
        if (m_frame)
            m_frame->RemoveDocumentTab(this);
    }
    // The command classes refer to the editor; they go before the widgets do.
    m_areas.clear();
}

QMdiSubWindow *TEditForm::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

QString TEditForm::applicationTitleFor(const QString &documentFileName)
{
    return QFileInfo(documentFileName).fileName() + QStringLiteral(" - Velmora Lumaro");
}

void TEditForm::setScreenSizeForTesting(const QSize &size)
{
    testScreenSize() = size.isValid() ? std::optional<QSize>(size) : std::nullopt;
}

QSize TEditForm::screenSize()
{
    if (testScreenSize())
        return *testScreenSize();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

int TEditForm::toolBarIndent(int screenWidth)
{
    return std::max(0, (screenWidth - 1287) / 2);
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
    Panel2->setContextMenuPolicy(Qt::CustomContextMenu);
    Panel2->setToolTip(QStringLiteral("Paragraph Presets: right-click"));
    m_editor = new TRxRichEdit(Panel1);
    m_editor->setObjectName(QStringLiteral("Editor"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_exportSource = std::make_unique<RichEditPageSource>(*m_editor);
    textColumn->addWidget(Panel2);
    textColumn->addWidget(m_editor, 1);

    RbSplitter1 = new QWidget(central);
    RbSplitter1->setObjectName(QStringLiteral("RbSplitter1"));
    RbSplitter1->setFixedWidth(kSplitterWidth);
    RbSplitter1->setCursor(Qt::SplitHCursor);
    RbSplitter1->setAttribute(Qt::WA_StyledBackground);
    RbSplitter1->setStyleSheet(QStringLiteral("#RbSplitter1 { background: #8a93a0; }"));
    RbSplitter1->installEventFilter(this);

    row->addWidget(XiPanel1);
    row->addWidget(Panel1, 1);
    row->addWidget(RbSplitter1);
    row->addWidget(XiPanel2);
    column->addLayout(row, 1);
    setCentralWidget(central);
    buildStatusBar();

    connect(m_editor, &TRxRichEdit::contentChanged, this, &TEditForm::EditorChange);
    connect(m_editor, &TRxRichEdit::caretOrSelectionChanged, this, &TEditForm::EditorSelectionChange);
    connect(m_editor, &TRxRichEdit::popupMenuRequested, this, &TEditForm::showEditorPopup);
    connect(m_editor, &TRxRichEdit::keyPressed, this, &TEditForm::editorKeyPressed);
    connect(m_editor, &TRxRichEdit::keyReleased, this, &TEditForm::editorKeyReleased);
    connect(Panel2, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        m_registry->refresh();
        m_paragraphPopup->exec(Panel2->mapToGlobal(at));
    });
}

void TEditForm::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < kPanelCount; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i + 1 < kPanelCount) {
            // Panels grow when this system's font needs more room for their longest text.
            int width = kPanelWidths[i];
            if (i == 7)
                width = std::max(
                    width, panel->fontMetrics().horizontalAdvance(QStringLiteral("Zoom Factor: 200% - Maximum")) + 12);
            if (i == 6)
                width = std::max(
                    width, panel->fontMetrics().horizontalAdvance(QStringLiteral("99 Document(s) Open")) + 12);
            if (i == 8 || i == 9)
                width = std::max(
                    width, panel->fontMetrics().horizontalAdvance(QStringLiteral("Characters: 9999999")) + 12);
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
    // A click on the status bar refreshes the document count.
    StatusBar1->installEventFilter(this);
}

void TEditForm::buildSidePanels()
{
    const int height = screenSize().height();
    auto buildPanel
        = [&](QWidget *panel, QLabel *&ruler, const char *rulerName, bool left, const QList<const char *> &buttons) {
              auto *layout = new QHBoxLayout(panel);
              layout->setContentsMargins(0, 0, 0, 0);
              layout->setSpacing(0);
              ruler = new QLabel(panel);
              ruler->setObjectName(QString::fromLatin1(rulerName));
              ruler->setFixedWidth(kRulerWidth);
              ruler->setAlignment(Qt::AlignTop | Qt::AlignLeft);
              ruler->setPixmap(rulerPixmap(height, left));
              ruler->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
              auto *buttonColumn = new QVBoxLayout;
              buttonColumn->setContentsMargins(4, 12, 4, 12);
              buttonColumn->setSpacing(6);
              for (const char *name : buttons) {
                  QToolButton *button = sideButton(*m_registry, name, panel);
                  m_sideButtons.append(button);
                  buttonColumn->addWidget(button, 0, Qt::AlignHCenter);
              }
              buttonColumn->addStretch(1);
              if (left) {
                  layout->addLayout(buttonColumn, 1);
                  layout->addWidget(ruler);
              } else {
                  layout->addWidget(ruler);
                  layout->addLayout(buttonColumn, 1);
              }
              return buttonColumn;
          };
    buildPanel(XiPanel1, Image1, "Image1", true, DocumentLayout::leftSideButtons());
    QVBoxLayout *right = buildPanel(XiPanel2, Image2, "Image2", false, DocumentLayout::rightSideButtons());

    // The export strip, the clock and the view label stand at the right panel's foot.
    ScrollBox1 = new QScrollArea(XiPanel2);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFixedWidth(150);
    ScrollBox1->hide();
    ScrollBox1->viewport()->installEventFilter(this);
    right->insertWidget(0, ScrollBox1, 1);
    lblViewMode = new QLabel(QStringLiteral("Print Preview"), XiPanel2);
    lblViewMode->setObjectName(QStringLiteral("lblViewMode"));
    lblViewMode->setAlignment(Qt::AlignCenter);
    lblViewMode->hide();
    RxClock1 = new QLabel(XiPanel2);
    RxClock1->setObjectName(QStringLiteral("RxClock1"));
    RxClock1->setAlignment(Qt::AlignCenter);
    RxClock1->setStyleSheet(QStringLiteral("#RxClock1 { color: white; font-weight: bold; }"));
    right->addWidget(lblViewMode);
    right->addWidget(RxClock1);
    right->addSpacing(31);
    m_clockTimer = new QTimer(this);
    auto tick = [this] { RxClock1->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))); };
    connect(m_clockTimer, &QTimer::timeout, this, tick);
    tick();
    m_clockTimer->start(1000);
}

void TEditForm::buildCommands()
{
    m_registry = new CommandRegistry(this);
    auto edit = std::make_unique<EditCommands>(*m_editor, *this);
    m_edit = edit.get();
    auto view = std::make_unique<ViewCommands>(*this);
    m_view = view.get();
    m_areas.push_back(std::make_unique<FileCommands>(*this));
    m_areas.push_back(std::move(edit));
    m_areas.push_back(std::move(view));
    m_areas.push_back(std::make_unique<CharacterCommands>());
    m_areas.push_back(std::make_unique<ParagraphCommands>());
    m_areas.push_back(std::make_unique<SearchCommands>());
    m_areas.push_back(std::make_unique<TextToolCommands>());
    m_areas.push_back(std::make_unique<SpellingHelpCommands>());
    m_areas.push_back(std::make_unique<ProtectionCommands>(m_protection));
    m_areas.push_back(std::make_unique<PageViewCommands>());
    m_areas.push_back(std::make_unique<PrintCommands>());
    m_areas.push_back(std::make_unique<BuilderCommands>());
    m_areas.push_back(std::make_unique<PhraseTemplateCommands>());
    m_areas.push_back(std::make_unique<ToolCommands>());
    for (const std::unique_ptr<CommandArea> &area : m_areas)
        m_registry->add(*area);
    // Paste follows the clipboard, also when another program copies.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        m_edit->updatePasteAvailability();
        m_registry->refresh({ QStringLiteral("Paste1") });
    });
}

void TEditForm::buildMenus()
{
    m_menus.clear();
    for (const MenuDefinition &definition : DocumentLayout::menuBar()) {
        QMenu *menu = MenuLayout::buildMenu(*m_registry, definition.caption, definition.name, definition.items, this);
        connect(menu, &QMenu::aboutToShow, this, [this] {
            m_edit->updatePasteAvailability();
            m_registry->refresh();
        });
        m_menus.append({ definition.group, menu });
    }
    m_editorPopup
        = MenuLayout::buildMenu(*m_registry, QString(), "EditorPopupMenu", DocumentLayout::editorPopup(), this);
    m_paragraphPopup
        = MenuLayout::buildMenu(*m_registry, QString(), "ParagraphPopupMenu", DocumentLayout::paragraphPopup(), this);
    m_charPopup
        = MenuLayout::buildMenu(*m_registry, QString(), "CharPopup", DocumentLayout::specialCharacterPopup(), this);
    m_paperPopup = MenuLayout::buildMenu(*m_registry, QString(), "PaperPopupMenu", DocumentLayout::paperPopup(), this);
}

void TEditForm::buildToolBars()
{
    auto makeBar = [this](const QString &title, const char *name, QWidget *&indent) {
        auto *bar = new QToolBar(title, this);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setIconSize(QSize(22, 22));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->setStyleSheet(QStringLiteral("QToolButton { min-width: 30px; }"));
        indent = new QWidget(bar);
        indent->setFixedWidth(5);
        bar->addWidget(indent);
        return bar;
    };
    ToolBar1 = makeBar(QStringLiteral("Main"), "ToolBar1", m_toolBar1Indent);
    MenuLayout::addButtons(
        *m_registry, ToolBar1, DocumentLayout::toolBar1(), [](const char *) -> QWidget * { return nullptr; });
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    addToolBarBreak(Qt::TopToolBarArea);

    ToolBar2 = makeBar(QStringLiteral("Format"), "ToolBar2", m_toolBar2Indent);
    MenuLayout::addButtons(*m_registry, ToolBar2, DocumentLayout::toolBar2(), [this](const char *name) -> QWidget * {
        const QLatin1String widget(name);
        if (widget == QLatin1String("FontName")) {
            auto *box = new QFontComboBox(ToolBar2);
            box->setObjectName(QStringLiteral("FontName"));
            box->setToolTip(QStringLiteral("Font"));
            box->setStatusTip(QStringLiteral("Displays Font Selection or Current Font."));
            box->setMinimumWidth(180);
            return box;
        }
        if (widget == QLatin1String("FontSize1")) {
            auto *box = new QSpinBox(ToolBar2);
            box->setObjectName(QStringLiteral("FontSize1"));
            box->setToolTip(QStringLiteral("Text Size"));
            box->setStatusTip(QStringLiteral("Change the Text Size."));
            box->setRange(4, 500);
            box->setSingleStep(2);
            box->setValue(10);
            return box;
        }
        return nullptr;
    });
    // The special-character button drops its pop-up down.
    if (auto *button = ToolBar2->findChild<QToolButton *>(QStringLiteral("btnFont"))) {
        button->setMenu(m_charPopup);
        button->setPopupMode(QToolButton::InstantPopup);
    }
    addToolBar(Qt::TopToolBarArea, ToolBar2);
}

void TEditForm::FormCreate()
{
    m_frame->AddDocumentTab(this);
    m_firstActivation = true;
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
    // The frame's setting picks the layout without writing the settings file.
    if (m_frame->settings().fullWidthLayout)
        m_view->FullWidthOutlineLayout1Click(false);
    else
        m_view->CentredOutlineLayout1Click(false);
    setSideButtonsVisible(m_frame->settings().viewRulers);
    UpdateKeyStates();
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
        if (m_frame->settings().fullHeightLayout)
            setBarsVisible(false);
        SetModifiedIndicator(false);
    }
    if (m_editor->isVisible())
        focusEditor();
    UpdateKeyStates();
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

WordCount TEditForm::documentWordCount()
{
    // A caret move does not change the text: the count of this revision stands.
    const quint64 revision = quint64(m_editor->document()->revision());
    if (revision != m_countedRevision) {
        m_count = WordCounter::count(m_editor->text());
        m_countedRevision = revision;
    }
    return m_count;
}

void TEditForm::UpdateStatusBar()
{
    const QPoint caret = m_editor->caretPos();
    setStatusText(0, QString::asprintf("Line: %3d  Col: %3d", caret.y() + 1, caret.x() + 1));
    updateDocumentCount();
    const WordCount count = documentWordCount();
    setStatusText(8, QStringLiteral("Words: ") + QString::number(count.words));
    setStatusText(9, QStringLiteral("Characters: ") + QString::number(count.total()));
    updateCommandStates();
}

void TEditForm::UpdateKeyStates()
{
    const KeyboardState::Locks locks = KeyboardState::locks();
    setStatusText(2, locks.numLock ? QStringLiteral("NUM") : QString());
    setStatusText(3, locks.capsLock ? QStringLiteral("CAPS") : QString());
    setStatusText(4, locks.scrollLock ? QStringLiteral("SCROLL") : QString());
    setStatusText(5, m_editor->overwriteMode() ? QStringLiteral("OVERWRITE") : QStringLiteral("INSERT"));
}

void TEditForm::updateCommandStates()
{
    m_registry->refresh();
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

// --- Change handling -------------------------------------------------------------------------------

void TEditForm::EditorChange()
{
    SetModifiedIndicator(m_editor->isModified());
    m_registry->refresh({ QStringLiteral("Undo1"), QStringLiteral("Redo1"), QStringLiteral("ClearAll1") });
}

void TEditForm::EditorSelectionChange()
{
    m_inSelectionChange = true;
    UpdateStatusBar();
    m_inSelectionChange = false;
}

void TEditForm::showEditorPopup(const QPoint &globalPos)
{
    m_edit->updatePasteAvailability();
    m_registry->refresh();
    m_editorPopup->exec(globalPos);
}

void TEditForm::editorKeyPressed(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_NumLock:
    case Qt::Key_CapsLock:
    case Qt::Key_ScrollLock:
        KeyboardState::noteKeyPress(event->key());
        break;
    default:
        break;
    }
}

void TEditForm::editorKeyReleased(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Insert:
    case Qt::Key_NumLock:
    case Qt::Key_CapsLock:
    case Qt::Key_ScrollLock:
        UpdateKeyStates();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Space:
    case Qt::Key_Tab:
        RefreshPageViews();
        break;
    default:
        break;
    }
}

// --- Resize, splitter, wheel -----------------------------------------------------------------------

void TEditForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TEditForm::FormResize()
{
    // "Maximised" is the sub-window's own state: a panel or dock of the desktop must not take the
    // zoom away for good.
    const QMdiSubWindow *sub = subWindow();
    const bool maximised = sub ? sub->isMaximized() : isMaximized();
    const int indent = maximised ? toolBarIndent(screenSize().width()) : 5;
    m_toolBar1Indent->setFixedWidth(std::max(indent, 1));
    m_toolBar2Indent->setFixedWidth(std::max(indent, 1));
    m_zoomAllowed = maximised;
    if (maximised) {
        Image1->setPixmap(rulerPixmap(screenSize().height(), true));
        Image2->setPixmap(rulerPixmap(screenSize().height(), false));
        ApplyZoom();
    } else {
        XiPanel1->setFixedWidth(275);
        XiPanel2->setFixedWidth(200);
        UpdateStatusBar();
    }
    if (!m_editor->isModified())
        setStatusText(1, QString());
    m_registry->refresh({ QStringLiteral("ZoomIn1"), QStringLiteral("ZoomOut1") });
}

void TEditForm::splitterDragged(int globalX)
{
    // Dragging left widens the right panel; a width is taken only between 200 and half the window.
    const int width = m_splitterStartWidth + (m_splitterStartX - globalX);
    if (width > 200 && width < Panel3->width() / 2)
        XiPanel2->setFixedWidth(width);
}

bool TEditForm::wheelOverPageView(QObject *watched, QWheelEvent *event)
{
    auto *viewport = qobject_cast<QWidget *>(watched);
    auto *area = viewport ? qobject_cast<QAbstractScrollArea *>(viewport->parentWidget()) : nullptr;
    if (!area || area->viewport() != viewport)
        return false;
    QScrollBar *bar = area->verticalScrollBar();
    const int position = bar->value();
    if (event->angleDelta().y() < 0) {
        if (position < bar->maximum() - 40)
            bar->setValue(position + 40);
    } else if (event->angleDelta().y() > 0) {
        bar->setValue(std::max(0, position - 40));
    }
    event->accept();
    return true;
}

bool TEditForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Wheel:
        if (ScrollBox1 && watched == ScrollBox1->viewport() && !m_inWheel) {
            m_inWheel = true;
            const bool consumed = wheelOverPageView(watched, static_cast<QWheelEvent *>(event));
            m_inWheel = false;
            return consumed;
        }
        break;
    case QEvent::MouseButtonPress:
        if (watched == RbSplitter1) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            m_splitterStartX = int(mouse->globalPosition().x());
            m_splitterStartWidth = XiPanel2->width();
            return true;
        }
        if (watched == StatusBar1)
            updateDocumentCount();
        break;
    case QEvent::MouseMove:
        if (watched == RbSplitter1 && m_splitterStartX >= 0) {
            splitterDragged(int(static_cast<QMouseEvent *>(event)->globalPosition().x()));
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == RbSplitter1 && m_splitterStartX >= 0) {
            m_splitterStartX = -1;
            const int width = XiPanel2->width();
            if (width >= 200 && width < Panel3->width() / 3)
                XiPanel1->setFixedWidth(width);
            m_editor->viewport()->update();
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- View host -------------------------------------------------------------------------------------

void TEditForm::setSidePanelsVisible(bool visible)
{
    XiPanel1->setVisible(visible);
    XiPanel2->setVisible(visible);
    RbSplitter1->setVisible(visible);
}

void TEditForm::setBarsVisible(bool visible)
{
    ToolBar1->setVisible(visible);
    ToolBar2->setVisible(visible);
    StatusBar1->setVisible(visible);
}

void TEditForm::setSideButtonsVisible(bool visible)
{
    for (QWidget *button : std::as_const(m_sideButtons))
        button->setVisible(visible);
}

bool TEditForm::isAnyThumbnailViewOn() const
{
    const DesktopSettings::Flags &flags = m_frame->settings();
    return flags.printThumbnails || flags.pdfThumbnails || flags.imageThumbnails;
}

void TEditForm::flipDocuments()
{
    m_frame->FlipThroughTop2Documents1Click();
}

void TEditForm::stepDocuments()
{
    m_frame->StepThroughAllDocuments1Click();
}

bool TEditForm::frameSetting(int which) const
{
    const DesktopSettings::Flags &flags = m_frame->settings();
    switch (which) {
    case FullWidthLayout:
        return flags.fullWidthLayout;
    case FullHeightLayout:
        return flags.fullHeightLayout;
    case SideButtons:
        return flags.viewRulers;
    case TabbedDocument:
        return flags.tabbedDocument;
    default:
        return false;
    }
}

void TEditForm::setFrameSetting(int which, bool on)
{
    DesktopSettings::Flags &flags = m_frame->settings();
    switch (which) {
    case FullWidthLayout:
        flags.fullWidthLayout = on;
        break;
    case FullHeightLayout:
        flags.fullHeightLayout = on;
        break;
    case SideButtons:
        flags.viewRulers = on;
        break;
    case TabbedDocument:
        flags.tabbedDocument = on;
        m_frame->setTabBarVisible(on);
        break;
    default:
        break;
    }
}

void TEditForm::setCachedIndents(int firstIndent, int leftIndent)
{
    if (firstIndent >= 0)
        m_cachedFirstIndent = firstIndent;
    if (leftIndent >= 0)
        m_cachedLeftIndent = leftIndent;
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
    // The frame's own caption: the application's display name is never set, so the window
    // system adds nothing to it.
    m_frame->setWindowTitle(title);
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
