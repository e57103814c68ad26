#include "platform/RichTextProperties.h"
#include "tests/rtf/RtfTestSupport.h"
#include "tests/support/TestMain.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

using namespace RtfTestSupport;

namespace {

QByteArray doc(const QByteArray &body, const QByteArray &header = QByteArray())
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}"
           "{\\f2\\fcharset2 Symbol;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        + header + "\n" + body + "}";
}

QString plain(const QTextDocument &d)
{
    // The raw text keeps no-break spaces (toPlainText makes them plain spaces).
    return d.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

// The format of the first character of the first text fragment that contains `marker`.
QTextCharFormat formatOf(const QTextDocument &d, const QString &marker)
{
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(marker))
                return it.fragment().charFormat();
        }
    }
    return QTextCharFormat();
}

QList<QTextImageFormat> images(const QTextDocument &d)
{
    QList<QTextImageFormat> out;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) {
                for (int i = 0; i < it.fragment().length(); ++i)
                    out << f.toImageFormat();
            }
        }
    }
    return out;
}

QByteArray tinyPng()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

} // namespace

class tst_RtfReader : public QObject
{
    Q_OBJECT

private slots:
    void codePages_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("ansi") << QByteArray("{\\rtf1\\ansi caf\\'e9}") << QStringLiteral("caf\u00E9");
        QTest::newRow("ansicpg for a font without charset")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 X;}}\\f0 \\'c0}") << QStringLiteral("\u0410");
        QTest::newRow("charset of the font")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 X;}}\\f0 \\'c0}") << QStringLiteral("\u0410");
        QTest::newRow("charset 0 is Windows-1252 in any document")
            << QByteArray("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset0 X;}}\\f0 J\\'e4rvi \\'85}")
            << QStringLiteral("J\u00E4rvi \u2026");
        QTest::newRow("default charset uses ansicpg")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset1 X;}}\\f0 \\'b9}")
            << QStringLiteral("\u0105");
        QTest::newRow("cpg wins over fcharset")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128\\cpg1251 X;}}\\f0 \\'c0}")
            << QStringLiteral("\u0410");
        QTest::newRow("shift-jis pair") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'82\\'a0}")
                                        << QStringLiteral("\u3042");
        QTest::newRow("shift-jis lead byte and literal trail")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 M;}}\\f0 \\'83A}") << QStringLiteral("\u30A2");
        QTest::newRow("big5") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset136 M;}}\\f0 \\'a4\\'a4}")
                              << QStringLiteral("\u4E2D");
        QTest::newRow("gb2312") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset134 M;}}\\f0 \\'d6\\'d0}")
                                << QStringLiteral("\u4E2D");
        QTest::newRow("hangul") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset129 M;}}\\f0 \\'b0\\'a1}")
                                << QStringLiteral("\uAC00");
        QTest::newRow("greek, hebrew, turkish") << QByteArray(
            "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset161 G;}{\\f1\\fcharset177 H;}{\\f2\\fcharset162 T;}}"
            "\\f0 \\'e1\\f1 \\'e0\\f2 \\'fd}") << QStringLiteral("\u03B1\u05D0\u0131");
        QTest::newRow("mac roman") << QByteArray("{\\rtf1\\mac \\'8e}") << QStringLiteral("\u00E9");
        QTest::newRow("default font from deff")
            << QByteArray("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 C;}}\\'c0}")
            << QStringLiteral("\u0410");
        QTest::newRow("font table without groups")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fcharset204 C;}\\f1 \\'c0}")
            << QStringLiteral("\u0410");
    }
    void codePages()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QTextDocument d;
        QVERIFY(readRtf(rtf, d));
        QCOMPARE(plain(d), text);
    }

    void symbolFontKeepsBytesAndFont()
    {
        QTextDocument d;
        QVERIFY(readRtf(doc("{\\f2 \\'b7a\\u61623 ?} x"), d));
        QCOMPARE(plain(d), QStringLiteral("\u00B7a\u00B7 x"));
        const QTextCharFormat f = formatOf(d, QStringLiteral("a"));
        QCOMPARE(f.fontFamilies().toStringList(), QStringList { QStringLiteral("Symbol") });
        QCOMPARE(f.intProperty(RichText::CharacterSet), int(RichText::CharsetSymbol));
    }

    void unicode_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("fallback skipped") << QByteArray("\\u8364?x") << QStringLiteral("\u20ACx");
        QTest::newRow("uc2 skips two hex bytes") << QByteArray("\\uc2\\u8364\\'80\\'80z") << QStringLiteral("\u20ACz");
        QTest::newRow("uc0 skips nothing") << QByteArray("\\uc0\\u8364 x") << QStringLiteral("\u20ACx");
        QTest::newRow("uc is group-local") << QByteArray("{\\uc2 a}\\u8364?z") << QStringLiteral("a\u20ACz");
        QTest::newRow("negative value") << QByteArray("\\u-3913?") << QStringLiteral("\uF0B7");
        QTest::newRow("surrogate pair") << QByteArray("\\u-10179?\\u-8704?") << QStringLiteral("\U0001F600");
        QTest::newRow("skip ends with the group") << QByteArray("{\\uc3\\u8364}abc") << QStringLiteral("\u20ACabc");
        QTest::newRow("control word counts as one") << QByteArray("\\u8364\\par x") << QStringLiteral("\u20ACx");
        QTest::newRow("unpaired surrogate") << QByteArray("\\uc0 a\\u-10240 b") << QStringLiteral("a\uFFFDb");
        QTest::newRow("upr takes the unicode branch")
            << QByteArray("{\\upr{\\f0 euro}{\\*\\ud{\\f0 \\u8364?}}}") << QStringLiteral("\u20AC");
        QTest::newRow("special characters")
            << QByteArray("\\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\~\\_")
            << QStringLiteral("\u2014\u2013\u2018\u2019\u201C\u201D\u2022\u00A0\u2011");
    }
    void unicode()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        QTextDocument d;
        QVERIFY(readRtf(doc(body), d));
        QCOMPARE(plain(d), text);
    }

    void destinations_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("header and footer") << QByteArray("{\\header H}{\\footerl F}body") << "body";
        QTest::newRow("footnote keeps its mark")
            << QByteArray("a{\\super\\chftn}{\\footnote{\\super\\chftn} note}b") << "a1b";
        QTest::newRow("annotation") << QByteArray("x{\\*\\atnid me}{\\annotation comment}y") << "xy";
        QTest::newRow("unknown optional destination") << QByteArray("a{\\*\\future {nested} text}b") << "ab";
        QTest::newRow("unknown word keeps the text") << QByteArray("a{\\futureword b}c") << "abc";
        QTest::newRow("star inside a group is no destination") << QByteArray("{\\i0\\*\\cs7 quick fox}") << "quick fox";
        QTest::newRow("list labels are not text")
            << QByteArray("{\\listtext 1.\\tab}one{\\pntext\\'b7\\tab}two") << "onetwo";
        QTest::newRow("text box") << QByteArray("{\\shp{\\*\\shpinst{\\shptxt boxed}}}body") << "body";
        QTest::newRow("field result") << QByteArray("{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}") << "7";
        QTest::newRow("nested field") << QByteArray("{\\field{\\*\\fldinst IF {\\field{\\*\\fldinst X}{\\fldrslt "
                                                    "in}}}{\\fldrslt out{\\field{\\*\\fldinst Y}{\\fldrslt er}}}}")
                                      << "outer";
        QTest::newRow("hidden text stays") << QByteArray("a{\\v hidden}b") << "ahiddenb";
        QTest::newRow("bytes after the closing brace") << QByteArray("in}out{more") << "in";
        QTest::newRow("object result") << QByteArray("{\\object{\\*\\objdata 0102}{\\result shown}}") << "shown";
    }
    void destinations()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        QTextDocument d;
        QVERIFY(readRtf(doc(body), d));
        QCOMPARE(plain(d), text);
    }

    void characterFormatting_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("property");
        QTest::addColumn<QVariant>("value");
        using R = RichText::Property;
        QTest::newRow("bold") << QByteArray("\\b X") << int(QTextFormat::FontWeight) << QVariant(int(QFont::Bold));
        QTest::newRow("italic") << QByteArray("\\i X") << int(QTextFormat::FontItalic) << QVariant(true);
        QTest::newRow("strike") << QByteArray("\\strike X") << int(QTextFormat::FontStrikeOut) << QVariant(true);
        QTest::newRow("half point size") << QByteArray("\\fs21 X") << int(QTextFormat::FontPointSize) << QVariant(10.5);
        QTest::newRow("font") << QByteArray("\\f1 X") << int(QTextFormat::FontFamilies)
                              << QVariant(QStringList { QStringLiteral("Courier New") });
        QTest::newRow("single underline") << QByteArray("\\ul X") << int(R::UnderlineTypeByte) << QVariant(1);
        QTest::newRow("wave underline in red")
            << QByteArray("\\ulwave\\ulc1 X") << int(R::UnderlineTypeByte) << QVariant(8 + 80);
        QTest::newRow("dash underline style") << QByteArray("\\uldash X") << int(QTextFormat::TextUnderlineStyle)
                                              << QVariant(int(QTextCharFormat::DashUnderline));
        QTest::newRow("thick underline") << QByteArray("\\ulth X") << int(R::UnderlineTypeByte) << QVariant(9);
        QTest::newRow("dash dot dot") << QByteArray("\\uldashdd X") << int(R::UnderlineTypeByte) << QVariant(7);
        QTest::newRow("underline off") << QByteArray("\\ul\\ulnone X") << int(R::UnderlineTypeByte) << QVariant();
        QTest::newRow("text colour") << QByteArray("\\cf1 X") << int(QTextFormat::ForegroundBrush)
                                     << QVariant(QBrush(QColor(255, 0, 0)));
        QTest::newRow("colour 0 is automatic")
            << QByteArray("\\cf1\\cf0 X") << int(QTextFormat::ForegroundBrush) << QVariant();
        QTest::newRow("colour beyond the table")
            << QByteArray("\\cf9 X") << int(QTextFormat::ForegroundBrush) << QVariant();
        QTest::newRow("highlight") << QByteArray("\\highlight2 X") << int(QTextFormat::BackgroundBrush)
                                   << QVariant(QBrush(QColor(0, 0, 255)));
        QTest::newRow("superscript") << QByteArray("\\super X") << int(QTextFormat::TextVerticalAlignment)
                                     << QVariant(int(QTextCharFormat::AlignSuperScript));
        QTest::newRow("lowered is subscript") << QByteArray("\\dn6 X") << int(QTextFormat::TextVerticalAlignment)
                                              << QVariant(int(QTextCharFormat::AlignSubScript));
        QTest::newRow("hidden") << QByteArray("\\v X") << int(R::Hidden) << QVariant(true);
        QTest::newRow("protected") << QByteArray("\\protect X") << int(R::Protected) << QVariant(true);
        QTest::newRow("disabled") << QByteArray("\\disabled X") << int(R::Disabled) << QVariant(true);
        QTest::newRow("revision author") << QByteArray("\\revised\\revauth2 X") << int(R::RevisionAuthor)
                                         << QVariant(2);
        QTest::newRow("kerning") << QByteArray("\\kerning32 X") << int(R::KerningTwips) << QVariant(320);
        QTest::newRow("expanded") << QByteArray("\\expndtw30 X") << int(QTextFormat::FontLetterSpacing)
                                  << QVariant(2.0);
        QTest::newRow("all caps") << QByteArray("\\caps X") << int(QTextFormat::FontCapitalization)
                                  << QVariant(int(QFont::AllUppercase));
        QTest::newRow("plain resets") << QByteArray("\\b\\i\\plain X") << int(QTextFormat::FontWeight) << QVariant();
        QTest::newRow("group restores") << QByteArray("{\\b a}X") << int(QTextFormat::FontWeight) << QVariant();
    }
    void characterFormatting()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, property);
        QFETCH(QVariant, value);
        QTextDocument d;
        QVERIFY(readRtf(doc(body), d));
        const QTextCharFormat f = formatOf(d, QStringLiteral("X"));
        QCOMPARE(f.property(property), value);
    }

    void paragraphFormatting_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("property");
        QTest::addColumn<QVariant>("value");
        using R = RichText::Property;
        QTest::newRow("centre") << QByteArray("\\qc X") << int(QTextFormat::BlockAlignment)
                                << QVariant(int(Qt::AlignHCenter));
        QTest::newRow("justify") << QByteArray("\\qj X") << int(QTextFormat::BlockAlignment)
                                 << QVariant(int(Qt::AlignJustify));
        QTest::newRow("first indent") << QByteArray("\\fi-360 X") << int(QTextFormat::TextIndent) << QVariant(-24.0);
        QTest::newRow("left indent") << QByteArray("\\li720 X") << int(QTextFormat::BlockLeftMargin) << QVariant(48.0);
        QTest::newRow("right indent") << QByteArray("\\ri1440 X") << int(QTextFormat::BlockRightMargin)
                                      << QVariant(96.0);
        QTest::newRow("space before") << QByteArray("\\sb240 X") << int(QTextFormat::BlockTopMargin) << QVariant(16.0);
        QTest::newRow("space after") << QByteArray("\\sa120 X") << int(QTextFormat::BlockBottomMargin) << QVariant(8.0);
        QTest::newRow("at least rule") << QByteArray("\\sl360\\slmult0 X") << int(R::LineSpacingRule) << QVariant(3);
        QTest::newRow("at least value") << QByteArray("\\sl360\\slmult0 X") << int(R::LineSpacingValue)
                                        << QVariant(360);
        QTest::newRow("at least shown") << QByteArray("\\sl360 X") << int(QTextFormat::LineHeightType)
                                        << QVariant(int(QTextBlockFormat::MinimumHeight));
        QTest::newRow("exactly") << QByteArray("\\sl-300 X") << int(R::LineSpacingRule) << QVariant(4);
        QTest::newRow("exactly shown") << QByteArray("\\sl-300 X") << int(QTextFormat::LineHeight) << QVariant(20.0);
        QTest::newRow("double") << QByteArray("\\sl480\\slmult1 X") << int(R::LineSpacingValue) << QVariant(40);
        QTest::newRow("double shown") << QByteArray("\\sl480\\slmult1 X") << int(QTextFormat::LineHeight)
                                      << QVariant(200.0);
        QTest::newRow("keep with next") << QByteArray("\\keepn X") << int(R::KeepWithNext) << QVariant(true);
        QTest::newRow("page break before") << QByteArray("\\pagebb X") << int(QTextFormat::PageBreakPolicy)
                                           << QVariant(int(QTextFormat::PageBreak_AlwaysBefore));
        QTest::newRow("page break") << QByteArray("a\\page X") << int(QTextFormat::PageBreakPolicy)
                                    << QVariant(int(QTextFormat::PageBreak_AlwaysBefore));
        QTest::newRow("right to left") << QByteArray("\\rtlpar X") << int(QTextFormat::LayoutDirection)
                                       << QVariant(int(Qt::RightToLeft));
        QTest::newRow("style number") << QByteArray("\\s3 X") << int(R::StyleNumber) << QVariant(3);
        QTest::newRow("pard resets") << QByteArray("\\qc\\li720\\pard X") << int(QTextFormat::BlockLeftMargin)
                                     << QVariant();
        QTest::newRow("properties at the end count")
            << QByteArray("X\\qc") << int(QTextFormat::BlockAlignment) << QVariant(int(Qt::AlignHCenter));
    }
    void paragraphFormatting()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, property);
        QFETCH(QVariant, value);
        QTextDocument d;
        QVERIFY(readRtf(doc(body + "\\par "), d));
        QTextBlock block = d.begin();
        while (block.isValid() && !block.text().contains(u'X'))
            block = block.next();
        QVERIFY(block.isValid());
        QCOMPARE(block.blockFormat().property(property), value);
    }

    void styleSheetAppliesStyleProperties()
    {
        QTextDocument d;
        QVERIFY(readRtf(doc("\\pard\\s1 Heading\\par\\pard\\plain Body",
                            "{\\stylesheet{Normal;}{\\s1\\qc\\sb240\\b\\fs32 heading 1;}}"),
            d));
        const QTextBlock heading = d.begin();
        QCOMPARE(heading.blockFormat().alignment(), Qt::AlignHCenter);
        QCOMPARE(heading.blockFormat().intProperty(RichText::StyleNumber), 1);
        QCOMPARE(formatOf(d, QStringLiteral("Heading")).fontPointSize(), 16.0);
        QCOMPARE(formatOf(d, QStringLiteral("Body")).fontWeight(), int(QFont::Normal));
    }

    void titleAndLinks()
    {
        QTextDocument d;
        QVERIFY(readRtf(
            doc("see {\\field{\\*\\fldinst HYPERLINK \"http://example.com/\" \\\\o \"tip\"}{\\fldrslt {\\ul site}}}"
                " {\\field{\\*\\fldinst HYPERLINK \\\\l \"part2\"}{\\fldrslt here}}",
                "{\\info{\\title My \\'e9t\\'e9}{\\author nobody}}"),
            d));
        QCOMPARE(plain(d), QStringLiteral("see site here"));
        QCOMPARE(d.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("My \u00E9t\u00E9"));
        const QTextCharFormat link = formatOf(d, QStringLiteral("site"));
        QVERIFY(link.isAnchor());
        QCOMPARE(link.anchorHref(), QStringLiteral("http://example.com/"));
        QCOMPARE(formatOf(d, QStringLiteral("here")).anchorHref(), QStringLiteral("#part2"));
        QVERIFY(!formatOf(d, QStringLiteral("see")).isAnchor());
    }

    void lists_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("styleWord");
        QTest::addColumn<int>("qtStyle");
        const QByteArray table
            = "{\\*\\listtable"
              "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\f2}\\listid1}"
              "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00);}{\\levelnumbers\\'01;}}\\listid2}"
              "{\\list{\\listlevel\\levelnfc4{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'02;}}\\listid3}"
              "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u9642 ?;}}\\listid4}"
              "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01o;}}\\listid5}"
              "{\\list{\\listlevel\\levelnfc1{\\leveltext\\'02\\'00.;}}\\listid6}}"
              "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid2\\ls2}"
              "{\\listoverride\\listid3\\ls3}{\\listoverride\\listid4\\ls4}{\\listoverride\\listid5\\ls5}"
              "{\\listoverride\\listid6\\ls6}}";
        const auto listDoc = [&](int ls) {
            const QByteArray n = QByteArray::number(ls);
            return doc("\\pard\\ls" + n + "{\\listtext x\\tab}one\\par{\\listtext y\\tab}two\\par\\pard after", table);
        };
        QTest::newRow("bullet") << listDoc(1) << 1 << -1 << int(QTextListFormat::ListDisc);
        QTest::newRow("decimal parenthesis") << listDoc(2) << 2 << 0x2000 << int(QTextListFormat::ListDecimal);
        QTest::newRow("letters enclosed") << listDoc(3) << 3 << 0x2100 << int(QTextListFormat::ListLowerAlpha);
        QTest::newRow("hollow block") << listDoc(4) << 7 << -1 << int(QTextListFormat::ListSquare);
        QTest::newRow("small bullet") << listDoc(5) << 8 << -1 << int(QTextListFormat::ListCircle);
        QTest::newRow("upper roman period") << listDoc(6) << 6 << 0x2200 << int(QTextListFormat::ListUpperRoman);
        QTest::newRow("legacy decimal") << doc("\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta "
                                               ".}}one\\par{\\pntext 2.\\tab}two\\par\\pard after")
                                        << 2 << 0x2200 << int(QTextListFormat::ListDecimal);
        QTest::newRow("legacy enclosed upper letters")
            << doc("\\pard{\\*\\pn\\pnlvlbody\\pnucltr{\\pntxtb (}{\\pntxta )}}one\\par two\\par\\pard after") << 4
            << 0x2100 << int(QTextListFormat::ListUpperAlpha);
        QTest::newRow("legacy bullet") << doc(
            "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf2{\\pntxtb\\'b7}}one\\par two\\par\\pard after")
                                       << 1 << -1 << int(QTextListFormat::ListDisc);
    }
    void lists()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, kind);
        QFETCH(int, styleWord);
        QFETCH(int, qtStyle);
        QTextDocument d;
        QVERIFY(readRtf(rtf, d));
        QCOMPARE(plain(d), QStringLiteral("one\ntwo\nafter"));
        const QTextBlock one = d.begin();
        const QTextList *list = one.textList();
        QVERIFY(list);
        QCOMPARE(one.next().textList(), list);
        QVERIFY(!one.next().next().textList());
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->format().intProperty(RichText::NumberingKind), kind);
        QCOMPARE(
            list->format().property(RichText::NumberingStyleWord), styleWord < 0 ? QVariant() : QVariant(styleWord));
        QCOMPARE(int(list->format().style()), qtStyle);
    }

    void tables_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("two by two") << QByteArray(
            "\\trowd\\cellx1440\\cellx4320\\pard\\intbl a\\cell b\\cell\\row"
            "\\trowd\\cellx1440\\cellx4320\\pard\\intbl c\\cell d\\par e\\cell\\row\\pard after")
                                    << 2 << 2 << QStringList { "a", "b", "c", "d\ne" };
        QTest::newRow("row definition at the end")
            << QByteArray("\\pard\\intbl a\\cell b\\cell{\\trowd\\cellx100\\cellx200\\row}\\pard after") << 1 << 2
            << QStringList { "a", "b" };
        QTest::newRow("irregular rows") << QByteArray(
            "\\trowd\\cellx100\\cellx200\\cellx300\\intbl 1\\cell 2\\cell 3\\cell\\row"
            "\\trowd\\cellx300\\intbl wide\\cell\\row\\pard after")
                                        << 2 << 3 << QStringList { "1", "2", "3", "wide", "", "" };
        QTest::newRow("empty row before the cells")
            << QByteArray("\\trowd\\row\\trowd\\cellx100\\intbl x\\cell\\row\\pard after") << 1 << 1
            << QStringList { "x" };
        QTest::newRow("cells without row definitions")
            << QByteArray("\\intbl p\\cell q\\cell\\row\\pard after") << 1 << 2 << QStringList { "p", "q" };
    }
    void tables()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(QStringList, cells);
        QTextDocument d;
        QVERIFY(readRtf(doc(body), d));
        QTextCursor cursor(&d);
        cursor.movePosition(QTextCursor::NextBlock);
        QTextTable *table = nullptr;
        for (QTextBlock b = d.begin(); b.isValid() && !table; b = b.next())
            table = QTextCursor(b).currentTable();
        QVERIFY(table);
        QCOMPARE(table->rows(), rows);
        QCOMPARE(table->columns(), columns);
        QStringList texts;
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                QTextCursor cc = cell.firstCursorPosition();
                cc.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                texts << cc.selectedText().replace(QChar::ParagraphSeparator, u'\n');
            }
        }
        QCOMPARE(texts, cells);
        QVERIFY(d.lastBlock().text() == QStringLiteral("after"));
    }

    void tableWidthsComeFromCellEdges()
    {
        QTextDocument d;
        QVERIFY(readRtf(doc("\\trowd\\cellx1440\\cellx4320\\intbl a\\cell b\\cell\\row"), d));
        const QTextTable *table = QTextCursor(d.begin().next()).currentTable();
        QVERIFY(table);
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 2);
        QCOMPARE(widths.at(0).rawValue(), 96.0);
        QCOMPARE(widths.at(1).rawValue(), 192.0);
    }

    void nestedTables()
    {
        QTextDocument d;
        QVERIFY(readRtf(doc("\\trowd\\cellx5000\\pard\\intbl outer\\par"
                            "\\pard\\intbl\\itap2 i1\\nestcell "
                            "i2\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                            "{\\nonesttables\\par}\\pard\\intbl tail\\cell\\row\\pard after"),
            d));
        QTextTable *outer = nullptr;
        QTextTable *inner = nullptr;
        for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
            QTextTable *t = QTextCursor(b).currentTable();
            if (!t)
                continue;
            if (!outer)
                outer = t;
            else if (t != outer)
                inner = t;
        }
        QVERIFY(outer);
        QVERIFY(inner);
        QCOMPARE(outer->rows(), 1);
        QCOMPARE(outer->columns(), 1);
        QCOMPARE(inner->columns(), 2);
        QCOMPARE(inner->parentFrame(), static_cast<QTextFrame *>(outer));
        QVERIFY(!plain(d).contains(QStringLiteral("nonesttables")));
        QCOMPARE(d.lastBlock().text(), QStringLiteral("after"));
    }

    void pictures_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("width");
        const QByteArray png = tinyPng();
        const QByteArray hex = png.toHex();
        QTest::newRow("png hex at goal size")
            << "{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450 " + hex + "}" << 1 << "png" << 40.0;
        QTest::newRow("png in bin") << "{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}" << 1
                                    << "png" << 4.0;
        QTest::newRow("scaled") << "{\\pict\\pngblip\\picscalex50\\picwgoal600\\pichgoal450 " + hex + "}" << 1 << "png"
                                << 20.0;
        QTest::newRow("shppict wins over nonshppict")
            << "{\\*\\shppict{\\pict\\pngblip " + hex + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}" << 1 << "png"
            << 4.0;
        QTest::newRow("nonshppict alone")
            << QByteArray("{\\nonshppict{\\pict\\wmetafile8\\picw2540\\pich2540 0100}}") << 1 << "wmf" << 96.0;
        QTest::newRow("picture in a shape")
            << "{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}{\\sv {\\pict\\pngblip " + hex
                + "}}}}{\\shprslt{\\pict\\wmetafile8 0100}}}"
            << 1 << "png" << 4.0;
        QTest::newRow("emf keeps its size")
            << QByteArray("{\\pict\\emfblip\\picw5080\\pich2540 01000000}") << 1 << "emf" << 192.0;
        QTest::newRow("group inside the picture")
            << "{\\pict{\\pngblip}\\picwgoal600\\pichgoal450 " + hex.left(20) + "{\\*\\blipuid 00}" + hex.mid(20) + "}"
            << 1 << "png" << 40.0;
        QTest::newRow("picture in a header is not shown")
            << "{\\header {\\pict\\pngblip " + hex + "}}" << 0 << "" << 0.0;
        QTest::newRow("fill picture of a shape is not shown")
            << "{\\shp{\\*\\shpinst{\\sp{\\sn fillBlip}{\\sv {\\pict\\pngblip " + hex + "}}}}}" << 0 << "" << 0.0;
    }
    void pictures()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, count);
        QFETCH(QString, format);
        QFETCH(double, width);
        QTextDocument d;
        QVERIFY(readRtf(doc(body), d));
        const QList<QTextImageFormat> found = images(d);
        QCOMPARE(found.size(), count);
        if (count == 0)
            return;
        const QTextImageFormat f = found.first();
        QCOMPARE(f.stringProperty(RichText::PictureFormat), format);
        QCOMPARE(f.width(), width);
        const QVariant resource = d.resource(QTextDocument::ImageResource, QUrl(f.name()));
        QVERIFY(!resource.value<QImage>().isNull());
        if (format == QLatin1String("png")) {
            QCOMPARE(f.property(RichText::PictureData).toByteArray(), tinyPng());
            QCOMPARE(resource.value<QImage>().pixelColor(0, 0), QColor(Qt::red));
        }
    }

    void deviceIndependentBitmapIsDecoded()
    {
        // A 2 x 2 bitmap, 24 bits, rows bottom-up and padded to 4 bytes: the bottom row is blue,
        // red; the top row green, white.
        QByteArray dib;
        QDataStream s(&dib, QIODevice::WriteOnly);
        s.setByteOrder(QDataStream::LittleEndian);
        s << quint32(40) << qint32(2) << qint32(2) << quint16(1) << quint16(24) << quint32(0) << quint32(16)
          << qint32(0) << qint32(0) << quint32(0) << quint32(0);
        dib.append(QByteArray::fromHex("ff00000000ff0000"));
        dib.append(QByteArray::fromHex("00ff00ffffff0000"));
        QTextDocument d;
        QVERIFY(readRtf(doc("{\\pict\\dibitmap0\\picw2\\pich2 " + dib.toHex() + "}"), d));
        const QList<QTextImageFormat> found = images(d);
        QCOMPARE(found.size(), 1);
        const QImage image = d.resource(QTextDocument::ImageResource, QUrl(found.first().name())).value<QImage>();
        QCOMPARE(image.size(), QSize(2, 2));
        QCOMPARE(image.pixelColor(0, 1), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(1, 1), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(0, 0), QColor(0, 255, 0));
    }

    void refusesWhatIsNotRichText()
    {
        QTextDocument d;
        d.setPlainText(QStringLiteral("old"));
        QString error;
        QVERIFY(!readRtf("plain text {\\rtf1 later}", d, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(d.isEmpty());
    }

    void damagedInputKeepsWhatWasRead_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("truncated") << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}\\f0 kept text {\\b more")
                                   << QStringLiteral("kept text more");
        QTest::newRow("truncated escape") << QByteArray("{\\rtf1 a\\'") << QStringLiteral("a");
        QTest::newRow("truncated picture") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e") << QStringLiteral("a");
        QTest::newRow("binary beyond the end") << QByteArray("{\\rtf1 a{\\pict\\bin999999 xy") << QStringLiteral("a");
        QTest::newRow("extra closing brace ends the document") << QByteArray("{\\rtf1 a}}b") << QStringLiteral("a");
        QTest::newRow("bom and leading space") << QByteArray("\xEF\xBB\xBF \r\n{\\rtf1 x}") << QStringLiteral("x");
        QTest::newRow("destination at the top level") << QByteArray("{\\fonttbl text}") << QStringLiteral("");
    }
    void damagedInputKeepsWhatWasRead()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QTextDocument d;
        QVERIFY(readRtf(rtf, d) || rtf.startsWith("{\\fonttbl"));
        QCOMPARE(plain(d), text);
    }

    void deepNestingStaysOffTheCallStack()
    {
        // 2.5 MB of nested groups, as in a damaged or hostile file.
        const int depth = 1250000;
        QByteArray rtf = "{\\rtf1 start";
        rtf.append(QByteArray(depth, '{'));
        rtf.append("deep");
        rtf.append(QByteArray(depth, '}'));
        rtf.append("end}");
        QTextDocument d;
        QVERIFY(readRtf(rtf, d));
        QCOMPARE(plain(d), QStringLiteral("startdeepend"));
    }

    void deepTableNestingIsBounded()
    {
        QTextDocument d;
        QVERIFY(readRtf(doc("\\pard\\intbl\\itap100000 x\\nestcell\\nestrow\\pard y"), d));
        QVERIFY(plain(d).contains(u'x'));
        int depth = 0;
        for (QTextFrame *f = QTextCursor(d.findBlock(plain(d).indexOf(u'x'))).currentFrame(); f; f = f->parentFrame())
            ++depth;
        QVERIFY(depth <= 17);
    }
};

LUMARO_TEST_CLASS(tst_RtfReader)
#include "tst_rtfreader.moc"
