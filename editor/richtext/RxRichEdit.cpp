#include "editor/richtext/RxRichEdit.h"

#include "editor/richtext/FormatRangeRenderer.h"
#include "editor/richtext/ResolutionDevice.h"
#include "editor/richtext/UndoTypeTracker.h"
#include "platform/PlainTextCodec.h"
#include "platform/RichTextProperties.h"
#include "platform/RtfCodec.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QUrl>
#include <QUuid>

using namespace RichText;

namespace {

const QString kFailedToLoad = QStringLiteral("Failed to Load Stream");
const QString kFailedToSave = QStringLiteral("Failed to Save Stream");
const QString kRtfMime = QStringLiteral("text/rtf");
const QString kRtfMimeAlt = QStringLiteral("application/rtf");

QString normalizeLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// Copies the pictures a fragment's text refers to into the target document.
void copyImageResources(const QTextDocument &from, QTextDocument *to)
{
    for (QTextBlock b = from.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QUrl name(f.toImageFormat().name());
            const QVariant res = from.resource(QTextDocument::ImageResource, name);
            if (res.isValid())
                to->addResource(QTextDocument::ImageResource, name, res);
        }
    }
}

const QRegularExpression &linkPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"((?:(?:https?|ftp|file)://|mailto:|www\.)[^\s<>"']+)"),
        QRegularExpression::CaseInsensitiveOption);
    return re;
}

// URLs found in one paragraph: start offset, length, address.
struct FoundLink
{
    int start;
    int length;
    QString url;
};

QList<FoundLink> findLinks(const QString &text)
{
    QList<FoundLink> out;
    auto it = linkPattern().globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        QString url = m.captured();
        while (!url.isEmpty() && QStringLiteral(".,;:!?)]}").contains(url.back()))
            url.chop(1);
        if (url.size() < 5)
            continue;
        QString target = url;
        if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            target.prepend(QStringLiteral("http://"));
        out.append({int(m.capturedStart()), int(url.size()), target});
    }
    return out;
}

} // namespace

TRxRichEdit::TRxRichEdit(QWidget *parent)
    : QTextEdit(parent)
    , m_undo(std::make_unique<UndoTypeTracker>(document()))
    , m_renderer(std::make_unique<FormatRangeRenderer>(document()))
{
    setAcceptRichText(true);
    m_defaultFormat.setFontFamilies({document()->defaultFont().family()});
    m_defaultFormat.setFontPointSize(document()->defaultFont().pointSizeF() > 0 ? document()->defaultFont().pointSizeF() : 10);
    connect(this, &QTextEdit::textChanged, this, [this] {
        m_searchRevision = -1;
        emit contentChanged();
        updateDecorations();
    });
    auto selectionChanged = [this] {
        const QTextCursor c = textCursor();
        if (c.anchor() == m_lastAnchor && c.position() == m_lastPosition)
            return;
        m_lastAnchor = c.anchor();
        m_lastPosition = c.position();
        emit caretOrSelectionChanged();
    };
    connect(this, &QTextEdit::cursorPositionChanged, this, selectionChanged);
    connect(this, &QTextEdit::selectionChanged, this, selectionChanged);
    setMouseTracking(true);
}

TRxRichEdit::~TRxRichEdit()
{
    // The layout must not keep the zoom device once it is gone.
    if (m_zoomDevice)
        document()->documentLayout()->setPaintDevice(nullptr);
}

// --- Content -------------------------------------------------------------------------------------

bool TRxRichEdit::readPlain(const QByteArray &bytes, StreamModes modes)
{
    QString text;
    if (modes & StreamUnicode) {
        QByteArrayView body(bytes);
        if (body.startsWith("\xFF\xFE"))
            body = body.sliced(2);
        text = QString::fromUtf16(reinterpret_cast<const char16_t *>(body.data()), body.size() / 2);
    } else {
        text = PlainTextCodec::decode(bytes);
    }
    text = normalizeLineBreaks(text);
    if (modes & StreamSelection) {
        if (!allowChange(selStart(), selStart() + selLength()))
            return false;
        textCursor().insertText(text);
        return true;
    }
    document()->setUndoRedoEnabled(false);
    document()->clear();
    QTextCursor c(document());
    c.insertText(text, m_plainTextMode ? QTextCharFormat() : m_defaultFormat);
    document()->setUndoRedoEnabled(true);
    return true;
}

