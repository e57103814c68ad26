#include "platform/RichTextProperties.h"
#include "tests/rtf/RtfTestSupport.h"
#include "tests/support/TestMain.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextList>
#include <QTextTable>

using namespace RtfTestSupport;

namespace {

QString raw(const QTextDocument &d)
{
    return d.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

QTextCharFormat formatAt(const QTextDocument &d, int position)
{
    QTextCursor c(const_cast<QTextDocument *>(&d));
    c.setPosition(position + 1);
    return c.charFormat();
}

// Writes the document and reads the result into `back`.
void roundTrip(const QTextDocument &d, QTextDocument &back)
{
    const QByteArray rtf = writeRtf(d);
    QVERIFY2(readRtf(rtf, back), rtf.constData());
}

QImage testImage()
{
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixelColor(1, 2, Qt::blue);
    return image;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

QList<QTextImageFormat> images(const QTextDocument &d)
{
    QList<QTextImageFormat> out;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                out << it.fragment().charFormat().toImageFormat();
        }
    }
    return out;
}

} // namespace

class tst_RtfWriter : public QObject
{
    Q_OBJECT

private slots:
    void headerAndEncoding()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("a\u00E9\u20AC\u0416\U0001F600{}\\\ttab\u00A0"));
        const QByteArray rtf = writeRtf(d);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
        QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 "));
        QVERIFY(rtf.contains("{\\colortbl ;}"));
        QVERIFY2(rtf.contains("a\\'e9\\'80\\u1046?\\u-10179?\\u-8704?\\{\\}\\\\\\tab tab\\~"), rtf.constData());
        QVERIFY(rtf.endsWith("}\r\n"));
        QTextDocument back;
        QVERIFY(readRtf(rtf, back));
        QCOMPARE(raw(back), raw(d));
        QCOMPARE(writeRtf(d), rtf); // the same document always gives the same bytes
    }

    void symbolFontTextIsWrittenAsBytes()
    {
        QTextDocument d;
        QTextCursor c(&d);
        QTextCharFormat symbol;
        symbol.setFontFamilies(QStringList(QStringLiteral("Symbol")));
        symbol.setProperty(RichText::CharacterSet, int(RichText::CharsetSymbol));
        c.insertText(QStringLiteral("a\u00B7\uF0E5"), symbol);
        const QByteArray rtf = writeRtf(d);
        QVERIFY(rtf.contains("\\fcharset2 Symbol;"));
        QVERIFY2(rtf.contains(" a\\'b7\\'e5}"), rtf.constData());
        QTextDocument back;
        QVERIFY(readRtf(rtf, back));
        QCOMPARE(raw(back), QStringLiteral("a\u00B7\u00E5"));
        QCOMPARE(formatAt(back, 0).intProperty(RichText::CharacterSet), int(RichText::CharsetSymbol));
    }

    void textOfOtherCharsetsIsWrittenAsUnicode_data()
    {
        QTest::addColumn<int>("charset");
        QTest::newRow("default") << 1;
        QTest::newRow("cyrillic") << 204;
        QTest::newRow("shift-jis") << 128;
    }
    void textOfOtherCharsetsIsWrittenAsUnicode()
    {
        // A reader decodes bytes in the code page of the font's charset: for these fonts bytes of
        // Windows-1252 would come back as other letters.
        QFETCH(int, charset);
        QTextDocument d;
        QTextCursor c(&d);
        QTextCharFormat f;
        f.setFontFamilies(QStringList(QStringLiteral("Font \u00E9")));
        f.setProperty(RichText::CharacterSet, charset);
        c.insertText(QStringLiteral("caf\u00E9 \u0416\u3042"), f);
        const QByteArray rtf = writeRtf(d);
        QVERIFY2(rtf.contains("caf\\u233?"), rtf.constData());
        QTextDocument back;
        QVERIFY(readRtf(rtf, back));
        QCOMPARE(raw(back), raw(d));
        QCOMPARE(formatAt(back, 0).fontFamilies().toStringList(), f.fontFamilies().toStringList());
        QCOMPARE(formatAt(back, 0).intProperty(RichText::CharacterSet), charset);
    }

    void characterAttributesSurvive_data()
    {
        QTest::addColumn<QTextCharFormat>("format");
        const auto make = [](auto setter) {
            QTextCharFormat f;
            setter(f);
            return f;
        };
        QTest::newRow("face and size") << make([](QTextCharFormat &f) {
            f.setFontFamilies(QStringList(QStringLiteral("Courier New")));
            f.setFontPointSize(13.5);
        });
        QTest::newRow("bold italic strike") << make([](QTextCharFormat &f) {
            f.setFontWeight(QFont::Bold);
            f.setFontItalic(true);
            f.setFontStrikeOut(true);
        });
        QTest::newRow("red wave underline") << make([](QTextCharFormat &f) {
            f.setProperty(RichText::UnderlineTypeByte, 8 + 80);
            f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            f.setUnderlineColor(RichText::underlineColor(5));
        });
        for (int type : { 1, 2, 3, 4, 5, 6, 7, 9 }) {
            QTest::addRow("underline type %d", type)
                << make([type](QTextCharFormat &f) { f.setProperty(RichText::UnderlineTypeByte, type); });
        }
        QTest::newRow("colours") << make([](QTextCharFormat &f) {
            f.setForeground(QColor(10, 20, 30));
            f.setBackground(QColor(200, 210, 220));
        });
        QTest::newRow("superscript") << make(
            [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); });
        QTest::newRow("subscript") << make(
            [](QTextCharFormat &f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); });
        QTest::newRow("effects") << make([](QTextCharFormat &f) {
            f.setProperty(RichText::Hidden, true);
            f.setProperty(RichText::Protected, true);
            f.setProperty(RichText::Disabled, true);
        });
        QTest::newRow("revision") << make([](QTextCharFormat &f) {
            f.setProperty(RichText::Revised, true);
            f.setProperty(RichText::RevisionAuthor, 3);
        });
        QTest::newRow("charset") << make([](QTextCharFormat &f) {
            f.setFontFamilies(QStringList(QStringLiteral("Arial")));
            f.setProperty(RichText::CharacterSet, 1);
        });
        QTest::newRow("kerning and spacing") << make([](QTextCharFormat &f) {
            f.setProperty(RichText::KerningTwips, 320);
            f.setFontLetterSpacingType(QFont::AbsoluteSpacing);
            f.setFontLetterSpacing(2.0);
        });
        QTest::newRow("small caps") << make([](QTextCharFormat &f) { f.setFontCapitalization(QFont::SmallCaps); });
        QTest::newRow("link") << make([](QTextCharFormat &f) {
            f.setAnchor(true);
            f.setAnchorHref(QStringLiteral("https://example.com/a?b=1#c"));
        });
    }
    void characterAttributesSurvive()
    {
        QFETCH(QTextCharFormat, format);
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("plain "));
        c.insertText(QStringLiteral("formatted"), format);
        c.insertText(QStringLiteral(" plain"), QTextCharFormat());
        QTextDocument back;
        roundTrip(d, back);
        QCOMPARE(raw(back), raw(d));
        const QTextCharFormat read = formatAt(back, 6);
        const QMap<int, QVariant> props = format.properties();
        for (auto it = props.cbegin(); it != props.cend(); ++it)
            QVERIFY2(read.property(it.key()) == it.value(),
                qPrintable(
                    QStringLiteral("property %1: %2").arg(it.key(), 0, 16).arg(read.property(it.key()).toString())));
        QVERIFY(!formatAt(back, 0).boolProperty(RichText::Hidden));
        QVERIFY(!formatAt(back, 0).isAnchor());
        QCOMPARE(formatAt(back, 17).fontWeight(), formatAt(back, 0).fontWeight());
    }

    void paragraphAttributesSurvive_data()
    {
        QTest::addColumn<QTextBlockFormat>("format");
        const auto make = [](auto setter) {
            QTextBlockFormat f;
            f.setAlignment(Qt::AlignLeft);
            setter(f);
            return f;
        };
        QTest::newRow("right") << make([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignRight); });
        QTest::newRow("centre") << make([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignHCenter); });
        QTest::newRow("justify") << make([](QTextBlockFormat &f) { f.setAlignment(Qt::AlignJustify); });
        QTest::newRow("indents and spacing") << make([](QTextBlockFormat &f) {
            f.setTextIndent(RichText::pointsToPixels(-18));
            f.setLeftMargin(RichText::pointsToPixels(36));
            f.setRightMargin(RichText::pointsToPixels(10));
            f.setTopMargin(RichText::pointsToPixels(12));
            f.setBottomMargin(RichText::pointsToPixels(3));
        });
        QTest::newRow("at least 16 points") << make([](QTextBlockFormat &f) {
            f.setProperty(RichText::LineSpacingRule, 3);
            f.setProperty(RichText::LineSpacingValue, 320);
            f.setLineHeight(RichText::pointsToPixels(16), QTextBlockFormat::MinimumHeight);
        });
        QTest::newRow("exactly") << make([](QTextBlockFormat &f) {
            f.setProperty(RichText::LineSpacingRule, 4);
            f.setProperty(RichText::LineSpacingValue, 300);
            f.setLineHeight(20, QTextBlockFormat::FixedHeight);
        });
        QTest::newRow("double") << make([](QTextBlockFormat &f) {
            f.setProperty(RichText::LineSpacingRule, 5);
            f.setProperty(RichText::LineSpacingValue, 40);
            f.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
        });
        QTest::newRow("flags") << make([](QTextBlockFormat &f) {
            f.setProperty(RichText::KeepWithNext, true);
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            f.setLayoutDirection(Qt::RightToLeft);
            f.setProperty(RichText::StyleNumber, 2);
        });
    }
    void paragraphAttributesSurvive()
    {
        QFETCH(QTextBlockFormat, format);
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("before"));
        c.insertBlock(format);
        c.insertText(QStringLiteral("this one"));
        QTextBlockFormat normal;
        normal.setAlignment(Qt::AlignLeft);
        c.insertBlock(normal);
        c.insertText(QStringLiteral("after"));
        QTextDocument back;
        roundTrip(d, back);
        QCOMPARE(raw(back), raw(d));
        const QTextBlockFormat read = back.begin().next().blockFormat();
        const QMap<int, QVariant> props = format.properties();
        for (auto it = props.cbegin(); it != props.cend(); ++it)
            QVERIFY2(
                read.property(it.key()) == it.value(), qPrintable(QStringLiteral("property %1").arg(it.key(), 0, 16)));
        QCOMPARE(back.lastBlock().blockFormat().leftMargin(), 0.0);
        QCOMPARE(back.lastBlock().blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_Auto);
    }

    void tabStopsSurvive()
    {
        QTextDocument d;
        QTextCursor c(&d);
        QTextBlockFormat f;
        QList<QTextOption::Tab> tabs;
        tabs << QTextOption::Tab(48, QTextOption::LeftTab) << QTextOption::Tab(96, QTextOption::RightTab)
             << QTextOption::Tab(144, QTextOption::CenterTab) << QTextOption::Tab(192, QTextOption::DelimiterTab, u'.');
        f.setTabPositions(tabs);
        c.setBlockFormat(f);
        c.insertText(QStringLiteral("a\tb\tc\td\te"));
        QTextDocument back;
        roundTrip(d, back);
        QCOMPARE(back.begin().blockFormat().tabPositions(), tabs);
    }

    void listsSurvive_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("styleWord");
        for (int kind = 2; kind <= 6; ++kind) {
            for (int word : { 0x2000, 0x2100, 0x2200, 0x2300 })
                QTest::addRow("kind %d style %x", kind, word) << kind << word;
        }
        QTest::newRow("bullet") << 1 << -1;
        QTest::newRow("hollow block") << 7 << -1;
        QTest::newRow("small bullet") << 8 << -1;
    }
    void listsSurvive()
    {
        QFETCH(int, kind);
        QFETCH(int, styleWord);
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("intro"));
        c.insertBlock();
        QTextListFormat lf;
        lf.setProperty(RichText::NumberingKind, kind);
        if (styleWord >= 0)
            lf.setProperty(RichText::NumberingStyleWord, styleWord);
        c.createList(lf);
        c.insertText(QStringLiteral("one"));
        c.insertBlock();
        c.insertText(QStringLiteral("two"));
        c.insertBlock(QTextBlockFormat()); // a fresh block format leaves the list
        c.insertText(QStringLiteral("after"));
        const QByteArray rtf = writeRtf(d);
        QTextDocument back;
        QVERIFY(readRtf(rtf, back));
        QCOMPARE(raw(back), QStringLiteral("intro\none\ntwo\nafter"));
        const QTextBlock one = back.begin().next();
        QTextList *list = one.textList();
        QVERIFY(list);
        QCOMPARE(one.next().textList(), list);
        QVERIFY(!back.begin().textList());
        QVERIFY(!back.lastBlock().textList());
        QCOMPARE(list->format().intProperty(RichText::NumberingKind), kind);
        if (styleWord >= 0)
            QCOMPARE(list->format().intProperty(RichText::NumberingStyleWord), styleWord);
        // The older numbering is written too, but never as a second label in the text.
        QVERIFY(rtf.contains("{\\*\\pn"));
        QCOMPARE(list->count(), 2);
    }

    void tablesSurvive()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("before"));
        QTextTableFormat tf;
        tf.setColumnWidthConstraints({ QTextLength(QTextLength::FixedLength, 96),
            QTextLength(QTextLength::FixedLength, 48), QTextLength(QTextLength::FixedLength, 144) });
        QTextTable *table = c.insertTable(2, 3, tf);
        for (int r = 0; r < 2; ++r) {
            for (int col = 0; col < 3; ++col) {
                QTextCursor cell = table->cellAt(r, col).firstCursorPosition();
                cell.insertText(QStringLiteral("r%1c%2").arg(r).arg(col));
            }
        }
        QTextCursor inner = table->cellAt(1, 1).lastCursorPosition();
        inner.insertBlock();
        inner.insertText(QStringLiteral("second paragraph"));
        QTextTable *nested = inner.insertTable(1, 2);
        nested->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("n1"));
        nested->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("n2"));
        c.setPosition(table->lastPosition() + 1);
        c.insertText(QStringLiteral("after"));

        QTextDocument back;
        roundTrip(d, back);
        QCOMPARE(raw(back), raw(d));
        QTextTable *readTable = QTextCursor(back.begin().next()).currentTable();
        QVERIFY(readTable);
        QCOMPARE(readTable->rows(), 2);
        QCOMPARE(readTable->columns(), 3);
        const QList<QTextLength> widths = readTable->format().columnWidthConstraints();
        QCOMPARE(widths.size(), 3);
        QCOMPARE(widths.at(1).rawValue(), 48.0);
        int nestedTables = 0;
        for (QTextBlock b = back.begin(); b.isValid(); b = b.next()) {
            QTextTable *t = QTextCursor(b).currentTable();
            if (t && t != readTable && t->parentFrame() == readTable && b.text() == QLatin1String("n1"))
                ++nestedTables;
        }
        QCOMPARE(nestedTables, 1);
    }

    void picturesSurvive()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("x"));
        // A picture that came from a file: its bytes go back unchanged.
        const QByteArray emf = QByteArray::fromHex("0100000064000000") + QByteArray(92, '\x07');
        d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("emf-1")), testImage());
        QTextImageFormat meta;
        meta.setName(QStringLiteral("emf-1"));
        meta.setWidth(120);
        meta.setHeight(60);
        meta.setProperty(RichText::PictureData, emf);
        meta.setProperty(RichText::PictureFormat, QStringLiteral("emf"));
        c.insertImage(meta);
        const QByteArray jpeg = [] {
            QByteArray data;
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            testImage().save(&buffer, "JPEG");
            return data;
        }();
        QTextImageFormat photo;
        d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("jpeg-1")), QImage::fromData(jpeg));
        photo.setName(QStringLiteral("jpeg-1"));
        photo.setWidth(10);
        photo.setHeight(8);
        photo.setProperty(RichText::PictureData, jpeg);
        photo.setProperty(RichText::PictureFormat, QStringLiteral("jpeg"));
        c.insertImage(photo);
        // A picture the program made: only the image is there; it is written as PNG.
        d.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("made-1")), testImage());
        QTextImageFormat made;
        made.setName(QStringLiteral("made-1"));
        c.insertImage(made);
        c.insertText(QStringLiteral("y"));

        const QByteArray rtf = writeRtf(d);
        QVERIFY(rtf.contains("\\emfblip"));
        QVERIFY(rtf.contains("\\jpegblip"));
        QVERIFY(rtf.contains("\\pngblip"));
        QTextDocument back;
        QVERIFY(readRtf(rtf, back));
        const QList<QTextImageFormat> found = images(back);
        QCOMPARE(found.size(), 3);
        QCOMPARE(found.at(0).property(RichText::PictureData).toByteArray(), emf);
        QCOMPARE(found.at(0).width(), 120.0);
        QCOMPARE(found.at(0).height(), 60.0);
        QCOMPARE(found.at(1).property(RichText::PictureData).toByteArray(), jpeg);
        QCOMPARE(found.at(1).stringProperty(RichText::PictureFormat), QStringLiteral("jpeg"));
        QCOMPARE(found.at(2).stringProperty(RichText::PictureFormat), QStringLiteral("png"));
        QCOMPARE(found.at(2).width(), 5.0);
        const QImage image = back.resource(QTextDocument::ImageResource, QUrl(found.at(2).name())).value<QImage>();
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), testImage());
        QCOMPARE(raw(back).remove(QChar::ObjectReplacementCharacter), QStringLiteral("xy"));
        QCOMPARE(writeRtf(back), rtf); // read pictures write back byte for byte
        Q_UNUSED(pngOf);
    }

    void selectionOnly_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("text");
        // "Hello bold world" / "Second line" / "Third"
        QTest::newRow("inside a paragraph") << 6 << 10 << QStringLiteral("bold");
        QTest::newRow("across paragraphs") << 11 << 23 << QStringLiteral("world\nSecond");
        QTest::newRow("paragraph with its break") << 17 << 29 << QStringLiteral("Second line\n");
        QTest::newRow("to the end") << 29 << -1 << QStringLiteral("Third");
        QTest::newRow("empty") << 3 << 3 << QString();
    }
    void selectionOnly()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, text);
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("Hello "));
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.insertText(QStringLiteral("bold"), bold);
        c.insertText(QStringLiteral(" world"), QTextCharFormat());
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        c.insertBlock(centred);
        c.insertText(QStringLiteral("Second line"));
        c.insertBlock(QTextBlockFormat());
        c.insertText(QStringLiteral("Third"));
        QTextDocument back;
        QVERIFY(readRtf(writeRtf(d, from, to), back));
        QCOMPARE(raw(back), text);
        if (text == QLatin1String("bold"))
            QCOMPARE(formatAt(back, 0).fontWeight(), int(QFont::Bold));
        if (text.startsWith(QLatin1String("Second")))
            QCOMPARE(back.begin().blockFormat().alignment(), Qt::AlignHCenter);
    }

    void titleAndEmptyDocument()
    {
        QTextDocument d;
        d.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Report {draft} \u20AC"));
        QTextDocument back;
        roundTrip(d, back);
        QCOMPARE(back.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Report {draft} \u20AC"));
        QVERIFY(back.isEmpty());
    }

    void emptyLastParagraphSurvives()
    {
        QTextDocument d;
        QTextCursor c(&d);
        c.insertText(QStringLiteral("one"));
        c.insertBlock();
        QTextDocument back;
        roundTrip(d, back);
        QCOMPARE(back.blockCount(), 2);
        QCOMPARE(raw(back), QStringLiteral("one\n"));
    }
};

LUMARO_TEST_CLASS(tst_RtfWriter)
#include "tst_rtfwriter.moc"
