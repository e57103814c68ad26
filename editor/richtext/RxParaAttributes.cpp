#include "editor/richtext/RxParaAttributes.h"

#include "editor/richtext/RxRichEdit.h"
#include "platform/RichTextProperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

using namespace RichText;

namespace {

int toPoints(qreal px)
{
    return qRound(pixelsToPoints(px));
}

QTextListFormat::Style qtListStyle(int kind)
{
    switch (kind) {
    case NumberingBullet: return QTextListFormat::ListDisc;
    case NumberingArabic: return QTextListFormat::ListDecimal;
    case NumberingLowerLetter: return QTextListFormat::ListLowerAlpha;
    case NumberingUpperLetter: return QTextListFormat::ListUpperAlpha;
    case NumberingLowerRoman: return QTextListFormat::ListLowerRoman;
    case NumberingUpperRoman: return QTextListFormat::ListUpperRoman;
    case NumberingHollowBlock: return QTextListFormat::ListSquare;
    case NumberingSmallBullet: return QTextListFormat::ListCircle;
    default: return QTextListFormat::ListStyleUndefined;
    }
}

int kindOfStyle(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc: return NumberingBullet;
    case QTextListFormat::ListDecimal: return NumberingArabic;
    case QTextListFormat::ListLowerAlpha: return NumberingLowerLetter;
    case QTextListFormat::ListUpperAlpha: return NumberingUpperLetter;
    case QTextListFormat::ListLowerRoman: return NumberingLowerRoman;
    case QTextListFormat::ListUpperRoman: return NumberingUpperRoman;
    case QTextListFormat::ListSquare: return NumberingHollowBlock;
    case QTextListFormat::ListCircle: return NumberingSmallBullet;
    default: return NumberingNone;
    }
}

// How a numbering style word shows: 0x2000 "1)", 0x2100 "(1)", 0x2200 "1.", 0x2300 "1".
void applyStyleWord(QTextListFormat &f, int word)
{
    f.setProperty(NumberingStyleWord, word);
    switch (word & 0xFF00) {
    case 0x2000: f.setNumberPrefix(QString()); f.setNumberSuffix(QStringLiteral(")")); break;
    case 0x2100: f.setNumberPrefix(QStringLiteral("(")); f.setNumberSuffix(QStringLiteral(")")); break;
    case 0x2300: f.setNumberPrefix(QString()); f.setNumberSuffix(QString()); break;
    default: f.setNumberPrefix(QString()); f.setNumberSuffix(QStringLiteral(".")); break;
    }
}

void applyLineHeight(QTextBlockFormat &f, int rule, int twentieths)
{
    f.setProperty(LineSpacingRule, rule);
    f.setProperty(LineSpacingValue, twentieths);
    switch (rule) {
    case 1: f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); break;
    case 2: f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); break;
    case 3: f.setLineHeight(twipsToPixels(twentieths), QTextBlockFormat::MinimumHeight); break;
    case 4: f.setLineHeight(twipsToPixels(twentieths), QTextBlockFormat::FixedHeight); break;
    case 5: f.setLineHeight(twentieths > 0 ? twentieths * 5.0 : 100, QTextBlockFormat::ProportionalHeight); break;
    default: f.setLineHeight(0, QTextBlockFormat::SingleHeight); break;
    }
}

} // namespace

TRxParaAttributes::TRxParaAttributes(TRxRichEdit *editor)
    : m_editor(editor)
{
}

QTextBlockFormat TRxParaAttributes::current() const
{
    const QTextCursor c = m_editor->textCursor();
    return m_editor->document()->findBlock(c.selectionStart()).blockFormat();
}

template<typename F>
void TRxParaAttributes::modify(F &&change)
{
    const QTextCursor sel = m_editor->textCursor();
    if (!m_editor->allowChange(sel.selectionStart(), sel.selectionEnd()))
        return;
    QTextDocument *doc = m_editor->document();
    const QTextBlock first = doc->findBlock(sel.selectionStart());
    const QTextBlock last = doc->findBlock(sel.selectionEnd());
    QTextCursor c(doc);
    c.beginEditBlock();
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        change(f, b);
        c.setPosition(b.position());
        c.setBlockFormat(f);
        if (b == last)
            break;
    }
    c.endEditBlock();
}

int TRxParaAttributes::alignment() const
{
    const Qt::Alignment a = current().alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        return Right;
    if (a & Qt::AlignHCenter)
        return Center;
    if (a & Qt::AlignJustify)
        return Justify;
    return Left;
}