bool TRxRichEdit::setRichText(const QByteArray &rtf, bool replaceSelection)
{
    RtfCodec &codec = RtfCodec::instance();
    if (!replaceSelection) {
        document()->setUndoRedoEnabled(false);
        QString err;
        const bool ok = codec.read(rtf, *document(), &err);
        if (!ok)
            document()->clear();
        document()->setUndoRedoEnabled(true);
        m_undo->clear();
        return ok;
    }
    QTextDocument parsed;
    QString err;
    if (!codec.read(rtf, parsed, &err))
        return false;
    QTextCursor c = textCursor();
    if (!allowChange(c.selectionStart(), c.selectionEnd()))
        return false;
    copyImageResources(parsed, document());
    c.insertFragment(QTextDocumentFragment(&parsed));
    setTextCursor(c);
    return true;
}

bool TRxRichEdit::loadFromStream(QIODevice &device, StreamFormat format, StreamModes modes, QString *error)
{
    if (!device.isOpen() || !device.isReadable()) {
        if (error)
            *error = kFailedToLoad;
        return false;
    }
    const QByteArray bytes = device.readAll();
    const bool whole = !(modes & StreamSelection);
    bool ok = false;
    const StreamFormat order[2] = {format, format == StreamFormat::RichText ? StreamFormat::PlainText
                                                                            : StreamFormat::RichText};
    for (StreamFormat f : order) {
        if (f == StreamFormat::RichText && m_plainTextMode)
            continue;
        ok = f == StreamFormat::RichText ? setRichText(bytes, !whole) : readPlain(bytes, modes);
        if (ok)
            break;
    }
    if (!ok) {
        if (error)
            *error = kFailedToLoad;
        return false;
    }
    if (whole) {
        m_undo->clear();
        document()->setModified(false);
        QTextCursor c(document());
        setTextCursor(c);
    }
    m_renderer->release();
    updateDecorations();
    return true;
}

bool TRxRichEdit::loadFromFile(const QString &path, StreamFormat format, StreamModes modes, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return loadFromStream(f, format, modes, error);
}

QByteArray TRxRichEdit::contentBytes(StreamFormat format, StreamModes modes) const
{
    const bool selection = modes & StreamSelection;
    const int from = selection ? textCursor().selectionStart() : 0;
    const int to = selection ? textCursor().selectionEnd() : -1;
    if (format == StreamFormat::RichText)
        return RtfCodec::instance().write(*document(), from, to);
    QString t = selection ? textRange(from, to) : textRange(0, textLength());
    t.replace(u'\r', QStringLiteral("\r\n"));
    t.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    t.replace(QChar::Nbsp, u' ');
    return modes & StreamUnicode ? PlainTextCodec::encodeUtf16LE(t) : PlainTextCodec::encodeAnsi(t);
}

bool TRxRichEdit::saveToStream(QIODevice &device, StreamFormat format, StreamModes modes, QString *error) const
{
    const QByteArray bytes = contentBytes(format, modes);
    const bool ok = device.isWritable() && device.write(bytes) == bytes.size();
    if (!ok && error)
        *error = kFailedToSave;
    return ok;
}

void TRxRichEdit::clearContent()
{
    QTextEdit::clear();
    setCurrentCharFormat(m_defaultFormat);
}

void TRxRichEdit::setPlainTextMode(bool plain)
{
    if (plain == m_plainTextMode)
        return;
    const bool modified = isModified();
    const QString t = normalizeLineBreaks(text());
    m_plainTextMode = plain;
    setAcceptRichText(!plain);
    document()->setUndoRedoEnabled(false);
    document()->clear();
    QTextCursor(document()).insertText(t, plain ? QTextCharFormat() : m_defaultFormat);
    document()->setUndoRedoEnabled(true);
    m_undo->clear();
    document()->setModified(modified);
}

QString TRxRichEdit::text() const
{
    QString t = textRange(0, textLength());
    t.replace(u'\r', QStringLiteral("\r\n"));
    return t;
}

int TRxRichEdit::textLength() const
{
    return std::max(0, document()->characterCount() - 1);
}

