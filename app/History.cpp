#include "app/History.h"

#include "app/GradientPainter.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

HistoryHost::~HistoryHost() = default;

namespace {

const QString missingOnOpen = QStringLiteral("Document does not exist or has been moved.");

constexpr int rowHeight = 35;
constexpr int iconSize = 32;
constexpr int textLeft = 40;

// The pictures of the document types, drawn here rather than shipped as image files: a sheet of
// paper with a folded corner and a coloured label naming the type. Index 5 is a stack of sheets
// ("all documents").
QPixmap typePicture(int index)
{
    struct Kind
    {
        const char *label;
        QColor color;
    };
    static const Kind kinds[7] = {
        { "TXT", QColor(110, 110, 110) },
        { "SRC", QColor(128, 64, 160) },
        { "RTF", QColor(40, 110, 200) },
        { "DOC", QColor(30, 60, 140) },
        { "WEB", QColor(230, 120, 20) },
        { "ALL", QColor(170, 130, 40) },
        { "RTC", QColor(40, 150, 70) },
    };
    static QPixmap cache[7];
    index = qBound(0, index, 6);
    if (!cache[index].isNull())
        return cache[index];

    QPixmap pixmap(iconSize, iconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    auto sheet = [&p](QPointF offset) {
        QPainterPath path;
        path.moveTo(offset + QPointF(6.5, 1.5));
        path.lineTo(offset + QPointF(20.5, 1.5));
        path.lineTo(offset + QPointF(26.5, 7.5));
        path.lineTo(offset + QPointF(26.5, 30.5));
        path.lineTo(offset + QPointF(6.5, 30.5));
        path.closeSubpath();
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.setBrush(QColor(252, 252, 252));
        p.drawPath(path);
        QPainterPath fold;
        fold.moveTo(offset + QPointF(20.5, 1.5));
        fold.lineTo(offset + QPointF(20.5, 7.5));
        fold.lineTo(offset + QPointF(26.5, 7.5));
        p.setBrush(QColor(220, 220, 220));
        p.drawPath(fold);
    };
    if (index == 5) {
        sheet(QPointF(3, -1));
        sheet(QPointF(0, 1));
    } else {
        sheet(QPointF(0, 0));
    }
    for (int line = 0; line < 3; ++line)
        p.fillRect(QRectF(9, 10 + line * 3, 14, 1), QColor(175, 175, 175));
    const QRectF label(2, 19, 22, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(kinds[index].color);
    p.drawRoundedRect(label, 2, 2);
    QFont font = QApplication::font();
    font.setPixelSize(8);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(label, Qt::AlignCenter, QLatin1String(kinds[index].label));
    p.end();
    cache[index] = pixmap;
    return pixmap;
}

// One row of the history list: the type picture, then the full path on one line, shortened in
// the middle when it does not fit. A selected row is a rounded, light orange gradient band.
class HistoryRowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(option.rect.width() > 0 ? option.rect.width() : 200, rowHeight);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        painter->save();
        painter->fillRect(r, Qt::white);
        if (option.state & QStyle::State_Selected) {
            const QRectF outline = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
            QPainterPath clip;
            clip.addRoundedRect(QRectF(r), 2.5, 2.5);
            painter->setClipPath(clip);
            GradientPainter::fill(
                *painter, r, { QColor(255, 245, 221), QColor(255, 245, 221), QColor(255, 210, 94) }, Qt::Vertical);
            painter->setClipping(false);
            painter->setPen(QColor(197, 197, 197));
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(outline, 2.5, 2.5);
        }
        painter->drawPixmap(r.left() + 4, r.top() + (r.height() - iconSize) / 2,
            typePicture(index.data(DocumentHistory::IconRole).toInt()));
        const QRect textRect(r.left() + textLeft, r.top(), qMax(0, r.width() - textLeft - 4), r.height());
        const QString text = option.fontMetrics.elidedText(
            index.data(DocumentHistory::PathRole).toString(), Qt::ElideMiddle, textRect.width());
        painter->setPen(Qt::black);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }
};

// The dialog's title bar: the caption on a grey gradient; dragging it moves the window.
class TitlePanel final : public QWidget
{
public:
    TitlePanel(const QString &caption, QWidget *parent)
        : QWidget(parent)
        , m_caption(caption)
    {
        setFixedHeight(30);
        setObjectName(QStringLiteral("TitlePanel"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        GradientPainter::fill(
            p, rect(), { QColor(250, 250, 250), QColor(226, 226, 226), QColor(200, 200, 200) }, Qt::Vertical);
        p.setPen(QColor(181, 181, 181));
        p.drawLine(0, height() - 1, width(), height() - 1);
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(Qt::black);
        p.drawText(rect().adjusted(10, 0, -10, 0), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_grab = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() & Qt::LeftButton)
            window()->move(event->globalPosition().toPoint() - m_grab);
    }

private:
    QString m_caption;
    QPoint m_grab;
};

} // namespace

THistoryForm::THistoryForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_fileName(DocumentHistory::defaultFileName())
{
    setObjectName(QStringLiteral("HistoryForm"));
    setWindowTitle(QStringLiteral("Document History"));
    setModal(true);
    buildControls();

    if (m_history.load(m_fileName))
        m_history.setFirstShowPending(true);
    else
        Dialogs::instance().information(QStringLiteral("File not Found!"));
}

THistoryForm::~THistoryForm()
{
    m_history.setFilter(DocumentHistory::AllDocuments);
    saveHistory();
}

void THistoryForm::buildControls()
{
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(1, 1, 1, 1);
    frame->setSpacing(0);
    frame->addWidget(new TitlePanel(windowTitle(), this));

    auto *body = new QHBoxLayout;
    body->setContentsMargins(8, 8, 8, 8);
    body->setSpacing(8);
    frame->addLayout(body, 1);

    auto *filters = new QVBoxLayout;
    filters->setSpacing(4);
    body->addLayout(filters);
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    const auto image
        = [this, filters, group](const char *name, const char *hint, int picture, DocumentHistory::Filter filter) {
              QToolButton *button = addFilterImage(name, QString::fromLatin1(hint), picture, filter);
              filters->addWidget(button);
              group->addButton(button);
              return button;
          };
    ImgAllDocs = image("ImgAllDocs", "All Document Formats", 5, DocumentHistory::AllDocuments);
    imgRTFDocs = image("imgRTFDocs", "Rich Text Format", 2, DocumentHistory::RichText);
    imgRTCDocs = image("imgRTCDocs", "Rich Text Compressed", 6, DocumentHistory::Compressed);
    imgDocs = image("imgDocs", "MS Word Doc - RTF", 3, DocumentHistory::WordDocument);
    imgTXTDocs = image("imgTXTDocs", "Plain Text ANSI", 0, DocumentHistory::PlainText);
    imgOtherDocs = image("imgOtherDocs", "Other Document Types", 1, DocumentHistory::OtherDocuments);
    ImgAllDocs->setChecked(true);
    filters->addStretch(1);

    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    body->addLayout(right, 1);

    ListBox1 = new QListView(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setModel(&m_history);
    ListBox1->setItemDelegate(new HistoryRowDelegate(ListBox1));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = ListBox1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    ListBox1->setPalette(palette);
    ListBox1->installEventFilter(this);
    right->addWidget(ListBox1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    right->addLayout(buttons);
    const auto button = [this, buttons](const char *name, const char *caption) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(28);
        buttons->addWidget(b);
        return b;
    };
    btnSearch = button("btnSearch", "Search");
    buttons->addStretch(1);
    RbButton1 = button("RbButton1", " Clear List");
    btnRemove = button("btnRemove", " Remove From List");
    btnOpen = button("btnOpen", "  Open");
    btnClose = button("btnClose", "  Close");

    connect(btnOpen, &QPushButton::clicked, this, &THistoryForm::btnOpenClick);
    connect(btnRemove, &QPushButton::clicked, this, &THistoryForm::btnRemoveClick);
    connect(RbButton1, &QPushButton::clicked, this, &THistoryForm::RbButton1Click);
    connect(btnClose, &QPushButton::clicked, this, &THistoryForm::btnCloseClick);
    connect(btnSearch, &QPushButton::clicked, this, &THistoryForm::btnSearchClick);
    connect(ListBox1, &QListView::clicked, this, &THistoryForm::ListBox1Click);
    connect(ListBox1, &QListView::doubleClicked, this, &THistoryForm::btnOpenClick);

    QPalette framePalette = this->palette();
    framePalette.setColor(QPalette::Window, QColor(243, 243, 243));
    setPalette(framePalette);
    setAutoFillBackground(true);
    resize(680, 460);
}

QToolButton *THistoryForm::addFilterImage(
    const char *name, const QString &hint, int picture, DocumentHistory::Filter filter)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setIcon(QIcon(typePicture(picture)));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setAutoRaise(true);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, filter] { filterClick(filter); });
    return button;
}

