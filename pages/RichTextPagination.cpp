#include "pages/RichTextPagination.h"

#include "editor/richtext/RxRichEdit.h"
#include "pages/GmPreview.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

const char *const kCopyName = "lumaroPrintLayoutCopy";

// The print layout copy of a document, shared by every pagination of that document.
PrintLayoutCopy *layoutCopyOf(QTextDocument *document)
{
    auto *copy = document->findChild<PrintLayoutCopy *>(QString::fromLatin1(kCopyName), Qt::FindDirectChildrenOnly);
    if (!copy) {
        copy = new PrintLayoutCopy(document, document);
        copy->setObjectName(QString::fromLatin1(kCopyName));
    }
    return copy;
}

// Shrinks the two margins around a length so that at least minimum is left between them.
void keepMinimum(double length, double minimum, double &before, double &after)
{
    const double room = length - before - after;
    if (room >= minimum)
        return;
    const double margins = before + after;
    const double keep = std::max(0.0, length - minimum);
    if (margins <= 0)
        return;
    const double factor = std::min(1.0, keep / margins);
    before *= factor;
    after *= factor;
}

quint64 geometryKey(const PageTextGeometry &g, int dpiX, int dpiY)
{
    return quint64(g.widthTwips) << 40 ^ quint64(g.heightTwips) << 16 ^ quint64(dpiX) << 8 ^ quint64(dpiY);
}

// The preview's update bracket, closed however the run ends.
class UpdateBracket
{
public:
    explicit UpdateBracket(TGmPreview &preview)
        : m_preview(&preview)
    {
        preview.BeginUpdate();
    }
    ~UpdateBracket()
    {
        if (m_preview)
            m_preview->EndUpdate();
    }
    UpdateBracket(const UpdateBracket &) = delete;
    UpdateBracket &operator=(const UpdateBracket &) = delete;

private:
    QPointer<TGmPreview> m_preview;
};

// Pictures are kept by what they show and the page size they were cut for.
quint64 pictureKey(quint64 signature, quint64 geometry)
{
    return signature ^ (geometry * 0x9e3779b97f4a7c15ULL);
}

} // namespace

PageTextGeometry PageTextGeometry::of(TGmPreview &preview)
{
    TGmPageList &list = preview.PageList();
    const TGmPage *page = list.CurrentPageObject();
    const double paperWidth = (page ? page->Width() : list.PaperWidth()) * 1440;
    const double paperHeight = (page ? page->Height() : list.PaperHeight()) * 1440;
    double left = list.Margins().Left().AsTwips();
    double right = list.Margins().Right().AsInches() * 1440;
    double top = list.Margins().Top().AsTwips() + list.Header().HeightInches() * 1440;
    double bottom = (list.Margins().Bottom().AsInches() + list.Footer().HeightInches()) * 1440;
    // The layout is 14 twips narrower than the content area.
    keepMinimum(paperWidth - 14, MinimumTwips, left, right);
    keepMinimum(paperHeight, MinimumTwips, top, bottom);
    PageTextGeometry g;
    g.leftTwips = left;
    g.topTwips = top;
    g.widthTwips = std::max(1, GmRound(paperWidth - left - right - 14));
    g.heightTwips = std::max(1, GmRound(paperHeight - top - bottom));
    return g;
}

RichTextPagination::RichTextPagination(TGmPreview &preview, TRxRichEdit &editor, QObject *parent)
    : QObject(parent)
    , m_preview(&preview)
    , m_editor(&editor)
    , m_copy(layoutCopyOf(editor.document()))
{
    connect(editor.document(), &QTextDocument::contentsChange, this, [this] {
        if (m_pending)
            m_again = true;
    });
}

RichTextPagination::~RichTextPagination() = default;

bool RichTextPagination::upToDate() const
{
    return m_published && !m_pending && !m_running && m_copy && !m_copy->outOfDate();
}