QString TRxRichEdit::textRange(int start, int end) const
{
    const int n = textLength();
    start = std::clamp(start, 0, n);
    end = std::clamp(end, start, n);
    if (start == end)
        return {};
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    QString t = c.selectedText();
    t.replace(QChar::ParagraphSeparator, u'\r');
    return t;
}

namespace {
void ensureLaidOut(QTextDocument *doc)
{
    // Asking for the last block's rectangle makes the layout finish the whole document.
    doc->documentLayout()->blockBoundingRect(doc->lastBlock());
}
} // namespace

int TRxRichEdit::lineCount() const
{
    ensureLaidOut(document());
    int lines = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        lines += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
    return lines;
}

QStringList TRxRichEdit::displayLines() const
{
    ensureLaidOut(document());
    QStringList out;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const QString t = b.text();
        const QTextLayout *layout = b.layout();
        if (!layout || layout->lineCount() == 0) {
            out.append(t);
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            QString part = t.mid(line.textStart(), line.textLength());
            part.replace(QChar::LineSeparator, QString());
            out.append(part);
        }
    }
    return out;
}

int TRxRichEdit::lineFromChar(int position) const
{
    ensureLaidOut(document());
    position = std::clamp(position, 0, textLength());
    const QTextBlock target = document()->findBlock(position);
    int line = 0;
    for (QTextBlock b = document()->begin(); b.isValid() && b != target; b = b.next())
        line += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
    if (const QTextLayout *layout = target.layout()) {
        const QTextLine l = layout->lineForTextPosition(position - target.position());
        if (l.isValid())
            line += l.lineNumber();
    }
    return line;
}

int TRxRichEdit::lineStart(int line) const
{
    if (line < 0)
        return -1;
    ensureLaidOut(document());
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const int lines = b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
        if (line < lines) {
            if (!b.layout() || b.layout()->lineCount() == 0)
                return b.position();
            return b.position() + b.layout()->lineAt(line).textStart();
        }
        line -= lines;
    }
    return -1;
}

int TRxRichEdit::firstVisibleLine() const
{
    return lineFromChar(cursorForPosition(QPoint(0, 0)).position());
}

void TRxRichEdit::scrollLines(int lines)
{
    const int target = std::max(0, firstVisibleLine() + lines);
    const int pos = lineStart(target);
    if (pos < 0) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        return;
    }
    const QTextBlock b = document()->findBlock(pos);
    const QRectF r = document()->documentLayout()->blockBoundingRect(b);
    qreal y = r.top();
    if (const QTextLayout *layout = b.layout()) {
        const QTextLine l = layout->lineForTextPosition(pos - b.position());
        if (l.isValid())
            y += l.y();
    }
    verticalScrollBar()->setValue(qRound(y));
}

// --- Selection -----------------------------------------------------------------------------------

int TRxRichEdit::selStart() const
{
    return textCursor().selectionStart();
}

int TRxRichEdit::selLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

QString TRxRichEdit::selText() const
{
    QString t = textCursor().selectedText();
    t.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return t;
}

void TRxRichEdit::setSelText(const QString &text)
{
    QTextCursor c = textCursor();
    if (!allowChange(c.selectionStart(), c.selectionEnd()))
        return;
    c.insertText(normalizeLineBreaks(text));
    setTextCursor(c);
}

void TRxRichEdit::setSelection(int start, int length)
{
    const int n = textLength();
    start = std::clamp(start, 0, n);
    const int end = length < 0 ? n : std::clamp(start + length, start, n);
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
    ensureCursorVisible();
}

void TRxRichEdit::deleteSelection()
{
    QTextCursor c = textCursor();
    if (!c.hasSelection() || !allowChange(c.selectionStart(), c.selectionEnd()))
        return;
    PendingUndoType kind(*m_undo, UndoDelete);
    c.removeSelectedText();
    setTextCursor(c);
}

