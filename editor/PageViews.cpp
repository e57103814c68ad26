#include "editor/PageViews.h"

#include "editor/PageViewHost.h"
#include "editor/richtext/RxRichEdit.h"
#include "pages/GmPreview.h"
#include "pages/GmThumbnails.h"
#include "pages/RichTextPagination.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <functional>
#include <iterator>
#include <utility>

namespace {

const QColor kStripColour(0xAC, 0xAC, 0xAC);

struct PaperItem
{
    const char *name;
    TGmPaperSize size;
};

const PaperItem kPaperItems[] = {
    { "A4", A4 },
    { "Letter", Letter },
    { "Legal", Legal },
    { "Envelope_09", Envelope_09 },
    { "Envelope_10", Envelope_10 },
    { "Envelope_DL", Envelope_DL },
    { "Envelope_DL_Maxi", Envelope_DL_Maxi },
};

bool isEnvelope(TGmPaperSize size)
{
    return size == Envelope_09 || size == Envelope_10 || size == Envelope_DL || size == Envelope_DL_Maxi;
}

// Runs a callable inside the preview's update bracket, closed on every exit.
template <typename F> void inUpdateBracket(TGmPreview &preview, F &&work)
{
    preview.BeginUpdate();
    struct Close
    {
        TGmPreview &preview;
        ~Close() { preview.EndUpdate(); }
    } close { preview };
    work();
}

} // namespace

PageViews::PageViews(PageViewHost &host, QWidget *parent)
    : QObject(parent)
    , m_host(host)
    , m_editor(&host.pageViewEditor())
{
    buildWidgets(parent);
    buildPaperPopup();
    m_pagination = new RichTextPagination(*m_preview, *m_editor, this);
    connect(m_pagination, &RichTextPagination::paginated, this, [this] { m_followThumbnail = true; });
    connect(m_editor.data(), &TRxRichEdit::keyReleased, this, [this](QKeyEvent *event) { EditorKeyUp(event->key()); });
}

PageViews::~PageViews() = default;

void PageViews::buildWidgets(QWidget *parent)
{
    m_preview = new TGmPreview(parent);
    m_preview->setObjectName(QStringLiteral("GmPreview1"));
    m_preview->hide();
    m_preview->SetMinZoom(10);
    m_preview->SetGutter(20);
    m_preview->Header().SetVisible(false);
    m_preview->Footer().SetVisible(false);
    m_preview->Canvas().SetCompareGraphics(false);
    m_preview->SetPagesPerSheet(gmOnePage);
    connect(m_preview, &TGmPreview::OnPageChanged, this, &PageViews::previewPageChanged);

    m_thumbnails = new TGmThumbnails(parent);
    m_thumbnails->setObjectName(QStringLiteral("GmThumbnails1"));
    m_thumbnails->setFixedWidth(150);
    m_thumbnails->hide();
    QPalette palette = m_thumbnails->viewport()->palette();
    palette.setColor(QPalette::Window, kStripColour);
    m_thumbnails->viewport()->setPalette(palette);
    m_thumbnails->viewport()->setAutoFillBackground(true);
    m_thumbnails->setToolTip(QStringLiteral("Print Preview - A4 Paper"));
    m_thumbnails->SetLayout(gmThumbVert);
    m_thumbnails->SetPageCaptions(QStringLiteral("Page: #"));
    m_thumbnails->SetSelectedColor(QColor(0x00, 0x80, 0xFF));
    m_thumbnails->Shadow().SetColor(Qt::gray);
    m_thumbnails->Shadow().SetWidth(4);
    m_thumbnails->SetThumbSize(12);
    m_thumbnails->SetThumbSpacing(10);
    QFont caption(QStringLiteral("Arial"));
    caption.setPixelSize(13);
    m_thumbnails->SetCaptionFont(caption);
    m_thumbnails->setCursor(Qt::PointingHandCursor);
    m_thumbnails->SetPreview(m_preview);
    m_thumbnails->viewport()->installEventFilter(this);

    m_scrollBox = new QScrollArea(parent);
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setFixedWidth(150);
    m_scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollBox->setFrameShape(QFrame::NoFrame);
    QPalette boxPalette = m_scrollBox->palette();
    boxPalette.setColor(QPalette::Window, kStripColour);
    m_scrollBox->setPalette(boxPalette);
    m_scrollBox->setAutoFillBackground(true);
    m_strip = new ExportPageStrip(*m_editor);
    m_scrollBox->setWidget(m_strip);
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->hide();
    connect(m_strip, &ExportPageStrip::pageClicked, this, &PageViews::exportPageClicked);

    m_viewLabel = new QLabel(QStringLiteral("Print Preview"), parent);
    m_viewLabel->setObjectName(QStringLiteral("lblViewMode"));
    m_viewLabel->setAlignment(Qt::AlignCenter);
    m_viewLabel->hide();

    m_paperButton = new QToolButton(parent);
    m_paperButton->setObjectName(QStringLiteral("Image4"));
    m_paperButton->setToolTip(QStringLiteral("Change Paper Type"));
    m_paperButton->setIcon(QIcon::fromTheme(QStringLiteral("document-page-setup")));
    m_paperButton->setAutoRaise(true);
    m_paperButton->hide();
    connect(m_paperButton, &QToolButton::clicked, this, &PageViews::Image4Click);
}

