#pragma once

#include "editor/richtext/RxParaAttributes.h"
#include "editor/richtext/RxTextAttributes.h"

#include <QFlags>
#include <QRect>
#include <QTextCharFormat>
#include <QTextEdit>

#include <functional>
#include <memory>

class FormatRangeRenderer;
class QIODevice;
class QPaintDevice;
class QPagedPaintDevice;
class QPicture;
class UndoTypeTracker;

// The rich text control of the editor: a QTextEdit over a QTextDocument with the operations the
// document window, the page engine, the exports and the builders rely on.
//
// Positions count characters, a paragraph break counts as one (as QTextCursor positions do);
// textLength() is the number of positions. Layout lengths at the interface are twips unless a
// function says points.
class TRxRichEdit : public QTextEdit
{
    Q_OBJECT
public:
    enum class StreamFormat { RichText, PlainText };
    enum StreamModeFlag {
        StreamWhole = 0,
        StreamSelection = 1, // read: replace the selection; write: the selection only
        StreamUnicode = 2,   // plain text as UTF-16LE (else ANSI, Windows-1252)
    };
    Q_DECLARE_FLAGS(StreamModes, StreamModeFlag)

    // What the next undo or redo would take back.
    enum UndoType { UndoUnknown = 0, UndoTyping = 1, UndoDelete = 2, UndoDragDrop = 3, UndoCut = 4, UndoPaste = 5 };

    enum FindOption { FindWholeWord = 1, FindMatchCase = 2, FindBackward = 4 };
    Q_DECLARE_FLAGS(FindOptions, FindOption)

    explicit TRxRichEdit(QWidget *parent = nullptr);
    ~TRxRichEdit() override;

    // --- Content -------------------------------------------------------------------------------
    // Reads the device in the given format; a read that fails is retried once in the other
    // format. False (with "Failed to Load Stream" in *error) when both fail; the content is then
    // unchanged. The modified flag is cleared after a whole-text read.
    bool loadFromStream(QIODevice &device, StreamFormat format, StreamModes modes = StreamWhole,
                        QString *error = nullptr);
    // False (with "Failed to Save Stream" in *error) when the device refused the bytes.
    bool saveToStream(QIODevice &device, StreamFormat format, StreamModes modes = StreamWhole,
                      QString *error = nullptr) const;
    bool loadFromFile(const QString &path, StreamFormat format, StreamModes modes = StreamWhole,
                      QString *error = nullptr);
    // Bytes of the content in a format (the selection only with StreamSelection).
    QByteArray contentBytes(StreamFormat format, StreamModes modes = StreamWhole) const;
    // Replaces the content (or the selection) with rich text; false when the bytes are not rich
    // text (nothing changes then).
    bool setRichText(const QByteArray &rtf, bool replaceSelection = false);

    void clearContent();
    bool isPlainTextMode() const { return m_plainTextMode; }
    // Switching re-streams the content; going plain loses the formatting.
    void setPlainTextMode(bool plain);

    // The whole text with "\r\n" between paragraphs (as the platform gives plain text).
    QString text() const;
    int textLength() const;
    // Characters [start, end) with "\r" for each paragraph break; end is clamped to the text.
    QString textRange(int start, int end) const;
    // Display lines: the lines as currently wrapped.
    int lineCount() const;
    QStringList displayLines() const;
    int lineFromChar(int position) const; // display line of a position
    int lineStart(int line) const;        // first position of a display line; -1 past the end
    int firstVisibleLine() const;
    void scrollLines(int lines);

    // --- Selection -----------------------------------------------------------------------------
    int selStart() const;
    int selLength() const;
    QString selText() const;
    void setSelText(const QString &text); // replaces the selection
    void setSelection(int start, int length); // and scrolls the caret into view
    void deleteSelection();
    // Deletes all text that may change as one undo step; protected text stays unless the
    // protected-change handler allows its removal.
    void clearAllText();
    // Caret line (display line) and column within it, both from 0.
    QPoint caretPos() const;
    void setCaretPos(const QPoint &lineAndColumn);
    bool isSelectionOneObject() const;

    // --- Clipboard and pictures ----------------------------------------------------------------
    bool canPasteFromClipboard() const;
    void insertPicture(const QImage &image, const QSizeF &sizeTwips = {});
    void insertPicture(const QPicture &picture, const QSizeF &sizeTwips = {});
    static QString pictureMimeType();

    // --- History -------------------------------------------------------------------------------
    bool isModified() const;
    void setModified(bool modified);
    int undoType() const;
    int redoType() const;
    void emptyUndoBuffer();