void TRxRichEdit::clearAllText()
{
    const int n = textLength();
    if (n == 0)
        return;
    PendingUndoType kind(*m_undo, UndoDelete);
    QTextCursor c(document());
    if (!rangeTouchesProtected(0, n) || allowChange(0, n)) {
        c.select(QTextCursor::Document);
        c.removeSelectedText();
        setCurrentCharFormat(m_defaultFormat);
        return;
    }
    // Runs of unprotected text, removed from the end so earlier positions stay valid; one edit
    // block keeps the whole clear one undo step.
    QList<QPair<int, int>> runs;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().boolProperty(Protected))
                continue;
            const int start = f.position();
            const int end = std::min(f.position() + f.length(), n);
            if (!runs.isEmpty() && runs.last().second == start)
                runs.last().second = end;
            else if (start < end)
                runs.append({ start, end });
        }
        // Paragraph marks go: the protected runs stay, joined into the paragraphs left.
        const int mark = b.position() + b.length() - 1;
        if (mark < n) {
            if (!runs.isEmpty() && runs.last().second == mark)
                runs.last().second = mark + 1;
            else
                runs.append({ mark, mark + 1 });
        }
    }
    c.beginEditBlock();
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        c.setPosition(it->first);
        c.setPosition(it->second, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    c.endEditBlock();
}

QPoint TRxRichEdit::caretPos() const
{
    const int pos = textCursor().position();
    const int line = lineFromChar(pos);
    return QPoint(pos - lineStart(line), line);
}

void TRxRichEdit::setCaretPos(const QPoint &lineAndColumn)
{
    int start = lineStart(lineAndColumn.y());
    if (start < 0)
        start = textLength();
    const int nextLine = lineStart(lineAndColumn.y() + 1);
    const int end = nextLine < 0 ? textLength() : std::max(start, nextLine - 1);
    setSelection(std::min(start + std::max(0, lineAndColumn.x()), end), 0);
}

bool TRxRichEdit::isSelectionOneObject() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart() == 1 && c.selectedText() == QString(QChar::ObjectReplacementCharacter);
}

QTextCursor TRxRichEdit::wordOrSelectionCursor() const
{
    QTextCursor c = textCursor();
    if (!c.hasSelection())
        c.select(QTextCursor::WordUnderCursor);
    return c;
}

// --- Protection ----------------------------------------------------------------------------------

bool TRxRichEdit::rangeTouchesProtected(int start, int end) const
{
    QTextDocument *doc = document();
    auto protectedAt = [doc](int pos) {
        if (pos < 0 || pos >= doc->characterCount() - 1)
            return false;
        QTextCursor c(doc);
        c.setPosition(pos + 1);
        return c.charFormat().boolProperty(Protected);
    };
    if (start == end) // an insertion point is protected inside a protected run
        return protectedAt(start - 1) && protectedAt(start);
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() < end && f.position() + f.length() > start && f.charFormat().boolProperty(Protected))
                return true;
        }
    }
    return false;
}

bool TRxRichEdit::allowChange(int start, int end)
{
    if (!rangeTouchesProtected(start, end))
        return true;
    return m_protectedHandler && m_protectedHandler(start, end);
}

// --- Clipboard -----------------------------------------------------------------------------------

QString TRxRichEdit::pictureMimeType()
{
    return QStringLiteral("application/x-lumaro-picture");
}

bool TRxRichEdit::canPasteFromClipboard() const
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data && canInsertFromMimeData(data);
}

void TRxRichEdit::undo()
{
    m_undo->undone(document()->availableUndoSteps() > 0);
    QTextEdit::undo();
}

void TRxRichEdit::redo()
{
    m_undo->redone(document()->availableRedoSteps() > 0);
    QTextEdit::redo();
}

void TRxRichEdit::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    emit popupMenuRequested(event->globalPos());
}

void TRxRichEdit::cut()
{
    QTextCursor c = textCursor();
    if (!c.hasSelection() || !allowChange(c.selectionStart(), c.selectionEnd()))
        return;
    PendingUndoType kind(*m_undo, UndoCut);
    QTextEdit::cut();
}

void TRxRichEdit::paste()
{
    PendingUndoType kind(*m_undo, UndoPaste);
    QTextEdit::paste();
}