void PageViews::buildPaperPopup()
{
    m_paperPopup = new QMenu(m_paperButton);
    m_paperPopup->setObjectName(QStringLiteral("PaperPopup"));
    auto add = [this](const char *name, std::function<void()> run) {
        auto *action = m_paperPopup->addAction(QString::fromLatin1(name));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, run] {
            run();
            updatePaperChecks();
        });
        m_paperActions << action;
    };
    for (int i = 0; i < int(std::size(kPaperItems)); ++i) {
        if (i == 3)
            m_paperPopup->addSeparator();
        const TGmPaperSize size = kPaperItems[i].size;
        add(kPaperItems[i].name, [this, size] { PaperSizeClick(size); });
    }
    m_paperPopup->addSeparator();
    add("Portrait", [this] { PortraitClick(); });
    add("Landscape", [this] { LandscapeClick(); });
    updatePaperChecks();
}

void PageViews::updatePaperChecks()
{
    for (QAction *action : std::as_const(m_paperActions)) {
        const QString name = action->objectName();
        if (name == QLatin1String("Portrait"))
            action->setChecked(m_orientation == gmPortrait);
        else if (name == QLatin1String("Landscape"))
            action->setChecked(m_orientation == gmLandscape);
        else
            action->setChecked(PaperSizeName(m_paperSize) == name);
    }
}

const QList<int> &PageViews::pageStarts() const
{
    return m_pagination->pageStarts();
}

void PageViews::notifyHost()
{
    m_host.pageViewsChanged(m_printView, m_pdfView, m_imageView);
}

void PageViews::saveViewSettings()
{
    m_host.saveViewSettings(m_printView, m_pdfView, m_imageView);
}

void PageViews::applySettings(bool printView, bool pdfView, bool imageView, bool mouseRepositioningDisabled)
{
    m_mouseRepositioningDisabled = mouseRepositioningDisabled;
    m_printView = printView;
    m_pdfView = !printView && pdfView;
    m_imageView = !printView && !pdfView && imageView;
    m_thumbnails->setVisible(m_printView);
    m_paperButton->setVisible(m_printView);
    m_scrollBox->setVisible(m_pdfView || m_imageView);
    m_viewLabel->setVisible(m_printView || m_pdfView || m_imageView);
    m_viewLabel->setText(m_printView ? QStringLiteral("Print Mode")
            : m_pdfView              ? QStringLiteral("PDF Mode")
                                     : QStringLiteral("Image Mode"));
    m_strip->setToolTip(m_pdfView ? QStringLiteral("PDF View") : QStringLiteral("Image View"));
    if (m_printView) {
        inUpdateBracket(
            *m_preview, [this] { RichTextPagination::ApplyPrintLayout(*m_preview, m_host.optionMargins()); });
        m_pagination->schedule();
    } else if (m_pdfView || m_imageView) {
        rebuildExportStrip();
    }
    notifyHost();
}

void PageViews::repaginatePrintView()
{
    m_followThumbnail = false;
    m_pagination->run();
    m_followThumbnail = true;
}

void PageViews::UpdatePrintPages()
{
    if (!m_pagination->upToDate())
        repaginatePrintView();
}

void PageViews::PrintViewClick()
{
    if (m_host.fullWidthOutlineLayout())
        return;
    m_scrollBox->hide();
    m_printView = !m_printView;
    m_thumbnails->setVisible(m_printView);
    m_paperButton->setVisible(m_printView);
    m_viewLabel->setVisible(m_printView);
    if (m_printView)
        m_viewLabel->setText(QStringLiteral("Print Mode"));
    m_pdfView = false;
    m_imageView = false;
    notifyHost();
    if (m_printView) {
        inUpdateBracket(
            *m_preview, [this] { RichTextPagination::ApplyPrintLayout(*m_preview, m_host.optionMargins()); });
        repaginatePrintView();
    }
    saveViewSettings();
}

void PageViews::PdfViewClick()
{
    exportViewClick(true);
}

void PageViews::ImageViewClick()
{
    exportViewClick(false);
}

