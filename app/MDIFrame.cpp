#include "app/MDIFrame.h"

#include "app/BrowserEmulation.h"
#include "app/FrameClientArea.h"
#include "app/MenuStyle.h"
#include "editor/commands/CommandRegistry.h"
#include "editor/commands/FrameCommands.h"
#include "editor/DocumentFileFormats.h"
#include "editor/MDIEdit.h"
#include "editor/WaitCursor.h"
#include "editor/richtext/RxRichEdit.h"
#include "platform/Dialogs.h"
#include "platform/RegistryStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLinearGradient>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QTabBar>
#include <QVBoxLayout>

#include <utility>

namespace {


QIcon documentTabIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

} // namespace

TFrameForm::TFrameForm(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FrameForm"));
    setWindowTitle(QStringLiteral("Velmora Lumaro Editor"));
    setAcceptDrops(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdiChildrenTabs = new QTabBar(central);
    mdiChildrenTabs->setObjectName(QStringLiteral("mdiChildrenTabs"));
    mdiChildrenTabs->setFixedHeight(24);
    mdiChildrenTabs->setIconSize(QSize(16, 16));
    mdiChildrenTabs->setExpanding(false);
    mdiChildrenTabs->setDrawBase(true);
    m_area = new FrameClientArea(central);
    m_area->setObjectName(QStringLiteral("ClientArea"));
    layout->addWidget(mdiChildrenTabs);
    layout->addWidget(m_area, 1);
    setCentralWidget(central);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(makeBackgroundPicture());
    Image1->hide();
    m_area->setPicture(Image1->pixmap());

    connect(m_area, &QMdiArea::subWindowActivated, this, &TFrameForm::subWindowActivated);
    connect(mdiChildrenTabs, &QTabBar::currentChanged, this, &TFrameForm::mdiChildrenTabsChange);
    buildMenus();

    // FormCreate
    QCoreApplication::processEvents();
    DesktopSettings desktop;
    m_settings = desktop.read();
    if (!desktop.isBrowserEmulationRegistered()) {
        RegistryStore registry;
        BrowserEmulation::ensureRegistered(desktop, registry);
        m_settings.browserEmulationMarker = desktop.browserEmulationMarker();
    }
    m_symbolFonts = QFontDatabase::families(QFontDatabase::Symbol);
    QCoreApplication::processEvents();
    if (m_settings.transparency != 0)
        setWindowOpacity(transparencyAlpha(m_settings.transparency) / 255.0);
    setTabBarVisible(m_settings.tabbedDocument);
    m_openNewOnShow = true;
    m_firstPaintPending = true;
}

TFrameForm::~TFrameForm()
{
    if (m_history)
        m_history->setHost(nullptr);
    // The document windows go with the client area; they must not call back into a frame that
    // is half destroyed.
    disconnect(m_area, nullptr, this, nullptr);
    disconnect(mdiChildrenTabs, nullptr, this, nullptr);
    // The windows leave the list before any of them goes, so none is seen half destroyed.
    const QList<QPointer<TEditForm>> documents = std::exchange(m_documents, {});
    for (const QPointer<TEditForm> &document : documents) {
        if (!document)
            continue;
        if (QMdiSubWindow *sub = document->subWindow())
            delete sub;
        else
            delete document.data();
    }
}

void TFrameForm::setHistoryForm(THistoryForm *history)
{
    m_history = history;
    if (history)
        history->setHost(this);
}

// --- Menus ---------------------------------------------------------------------------------------

void TFrameForm::buildMenus()
{
    // The frame's menus leave the menu bar while a document window is active, and their shortcuts
    // with them: the document window's own commands take the keys then.
    m_commands = new CommandRegistry(this, CommandRegistry::ShortcutScope::Menus);
    m_frameCommands = std::make_unique<FrameCommands>(*this);
    m_commands->add(*m_frameCommands);
    const QList<MenuDefinition> definitions = FrameCommands::menuBar();
    m_fileMenu = MenuLayout::buildMenu(*m_commands, definitions[0].caption, definitions[0].name, definitions[0].items, this);
    m_windowMenu
        = MenuLayout::buildMenu(*m_commands, definitions[1].caption, definitions[1].name, definitions[1].items, this);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TFrameForm::buildWindowList);
    m_menus = { { definitions[0].group, m_fileMenu }, { definitions[1].group, m_windowMenu } };
    menuBar()->setStyle(MenuStyle::instance());
    unmergeMenus();
    updateWindowCommands();
}