RichTextPagination::Prepared RichTextPagination::prepare()
{
    Prepared prepared;
    TGmPreview &preview = *m_preview;
    prepared.geometry = PageTextGeometry::of(preview);
    const int dpiX = preview.GmPrinter().ResolutionX();
    const int dpiY = preview.GmPrinter().ResolutionY();
    prepared.geometryKey = geometryKey(prepared.geometry, dpiX, dpiY);
    if (prepared.geometryKey != m_publishedGeometry)
        m_pictures.clear();
    // The copy follows the editor's document, which may have been replaced.
    if (!m_copy || m_copy->parent() != m_editor->document())
        m_copy = layoutCopyOf(m_editor->document());
    m_copy->sync(dpiX, dpiY, prepared.geometry.widthTwips);
    prepared.pages = m_copy->cut(prepared.geometry.heightTwips);
    prepared.generation = m_copy->generation();
    return prepared;
}

QPicture RichTextPagination::pictureFor(const Prepared &prepared, const PrintLayoutCopy::Page &page)
{
    const auto found = m_pictures.constFind(pictureKey(page.signature, prepared.geometryKey));
    if (found != m_pictures.constEnd())
        return found.value();
    ++m_recorded;
    return m_copy->pagePicture(page, prepared.geometry.widthTwips, prepared.geometry.heightTwips);
}

void RichTextPagination::publish(const Prepared &prepared, const std::vector<QPicture> &pictures)
{
    TGmPreview &preview = *m_preview;
    const int remembered = preview.CurrentPage();
    m_pageStarts.clear();
    m_pageStarts.reserve(qsizetype(prepared.pages.size()));
    QHash<quint64, QPicture> kept;
    kept.reserve(qsizetype(pictures.size()));
    {
        UpdateBracket bracket(preview);
        TGmPageList &list = preview.PageList();
        const PageTextGeometry &g = prepared.geometry;
        const int count = int(prepared.pages.size());
        // Pages whose picture did not change stay as they are. The page list keeps every picture
        // it was given until it is cleared, so it is cleared now and then.
        bool inPlace = m_published && list.PageCount() == int(m_publishedPages.size())
            && list.Resources().GraphicList().Count() <= 2 * std::max(count, list.PageCount()) + 16;
        for (int i = 0; inPlace && i < list.PageCount(); ++i)
            inPlace = list.Pages(i + 1) == m_publishedPages[std::size_t(i)];
        if (!inPlace) {
            preview.Clear();
            m_publishedPages.clear();
            m_publishedKeys.clear();
        }
        std::vector<TGmPage *> pages;
        std::vector<quint64> keys;
        pages.reserve(std::size_t(count));
        keys.reserve(std::size_t(count));
        for (int i = 0; i < count; ++i) {
            const quint64 key = pictureKey(prepared.pages[std::size_t(i)].signature, prepared.geometryKey);
            TGmPage *page = list.Pages(i + 1);
            if (!page)
                page = preview.AddPage();
            const bool same
                = inPlace && std::size_t(i) < m_publishedKeys.size() && m_publishedKeys[std::size_t(i)] == key;
            if (!same) {
                page->Objects().Clear();
                list.SetCurrentPage(i + 1);
                const QPicture &picture = pictures[std::size_t(i)];
                // The picture's frame is the rectangle it is placed in.
                const QRect frame = picture.boundingRect();
                const double right = g.leftTwips + frame.width() * 1440.0 / picture.logicalDpiX();
                const double bottom = g.topTwips + frame.height() * 1440.0 / picture.logicalDpiY();
                preview.Canvas().StretchDraw(picture, gmTwips, g.leftTwips, g.topTwips, right, bottom);
            }
            pages.push_back(page);
            keys.push_back(key);
            m_pageStarts.append(prepared.pages[std::size_t(i)].start);
            kept.insert(key, pictures[std::size_t(i)]);
        }
        while (list.PageCount() > count)
            list.DeletePage(list.PageCount() - 1);
        m_publishedPages = std::move(pages);
        m_publishedKeys = std::move(keys);
        m_editor->setPageRect(QRect(0, 0, g.widthTwips, g.heightTwips));
        preview.GotoPage(std::clamp(remembered, 1, preview.PageCount()));
    }
    m_pictures = std::move(kept);
    m_publishedGeometry = prepared.geometryKey;
    m_published = true;
    emit paginated();
}

