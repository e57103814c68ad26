#pragma once

#include <QTextFormat>

// Attributes of rich text that Qt's text formats lack, stored as custom format properties. The
// reader and writer of rich text, the rich text control and the page renderers all use these
// names; Qt-native properties (font, colours, alignment, margins, anchors, page breaks, layout
// direction, tab positions) are used where Qt has them.
//
// Length units: Qt's block margins and text indents are layout pixels at kLayoutDpi; the control
// works in points and twips and converts with the helpers below.
namespace RichText {

inline constexpr double kLayoutDpi = 96.0;
inline constexpr double kPixelsPerPoint = kLayoutDpi / 72.0;
inline constexpr double kPixelsPerTwip = kLayoutDpi / 1440.0;

// Dynamic properties of the QTextDocument for what the document's information group says
// beside its title (the title is Qt's DocumentTitle meta information): QString each.
inline constexpr char kDocumentAuthor[] = "lumaroDocumentAuthor";
inline constexpr char kDocumentSubject[] = "lumaroDocumentSubject";
inline constexpr char kDocumentKeywords[] = "lumaroDocumentKeywords";

inline double twipsToPixels(double twips) { return twips * kPixelsPerTwip; }
inline double pixelsToTwips(double px) { return px / kPixelsPerTwip; }
inline double pointsToPixels(double pt) { return pt * kPixelsPerPoint; }
inline double pixelsToPoints(double px) { return px / kPixelsPerPoint; }

// Underline types (low four bits of the underline type byte); the high four bits hold the
// underline colour index of underlineColorIndex().
enum UnderlineType : int {
    UnderlineNone = 0,
    UnderlineSingle = 1,
    UnderlineWord = 2,
    UnderlineDouble = 3,
    UnderlineDotted = 4,
    UnderlineDash = 5,
    UnderlineDashDot = 6,
    UnderlineDashDotDot = 7,
    UnderlineWave = 8,
    UnderlineThick = 9,
};

// Character sets of a run (as in rich text's \fcharset): 0 ANSI, 1 default, 2 symbol, others as
// the font table gives them.
enum Charset : int { CharsetAnsi = 0, CharsetDefault = 1, CharsetSymbol = 2 };

enum Property : int {
    // QTextCharFormat
    UnderlineTypeByte = QTextFormat::UserProperty + 1, // int: type | colourIndex << 4
    Hidden,                                           // bool: not drawn on pages and exports
    Protected,                                        // bool: edits refused unless the owner allows
    Disabled,                                         // bool
    Revised,                                          // bool
    RevisionAuthor,                                   // int: author number
    CharacterSet,                                     // int: Charset / \fcharset value
    KerningTwips,                                     // int: font size (twips) from which kerning applies; 0 off

    // QTextBlockFormat
    KeepWithNext = QTextFormat::UserProperty + 100, // bool
    StyleNumber,                                    // int: paragraph style number
    LineSpacingRule,                                // int: 0 single, 1 1.5, 2 double, 3 at least, 4 exactly, 5 multiple/20
    LineSpacingValue,                               // int: twips (rules 3, 4) or twentieths of a line (rule 5)
    // qreal, layout pixels: the first-line indent of a paragraph in a list (see firstLineIndent).
    ListFirstLineIndent,

    // QTextListFormat
    NumberingKind = QTextFormat::UserProperty + 200, // int: 1 bullet .. 8, see NumberingKind enum
    NumberingStyleWord,                              // int: numbering style word as written by the commands

    // QTextImageFormat
    PictureData = QTextFormat::UserProperty + 300, // QByteArray: original bytes of the picture
    PictureFormat,                                 // QString: "png", "jpeg", "dib", "emf", "wmf"
};

enum NumberingKind : int {
    NumberingNone = 0,
    NumberingBullet = 1,
    NumberingArabic = 2,
    NumberingLowerLetter = 3,
    NumberingUpperLetter = 4,
    NumberingLowerRoman = 5,
    NumberingUpperRoman = 6,
    NumberingHollowBlock = 7,
    NumberingSmallBullet = 8,
};

} // namespace RichText

#include <QColor>

namespace RichText {

// Colour of an underline colour index (the high four bits of the underline type byte); index 0 is
// automatic (the text colour) and gives an invalid QColor.
inline QColor underlineColorForIndex(int index)
{
    static const QRgb table[16] = {0,        0x0000FF, 0x00FFFF, 0x00FF00, 0x800080, 0xFF0000,
                                   0xFFFF00, 0xFFFFFF, 0x000080, 0x008080, 0x008000, 0xFF00FF,
                                   0x800000, 0x808000, 0x808080, 0x000000};
    if (index <= 0 || index > 15)
        return QColor();
    return QColor::fromRgb(table[index]);
}

} // namespace RichText

#include <QColor>

namespace RichText {

// Colours of the underline colour index kept in the high four bits of the underline type byte.
// Index 0 means the text colour (no colour of its own); indices 1 to 6 are the colours the
// underline colour commands offer (blue, aqua, lime, purple, red, yellow).
inline QColor underlineColor(int index)
{
    return underlineColorForIndex(index);
}

// The index of a colour in that palette, 0 when it has none.
inline int underlineColorIndex(const QColor &color)
{
    if (!color.isValid())
        return 0;
    for (int i = 1; i < 16; ++i) {
        if (underlineColor(i).rgb() == color.rgb())
            return i;
    }
    return 0;
}

} // namespace RichText

#include <QTextBlockFormat>

namespace RichText {

// The first-line indent of a paragraph relative to its other lines (rich text's \fi), in layout
// pixels. A paragraph in a list keeps it in ListFirstLineIndent and Qt's own text indent stays 0:
// Qt draws the number in front of the first line, so that line has to start where the others do
// for the number to sit in the hanging indent.
inline qreal firstLineIndent(const QTextBlockFormat &f, bool inList)
{
    return inList ? f.doubleProperty(ListFirstLineIndent) : f.textIndent();
}

inline void setFirstLineIndent(QTextBlockFormat &f, qreal px, bool inList)
{
    if (inList) {
        f.setTextIndent(0);
        if (px != 0)
            f.setProperty(ListFirstLineIndent, px);
        else
            f.clearProperty(ListFirstLineIndent);
    } else {
        f.setTextIndent(px);
        f.clearProperty(ListFirstLineIndent);
    }
}

} // namespace RichText
