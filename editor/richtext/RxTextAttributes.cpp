#include "editor/richtext/RxTextAttributes.h"

#include "editor/richtext/RxRichEdit.h"
#include "platform/RichTextProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace RichText;

namespace {

QTextCharFormat::UnderlineStyle qtUnderlineStyle(int type)
{
    switch (type) {
    case UnderlineNone: return QTextCharFormat::NoUnderline;
    case UnderlineDotted: return QTextCharFormat::DotLine;
    case UnderlineDash: return QTextCharFormat::DashUnderline;
    case UnderlineDashDot: return QTextCharFormat::DashDotLine;
    case UnderlineDashDotDot: return QTextCharFormat::DashDotDotLine;
    case UnderlineWave: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;
    }
}

// Runs change over the character format of every piece of text in [start, end), as one undo step.
void changeRange(QTextDocument *doc, int start, int end, const std::function<void(QTextCharFormat &)> &change)
{
    struct Piece
    {
        int start;
        int end;
        QTextCharFormat format;
    };
    QList<Piece> pieces;
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int s = std::max(start, f.position());
            const int e = std::min(end, f.position() + f.length());
            if (s < e)
                pieces.append({s, e, f.charFormat()});
        }
        // The paragraph mark ending the block (its format is the one Qt keeps as the next
        // block's character format).
        const int mark = b.position() + b.length() - 1;
        if (mark >= start && mark < end && b.next().isValid())
            pieces.append({mark, mark + 1, b.next().charFormat()});
    }
    QTextCursor c(doc);
    c.beginEditBlock();
    for (Piece &p : pieces) {
        change(p.format);
        c.setPosition(p.start);
        c.setPosition(p.end, QTextCursor::KeepAnchor);
        c.setCharFormat(p.format);
    }
    c.endEditBlock();
}

} // namespace

TRxTextAttributes::TRxTextAttributes(TRxRichEdit *editor, Set set)
    : m_editor(editor)
    , m_set(set)
{
}

QTextCharFormat TRxTextAttributes::format() const
{
    if (m_set == Set::Default)
        return m_editor->m_defaultFormat;
    const QTextCursor cursor = m_editor->textCursor();
    if (!cursor.hasSelection())
        return m_editor->currentCharFormat();
    QTextCursor at(m_editor->document());
    at.setPosition(cursor.selectionStart() + 1);
    return at.charFormat();
}

void TRxTextAttributes::modify(const std::function<void(QTextCharFormat &)> &change)
{
    if (m_set == Set::Default) {
        QTextCharFormat f = m_editor->m_defaultFormat;
        change(f);
        m_editor->setDefaultCharFormat(f);
        return;
    }
    const QTextCursor cursor = m_set == Set::Word ? m_editor->wordOrSelectionCursor() : m_editor->textCursor();
    if (cursor.hasSelection()) {
        if (!m_editor->allowChange(cursor.selectionStart(), cursor.selectionEnd()))
            return;
        changeRange(m_editor->document(), cursor.selectionStart(), cursor.selectionEnd(), change);
    }
    if (!m_editor->textCursor().hasSelection()) {
        // The insertion point (and, for the word set, the word around it): typing goes on with
        // the new look.
        QTextCharFormat f = m_editor->currentCharFormat();
        change(f);
        m_editor->setCurrentCharFormat(f);
    }
}

void TRxTextAttributes::applyFormat(const QTextCharFormat &delta, bool replace)
{
    modify([&](QTextCharFormat &f) {
        if (!replace) {
            f.merge(delta);
            return;
        }
        // A link belongs to the text, not to its look.
        const bool anchor = f.isAnchor();
        const QString href = f.anchorHref();
        f = delta;
        if (anchor) {
            f.setAnchor(true);
            f.setAnchorHref(href);
        }
    });
}

void TRxTextAttributes::assign(const TRxTextAttributes &other)
{
    applyFormat(other.format(), true);
}

QString TRxTextAttributes::name() const
{
    const QStringList families = format().fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_editor->document()->defaultFont().family();
}

void TRxTextAttributes::setName(const QString &face)
{
    modify([&](QTextCharFormat &f) { f.setFontFamilies({face}); });
}

int TRxTextAttributes::charset() const
{
    const QTextCharFormat f = format();
    return f.hasProperty(CharacterSet) ? f.intProperty(CharacterSet) : int(CharsetDefault);
}

void TRxTextAttributes::setCharset(int charset)
{
    modify([&](QTextCharFormat &f) { f.setProperty(CharacterSet, charset); });
}

qreal TRxTextAttributes::sizeF() const
{
    const QTextCharFormat f = format();
    if (f.hasProperty(QTextFormat::FontPointSize))
        return f.fontPointSize();
    const QFont d = m_editor->document()->defaultFont();
    return d.pointSizeF() > 0 ? d.pointSizeF() : 10.0;
}

int TRxTextAttributes::size() const
{
    return qRound(sizeF());
}

void TRxTextAttributes::setSize(qreal points)
{
    if (points > 0)
        modify([&](QTextCharFormat &f) { f.setFontPointSize(points); });
}

TRxTextAttributes::Style TRxTextAttributes::style() const
{
    const QTextCharFormat f = format();
    Style s;
    if (f.fontWeight() >= QFont::Bold)
        s |= Bold;
    if (f.fontItalic())
        s |= Italic;
    if (underlineType() & 0x0F)
        s |= Underline;
    if (f.fontStrikeOut())
        s |= StrikeOut;
    return s;
}

