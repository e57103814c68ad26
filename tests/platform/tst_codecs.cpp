#include "platform/AnsiCodec.h"
#include "platform/PlainTextCodec.h"
#include "tests/support/TestMain.h"

class tst_Codecs : public QObject
{
    Q_OBJECT

private slots:
    void ansiRoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = AnsiCodec::toUnicode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(AnsiCodec::fromUnicode(text), all);
    }

    void ansiMapsWindowsCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("euro") << QStringLiteral("\u20AC") << QByteArray("\x80");
        QTest::newRow("quotes") << QStringLiteral("\u201Cx\u201D") << QByteArray("\x93x\x94");
        QTest::newRow("latin-1") << QStringLiteral("stra\u00DFe \u00F7") << QByteArray("stra\xDF" "e \xF7");
        QTest::newRow("unmappable") << QStringLiteral("a\u0416b") << QByteArray("a?b");
        QTest::newRow("surrogate pair is one ?") << QStringLiteral("x\U0001F600y") << QByteArray("x?y");
    }
    void ansiMapsWindowsCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(AnsiCodec::fromUnicode(text), bytes);
    }

    void plainTextDetection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("text");
        using E = PlainTextCodec::Encoding;
        QTest::newRow("ascii") << QByteArray("plain") << int(E::Utf8) << QStringLiteral("plain");
        QTest::newRow("utf-8") << QByteArray("caf\xC3\xA9") << int(E::Utf8) << QStringLiteral("caf\u00E9");
        QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBFhi") << int(E::Utf8) << QStringLiteral("hi");
        QTest::newRow("utf-16le bom") << QByteArray("\xFF\xFEh\0i\0", 6) << int(E::Utf16LE) << QStringLiteral("hi");
        QTest::newRow("utf-16be bom") << QByteArray("\xFE\xFF\0h\0i", 6) << int(E::Utf16BE) << QStringLiteral("hi");
        QTest::newRow("ansi") << QByteArray("caf\xE9") << int(E::Ansi) << QStringLiteral("caf\u00E9");
        QTest::newRow("overlong utf-8 is ansi") << QByteArray("\xC0\xAF") << int(E::Ansi) << QStringLiteral("\u00C0\u00AF");
        QTest::newRow("truncated utf-8 is ansi") << QByteArray("ab\xE2\x82") << int(E::Ansi) << QStringLiteral("ab\u00E2\u201A");
    }
    void plainTextDetection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        QFETCH(QString, text);
        PlainTextCodec::Encoding detected;
        QCOMPARE(PlainTextCodec::decode(bytes, &detected), text);
        QCOMPARE(int(detected), encoding);
    }

    void utf16WriterHasBomAndLittleEndianUnits()
    {
        QCOMPARE(PlainTextCodec::encodeUtf16LE(QStringLiteral("A\u20AC")), QByteArray("\xFF\xFE" "A\0\xAC\x20", 6));
        QCOMPARE(PlainTextCodec::decode(PlainTextCodec::encodeUtf16LE(QStringLiteral("\U0001F600"))),
                 QStringLiteral("\U0001F600"));
    }
};

LUMARO_TEST_CLASS(tst_Codecs)
#include "tst_codecs.moc"
