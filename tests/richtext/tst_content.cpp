#include "editor/richtext/RxRichEdit.h"
#include "platform/RtfCodec.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QTextBlock>

namespace {

// A rich text codec that recognises one marker and fails on anything else, so the control's
// retry logic can be seen without depending on the real reader.
class MarkerCodec final : public RtfCodec
{
public:
    bool read(QByteArrayView rtf, QTextDocument &into, QString *error) override
    {
        into.clear();
        if (!rtf.startsWith("{\\rtf1")) {
            if (error)
                *error = QStringLiteral("not rich text");
            return false;
        }
        QTextCursor(&into).insertText(QStringLiteral("RICH"));
        return true;
    }
    QByteArray write(const QTextDocument &doc, int from, int to) override
    {
        QTextCursor c(const_cast<QTextDocument *>(&doc));
        c.setPosition(from);
        c.setPosition(to < 0 ? doc.characterCount() - 1 : to, QTextCursor::KeepAnchor);
        return "{\\rtf1 " + c.selectedText().toUtf8() + "}";
    }
};

QByteArray streamOut(const TRxRichEdit &e, TRxRichEdit::StreamFormat f, TRxRichEdit::StreamModes m)
{
    QByteArray out;
    QBuffer b(&out);
    b.open(QIODevice::WriteOnly);
    e.saveToStream(b, f, m);
    return out;
}

bool streamIn(TRxRichEdit &e, const QByteArray &bytes, TRxRichEdit::StreamFormat f, TRxRichEdit::StreamModes m,
              QString *error = nullptr)
{
    QByteArray copy = bytes;
    QBuffer b(&copy);
    b.open(QIODevice::ReadOnly);
    return e.loadFromStream(b, f, m, error);
}

} // namespace

class tst_Content : public QObject
{
    Q_OBJECT

private slots:
    void init() { RtfCodec::setInstance(&m_codec); }
    void cleanup() { RtfCodec::setInstance(nullptr); }