void PageViews::exportViewClick(bool pdf)
{
    if (m_host.fullWidthOutlineLayout())
        return;
    m_thumbnails->hide();
    m_paperButton->hide();
    m_printView = false;
    bool &mine = pdf ? m_pdfView : m_imageView;
    bool &other = pdf ? m_imageView : m_pdfView;
    other = false;
    mine = !mine;
    m_scrollBox->setVisible(mine);
    m_viewLabel->setVisible(mine);
    m_viewLabel->setText(pdf ? QStringLiteral("PDF Mode") : QStringLiteral("Image Mode"));
    m_strip->setToolTip(pdf ? QStringLiteral("PDF View") : QStringLiteral("Image View"));
    notifyHost();
    rebuildExportStrip();
    saveViewSettings();
}

void PageViews::rebuildExportStrip()
{
    const int scroll = m_scrollBox->verticalScrollBar()->value();
    m_strip->setMode(m_imageView ? ExportPageStrip::Mode::Image : ExportPageStrip::Mode::Pdf);
    m_strip->rebuild(!m_pdfView && !m_imageView);
    m_scrollBox->verticalScrollBar()->setValue(scroll);
}

void PageViews::scrollTextToPage(int firstChar)
{
    TRxRichEdit &editor = *m_editor;
    editor.setSelection(firstChar, 1);
    const int caretLine = editor.lineFromChar(firstChar);
    editor.scrollLines(caretLine - editor.firstVisibleLine());
    const int difference = caretLine - editor.firstVisibleLine();
    if (difference != 0)
        editor.scrollLines(difference - 1);
    if (editor.isVisible())
        editor.setFocus();
}

void PageViews::exportPageClicked(int pageNumber, int firstChar)
{
    scrollTextToPage(firstChar);
    m_strip->setHighlightedPage(pageNumber);
}

void PageViews::previewPageChanged()
{
    if (m_thumbnails->isHidden() || !m_followThumbnail || m_preview->PageCount() <= 1 || m_paperChanging)
        return;
    if (m_pagination->running() || m_preview->PageList().Updating())
        return;
    const int start = pageStarts().value(m_preview->CurrentPage() - 1, 1);
    scrollTextToPage(start);
}

bool PageViews::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the strip's own pages always scrolls the text.
    if (watched == m_thumbnails->viewport()
        && (event->type() == QEvent::Enter || event->type() == QEvent::MouseButtonPress))
        m_followThumbnail = true;
    return QObject::eventFilter(watched, event);
}

void PageViews::EditorKeyUp(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Space:
    case Qt::Key_Tab:
        break;
    default:
        return;
    }
    if (!m_thumbnails->isHidden()) {
        if (!m_mouseRepositioningDisabled)
            QCursor::setPos(m_host.thumbnailPointerPosition());
        m_followThumbnail = false;
        m_pagination->schedule();
    } else if (!m_scrollBox->isHidden()) {
        rebuildExportStrip();
    }
}

void PageViews::RefreshPageViews()
{
    if (!m_thumbnails->isHidden()) {
        m_followThumbnail = false;
        m_pagination->schedule();
    } else if (!m_scrollBox->isHidden()) {
        rebuildExportStrip();
    }
}

void PageViews::MouseRepositioningClick()
{
    m_mouseRepositioningDisabled = !m_mouseRepositioningDisabled;
    m_host.saveMouseRepositioning(m_mouseRepositioningDisabled);
}

void PageViews::PaperSizeClick(TGmPaperSize size)
{
    if (size == m_paperSize)
        return;
    m_paperSize = size;
    const bool envelope = isEnvelope(size);
    if (envelope)
        m_orientation = gmLandscape;
    updatePaperChecks();
    m_paperChanging = true;
    struct Clear
    {
        bool &flag;
        ~Clear() { flag = false; }
    } clear { m_paperChanging };
    inUpdateBracket(*m_preview, [&] {
        if (envelope) {
            if (m_preview->Margins().Left().AsMillimeters() > 3)
                RichTextPagination::ApplyExportLayout(*m_preview);
            m_preview->SetOrientation(gmLandscape);
        } else if (RichTextPagination::IsExportLayout(*m_preview)) {
            RichTextPagination::ApplyPrintLayout(*m_preview, m_host.optionMargins());
        }
        m_preview->SetPaperSize(size);
        repaginatePrintView();
    });
    m_thumbnails->setToolTip(QStringLiteral("Print Preview - %1 Paper").arg(PaperSizeName(size)));
}

void PageViews::orientationClick(TGmOrientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    updatePaperChecks();
    m_paperChanging = true;
    struct Clear
    {
        bool &flag;
        ~Clear() { flag = false; }
    } clear { m_paperChanging };
    inUpdateBracket(*m_preview, [&] {
        m_preview->SetOrientation(orientation);
        repaginatePrintView();
    });
}

void PageViews::Image4Click()
{
    updatePaperChecks();
    m_paperPopup->popup(QCursor::pos());
}