void TFrameForm::mergeMenus(const QList<MenuGroup> &documentMenus)
{
    QMenuBar *bar = menuBar();
    bar->clear();
    for (QMenu *menu : MenuMerger::merged(m_menus, documentMenus))
        bar->addMenu(menu);
}

void TFrameForm::unmergeMenus()
{
    mergeMenus({});
}

void TFrameForm::updateWindowCommands()
{
    if (m_commands)
        m_commands->refresh();
}

// The platform appends the open documents to the Window menu; here they are listed when it opens.
void TFrameForm::buildWindowList()
{
    updateWindowCommands();
    qDeleteAll(m_windowListActions);
    m_windowListActions.clear();
    const int count = mdiChildrenTabs->count();
    if (count == 0)
        return;
    m_windowListActions.append(m_windowMenu->addSeparator());
    TEditForm *active = activeDocument();
    for (int i = 0; i < count; ++i) {
        TEditForm *document = documentOfTab(i);
        if (!document)
            continue;
        QAction *action = m_windowMenu->addAction(
            documentTabIcon(), QStringLiteral("&%1 %2").arg(i + 1).arg(document->windowTitle()));
        action->setCheckable(true);
        action->setChecked(document == active);
        QPointer<TEditForm> target(document);
        connect(action, &QAction::triggered, this, [this, target] {
            if (target)
                activateDocument(target);
        });
        m_windowListActions.append(action);
    }
}

// --- Redraw lock ---------------------------------------------------------------------------------

void TFrameForm::BeginScreenUpdate()
{
    if (m_updateLockCount == 0)
        m_area->setUpdatesEnabled(false);
    ++m_updateLockCount;
}

void TFrameForm::EndScreenUpdate()
{
    if (m_updateLockCount <= 0)
        return;
    if (m_updateLockCount == 1) {
        m_area->setUpdatesEnabled(true);
        m_area->viewport()->update();
        for (TEditForm *document : documentWindows()) {
            if (QMdiSubWindow *sub = document->subWindow())
                sub->update();
        }
    }
    --m_updateLockCount;
}

bool TFrameForm::isScreenUpdateSuspended() const
{
    return !m_area->updatesEnabled();
}

// --- Tabs ------------------------------------------------------------------------------------------

void TFrameForm::AddDocumentTab(TEditForm *document)
{
    // A new window is the one in front.
    if (!m_documents.contains(document))
        m_documents.prepend(document);
    m_tabTag = -1;
    const int index = mdiChildrenTabs->addTab(documentTabIcon(), m_newTabCaption);
    mdiChildrenTabs->setTabData(index, QVariant::fromValue<QObject *>(document));
    mdiChildrenTabs->setCurrentIndex(mdiChildrenTabs->count() - 1);
    m_tabTag = 0;
    updateWindowCommands();
}

void TFrameForm::RemoveDocumentTab(TEditForm *document)
{
    m_documents.removeIf([document](const QPointer<TEditForm> &entry) { return !entry || entry == document; });
    // The menus of a window that is going leave the menu bar with it; the next window activated
    // brings its own.
    if (m_active == document) {
        m_active = nullptr;
        BeginScreenUpdate();
        unmergeMenus();
        EndScreenUpdate();
    }
    for (int i = 0; i < mdiChildrenTabs->count(); ++i) {
        if (mdiChildrenTabs->tabData(i).value<QObject *>() == document) {
            m_tabTag = -1;
            mdiChildrenTabs->removeTab(i);
            m_tabTag = 0;
            break;
        }
    }
    updateWindowCommands();
}

