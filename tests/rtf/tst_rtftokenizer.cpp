#include "platform/rtf/RtfTokenizer.h"
#include "tests/support/TestMain.h"

#include <climits>

// The tokenizer turns bytes into groups, control words, symbols, hex bytes, binary data and text.
class tst_RtfTokenizer : public QObject
{
    Q_OBJECT

private:
    // Tokens as a readable string: G( G) W:name[:param] S:c H:hh B:<len> T:text
    static QString describe(const QByteArray &input)
    {
        RtfTokenizer tokenizer(input);
        QStringList parts;
        for (int guard = 0; guard < 1000; ++guard) {
            const RtfTokenizer::Token t = tokenizer.next();
            using T = RtfTokenizer::Type;
            switch (t.type) {
            case T::End:
                return parts.join(u' ');
            case T::GroupStart:
                parts << QStringLiteral("G(");
                break;
            case T::GroupEnd:
                parts << QStringLiteral("G)");
                break;
            case T::ControlWord:
                parts << QStringLiteral("W:") + QString::fromLatin1(t.word.toByteArray())
                        + (t.hasParam ? u':' + QString::number(t.param) : QString());
                break;
            case T::ControlSymbol:
                parts << QStringLiteral("S:") + QChar::fromLatin1(t.symbol);
                break;
            case T::HexByte:
                parts << QStringLiteral("H:%1").arg(t.byte, 2, 16, QChar(u'0'));
                break;
            case T::Binary:
                parts << QStringLiteral("B:%1").arg(t.word.size());
                break;
            case T::Text:
                parts << QStringLiteral("T:") + QString::fromLatin1(t.word.toByteArray());
                break;
            }
        }
        return QStringLiteral("no end");
    }

private slots:
    void tokens_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("tokens");
        QTest::newRow("word and delimiting space") << QByteArray("\\par text") << "W:par T:text";
        QTest::newRow("only one space is a delimiter") << QByteArray("\\b  x") << "W:b T: x";
        QTest::newRow("signed parameter") << QByteArray("\\u-3913?") << "W:u:-3913 T:?";
        QTest::newRow("minus without digits is text") << QByteArray("\\li-x") << "W:li T:-x";
        QTest::newRow("parameter ends at a letter") << QByteArray("\\fs24abc") << "W:fs:24 T:abc";
        QTest::newRow("huge parameter is clamped")
            << QByteArray("\\fs99999999999999 ") << QStringLiteral("W:fs:%1").arg(INT_MAX);
        QTest::newRow("hex byte") << QByteArray("\\'e9t") << "H:e9 T:t";
        QTest::newRow("hex with one digit") << QByteArray("\\'4") << "H:04";
        QTest::newRow("hex without digits is dropped") << QByteArray("\\'zz") << "T:zz";
        QTest::newRow("escaped braces") << QByteArray("\\{\\}\\\\") << "S:{ S:} S:\\";
        QTest::newRow("control symbols") << QByteArray("\\~\\-\\*") << "S:~ S:- S:*";
        QTest::newRow("line ends are not text") << QByteArray("ab\r\ncd") << "T:ab T:cd";
        QTest::newRow("backslash line end is a paragraph") << QByteArray("a\\\r\nb") << "T:a S:\n T:b";
        QTest::newRow("binary data holds braces") << QByteArray("{\\bin3 }{\\x}") << "G( W:bin:3 B:3 T:x G)";
        QTest::newRow("binary count beyond the end") << QByteArray("\\bin99 ab") << "W:bin:99 B:2";
        QTest::newRow("backslash at the end") << QByteArray("x\\") << "T:x";
        QTest::newRow("groups") << QByteArray("{\\rtf1{a}}") << "G( W:rtf:1 G( T:a G) G)";
    }
    void tokens()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, tokens);
        QCOMPARE(describe(input), tokens);
    }

    void skipGroupHonoursBinaryAndEscapes_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("rest");
        QTest::newRow("nested") << QByteArray("a{b}c}rest") << "T:rest";
        QTest::newRow("escaped brace") << QByteArray("\\}}rest") << "T:rest";
        QTest::newRow("binary with brace") << QByteArray("\\bin2 }}}rest") << "T:rest";
        QTest::newRow("unterminated") << QByteArray("{{{") << "";
    }
    void skipGroupHonoursBinaryAndEscapes()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, rest);
        RtfTokenizer tokenizer(input);
        const bool closed = tokenizer.skipGroup();
        QCOMPARE(closed, !rest.isEmpty());
        QStringList parts;
        for (RtfTokenizer::Token t = tokenizer.next(); t.type != RtfTokenizer::Type::End; t = tokenizer.next())
            parts << QStringLiteral("T:") + QString::fromLatin1(t.word.toByteArray());
        QCOMPARE(parts.join(u' '), rest);
    }
};

LUMARO_TEST_CLASS(tst_RtfTokenizer)
#include "tst_rtftokenizer.moc"