QMimeData *TRxRichEdit::createMimeDataFromSelection() const
{
    // Qt's own selection data lists a fixed set of formats, so its text goes into data of ours.
    const std::unique_ptr<QMimeData> base(QTextEdit::createMimeDataFromSelection());
    auto *data = new QMimeData;
    data->setText(base->text());
    if (!m_plainTextMode)
        data->setHtml(base->html());
    const QTextCursor c = textCursor();
    if (!c.hasSelection() || m_plainTextMode)
        return data;
    const QByteArray rtf = contentBytes(StreamFormat::RichText, StreamSelection);
    if (!rtf.isEmpty()) {
        data->setData(kRtfMime, rtf);
        data->setData(kRtfMimeAlt, rtf);
    }
    if (isSelectionOneObject()) {
        QTextCursor at(document());
        at.setPosition(c.selectionStart() + 1);
        const QTextCharFormat f = at.charFormat();
        if (f.isImageFormat()) {
            const QVariant res = document()->resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
            const QImage image = res.value<QImage>();
            if (!image.isNull())
                data->setImageData(image);
            if (f.stringProperty(PictureFormat) == QLatin1String("qpicture"))
                data->setData(pictureMimeType(), f.property(PictureData).toByteArray());
        }
    }
    return data;
}

bool TRxRichEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasFormat(pictureMimeType()) || source->hasFormat(kRtfMime) || source->hasFormat(kRtfMimeAlt)
           || source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

void TRxRichEdit::insertFromMimeData(const QMimeData *source)
{
    QTextCursor c = textCursor();
    if (!allowChange(c.selectionStart(), c.selectionEnd()))
        return;
    if (m_plainTextMode) {
        if (source->hasText())
            setSelText(source->text());
        return;
    }
    if (source->hasFormat(pictureMimeType())) {
        QPicture picture;
        const QByteArray bytes = source->data(pictureMimeType());
        if (picture.setData(bytes.constData(), uint(bytes.size())), !picture.isNull()) {
            insertPicture(picture);
            return;
        }
    }
    for (const QString &mime : {kRtfMime, kRtfMimeAlt}) {
        if (source->hasFormat(mime) && setRichText(source->data(mime), true))
            return;
    }
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            insertPicture(image);
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}

