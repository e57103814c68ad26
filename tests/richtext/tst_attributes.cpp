#include "editor/richtext/RxRichEdit.h"
#include "platform/RichTextProperties.h"
#include "tests/support/TestMain.h"

#include <QTextBlock>
#include <QTextList>

using Attr = TRxTextAttributes;
using Set = TRxTextAttributes::Set;

class tst_Attributes : public QObject
{
    Q_OBJECT

    static TRxTextAttributes of(TRxRichEdit &e, Set set) { return TRxTextAttributes(&e, set); }

private slots:
    void attributesReadBackThroughEachSet_data()
    {
        QTest::addColumn<int>("set");
        QTest::newRow("selection") << int(Set::Selection);
        QTest::newRow("word") << int(Set::Word);
        QTest::newRow("default") << int(Set::Default);
    }
    void attributesReadBackThroughEachSet()
    {
        QFETCH(int, set);
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("hello world"));
        e.setSelection(0, 5);
        Attr a = of(e, Set(set));
        a.setName(QStringLiteral("Liberation Serif"));
        a.setSize(14);
        a.setStyle(Attr::Bold | Attr::Italic | Attr::StrikeOut);
        a.setColor(QColor(Qt::red));
        a.setBackColor(QColor(Qt::yellow));
        a.setVerticalPosition(Attr::VerticalPosition::Superscript);
        a.setCharset(RichText::CharsetSymbol);
        a.setHidden(true);
        a.setDisabled(true);
        a.setRevised(true, 3);
        a.setKerning(320);
        a.setUnderlineType(8 + 80); // red wave
        QCOMPARE(a.name(), QStringLiteral("Liberation Serif"));
        QCOMPARE(a.size(), 14);
        QCOMPARE(a.style(), Attr::Bold | Attr::Italic | Attr::StrikeOut | Attr::Underline);
        QCOMPARE(a.color(), QColor(Qt::red));
        QCOMPARE(a.backColor(), QColor(Qt::yellow));
        QCOMPARE(a.verticalPosition(), Attr::VerticalPosition::Superscript);
        QCOMPARE(a.charset(), int(RichText::CharsetSymbol));
        QVERIFY(a.isHidden());
        QVERIFY(a.isDisabled());
        QVERIFY(a.isRevised());
        QCOMPARE(a.revisionAuthor(), 3);
        QCOMPARE(a.kerning(), 320);
        QCOMPARE(a.underlineType(), 88);
        QCOMPARE(a.format().underlineStyle(), QTextCharFormat::WaveUnderline);
        QCOMPARE(a.format().underlineColor(), QColor(Qt::red));
        // Automatic colours and the flags come off again.
        a.setColor(QColor());
        a.setBackColor(QColor());
        a.setHidden(false);
        a.setUnderlineType(0);
        QVERIFY(!a.color().isValid());
        QVERIFY(!a.backColor().isValid());
        QVERIFY(!a.isHidden());
        QVERIFY(!(a.style() & Attr::Underline));
        if (Set(set) != Set::Default) {
            // Only the selected characters changed.
            e.setSelection(7, 1);
            QCOMPARE(e.selAttributes().style(), Attr::Style());
        }
    }

    void wordSetTakesTheWholeWordAtTheCaret()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("one two three"));
        e.setSelection(5, 0); // inside "two"
        e.wordAttributes().setStyle(Attr::Bold);
        for (int pos : {4, 5, 6}) {
            e.setSelection(pos, 1);
            QVERIFY2(e.selAttributes().style() & Attr::Bold, qPrintable(QString::number(pos)));
        }
        e.setSelection(3, 1);
        QVERIFY(!(e.selAttributes().style() & Attr::Bold));
        e.setSelection(8, 1);
        QVERIFY(!(e.selAttributes().style() & Attr::Bold));
    }

    void selectionSetWithoutSelectionChangesWhatIsTypedNext()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("ab"));
        e.setSelection(2, 0);
        e.selAttributes().setStyle(Attr::Italic);
        QTest::keyClicks(&e, QStringLiteral("cd"));
        e.setSelection(0, 1);
        QVERIFY(!(e.selAttributes().style() & Attr::Italic));
        e.setSelection(3, 1);
        QVERIFY(e.selAttributes().style() & Attr::Italic);
    }

    void protectedTextRefusesEditsUnlessAllowed()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("free LOCKED free"));
        e.setSelection(5, 6);
        bool allow = true; // while the owner allows it, protection itself can be set
        QList<QPair<int, int>> asked;
        e.setProtectedChangeHandler([&](int s, int t) {
            asked.append({s, t});
            return allow;
        });
        e.selAttributes().setProtected(true);
        QVERIFY(e.selAttributes().isProtected());
        allow = false;
        // Typing inside, deleting, replacing and formatting are all refused.
        e.setSelection(7, 0);
        QTest::keyClicks(&e, QStringLiteral("x"));
        e.setSelection(8, 0);
        QTest::keyClick(&e, Qt::Key_Backspace);
        e.setSelection(3, 4);
        e.setSelText(QStringLiteral("gone"));
        e.setSelection(3, 4);
        e.selAttributes().setStyle(Attr::Bold);
        QCOMPARE(e.textRange(0, 100), QStringLiteral("free LOCKED free"));
        e.setSelection(5, 1);
        QVERIFY(!(e.selAttributes().style() & Attr::Bold));
        QVERIFY(asked.size() >= 4);
        // Outside the run editing goes on, and text typed right after it is not protected.
        e.setSelection(11, 0);
        QTest::keyClicks(&e, QStringLiteral("!"));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("free LOCKED! free"));
        e.setSelection(11, 1);
        QVERIFY(!e.selAttributes().isProtected());
        // Without a handler protected text never changes; with permission it does.
        e.setProtectedChangeHandler({});
        e.setSelection(5, 6);
        e.setSelText(QStringLiteral("x"));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("free LOCKED! free"));
        e.setProtectedChangeHandler([](int, int) { return true; });
        e.setSelection(5, 6);
        e.selAttributes().setProtected(false);
        e.setProtectedChangeHandler({});
        e.setSelection(5, 6);
        e.setSelText(QStringLiteral("open"));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("free open! free"));
    }

    void paragraphAttributesOfEverySelectedParagraph()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("one\ntwo\nthree"));
        e.setSelection(1, 5); // "ne\ntw": two paragraphs
        TRxParaAttributes p = e.paragraph();
        p.setAlignment(TRxParaAttributes::Center);
        p.setFirstIndent(36);
        p.setLeftIndent(18);
        p.setRightIndent(12);
        p.setSpaceBefore(6);
        p.setSpaceAfter(3);
        p.setKeepWithNext(true);
        p.setPageBreakBefore(true);
        p.setRightToLeft(true);
        p.setStyleNumber(2);
        for (int pos : {0, 5}) {
            e.setSelection(pos, 0);
            TRxParaAttributes q = e.paragraph();
            QCOMPARE(q.alignment(), int(TRxParaAttributes::Center));
            QCOMPARE(q.firstIndent(), 36);
            QCOMPARE(q.leftIndent(), 18);
            QCOMPARE(q.rightIndent(), 12);
            QCOMPARE(q.spaceBefore(), 6);
            QCOMPARE(q.spaceAfter(), 3);
            QVERIFY(q.keepWithNext());
            QVERIFY(q.pageBreakBefore());
            QVERIFY(q.rightToLeft());
            QCOMPARE(q.styleNumber(), 2);
        }
        // The first line starts at the first indent, the others at first + left indent.
        const QTextBlockFormat f = e.document()->firstBlock().blockFormat();
        QCOMPARE(RichText::pixelsToPoints(f.leftMargin()), 54.0);
        QCOMPARE(RichText::pixelsToPoints(f.textIndent()), -18.0);
        e.setSelection(10, 0);
        QCOMPARE(e.paragraph().alignment(), int(TRxParaAttributes::Left));
        QVERIFY(!e.paragraph().pageBreakBefore());
    }

    void lineSpacingRules_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("qtType");
        QTest::addColumn<qreal>("qtHeight");
        QTest::newRow("single") << 0 << 0 << int(QTextBlockFormat::SingleHeight) << 0.0;
        QTest::newRow("at least 16pt") << 3 << 16 << int(QTextBlockFormat::MinimumHeight) << RichText::pointsToPixels(16);
        QTest::newRow("exactly 12pt") << 4 << 12 << int(QTextBlockFormat::FixedHeight) << RichText::pointsToPixels(12);
        QTest::newRow("two lines") << 5 << 2 << int(QTextBlockFormat::ProportionalHeight) << 200.0;
    }
    void lineSpacingRules()
    {
        QFETCH(int, rule);
        QFETCH(int, value);
        QFETCH(int, qtType);
        QFETCH(qreal, qtHeight);
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("text"));
        e.paragraph().setLineSpacing(rule, value);
        QCOMPARE(e.paragraph().lineSpacingRule(), rule);
        QCOMPARE(e.paragraph().lineSpacing(), value);
        const QTextBlockFormat f = e.document()->firstBlock().blockFormat();
        QCOMPARE(f.lineHeightType(), qtType);
        QCOMPARE(f.lineHeight(), qtHeight);
        // The single rule keeps the value.
        e.paragraph().setLineSpacingRule(0);
        QCOMPARE(e.paragraph().lineSpacing(), value);
    }

    void numberingRaisesAndClearsTheLeftIndent_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("qtStyle");
        QTest::newRow("bullet") << 1 << int(QTextListFormat::ListDisc);
        QTest::newRow("arabic") << 2 << int(QTextListFormat::ListDecimal);
        QTest::newRow("lower letters") << 3 << int(QTextListFormat::ListLowerAlpha);
        QTest::newRow("upper roman") << 6 << int(QTextListFormat::ListUpperRoman);
        QTest::newRow("hollow block") << 7 << int(QTextListFormat::ListSquare);
        QTest::newRow("small bullet") << 8 << int(QTextListFormat::ListCircle);
    }
    void numberingRaisesAndClearsTheLeftIndent()
    {
        QFETCH(int, kind);
        QFETCH(int, qtStyle);
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("a\nb\nc"));
        e.setSelection(0, 3);
        e.paragraph().setNumbering(kind);
        QCOMPARE(e.paragraph().numbering(), kind);
        QCOMPARE(e.paragraph().leftIndent(), 10);
        QCOMPARE(e.paragraph().firstIndent(), 0);
        // The number sits in the hanging indent: the text starts at the left indent on every line.
        QCOMPARE(e.document()->firstBlock().blockFormat().textIndent(), 0.0);
        QCOMPARE(RichText::pixelsToPoints(e.document()->firstBlock().blockFormat().leftMargin()), 10.0);
        QVERIFY(e.document()->firstBlock().textList());
        QCOMPARE(int(e.document()->firstBlock().textList()->format().style()), qtStyle);
        QCOMPARE(e.document()->firstBlock().textList(), e.document()->firstBlock().next().textList());
        QVERIFY(!e.document()->lastBlock().textList());
        e.paragraph().setNumberingStyle(0x2000);
        QCOMPARE(e.paragraph().numberingStyle(), 0x2000);
        // A larger indent stays; none clears it.
        e.paragraph().setLeftIndent(25);
        e.paragraph().setNumbering(kind);
        QCOMPARE(e.paragraph().leftIndent(), 25);
        e.paragraph().setNumbering(0);
        QCOMPARE(e.paragraph().numbering(), 0);
        QCOMPARE(e.paragraph().leftIndent(), 0);
        QCOMPARE(e.paragraph().firstIndent(), 0);
        QVERIFY(!e.document()->firstBlock().textList());
    }

    void tabStopsUpToThirtyTwo()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("a\tb"));
        QList<int> stops;
        for (int i = 0; i < 40; ++i)
            stops.append((i + 1) * 36);
        e.paragraph().setTabs(stops);
        QCOMPARE(e.paragraph().tabCount(), 32);
        QCOMPARE(e.paragraph().tab(0), 36);
        QCOMPARE(e.paragraph().tab(31), 1152);
        e.paragraph().setTabCount(2);
        QCOMPARE(e.paragraph().tabs(), (QList<int>{36, 72}));
    }
};

LUMARO_TEST_CLASS(tst_Attributes)
#include "tst_attributes.moc"
