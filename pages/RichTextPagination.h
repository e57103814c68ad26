#pragma once

#include "pages/PrintLayoutCopy.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPicture>
#include <QPointer>
#include <QRectF>

#include <vector>

class TGmPage;
class TGmPreview;
class TRxRichEdit;

// Page margins of the options record, millimetres.
struct PageMarginsMm
{
    int top = 20;
    int left = 20;
    int bottom = 20;
    int right = 20;
};

// Where the text of a page goes: the layout rectangle's size in twips and the page rectangle it
// is placed in, in twips from the paper's corner. The layout is 14 twips narrower than the
// content area; margins, header and footer shrink when they would leave less than one inch by
// one inch for the text.
struct PageTextGeometry
{
    int widthTwips = 0;
    int heightTwips = 0;
    double leftTwips = 0;
    double topTwips = 0;

    static PageTextGeometry of(TGmPreview &preview);
    static constexpr int MinimumTwips = 1440;
};

// Cuts the text of a rich text control into the pages of a preview: one picture per page, placed
// so that the picture's frame and its place on the page are the same rectangle, and the list of
// the first position of every page.
//
// Pages always come from one state of the text (the control's print layout copy, which changes
// only between runs). Runs on one preview never overlap: a run asked for while one is going is
// done once the running one ends. A page whose text did not change since the last run keeps its
// recorded picture.
class RichTextPagination : public QObject
{
    Q_OBJECT

public:
    RichTextPagination(TGmPreview &preview, TRxRichEdit &editor, QObject *parent = nullptr);
    ~RichTextPagination() override;

    // The whole run at once, letting pending events (but no user input) run between pages.
    void run();
    // Asks for a run in the background: the work goes in short slices on the event loop and the
    // preview changes once, in one update bracket, when every page is ready. Asking again while
    // one is pending restarts it from the text's newest state.
    void schedule();
    bool running() const { return m_running; }
    bool pending() const { return m_pending; }
    // Whether the preview shows the text's current state.
    bool upToDate() const;

    // The first position of every page of the last run (page 1: 0).
    const QList<int> &pageStarts() const { return m_pageStarts; }
    // Pictures recorded (not taken from the last run) in all runs so far.
    qint64 picturesRecorded() const { return m_recorded; }

    // Longest slice of background work in milliseconds.
    static constexpr int SliceMilliseconds = 12;

    // The whole run of the page list of a preview from a rich text control; the page starts go to
    // pageStarts.
    static void Repaginate(TGmPreview &preview, TRxRichEdit &editor, QList<int> &pageStarts);
    // The two margin presets a caller sets (inside an update bracket) before a run.
    static void ApplyPrintLayout(TGmPreview &preview, const PageMarginsMm &margins);
    static void ApplyExportLayout(TGmPreview &preview);
    // A preview is in export layout exactly when its left margin is 3 mm.
    static bool IsExportLayout(TGmPreview &preview);

signals:
    // A run put new pages into the preview.
    void paginated();

private:
    struct Prepared
    {
        PageTextGeometry geometry;
        std::vector<PrintLayoutCopy::Page> pages;
        quint64 geometryKey = 0;
        quint64 generation = 0;
    };

    Prepared prepare();
    QPicture pictureFor(const Prepared &prepared, const PrintLayoutCopy::Page &page);
    void publish(const Prepared &prepared, const std::vector<QPicture> &pictures);
    void continueInBackground();

    QPointer<TGmPreview> m_preview;
    QPointer<TRxRichEdit> m_editor;
    QPointer<PrintLayoutCopy> m_copy;
    QHash<quint64, QPicture> m_pictures;
    QList<int> m_pageStarts;
    // The pages of the last run and the keys of their pictures.
    std::vector<TGmPage *> m_publishedPages;
    std::vector<quint64> m_publishedKeys;
    // Background run in progress.
    Prepared m_background;
    std::vector<QPicture> m_backgroundPictures;
    std::size_t m_backgroundNext = 0;
    bool m_running = false;
    bool m_pending = false;
    bool m_again = false;
    bool m_published = false;
    quint64 m_publishedGeometry = 0;
    qint64 m_recorded = 0;
};