void TRxParaAttributes::setAlignment(int alignment)
{
    const Qt::Alignment a = alignment == Right    ? Qt::AlignRight
                            : alignment == Center  ? Qt::AlignHCenter
                            : alignment == Justify ? Qt::AlignJustify
                                                   : Qt::AlignLeft;
    modify([&](QTextBlockFormat &f, const QTextBlock &) { f.setAlignment(a); });
}

int TRxParaAttributes::firstIndent() const
{
    const QTextCursor c = m_editor->textCursor();
    const QTextBlock b = m_editor->document()->findBlock(c.selectionStart());
    const QTextBlockFormat f = b.blockFormat();
    return toPoints(f.leftMargin() + firstLineIndent(f, b.textList()));
}

void TRxParaAttributes::setFirstIndent(int points)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &b) {
        const qreal offset = -firstLineIndent(f, b.textList());
        f.setLeftMargin(pointsToPixels(points) + offset);
    });
}

int TRxParaAttributes::leftIndent() const
{
    const QTextCursor c = m_editor->textCursor();
    const QTextBlock b = m_editor->document()->findBlock(c.selectionStart());
    return toPoints(-firstLineIndent(b.blockFormat(), b.textList()));
}

void TRxParaAttributes::setLeftIndent(int points)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &b) {
        const qreal first = f.leftMargin() + firstLineIndent(f, b.textList());
        setFirstLineIndent(f, -pointsToPixels(points), b.textList());
        f.setLeftMargin(first + pointsToPixels(points));
    });
}

int TRxParaAttributes::rightIndent() const { return toPoints(current().rightMargin()); }
void TRxParaAttributes::setRightIndent(int points)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) { f.setRightMargin(pointsToPixels(points)); });
}

int TRxParaAttributes::spaceBefore() const { return toPoints(current().topMargin()); }
void TRxParaAttributes::setSpaceBefore(int points)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) { f.setTopMargin(pointsToPixels(points)); });
}

int TRxParaAttributes::spaceAfter() const { return toPoints(current().bottomMargin()); }
void TRxParaAttributes::setSpaceAfter(int points)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) { f.setBottomMargin(pointsToPixels(points)); });
}

int TRxParaAttributes::lineSpacing() const
{
    return qRound(current().intProperty(LineSpacingValue) / 20.0);
}

int TRxParaAttributes::lineSpacingRule() const
{
    return current().intProperty(LineSpacingRule);
}

void TRxParaAttributes::setLineSpacing(int rule, int value)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) { applyLineHeight(f, rule, value * 20); });
}

void TRxParaAttributes::setLineSpacingRule(int rule)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) { applyLineHeight(f, rule, f.intProperty(LineSpacingValue)); });
}

int TRxParaAttributes::numbering() const
{
    const QTextCursor c = m_editor->textCursor();
    const QTextBlock b = m_editor->document()->findBlock(c.selectionStart());
    const QTextList *list = b.textList();
    if (!list)
        return NumberingNone;
    const QTextListFormat f = list->format();
    return f.hasProperty(NumberingKind) ? f.intProperty(NumberingKind) : kindOfStyle(f.style());
}

void TRxParaAttributes::setNumberingDirect(int kind)
{
    const QTextCursor sel = m_editor->textCursor();
    if (!m_editor->allowChange(sel.selectionStart(), sel.selectionEnd()))
        return;
    QTextDocument *doc = m_editor->document();
    const QTextBlock first = doc->findBlock(sel.selectionStart());
    const QTextBlock last = doc->findBlock(sel.selectionEnd());
    QTextCursor c(doc);
    c.beginEditBlock();
    if (kind == NumberingNone) {
        for (QTextBlock b = first; b.isValid(); b = b.next()) {
            if (QTextList *list = b.textList()) {
                const qreal first = firstLineIndent(b.blockFormat(), true);
                list->remove(b);
                QTextBlockFormat f = b.blockFormat(); // read again: it no longer names the list
                f.setIndent(0);
                setFirstLineIndent(f, first, false);
                c.setPosition(b.position());
                c.setBlockFormat(f);
            }
            if (b == last)
                break;
        }
    } else {
        // Paragraphs joining the list keep their first-line indent where list paragraphs do.
        for (QTextBlock b = first; b.isValid(); b = b.next()) {
            if (!b.textList()) {
                QTextBlockFormat f = b.blockFormat();
                setFirstLineIndent(f, f.textIndent(), true);
                c.setPosition(b.position());
                c.setBlockFormat(f);
            }
            if (b == last)
                break;
        }
        QTextList *list = first.textList();
        QTextListFormat f = list ? list->format() : QTextListFormat();
        f.setStyle(qtListStyle(kind));
        f.setProperty(NumberingKind, kind);
        f.setIndent(0);
        if (!f.hasProperty(NumberingStyleWord))
            applyStyleWord(f, 0x2200);
        if (list) {
            list->setFormat(f);
        } else {
            c.setPosition(first.position());
            list = c.createList(f);
        }
        for (QTextBlock b = first.next(); b.isValid() && first != last; b = b.next()) {
            if (b.textList() != list) {
                if (QTextList *other = b.textList())
                    other->remove(b);
                list->add(b);
            }
            if (b == last)
                break;
        }
    }
    c.endEditBlock();
}

