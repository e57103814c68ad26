#include "editor/ExportPageStrip.h"

#include "editor/richtext/RxRichEdit.h"
#include "export/ExportPageGeometry.h"
#include "pages/PrintLayoutCopy.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QScreen>

#include <algorithm>

const QColor ExportPageStrip::Background = QColor(0xAC, 0xAC, 0xAC);
const QColor ExportPageStrip::Highlight = QColor(0x80, 0x40, 0x40);

namespace {

constexpr int kFrameLeft = 10;
constexpr int kFrameRight = 125;
constexpr int kFrameTop = 15;
constexpr int kFrameBottom = 180;
constexpr int kShadow = 3;

QFont numberFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(11);
    font.setBold(true);
    return font;
}

} // namespace

ExportPageStrip::ExportPageStrip(TRxRichEdit &editor, QWidget *parent)
    : QWidget(parent)
    , m_editor(&editor)
{
    setObjectName(QStringLiteral("Image3"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    resize(StripWidth, 0);
}

ExportPageStrip::~ExportPageStrip() = default;

QRect ExportPageStrip::layoutRectTwips(Mode mode, int dpiX, int dpiY)
{
    const ExportPageGeometry g = mode == Mode::Pdf ? ExportPageGeometry::pdfPage() : ExportPageGeometry::imagePage();
    const int l = g.left * 1440 / dpiX;
    const int t = g.top * 1440 / dpiY;
    const int r = g.right * 1440 / dpiX;
    const int b = g.bottom * 1440 / dpiY;
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void ExportPageStrip::rebuild(bool useStoredRect)
{
    if (!m_editor)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    m_dpiX = screen ? int(screen->logicalDotsPerInchX()) : 96;
    m_dpiY = screen ? int(screen->logicalDotsPerInchY()) : 96;
    m_layout = useStoredRect && !m_editor->pageRect().isEmpty() ? m_editor->pageRect()
                                                                : layoutRectTwips(m_mode, m_dpiX, m_dpiY);
    m_editor->setPageRect(m_layout);
    if (!m_copy || m_document != m_editor->document()) {
        m_document = m_editor->document();
        m_copy = std::make_unique<PrintLayoutCopy>(m_document);
    }
    m_copy->sync(m_dpiX, m_dpiY, m_layout.width());
    const std::vector<PrintLayoutCopy::Page> cut = m_copy->cut(m_layout.height());
    m_pages.clear();
    m_images.clear();
    m_pages.reserve(cut.size());
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const int rowStart = int(i) * RowHeight;
        m_pages.push_back(
            { QRect(QPoint(kFrameLeft, rowStart + kFrameTop), QPoint(kFrameRight, rowStart + kFrameBottom)), int(i) + 1,
                cut[i].start });
    }
    m_cut = cut;
    const int count = int(m_pages.size());
    resize(StripWidth, count == 0 ? 0 : 190 + 180 * (count - 1));
    m_highlighted = std::clamp(m_highlighted, 1, std::max(1, count));
    update();
}

void ExportPageStrip::setHighlightedPage(int page)
{
    if (page == m_highlighted)
        return;
    m_highlighted = page;
    update();
}

int ExportPageStrip::pageAt(int y) const
{
    for (const TPageInfo &page : m_pages) {
        if (page.frame.top() <= y && y <= page.frame.bottom())
            return page.pageNumber;
    }
    return 0;
}

QRect ExportPageStrip::pictureRect(int row) const
{
    const int rowStart = row * RowHeight;
    const int right = m_mode == Mode::Pdf ? 117 : 120;
    const int bottom = rowStart + (m_mode == Mode::Pdf ? 171 : 175);
    return QRect(QPoint(17, rowStart + 20), QPoint(right - 1, bottom - 1));
}

const QImage &ExportPageStrip::pageImage(int index)
{
    auto found = m_images.find(index);
    if (found != m_images.end())
        return found.value();
    // The page as the export draws it: a 693 x 950 surface at the screen's resolution.
    const ExportPageGeometry g = ExportPageGeometry::pdfPage();
    QImage page(g.surface, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(m_dpiX / 0.0254));
    page.setDotsPerMeterY(qRound(m_dpiY / 0.0254));
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        m_copy->drawPage(painter, m_cut[std::size_t(index)], m_layout);
    }
    const QRect target = pictureRect(index);
    return *m_images.insert(index, page.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void ExportPageStrip::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, Background);
    if (m_pages.empty() || !m_copy)
        return;
    const int firstRow = std::max(0, area.top() / RowHeight - 1);
    const int lastRow = std::min(int(m_pages.size()) - 1, area.bottom() / RowHeight + 1);
    painter.setFont(numberFont());
    for (int row = firstRow; row <= lastRow; ++row) {
        const TPageInfo &page = m_pages[std::size_t(row)];
        const bool highlighted = page.pageNumber == m_highlighted;
        const QColor ink = highlighted ? Highlight : QColor(Qt::black);
        painter.fillRect(page.frame.translated(kShadow, kShadow), QColor(0x80, 0x80, 0x80));
        painter.fillRect(page.frame, Qt::white);
        painter.setPen(QPen(ink, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(page.frame.adjusted(0, 0, -1, -1));
        const QRect target = pictureRect(row);
        painter.drawImage(target.topLeft(), pageImage(row));
        painter.setPen(ink);
        const QFontMetrics metrics(painter.font());
        painter.drawText(QPoint(65, row * RowHeight + 155 + metrics.ascent()), QString::number(page.pageNumber));
    }
}

void ExportPageStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int number = pageAt(int(event->position().y()));
    if (number <= 0)
        return;
    const TPageInfo &page = m_pages[std::size_t(number - 1)];
    emit pageClicked(page.pageNumber, page.firstChar);
}