    // --- Attributes ----------------------------------------------------------------------------
    TRxTextAttributes selAttributes() { return TRxTextAttributes(this, TRxTextAttributes::Set::Selection); }
    TRxTextAttributes wordAttributes() { return TRxTextAttributes(this, TRxTextAttributes::Set::Word); }
    TRxTextAttributes defAttributes() { return TRxTextAttributes(this, TRxTextAttributes::Set::Default); }
    TRxParaAttributes paragraph() { return TRxParaAttributes(this); }
    QTextCharFormat defaultCharFormat() const { return m_defaultFormat; }
    void setDefaultCharFormat(const QTextCharFormat &format);

    // --- Search --------------------------------------------------------------------------------
    // The first hit of text within [start, start + length) (length -1: to the end), searching
    // backward from the range's end with FindBackward; -1 when not found.
    int findText(const QString &text, int start, int length, FindOptions options, bool select = false);

    // --- View ----------------------------------------------------------------------------------
    // Zoom as a ratio; 0/0 (or equal numbers) is off.
    void setZoom(int numerator, int denominator);
    int zoomNumerator() const { return m_zoomNum; }
    int zoomDenominator() const { return m_zoomDen; }
    qreal zoomFactor() const;
    void setWordWrap(bool wrap);
    bool wordWrap() const;
    void setAdvancedTypography(bool on) { m_advancedTypography = on; }
    bool advancedTypography() const { return m_advancedTypography; }

    // --- Layout and printing -------------------------------------------------------------------
    // Formats the characters from start into rectTwips of the painter's device, measuring on
    // measure (nullptr: the painter's device); returns the first character that did not fit.
    // pageTwips is remembered as the page rectangle. See FormatRangeRenderer.
    int formatRange(QPainter *painter, QPaintDevice *measure, const QRect &rectTwips, const QRect &pageTwips,
                    int start, int end = -1, bool render = true);
    void releaseFormatCache();
    QRect pageRect() const { return m_pageRect; }
    void setPageRect(const QRect &twips) { m_pageRect = twips; }
    // Prints the whole text on a paged device, page after page inside its margins.
    bool printDocument(QPagedPaintDevice *device);

    // --- Events --------------------------------------------------------------------------------
    // Asked before a change touches protected text ([start, end)); the change happens only when
    // it returns true. Without a handler protected text is never changed.
    using ProtectedChangeHandler = std::function<bool(int start, int end)>;
    void setProtectedChangeHandler(ProtectedChangeHandler handler) { m_protectedHandler = std::move(handler); }
    // True when [start, end) (or the insertion point at start, for end == start) may change.
    bool allowChange(int start, int end);

    // Helpers of the attribute classes.
    QTextCursor wordOrSelectionCursor() const;
    bool rangeTouchesProtected(int start, int end) const;

signals:
    void contentChanged();
    void caretOrSelectionChanged();
    void textNotFound(const QString &text);
    void linkClicked(const QString &url);
    // The right mouse button or the menu key asks for the window's pop-up menu at globalPos.
    // The control never shows a menu of its own: every removal goes through its protection check.
    void popupMenuRequested(const QPoint &globalPos);
    void keyPressed(QKeyEvent *event);
    void keyReleased(QKeyEvent *event);
    void mousePressed(QMouseEvent *event);
    void mouseReleased(QMouseEvent *event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

    void contextMenuEvent(QContextMenuEvent *event) override;

public:
    void cut();
    void paste();
    void undo();
    void redo();

private:
    friend class TRxTextAttributes;
    friend class TRxParaAttributes;

    void updateDecorations();
    QString linkAt(const QPoint &viewportPos) const;
    bool readPlain(const QByteArray &bytes, StreamModes modes);
    void insertPictureFormat(const QImage &shown, const QByteArray &data, const QString &format, const QSizeF &sizeTwips);

    std::unique_ptr<UndoTypeTracker> m_undo;
    std::unique_ptr<FormatRangeRenderer> m_renderer;
    std::unique_ptr<QPaintDevice> m_zoomDevice;
    ProtectedChangeHandler m_protectedHandler;
    QTextCharFormat m_defaultFormat;
    QRect m_pageRect;
    QString m_searchText;
    int m_searchRevision = -1;
    int m_lastAnchor = 0;
    int m_lastPosition = 0;
    int m_zoomNum = 0;
    int m_zoomDen = 0;
    bool m_plainTextMode = false;
    bool m_advancedTypography = false;
    bool m_decorationsPending = false;
    bool m_dragBlocked = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TRxRichEdit::StreamModes)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRxRichEdit::FindOptions)
