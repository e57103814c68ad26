#pragma once

#include <QList>

class TRxRichEdit;
class QTextBlockFormat;

// Paragraph attributes of the paragraphs touched by the selection (the caret's paragraph when
// nothing is selected). Reading returns those of the first paragraph. Lengths are whole points
// (the control keeps twips):
// - first indent: the first line's indent from the left margin;
// - left indent: the following lines' offset from the first line (the hanging indent);
// - line spacing with its rule: 0 single, 1 one and a half, 2 double, 3 at least the spacing in
//   points, 4 exactly the spacing in points, 5 the spacing divided by 20 in lines.
class TRxParaAttributes
{
public:
    enum Alignment { Left = 0, Right = 1, Center = 2, Justify = 3 };

    explicit TRxParaAttributes(TRxRichEdit *editor);

    int alignment() const;
    void setAlignment(int alignment);
    int firstIndent() const;
    void setFirstIndent(int points);
    int leftIndent() const;
    void setLeftIndent(int points);
    int rightIndent() const;
    void setRightIndent(int points);
    int spaceBefore() const;
    void setSpaceBefore(int points);
    int spaceAfter() const;
    void setSpaceAfter(int points);
    int lineSpacing() const;
    int lineSpacingRule() const;
    void setLineSpacing(int rule, int value);
    void setLineSpacingRule(int rule); // the spacing value stays
    // 0 none, 1 bullet, 2 Arabic, 3 lower letters, 4 upper letters, 5 lower Roman, 6 upper Roman,
    // 7 hollow block, 8 small bullet. Turning numbering on raises a left indent below 10 points to
    // 10; turning it off sets the left indent to 0.
    int numbering() const;
    void setNumbering(int kind);
    // Writes the kind as is, without the left-indent rule.
    void setNumberingDirect(int kind);
    int numberingStyle() const;
    void setNumberingStyle(int styleWord);
    int tabCount() const;
    int tab(int index) const; // points
    void setTabCount(int count);
    void setTab(int index, int points);
    void setTabs(const QList<int> &points); // up to 32
    QList<int> tabs() const;
    int styleNumber() const;
    void setStyleNumber(int number);
    bool keepWithNext() const;
    void setKeepWithNext(bool on);
    bool pageBreakBefore() const;
    void setPageBreakBefore(bool on);
    bool rightToLeft() const;
    void setRightToLeft(bool on);

    static constexpr int kMaxTabs = 32;

private:
    QTextBlockFormat current() const;
    template<typename F>
    void modify(F &&change);

    TRxRichEdit *m_editor;
};