void TRxParaAttributes::setNumbering(int kind)
{
    setNumberingDirect(kind);
    if (kind == NumberingNone)
        setLeftIndent(0);
    else if (leftIndent() < 10)
        setLeftIndent(10);
}

int TRxParaAttributes::numberingStyle() const
{
    const QTextCursor c = m_editor->textCursor();
    const QTextList *list = m_editor->document()->findBlock(c.selectionStart()).textList();
    return list ? list->format().intProperty(NumberingStyleWord) : 0;
}

void TRxParaAttributes::setNumberingStyle(int styleWord)
{
    const QTextCursor c = m_editor->textCursor();
    QTextDocument *doc = m_editor->document();
    const QTextBlock first = doc->findBlock(c.selectionStart());
    const QTextBlock last = doc->findBlock(c.selectionEnd());
    if (!m_editor->allowChange(c.selectionStart(), c.selectionEnd()))
        return;
    QTextCursor edit(doc);
    edit.beginEditBlock();
    QList<QTextList *> done;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        QTextList *list = b.textList();
        if (list && !done.contains(list)) {
            QTextListFormat f = list->format();
            applyStyleWord(f, styleWord);
            list->setFormat(f);
            done.append(list);
        }
        if (b == last)
            break;
    }
    edit.endEditBlock();
}

QList<int> TRxParaAttributes::tabs() const
{
    QList<int> out;
    for (const QTextOption::Tab &t : current().tabPositions())
        out.append(toPoints(t.position));
    return out;
}

int TRxParaAttributes::tabCount() const
{
    return int(current().tabPositions().size());
}

int TRxParaAttributes::tab(int index) const
{
    const QList<int> all = tabs();
    return index >= 0 && index < all.size() ? all[index] : 0;
}

void TRxParaAttributes::setTabs(const QList<int> &points)
{
    QList<QTextOption::Tab> tabs;
    for (int i = 0; i < points.size() && i < kMaxTabs; ++i)
        tabs.append(QTextOption::Tab(pointsToPixels(points[i]), QTextOption::LeftTab));
    modify([&](QTextBlockFormat &f, const QTextBlock &) { f.setTabPositions(tabs); });
}

void TRxParaAttributes::setTabCount(int count)
{
    QList<int> all = tabs();
    count = std::clamp(count, 0, int(kMaxTabs));
    while (all.size() > count)
        all.removeLast();
    while (all.size() < count)
        all.append(all.isEmpty() ? 36 : all.last() + 36);
    setTabs(all);
}

void TRxParaAttributes::setTab(int index, int points)
{
    if (index < 0 || index >= kMaxTabs)
        return;
    QList<int> all = tabs();
    while (all.size() <= index)
        all.append(0);
    all[index] = points;
    setTabs(all);
}

int TRxParaAttributes::styleNumber() const { return current().intProperty(StyleNumber); }
void TRxParaAttributes::setStyleNumber(int number)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) { f.setProperty(StyleNumber, number); });
}

bool TRxParaAttributes::keepWithNext() const { return current().boolProperty(KeepWithNext); }
void TRxParaAttributes::setKeepWithNext(bool on)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) {
        if (on)
            f.setProperty(KeepWithNext, true);
        else
            f.clearProperty(KeepWithNext);
    });
}

bool TRxParaAttributes::pageBreakBefore() const
{
    return current().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}
void TRxParaAttributes::setPageBreakBefore(bool on)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) {
        QTextFormat::PageBreakFlags flags = f.pageBreakPolicy();
        flags.setFlag(QTextFormat::PageBreak_AlwaysBefore, on);
        f.setPageBreakPolicy(flags);
    });
}

bool TRxParaAttributes::rightToLeft() const { return current().layoutDirection() == Qt::RightToLeft; }
void TRxParaAttributes::setRightToLeft(bool on)
{
    modify([&](QTextBlockFormat &f, const QTextBlock &) { f.setLayoutDirection(on ? Qt::RightToLeft : Qt::LeftToRight); });
}