void RichTextPagination::run()
{
    if (!m_preview || !m_editor)
        return;
    if (m_running) {
        m_again = true;
        return;
    }
    // A background run gives way to the whole one.
    m_pending = false;
    m_running = true;
    struct Reset
    {
        bool &flag;
        ~Reset() { flag = false; }
    } reset { m_running };
    do {
        m_again = false;
        const Prepared prepared = prepare();
        std::vector<QPicture> pictures;
        pictures.reserve(prepared.pages.size());
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        bool stale = false;
        for (const PrintLayoutCopy::Page &page : prepared.pages) {
            pictures.push_back(pictureFor(prepared, page));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (!m_preview || !m_editor)
                return;
            // Another pagination of the same text brought the copy to another state meanwhile.
            if (!m_copy || m_copy->generation() != prepared.generation) {
                stale = true;
                break;
            }
        }
        if (stale) {
            m_again = true;
            continue;
        }
        publish(prepared, pictures);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } while (m_again && m_preview && m_editor);
}

void RichTextPagination::schedule()
{
    if (!m_preview || !m_editor)
        return;
    if (m_running) {
        m_again = true;
        return;
    }
    const bool wasPending = m_pending;
    m_pending = true;
    m_again = true;
    if (!wasPending)
        QTimer::singleShot(0, this, &RichTextPagination::continueInBackground);
}

void RichTextPagination::continueInBackground()
{
    if (!m_pending || !m_preview || !m_editor)
        return;
    if (m_running) {
        // A whole run is going; it covers this request.
        m_pending = false;
        return;
    }
    QElapsedTimer slice;
    slice.start();
    if (!m_copy || m_copy->generation() != m_background.generation)
        m_again = true;
    if (m_again) {
        // Start over from the text's newest state; pictures of unchanged pages are reused.
        m_again = false;
        for (std::size_t i = 0; i < m_backgroundPictures.size() && i < m_background.pages.size(); ++i)
            m_pictures.insert(
                pictureKey(m_background.pages[i].signature, m_background.geometryKey), m_backgroundPictures[i]);
        m_background = prepare();
        m_backgroundPictures.clear();
        m_backgroundPictures.reserve(m_background.pages.size());
        m_backgroundNext = 0;
    }
    while (m_backgroundNext < m_background.pages.size() && slice.elapsed() < SliceMilliseconds) {
        m_backgroundPictures.push_back(pictureFor(m_background, m_background.pages[m_backgroundNext]));
        ++m_backgroundNext;
    }
    if (m_backgroundNext < m_background.pages.size()) {
        QTimer::singleShot(0, this, &RichTextPagination::continueInBackground);
        return;
    }
    m_pending = false;
    publish(m_background, m_backgroundPictures);
    m_background = Prepared();
    m_backgroundPictures.clear();
}

void RichTextPagination::Repaginate(TGmPreview &preview, TRxRichEdit &editor, QList<int> &pageStarts)
{
    RichTextPagination *pagination = nullptr;
    for (RichTextPagination *candidate : preview.findChildren<RichTextPagination *>(Qt::FindDirectChildrenOnly)) {
        if (candidate->m_editor == &editor)
            pagination = candidate;
    }
    if (!pagination)
        pagination = new RichTextPagination(preview, editor, &preview);
    pagination->run();
    pageStarts = pagination->pageStarts();
}

void RichTextPagination::ApplyPrintLayout(TGmPreview &preview, const PageMarginsMm &margins)
{
    TGmMargins &m = preview.Margins();
    m.Top().SetAsMillimeters(margins.top);
    m.Left().SetAsMillimeters(margins.left);
    m.Bottom().SetAsMillimeters(margins.bottom);
    m.Right().SetAsMillimeters(margins.right);
    preview.Header().Height().SetAsMillimeters(10);
    preview.Footer().Height().SetAsMillimeters(10);
}

void RichTextPagination::ApplyExportLayout(TGmPreview &preview)
{
    TGmMargins &m = preview.Margins();
    m.Top().SetAsMillimeters(3);
    m.Left().SetAsMillimeters(3);
    m.Bottom().SetAsMillimeters(3);
    m.Right().SetAsMillimeters(3);
    preview.Header().Height().SetAsMillimeters(3);
    preview.Footer().Height().SetAsMillimeters(3);
}

bool RichTextPagination::IsExportLayout(TGmPreview &preview)
{
    return std::abs(preview.Margins().Left().AsMillimeters() - 3.0) < 1e-9;
}