void TRxRichEdit::insertPictureFormat(const QImage &shown, const QByteArray &data, const QString &format,
                                      const QSizeF &sizeTwips)
{
    const QUrl name(QStringLiteral("picture:") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    document()->addResource(QTextDocument::ImageResource, name, shown);
    QTextImageFormat f;
    f.setName(name.toString());
    if (sizeTwips.isValid() && !sizeTwips.isEmpty()) {
        f.setWidth(twipsToPixels(sizeTwips.width()));
        f.setHeight(twipsToPixels(sizeTwips.height()));
    } else {
        // Pictures show at their own resolution.
        const qreal dpmX = shown.dotsPerMeterX() > 0 ? shown.dotsPerMeterX() : 3780;
        const qreal dpmY = shown.dotsPerMeterY() > 0 ? shown.dotsPerMeterY() : 3780;
        f.setWidth(shown.width() * kLayoutDpi / (dpmX * 0.0254));
        f.setHeight(shown.height() * kLayoutDpi / (dpmY * 0.0254));
    }
    f.setProperty(PictureData, data);
    f.setProperty(PictureFormat, format);
    QTextCursor c = textCursor();
    c.insertImage(f);
    setTextCursor(c);
}

void TRxRichEdit::insertPicture(const QImage &image, const QSizeF &sizeTwips)
{
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    insertPictureFormat(image, png, QStringLiteral("png"), sizeTwips);
}

void TRxRichEdit::insertPicture(const QPicture &picture, const QSizeF &sizeTwips)
{
    const QRect bounds = picture.boundingRect();
    if (picture.isNull() || bounds.isEmpty())
        return;
    // The text shows a bitmap of the picture; its vector data travels with it.
    QImage shown(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    {
        QPainter p(&shown);
        p.translate(-bounds.topLeft());
        QPicture(picture).play(&p);
    }
    const QByteArray data(picture.data(), picture.size());
    insertPictureFormat(shown, data, QStringLiteral("qpicture"), sizeTwips);
}

// --- History -------------------------------------------------------------------------------------

bool TRxRichEdit::isModified() const
{
    return document()->isModified();
}

void TRxRichEdit::setModified(bool modified)
{
    document()->setModified(modified);
}

int TRxRichEdit::undoType() const
{
    return m_undo->undoType();
}

int TRxRichEdit::redoType() const
{
    return m_undo->redoType();
}

void TRxRichEdit::emptyUndoBuffer()
{
    const bool modified = isModified();
    document()->clearUndoRedoStacks();
    m_undo->clear();
    document()->setModified(modified);
}

void TRxRichEdit::setDefaultCharFormat(const QTextCharFormat &format)
{
    m_defaultFormat = format;
    QFont font = document()->defaultFont();
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty())
        font.setFamilies(families);
    if (format.hasProperty(QTextFormat::FontPointSize))
        font.setPointSizeF(format.fontPointSize());
    document()->setDefaultFont(font);
}

// --- Search --------------------------------------------------------------------------------------

int TRxRichEdit::findText(const QString &text, int start, int length, FindOptions options, bool select)
{
    const int n = textLength();
    start = std::clamp(start, 0, n);
    const int end = length < 0 ? n : std::clamp(start + length, start, n);
    QString pattern = text;
    pattern.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    pattern.replace(u'\n', u'\r');
    int hit = -1;
    if (!pattern.isEmpty() && end - start >= pattern.size()) {
        // The text is kept between searches until the document changes, so repeated searches
        // (replace all) do not rebuild it.
        if (m_searchRevision != document()->revision() || m_searchText.size() != n) {
            m_searchText = textRange(0, n);
            m_searchRevision = document()->revision();
        }
        const QStringView range = QStringView(m_searchText).mid(start, end - start);
        const Qt::CaseSensitivity cs = options & FindMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
        auto wholeWord = [&](qsizetype at) {
            const bool before = at > 0 && isWordChar(range[at - 1]);
            const bool after = at + pattern.size() < range.size() && isWordChar(range[at + pattern.size()]);
            return !before && !after;
        };
        qsizetype at = options & FindBackward ? range.lastIndexOf(pattern, -1, cs) : range.indexOf(pattern, 0, cs);
        while (at >= 0 && (options & FindWholeWord) && !wholeWord(at)) {
            if (options & FindBackward)
                at = at == 0 ? -1 : range.lastIndexOf(pattern, at - 1, cs);
            else
                at = range.indexOf(pattern, at + 1, cs);
        }
        if (at >= 0)
            hit = start + int(at);
    }
    if (hit < 0) {
        emit textNotFound(text);
        return -1;
    }
    if (select)
        setSelection(hit, int(pattern.size()));
    return hit;
}

// --- View ----------------------------------------------------------------------------------------

qreal TRxRichEdit::zoomFactor() const
{
    if (m_zoomNum <= 0 || m_zoomDen <= 0)
        return 1.0;
    return qreal(m_zoomNum) / m_zoomDen;
}

void TRxRichEdit::setZoom(int numerator, int denominator)
{
    if (numerator < 0 || denominator < 0)
        return;
    m_zoomNum = numerator;
    m_zoomDen = denominator;
    const qreal factor = std::clamp(zoomFactor(), 1.0 / 64, 64.0);
    const int at = textCursor().position();
    if (qFuzzyCompare(factor, 1.0)) {
        document()->documentLayout()->setPaintDevice(nullptr);
        m_zoomDevice.reset();
    } else {
        const int dpi = qRound(kLayoutDpi * factor);
        auto device = std::make_unique<ResolutionDevice>(dpi, dpi);
        document()->documentLayout()->setPaintDevice(device.get());
        m_zoomDevice = std::move(device);
    }
    // A new resolution needs a new layout.
    document()->markContentsDirty(0, document()->characterCount());
    QTextCursor c = textCursor();
    c.setPosition(at);
    ensureCursorVisible();
    viewport()->update();
}

void TRxRichEdit::setWordWrap(bool wrap)
{
    setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

bool TRxRichEdit::wordWrap() const
{
    return lineWrapMode() != QTextEdit::NoWrap;
}

// --- Layout and printing -------------------------------------------------------------------------

int TRxRichEdit::formatRange(QPainter *painter, QPaintDevice *measure, const QRect &rectTwips,
                             const QRect &pageTwips, int start, int end, bool render)
{
    m_pageRect = pageTwips;
    return m_renderer->formatRange(painter, measure, rectTwips, start, end, render);
}

void TRxRichEdit::releaseFormatCache()
{
    m_renderer->release();
}

bool TRxRichEdit::printDocument(QPagedPaintDevice *device)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    const QRect paint = device->pageLayout().paintRectPixels(device->logicalDpiX());
    const QRect twips(0, 0, paint.width() * 1440 / device->logicalDpiX(), paint.height() * 1440 / device->logicalDpiY());
    const int n = textLength();
    int start = 0;
    bool ok = true;
    do {
        if (start > 0 && !device->newPage()) {
            ok = false;
            break;
        }
        start = formatRange(&painter, device, twips, twips, start, n, true);
    } while (start < n);
    releaseFormatCache();
    painter.end();
    return ok;
}

// --- Events --------------------------------------------------------------------------------------

void TRxRichEdit::keyPressEvent(QKeyEvent *event)
{
    emit keyPressed(event);
    if (event->isAccepted() == false)
        return;
    QTextCursor c = textCursor();
    int kind = UndoUnknown;
    int start = c.selectionStart();
    int end = c.selectionEnd();
    bool edits = false;
    if (event->matches(QKeySequence::Cut)) {
        cut();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        undo();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        redo();
        return;
    }
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        // QTextEdit keeps its overwrite mode but has no key for it.
        setOverwriteMode(!overwriteMode());
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete || event->matches(QKeySequence::DeleteEndOfWord)
        || event->matches(QKeySequence::DeleteStartOfWord)) {
        kind = UndoDelete;
        edits = true;
        if (!c.hasSelection()) {
            // The range the key removes: a whole word for Ctrl+Backspace and Ctrl+Delete.
            QTextCursor reach = c;
            if (event->matches(QKeySequence::DeleteStartOfWord))
                reach.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
            else if (event->matches(QKeySequence::DeleteEndOfWord))
                reach.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
            else if (event->key() == Qt::Key_Backspace)
                reach.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
            else
                reach.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            start = reach.selectionStart();
            end = reach.selectionEnd();
            if (start == end) {
                // Nothing to remove at the edge of the text.
                start = std::max(0, start - (event->key() == Qt::Key_Backspace ? 1 : 0));
                end = std::min(textLength(), end + (event->key() == Qt::Key_Backspace ? 0 : 1));
            }
        }
    } else if (!event->text().isEmpty() && (event->text().at(0).isPrint() || event->key() == Qt::Key_Return
                                            || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Tab)
               && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        kind = UndoTyping;
        edits = !isReadOnly();
    }
    if (edits) {
        if (!allowChange(start, end)) {
            event->accept();
            QApplication::beep();
            return;
        }
        if (start == end && currentCharFormat().boolProperty(Protected)) {
            // Text typed next to protected text is not protected itself.
            QTextCharFormat f = currentCharFormat();
            f.clearProperty(Protected);
            setCurrentCharFormat(f);
        }
    }
    PendingUndoType pending(*m_undo, kind);
    QTextEdit::keyPressEvent(event);
}