TEditForm *TFrameForm::documentOfTab(int index) const
{
    // The tab keeps a plain pointer: it counts only while its window is in the list.
    const QObject *tagged = mdiChildrenTabs->tabData(index).value<QObject *>();
    for (const QPointer<TEditForm> &document : m_documents) {
        if (document && document == tagged)
            return document;
    }
    return nullptr;
}

void TFrameForm::setSelectedTabCaption(const QString &caption)
{
    const int index = mdiChildrenTabs->currentIndex();
    if (index >= 0)
        mdiChildrenTabs->setTabText(index, caption);
}

void TFrameForm::setTabBarVisible(bool visible)
{
    mdiChildrenTabs->setVisible(visible);
}

void TFrameForm::mdiChildrenTabsChange(int index)
{
    if (m_tabTag == -1 || index < 0)
        return;
    TEditForm *document = documentOfTab(index);
    if (!document || document == m_active)
        return;
    BeginScreenUpdate();
    activateDocument(document);
    EndScreenUpdate();
}

// --- Documents ---------------------------------------------------------------------------------------

QList<TEditForm *> TFrameForm::documentWindows() const
{
    QList<TEditForm *> documents;
    for (const QPointer<TEditForm> &document : m_documents) {
        if (document && !document->isClosed())
            documents.append(document);
    }
    return documents;
}

TEditForm *TFrameForm::activeDocument() const
{
    // The last activated window counts only while it is in the list: one that started closing,
    // or is being destroyed, is asked nothing.
    const QList<TEditForm *> documents = documentWindows();
    if (m_active && documents.contains(m_active.data()))
        return m_active;
    return documents.value(0);
}

void TFrameForm::activateDocument(TEditForm *document)
{
    if (QMdiSubWindow *sub = document ? document->subWindow() : nullptr) {
        sub->raise();
        m_area->setActiveSubWindow(sub);
    }
}

TEditForm *TFrameForm::documentOfSubWindow(const QMdiSubWindow *window) const
{
    if (!window)
        return nullptr;
    for (TEditForm *document : documentWindows()) {
        if (document->subWindow() == window)
            return document;
    }
    return nullptr;
}

void TFrameForm::subWindowActivated(QMdiSubWindow *window)
{
    TEditForm *document = documentOfSubWindow(window);
    if (!document) {
        // The frame itself losing the focus deactivates the area too; the document stays active.
        if (documentWindows().isEmpty()) {
            m_active = nullptr;
            BeginScreenUpdate();
            unmergeMenus();
            EndScreenUpdate();
        }
        return;
    }
    // The list keeps the order of activation, front to back.
    const qsizetype at = m_documents.indexOf(document);
    if (at > 0)
        m_documents.move(at, 0);
    if (document == m_active)
        return;
    if (m_active && m_documents.contains(m_active))
        m_active->FormDeactivate();
    m_active = document;
    for (int i = 0; i < mdiChildrenTabs->count(); ++i) {
        if (documentOfTab(i) == document) {
            m_tabTag = -1;
            mdiChildrenTabs->setCurrentIndex(i);
            m_tabTag = 0;
            break;
        }
    }
    document->FormActivate();
}

TEditForm *TFrameForm::createDocumentWindow()
{
    auto *document = new TEditForm(this);
    QMdiSubWindow *sub = m_area->addSubWindow(document);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(documentTabIcon());
    sub->showMaximized();
    m_area->setActiveSubWindow(sub);
    emit documentCreated(document);
    return document;
}

bool TFrameForm::openInNewWindow(const QString &path, QString *error)
{
    m_newTabCaption = QFileInfo(path).fileName();
    BeginScreenUpdate();
    TEditForm *document = createDocumentWindow();
    EndScreenUpdate();
    return document->LoadDocument(path, error);
}

bool TFrameForm::openDocument(const QString &path)
{
    QString error;
    return openInNewWindow(path, &error);
}

void TFrameForm::SaveActiveDocumentAs(const QString &path)
{
    TEditForm *document = activeDocument();
    if (!document)
        return;
    document->Editor()->setModified(true);
    document->setDocumentFileName(path);
    document->setWindowCaption(path);
    document->saveCommands().save();
    QCoreApplication::processEvents();
}

