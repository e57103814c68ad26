#include "platform/WordCounter.h"
#include "tests/support/TestMain.h"

class tst_WordCounter : public QObject
{
    Q_OBJECT

private slots:
    void countsWordsAndCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("words");
        QTest::addColumn<qint64>("wordCharacters");
        QTest::addColumn<qint64>("separators");
        QTest::newRow("apostrophe joins") << "don't stop" << 2LL << 9LL << 1LL;
        QTest::newRow("hyphenated") << "well-known" << 1LL << 10LL << 0LL;
        QTest::newRow("full stop splits") << "3.5" << 2LL << 2LL << 1LL;
        QTest::newRow("underscore joins") << "a_b" << 1LL << 3LL << 0LL;
        QTest::newRow("empty") << "" << 0LL << 0LL << 0LL;
        QTest::newRow("only separators") << " !#$%()*,./:;?@\\^" << 0LL << 0LL << 17LL;
        QTest::newRow("paragraph break counts two") << "a\r\nb" << 2LL << 2LL << 2LL;
        QTest::newRow("grave, braces, tilde are word characters") << "`{|}~" << 1LL << 5LL << 0LL;
        QTest::newRow("greek letters") << QString::fromUtf8("Καλημέρα κόσμε") << 2LL << 13LL << 1LL;
        QTest::newRow("cyrillic and cjk") << QString::fromUtf8("Привет 世界") << 2LL << 8LL << 1LL;
        QTest::newRow("emoji is one character") << QString::fromUtf8("a \xF0\x9F\x98\x80") << 2LL << 2LL << 1LL;
    }

    void countsWordsAndCharacters()
    {
        QFETCH(QString, text);
        QFETCH(qint64, words);
        QFETCH(qint64, wordCharacters);
        QFETCH(qint64, separators);
        const WordCount count = WordCounter::count(text);
        QCOMPARE(count.words, words);
        QCOMPARE(count.wordCharacters, wordCharacters);
        QCOMPARE(count.separators, separators);
        QCOMPARE(count.total(), wordCharacters + separators);
    }

    void wordsPerLineIsRightAlignedWithTwoDecimals()
    {
        QCOMPARE(WordCount::wordsPerLine(7, 2), QStringLiteral("    3.50"));
        QCOMPARE(WordCount::wordsPerLine(0, 0), QStringLiteral("    0.00"));
        QCOMPARE(WordCount::wordsPerLine(3, 0), QStringLiteral("    3.00"));
    }
};

LUMARO_TEST_CLASS(tst_WordCounter)
#include "tst_wordcounter.moc"
