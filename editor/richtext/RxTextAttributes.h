#pragma once

#include <QColor>
#include <QFlags>
#include <QString>
#include <QTextCharFormat>

#include <functional>

class TRxRichEdit;

// Character attributes of one of the control's three attribute sets:
// - Selection: the selection, or the insertion point when nothing is selected;
// - Word: the selection, or the whole word at the caret when nothing is selected;
// - Default: the control's default attributes (text without formatting of its own).
// Reading returns the attributes of the first selected character (of the insertion point when
// nothing is selected). Writing one attribute changes only that attribute. Changes that touch
// protected text are refused unless the control's owner allows them.
class TRxTextAttributes
{
public:
    enum class Set { Selection, Word, Default };
    enum StyleBit { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
    Q_DECLARE_FLAGS(Style, StyleBit)
    enum class VerticalPosition { Normal = 0, Subscript = 1, Superscript = 2 };

    TRxTextAttributes(TRxRichEdit *editor, Set set);

    QString name() const;
    void setName(const QString &face);
    int charset() const; // RichText::Charset
    void setCharset(int charset);
    int size() const;    // whole points
    qreal sizeF() const; // points
    void setSize(qreal points);
    Style style() const;
    void setStyle(Style style);
    // An invalid colour means automatic.
    QColor color() const;
    void setColor(const QColor &color);
    QColor backColor() const;
    void setBackColor(const QColor &color);
    VerticalPosition verticalPosition() const;
    void setVerticalPosition(VerticalPosition position);
    bool isProtected() const;
    void setProtected(bool on);
    bool isHidden() const;
    void setHidden(bool on);
    bool isDisabled() const;
    void setDisabled(bool on);
    bool isLink() const;
    void setLink(bool on);
    // Low four bits: RichText::UnderlineType; high four bits: underline colour index.
    int underlineType() const;
    void setUnderlineType(int typeByte);
    bool isRevised() const;
    int revisionAuthor() const;
    void setRevised(bool on, int author = 0);
    int kerning() const; // twips; 0 = off
    void setKerning(int twips);

    // Takes every attribute of another set (or format) at once.
    void assign(const TRxTextAttributes &other);
    QTextCharFormat format() const;
    // Merges the set properties of format into the text (replace: the text takes exactly format).
    void applyFormat(const QTextCharFormat &format, bool replace = false);
    // Runs change over the format of every piece of text of the set (or the insertion format),
    // as one undo step.
    void modify(const std::function<void(QTextCharFormat &)> &change);

    // The Qt format change for the underline type byte (style and colour included).
    static void applyUnderlineType(QTextCharFormat &format, int typeByte);

private:
    TRxRichEdit *m_editor;
    Set m_set;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TRxTextAttributes::Style)