void TFrameForm::ReadStartupOptions()
{
    const StartupOptions::ReadResult read = StartupOptions::readFile();
    if (!read.ok()) {
        Dialogs::instance().message(
            Dialogs::Icon::None, Dialogs::applicationTitle(), read.frameMessage(), Dialogs::Buttons::Ok);
        return;
    }
    m_options = read.options;
}

int TFrameForm::transparencyAlpha(int percent)
{
    percent = std::clamp(percent, 0, 100);
    return 255 - percent * 255 / 100;
}

QPixmap TFrameForm::backgroundPicture() const
{
    return m_area->picture();
}

// --- Showing and closing -------------------------------------------------------------------------------

void TFrameForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFrameForm::FormShow()
{
    m_area->viewport()->update();
    QCoreApplication::processEvents();
    const QString first = m_startArguments.value(0);
    if (!first.isEmpty() && QFileInfo(first).isFile()) {
        ReadStartupOptions();
        QString error;
        if (!openInNewWindow(first, &error))
            Dialogs::instance().error(QStringLiteral("Unable to Open File"));
    } else if (m_openNewOnShow) {
        New1Click();
        m_openNewOnShow = false;
    }
    QCoreApplication::processEvents();
}

void TFrameForm::closeEvent(QCloseEvent *event)
{
    // Every document is asked first; one that refuses (Cancel, or a save that did not happen)
    // stops the exit with all windows still open. A question's dialog runs events, so a window
    // may have gone by the time its turn comes.
    const QList<TEditForm *> listed = documentWindows();
    const QList<QPointer<TEditForm>> documents(listed.begin(), listed.end());
    for (const QPointer<TEditForm> &document : documents) {
        if (document && !document->isClosed() && !document->FormCloseQuery()) {
            event->ignore();
            return;
        }
    }
    for (const QPointer<TEditForm> &document : documents) {
        if (document && !document->isClosed())
            document->closeWithoutQuery();
    }
    event->accept();
}

void TFrameForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TFrameForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    bool any = false;
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        if (path.isEmpty() || !QFileInfo(path).isFile())
            continue;
        any = true;
        if (m_history)
            m_history->addFromOpen(path);
        openInNewWindow(path);
    }
    if (any)
        event->acceptProposedAction();
}

// --- Commands ------------------------------------------------------------------------------------------

void TFrameForm::New1Click()
{
    ReadStartupOptions();
    QCoreApplication::processEvents();
    m_newTabCaption = QStringLiteral("New Document");
    BeginScreenUpdate();
    TEditForm *document = createDocumentWindow();
    TRxRichEdit *editor = document->Editor();
    QTextCharFormat format = editor->defaultCharFormat();
    format.setFontFamilies({ m_options.DefaultFontName });
    format.setFontPointSize(m_options.DefaultFontSize);
    editor->setDefaultCharFormat(format);
    editor->setCurrentCharFormat(format);
    editor->emptyUndoBuffer();
    editor->setModified(false);
    document->ApplyZoom();
    document->SetModifiedIndicator(false);
    EndScreenUpdate();
}

void TFrameForm::Open1Click()
{
    Dialogs::FileRequest request;
    request.title = QStringLiteral("Open File");
    request.initialDir = m_options.DefaultFolder;
    request.filters = DocumentFileFormats::openFilters();
    request.filterIndex = m_openFilterIndex;
    request.defaultSuffix = QStringLiteral("rtf");
    const Dialogs::FileResult chosen = Dialogs::instance().openFile(request);
    if (!chosen.accepted())
        return;
    if (chosen.filterIndex >= 1)
        m_openFilterIndex = chosen.filterIndex;
    const QString path = chosen.file();
    m_newTabCaption = QFileInfo(path).fileName();
    WaitCursor wait;
    BeginScreenUpdate();
    TEditForm *document = createDocumentWindow();
    EndScreenUpdate();
    if (m_history)
        m_history->addFromOpen(path);
    document->LoadDocument(path);
}