void THistoryForm::addFromOpen(const QString &path)
{
    m_history.recordOpened(path);
}

void THistoryForm::addFromSaveAs(const QString &path, int filterIndex)
{
    m_history.recordSavedAs(path, filterIndex);
}

void THistoryForm::addFromSaveSelection(const QString &path)
{
    m_history.recordSavedSelection(path);
}

void THistoryForm::addFromLink(const QString &path)
{
    m_history.recordLinkOpened(path);
}

bool THistoryForm::saveHistory()
{
    if (m_history.save(m_fileName))
        return true;
    Dialogs::instance().error(
        QStringLiteral("The document history could not be saved to %1: %2").arg(m_fileName, m_history.errorString()));
    return false;
}

int THistoryForm::currentRow() const
{
    const QModelIndex current = ListBox1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void THistoryForm::selectRow(int row, bool clearOthers)
{
    const QModelIndex index = m_history.index(row);
    if (!index.isValid())
        return;
    ListBox1->selectionModel()->setCurrentIndex(
        index, clearOthers ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select);
    ListBox1->scrollTo(index);
}

bool THistoryForm::testCurrentRow()
{
    const int row = currentRow();
    if (row < 0)
        return true;
    const QString path = m_history.displayedPath(row);
    if (QFileInfo(path).isFile())
        return true;
    m_reportedMissing = path;
    Dialogs::instance().information(QStringLiteral(
        "Document does not exist or has been moved.\r\n\r\nPlease remove this listing from document history."));
    return false;
}

void THistoryForm::ListBox1Click()
{
    testCurrentRow();
}

void THistoryForm::btnOpenClick()
{
    const QModelIndexList selected = ListBox1->selectionModel()->selectedRows();
    if (selected.size() != 1) {
        Dialogs::instance().information(QStringLiteral("Please select only one document to open."));
        return;
    }
    const int row = selected.first().row();
    const QString path = m_history.displayedPath(row);
    if (!QFileInfo(path).isFile()) {
        Dialogs::instance().information(missingOnOpen);
        return;
    }
    m_history.moveRowToTop(row);
    hide();
    QCoreApplication::processEvents();
    bool opened = false;
    try {
        opened = m_host && m_host->openDocument(path);
    } catch (...) {
        opened = false;
    }
    if (!opened)
        Dialogs::instance().information(missingOnOpen);
    done(opened ? QDialog::Accepted : QDialog::Rejected);
}

void THistoryForm::btnRemoveClick()
{
    if (Dialogs::instance().confirm(QStringLiteral("Remove Selected Document(s)?"), Dialogs::Buttons::YesNo)
        == Dialogs::Yes) {
        if (m_history.rowCount() > 0 && currentRow() >= 0) {
            QList<int> rows;
            for (const QModelIndex &index : ListBox1->selectionModel()->selectedRows())
                rows.append(index.row());
            m_history.removeDisplayedRows(rows);
            if (m_history.rowCount() > 0 && currentRow() >= 0)
                selectRow(currentRow(), false);
        }
    }
    ListBox1->setFocus();
}

void THistoryForm::RbButton1Click()
{
    if (Dialogs::instance().confirm(QStringLiteral("Clear All of List?"), Dialogs::Buttons::YesNo) == Dialogs::Yes)
        m_history.clear();
    ListBox1->setFocus();
}

void THistoryForm::btnCloseClick()
{
    reject();
}

void THistoryForm::btnSearchClick()
{
    const std::optional<QString> answer = Dialogs::instance().inputText(QStringLiteral("Search for a Document"),
        QStringLiteral("Enter a document name to search for:"), QStringLiteral("Document Name"));
    if (!answer)
        return;
    if (answer->isEmpty()) {
        Dialogs::instance().information(QStringLiteral("Please enter a valid document name to search for."));
        return;
    }
    const int found = m_history.findByFileName(*answer);
    if (found < 0)
        return;
    const QModelIndex current = ListBox1->currentIndex();
    if (current.isValid())
        ListBox1->selectionModel()->select(current, QItemSelectionModel::Deselect);
    selectRow(found, false);
    ListBox1->setFocus();
}

void THistoryForm::filterClick(DocumentHistory::Filter filter)
{
    const bool hadCurrent = currentRow() >= 0;
    m_history.setFilter(filter);
    const QList<QAbstractButton *> images { ImgAllDocs, imgRTFDocs, imgRTCDocs, imgDocs, imgTXTDocs, imgOtherDocs };
    images.at(int(filter))->setChecked(true);
    if (hadCurrent && m_history.rowCount() > 0) {
        selectRow(0, true);
        testCurrentRow();
    }
    ListBox1->setFocus();
}

bool THistoryForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        // Testing again the path just reported would report it again each time its message box
        // closes and gives the activation back.
        const int row = currentRow();
        if (row >= 0 && m_history.displayedPath(row) != m_reportedMissing)
            testCurrentRow();
    }
    return QDialog::event(event);
}

void THistoryForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_reportedMissing.clear();
    if (m_history.takeFirstShowPending()) {
        if (m_history.rowCount() > 0)
            selectRow(0, true);
    } else if (m_history.rowCount() > 0 && currentRow() >= 0) {
        selectRow(currentRow(), false);
    }
    ListBox1->setFocus();
}

void THistoryForm::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    m_reportedMissing.clear();
}

void THistoryForm::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The window has no frame of its own: a thin outline keeps it apart from what lies behind.
    QPainter painter(this);
    painter.setPen(QColor(158, 158, 158));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool THistoryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (currentRow() < 0)
                Dialogs::instance().information(QStringLiteral("Please make a selection first."));
            else
                btnOpenClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