void TRxTextAttributes::setStyle(Style style)
{
    modify([&](QTextCharFormat &f) {
        f.setFontWeight(style & Bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(style & Italic);
        f.setFontStrikeOut(style & StrikeOut);
        const bool underlined = f.hasProperty(UnderlineTypeByte) ? (f.intProperty(UnderlineTypeByte) & 0x0F) != 0
                                                                 : f.fontUnderline();
        if (bool(style & Underline) != underlined)
            applyUnderlineType(f, style & Underline ? int(UnderlineSingle) : 0);
    });
}

QColor TRxTextAttributes::color() const
{
    const QTextCharFormat f = format();
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor();
}

void TRxTextAttributes::setColor(const QColor &color)
{
    modify([&](QTextCharFormat &f) {
        if (color.isValid())
            f.setForeground(color);
        else
            f.clearForeground();
    });
}

QColor TRxTextAttributes::backColor() const
{
    const QTextCharFormat f = format();
    return f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : QColor();
}

void TRxTextAttributes::setBackColor(const QColor &color)
{
    modify([&](QTextCharFormat &f) {
        if (color.isValid())
            f.setBackground(color);
        else
            f.clearBackground();
    });
}

TRxTextAttributes::VerticalPosition TRxTextAttributes::verticalPosition() const
{
    switch (format().verticalAlignment()) {
    case QTextCharFormat::AlignSubScript: return VerticalPosition::Subscript;
    case QTextCharFormat::AlignSuperScript: return VerticalPosition::Superscript;
    default: return VerticalPosition::Normal;
    }
}

void TRxTextAttributes::setVerticalPosition(VerticalPosition position)
{
    modify([&](QTextCharFormat &f) {
        f.setVerticalAlignment(position == VerticalPosition::Subscript     ? QTextCharFormat::AlignSubScript
                               : position == VerticalPosition::Superscript ? QTextCharFormat::AlignSuperScript
                                                                           : QTextCharFormat::AlignNormal);
    });
}

namespace {
void setFlag(QTextCharFormat &f, int property, bool on)
{
    if (on)
        f.setProperty(property, true);
    else
        f.clearProperty(property);
}
} // namespace

bool TRxTextAttributes::isProtected() const { return format().boolProperty(Protected); }
void TRxTextAttributes::setProtected(bool on)
{
    modify([&](QTextCharFormat &f) { setFlag(f, Protected, on); });
}

bool TRxTextAttributes::isHidden() const { return format().boolProperty(Hidden); }
void TRxTextAttributes::setHidden(bool on)
{
    modify([&](QTextCharFormat &f) { setFlag(f, Hidden, on); });
}

bool TRxTextAttributes::isDisabled() const { return format().boolProperty(Disabled); }
void TRxTextAttributes::setDisabled(bool on)
{
    modify([&](QTextCharFormat &f) { setFlag(f, Disabled, on); });
}

bool TRxTextAttributes::isLink() const { return format().isAnchor(); }
void TRxTextAttributes::setLink(bool on)
{
    const QString target = m_set == Set::Default ? QString() : m_editor->wordOrSelectionCursor().selectedText().trimmed();
    modify([&](QTextCharFormat &f) {
        f.setAnchor(on);
        if (on && f.anchorHref().isEmpty())
            f.setAnchorHref(target);
        else if (!on)
            f.clearProperty(QTextFormat::AnchorHref);
    });
}

int TRxTextAttributes::underlineType() const
{
    const QTextCharFormat f = format();
    if (f.hasProperty(UnderlineTypeByte))
        return f.intProperty(UnderlineTypeByte);
    return f.fontUnderline() ? int(UnderlineSingle) : 0;
}

void TRxTextAttributes::setUnderlineType(int typeByte)
{
    modify([&](QTextCharFormat &f) { applyUnderlineType(f, typeByte); });
}

void TRxTextAttributes::applyUnderlineType(QTextCharFormat &f, int typeByte)
{
    typeByte &= 0xFF;
    const int type = typeByte & 0x0F;
    if (type == UnderlineNone) {
        f.clearProperty(UnderlineTypeByte);
        f.setFontUnderline(false);
        f.setUnderlineStyle(QTextCharFormat::NoUnderline);
        f.clearProperty(QTextFormat::TextUnderlineColor);
        return;
    }
    f.setProperty(UnderlineTypeByte, typeByte);
    f.setFontUnderline(true);
    f.setUnderlineStyle(qtUnderlineStyle(type));
    const QColor c = underlineColorForIndex(typeByte >> 4);
    if (c.isValid())
        f.setUnderlineColor(c);
    else
        f.clearProperty(QTextFormat::TextUnderlineColor);
}

bool TRxTextAttributes::isRevised() const { return format().boolProperty(Revised); }
int TRxTextAttributes::revisionAuthor() const { return format().intProperty(RevisionAuthor); }
void TRxTextAttributes::setRevised(bool on, int author)
{
    modify([&](QTextCharFormat &f) {
        setFlag(f, Revised, on);
        if (on)
            f.setProperty(RevisionAuthor, author);
        else
            f.clearProperty(RevisionAuthor);
    });
}

int TRxTextAttributes::kerning() const { return format().intProperty(KerningTwips); }
void TRxTextAttributes::setKerning(int twips)
{
    modify([&](QTextCharFormat &f) {
        if (twips > 0) {
            f.setProperty(KerningTwips, twips);
            f.setFontKerning(true);
        } else {
            f.clearProperty(KerningTwips);
            f.clearProperty(QTextFormat::FontKerning);
        }
    });
}