void TFrameForm::DocumentHistory1Click()
{
    if (m_history)
        m_history->exec();
    activateWindow();
    setFocus();
}

void TFrameForm::Exit1Click()
{
    close();
}

void TFrameForm::tile(Qt::Orientation orientation)
{
    QList<TEditForm *> documents;
    for (int i = 0; i < mdiChildrenTabs->count(); ++i) {
        if (TEditForm *document = documentOfTab(i))
            documents.append(document);
    }
    if (documents.isEmpty())
        return;
    const QRect area = m_area->viewport()->rect();
    const int n = int(documents.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = documents[i]->subWindow();
        sub->showNormal();
        if (orientation == Qt::Vertical) {
            const int x = area.width() * i / n;
            sub->setGeometry(x, 0, area.width() * (i + 1) / n - x, area.height());
        } else {
            const int y = area.height() * i / n;
            sub->setGeometry(0, y, area.width(), area.height() * (i + 1) / n - y);
        }
    }
}

void TFrameForm::TileVertically1Click()
{
    tile(Qt::Vertical);
}

void TFrameForm::TileHorizontally1Click()
{
    tile(Qt::Horizontal);
}

void TFrameForm::FlipThroughTop2Documents1Click()
{
    const QList<TEditForm *> documents = documentWindows();
    if (documents.size() < 2)
        return;
    BeginScreenUpdate();
    activateDocument(documents[1]);
    EndScreenUpdate();
}

void TFrameForm::StepThroughAllDocuments1Click()
{
    const QList<TEditForm *> documents = documentWindows();
    if (documents.size() < 2)
        return;
    BeginScreenUpdate();
    activateDocument(documents.last());
    EndScreenUpdate();
}

void TFrameForm::CloseAllDocuments1Click()
{
    // From the back to the front; a close query's dialog runs events, so each window is checked
    // again before its turn.
    const QList<TEditForm *> listed = documentWindows();
    const QList<QPointer<TEditForm>> documents(listed.begin(), listed.end());
    for (qsizetype i = documents.size() - 1; i >= 0; --i) {
        if (documents[i] && !documents[i]->isClosed())
            documents[i]->closeDocument();
    }
}

void TFrameForm::CloseCurrentDocument1Click()
{
    if (TEditForm *document = activeDocument())
        document->closeDocument();
}

// --- Background picture ----------------------------------------------------------------------------------

QPixmap TFrameForm::makeBackgroundPicture()
{
    const QSize size(460, 280);
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // A sheet of paper with lines of text, leaning on a maroon card with the program's name.
    QPainterPath card;
    card.addRoundedRect(QRectF(20, 40, 420, 200), 18, 18);
    QLinearGradient maroon(0, 40, 0, 240);
    maroon.setColorAt(0, QColor(150, 20, 30));
    maroon.setColorAt(1, QColor(96, 0, 12));
    p.fillPath(card, maroon);
    p.setPen(QPen(QColor(226, 226, 226), 2));
    p.drawPath(card);

    const QRectF sheet(50, 20, 120, 160);
    p.setPen(QPen(QColor(180, 180, 180), 1));
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(sheet);
    p.setPen(QPen(QColor(150, 160, 175), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal y = sheet.top() + 22 + i * 16;
        const qreal right = sheet.right() - 14 - (i % 3 == 2 ? 36 : 0);
        p.drawLine(QPointF(sheet.left() + 14, y), QPointF(right, y));
    }

    p.setPen(QColor(226, 226, 226));
    QFont title(QStringLiteral("Trebuchet MS"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(190, 70, 240, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumaro"));
    QFont subtitle(title);
    subtitle.setPixelSize(17);
    p.setFont(subtitle);
    p.drawText(QRectF(192, 128, 240, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Professional Editor"));
    QFont maker(title);
    maker.setPixelSize(13);
    maker.setBold(false);
    p.setFont(maker);
    p.drawText(QRectF(192, 190, 240, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora Office"));
    return picture;
}