    void positionsCountParagraphBreakAsOne()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("ab\ncd\n"));
        QCOMPARE(e.textLength(), 6);
        QCOMPARE(e.textRange(0, 100), QStringLiteral("ab\rcd\r"));
        QCOMPARE(e.textRange(1, 4), QStringLiteral("b\rc"));
        QCOMPARE(e.text(), QStringLiteral("ab\r\ncd\r\n"));
        // The plain text is longer than the positions; a range over its length counts as the control does.
        QCOMPARE(e.textRange(0, int(e.text().size())).size(), 6);
        e.setSelection(3, 2);
        QCOMPARE(e.selStart(), 3);
        QCOMPARE(e.selLength(), 2);
        QCOMPARE(e.selText(), QStringLiteral("cd"));
        e.setSelText(QStringLiteral("X\r\nY"));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("ab\rX\rY\r"));
    }

    void plainTextStreaming_data()
    {
        QTest::addColumn<int>("modes");
        QTest::addColumn<QByteArray>("whole");
        QTest::addColumn<QByteArray>("selection");
        QTest::newRow("ansi") << int(TRxRichEdit::StreamWhole) << QByteArray("caf\xE9\r\n\x80 x")
                              << QByteArray("\xE9\r\n\x80");
        QTest::newRow("unicode") << int(TRxRichEdit::StreamUnicode)
                                 << QByteArray("\xFF\xFE" "c\0a\0f\0\xE9\0\r\0\n\0\xAC\x20 \0x\0", 20)
                                 << QByteArray("\xFF\xFE\xE9\0\r\0\n\0\xAC\x20", 10);
    }
    void plainTextStreaming()
    {
        QFETCH(int, modes);
        QFETCH(QByteArray, whole);
        QFETCH(QByteArray, selection);
        TRxRichEdit e;
        QVERIFY(streamIn(e, whole, TRxRichEdit::StreamFormat::PlainText, TRxRichEdit::StreamModes(modes)));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("caf\u00E9\r\u20AC x"));
        QVERIFY(!e.isModified());
        QCOMPARE(streamOut(e, TRxRichEdit::StreamFormat::PlainText, TRxRichEdit::StreamModes(modes)), whole);
        e.setSelection(3, 3);
        QCOMPARE(streamOut(e, TRxRichEdit::StreamFormat::PlainText, TRxRichEdit::StreamModes(modes) | TRxRichEdit::StreamSelection),
                 selection);
        // Reading in selection mode replaces just the selection.
        QVERIFY(streamIn(e, modes ? QByteArray("\xFF\xFEZ\0", 4) : QByteArray("Z"), TRxRichEdit::StreamFormat::PlainText,
                         TRxRichEdit::StreamModes(modes) | TRxRichEdit::StreamSelection));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("cafZ x"));
    }

    void utf8FilesOpenAsUtf8()
    {
        TRxRichEdit e;
        QVERIFY(streamIn(e, "gr\xC3\xBC\xC3\x9F" "e\n", TRxRichEdit::StreamFormat::PlainText, TRxRichEdit::StreamWhole));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("gr\u00FC\u00DFe\r"));
    }

    void failedRichReadIsRetriedAsPlainText()
    {
        TRxRichEdit e;
        QVERIFY(streamIn(e, "just words", TRxRichEdit::StreamFormat::RichText, TRxRichEdit::StreamWhole));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("just words"));
        QVERIFY(streamIn(e, "{\\rtf1 x}", TRxRichEdit::StreamFormat::RichText, TRxRichEdit::StreamWhole));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("RICH"));
        QCOMPARE(streamOut(e, TRxRichEdit::StreamFormat::RichText, TRxRichEdit::StreamWhole), QByteArray("{\\rtf1 RICH}"));
    }

    void unreadableAndUnwritableStreamsFail()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("keep"));
        QBuffer closed;
        QString error;
        QVERIFY(!e.loadFromStream(closed, TRxRichEdit::StreamFormat::RichText, TRxRichEdit::StreamWhole, &error));
        QCOMPARE(error, QStringLiteral("Failed to Load Stream"));
        QCOMPARE(e.textRange(0, 100), QStringLiteral("keep"));
        QByteArray bytes;
        QBuffer readOnly(&bytes);
        readOnly.open(QIODevice::ReadOnly);
        QVERIFY(!e.saveToStream(readOnly, TRxRichEdit::StreamFormat::PlainText, TRxRichEdit::StreamWhole, &error));
        QCOMPARE(error, QStringLiteral("Failed to Save Stream"));
    }

    void plainTextModeDropsFormatting()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("one two"));
        e.setSelection(0, 3);
        e.selAttributes().setStyle(TRxTextAttributes::Bold);
        e.setModified(true);
        e.setPlainTextMode(true);
        QVERIFY(e.isPlainTextMode());
        QCOMPARE(e.textRange(0, 100), QStringLiteral("one two"));
        QVERIFY(e.isModified());
        e.setSelection(1, 0);
        QVERIFY(!(e.selAttributes().style() & TRxTextAttributes::Bold));
    }

    void displayLinesFollowTheWrap()
    {
        TRxRichEdit e;
        e.setLineWrapMode(QTextEdit::FixedPixelWidth);
        e.setLineWrapColumnOrWidth(120);
        e.setPlainText(QStringLiteral("alpha beta gamma delta epsilon zeta eta theta\nshort"));
        const QStringList lines = e.displayLines();
        QVERIFY(lines.size() > 2);
        QCOMPARE(lines.last(), QStringLiteral("short"));
        QString joined = lines.join(QString());
        joined.remove(u' ');
        QCOMPARE(joined, QStringLiteral("alphabetagammadeltaepsilonzetaetathetashort"));
        QCOMPARE(e.lineCount(), lines.size());
        const int lastLine = int(lines.size()) - 1;
        QCOMPARE(e.lineFromChar(e.textLength()), lastLine);
        QCOMPARE(e.lineStart(lastLine), e.textLength() - 5);
        QCOMPARE(e.lineStart(lastLine + 1), -1);
        e.setCaretPos(QPoint(2, lastLine));
        QCOMPARE(e.caretPos(), QPoint(2, lastLine));
        QCOMPARE(e.textCursor().position(), e.textLength() - 3);
    }

private:
    MarkerCodec m_codec;
};

LUMARO_TEST_CLASS(tst_Content)
#include "tst_content.moc"