void TRxRichEdit::keyReleaseEvent(QKeyEvent *event)
{
    QTextEdit::keyReleaseEvent(event);
    emit keyReleased(event);
}

void TRxRichEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QTextCursor c = textCursor();
    if (!event->commitString().isEmpty() && !allowChange(c.selectionStart(), c.selectionEnd())) {
        event->accept();
        return;
    }
    PendingUndoType pending(*m_undo, UndoTyping);
    QTextEdit::inputMethodEvent(event);
}

void TRxRichEdit::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event);
    // A drag that starts in a selection would move the text away: protected text never leaves
    // that way, it can only be copied with the clipboard.
    const QTextCursor c = textCursor();
    const int at = cursorForPosition(event->position().toPoint()).position();
    m_dragBlocked = event->button() == Qt::LeftButton && c.hasSelection() && at >= c.selectionStart()
        && at <= c.selectionEnd() && rangeTouchesProtected(c.selectionStart(), c.selectionEnd())
        && !allowChange(c.selectionStart(), c.selectionEnd());
    QTextEdit::mousePressEvent(event);
}

void TRxRichEdit::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragBlocked) {
        // The press that would have started the drag places the caret instead.
        m_dragBlocked = false;
        QTextCursor c = cursorForPosition(event->position().toPoint());
        setTextCursor(c);
    }
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && !textCursor().hasSelection()) {
        const QString url = linkAt(event->position().toPoint());
        if (!url.isEmpty())
            emit linkClicked(url);
    }
    emit mouseReleased(event);
}

void TRxRichEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragBlocked && (event->buttons() & Qt::LeftButton)) {
        event->accept();
        return;
    }
    QTextEdit::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        viewport()->setCursor(linkAt(event->position().toPoint()).isEmpty() ? Qt::IBeamCursor : Qt::PointingHandCursor);
}

void TRxRichEdit::dragMoveEvent(QDragMoveEvent *event)
{
    QTextEdit::dragMoveEvent(event);
    const QTextCursor at = cursorForPosition(event->position().toPoint());
    if (!allowChange(at.position(), at.position()))
        event->ignore();
}

void TRxRichEdit::dropEvent(QDropEvent *event)
{
    const QTextCursor at = cursorForPosition(event->position().toPoint());
    if (!allowChange(at.position(), at.position())) {
        event->ignore();
        return;
    }
    // Moving text within the control removes it at its source.
    const QTextCursor source = textCursor();
    if (event->source() == this && event->dropAction() == Qt::MoveAction && source.hasSelection()
        && !allowChange(source.selectionStart(), source.selectionEnd())) {
        event->ignore();
        return;
    }
    PendingUndoType pending(*m_undo, UndoDragDrop);
    QTextEdit::dropEvent(event);
}

QString TRxRichEdit::linkAt(const QPoint &viewportPos) const
{
    const QString anchor = anchorAt(viewportPos);
    if (!anchor.isEmpty())
        return anchor;
    const QTextCursor c = cursorForPosition(viewportPos);
    const QTextBlock b = c.block();
    const int offset = c.position() - b.position();
    for (const FoundLink &link : findLinks(b.text())) {
        if (offset >= link.start && offset < link.start + link.length)
            return link.url;
    }
    return {};
}

void TRxRichEdit::resizeEvent(QResizeEvent *event)
{
    QTextEdit::resizeEvent(event);
    updateDecorations();
}

void TRxRichEdit::scrollContentsBy(int dx, int dy)
{
    QTextEdit::scrollContentsBy(dx, dy);
    updateDecorations();
}

void TRxRichEdit::updateDecorations()
{
    // Only the paragraphs on screen are looked at, so the cost does not grow with the document.
    if (m_decorationsPending)
        return;
    m_decorationsPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_decorationsPending = false;
            QList<ExtraSelection> marks;
            QTextBlock first = cursorForPosition(QPoint(0, 0)).block();
            const QTextBlock last = cursorForPosition(QPoint(viewport()->width(), viewport()->height())).block();
            int guard = 0;
            for (QTextBlock b = first; b.isValid() && guard < 2000; b = b.next(), ++guard) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextFragment f = it.fragment();
                    const QTextCharFormat cf = f.charFormat();
                    if (cf.boolProperty(Hidden) || cf.boolProperty(Disabled)) {
                        ExtraSelection mark;
                        mark.cursor = QTextCursor(document());
                        mark.cursor.setPosition(f.position());
                        mark.cursor.setPosition(f.position() + f.length(), QTextCursor::KeepAnchor);
                        mark.format.setForeground(QColor(0x80, 0x80, 0x80));
                        if (cf.boolProperty(Hidden)) {
                            mark.format.setUnderlineStyle(QTextCharFormat::DotLine);
                            mark.format.setUnderlineColor(QColor(0x80, 0x80, 0x80));
                        }
                        marks.append(mark);
                    }
                }
                for (const FoundLink &link : findLinks(b.text())) {
                    ExtraSelection mark;
                    mark.cursor = QTextCursor(document());
                    mark.cursor.setPosition(b.position() + link.start);
                    mark.cursor.setPosition(b.position() + link.start + link.length, QTextCursor::KeepAnchor);
                    mark.format.setForeground(QColor(0, 0, 0xFF));
                    mark.format.setFontUnderline(true);
                    marks.append(mark);
                }
                if (b == last)
                    break;
            }
            setExtraSelections(marks);
        },
        Qt::QueuedConnection);
}
