#include "tests/rtf/RtfTestSupport.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>

// Real documents written by other programs: every one opens, and its body text is compared with
// the text another word processor extracts from it.
class tst_RtfCorpus : public QObject
{
    Q_OBJECT

private:
    static QString corpusDir() { return TestSupport::sharedDir() + QStringLiteral("/corpus/rtf"); }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

    // Files whose extracted text is known not to be what their author meant (the other word
    // processor decodes them differently), so a low score there says nothing about this reader.
    static QStringList knownMisreadings()
    {
        return { QStringLiteral("rtfparserkit__testJapaneseUtf8Encoding.rtf"),
            QStringLiteral("tika__testRTFInvalidUnicode.rtf") };
    }

private slots:
    void everyFileOpensAndItsTextMatches()
    {
        const QDir dir(corpusDir());
        const QStringList files = dir.entryList({ QStringLiteral("*.rtf") }, QDir::Files, QDir::Name);
        if (files.isEmpty())
            QSKIP("The shared corpus is not available.");

        int compared = 0;
        int exact = 0;
        double total = 0;
        double worst = 1;
        QString worstFile;
        QStringList below;
        for (const QString &name : files) {
            const QByteArray rtf = readFile(dir.filePath(name));
            QTextDocument doc;
            QString error;
            const bool ok = RtfTestSupport::readRtf(rtf, doc, &error);
            const QString txtPath = dir.filePath(name.chopped(4) + QStringLiteral(".txt"));
            if (!QFile::exists(txtPath))
                continue;
            QString expectedText = QString::fromUtf8(readFile(txtPath));
            if (expectedText.startsWith(QChar(0xFEFF)))
                expectedText.remove(0, 1);
            const QStringList expected = RtfTestSupport::normalisedWords(expectedText);
            const QStringList actual
                = ok ? RtfTestSupport::normalisedWords(RtfTestSupport::bodyText(doc)) : QStringList();
            const double score = RtfTestSupport::similarity(expected, actual);
            ++compared;
            total += score;
            if (expected == actual)
                ++exact;
            else
                qInfo("%s: similarity %.3f (%lld expected words, %lld read)", qPrintable(name), score,
                    qlonglong(expected.size()), qlonglong(actual.size()));
            if (score < worst) {
                worst = score;
                worstFile = name;
            }
            if (score < 0.8 && !knownMisreadings().contains(name))
                below.append(name);
        }
        const double mean = compared ? total / compared : 0;
        qInfo("rtf corpus files: %lld, compared with text: %d", qlonglong(files.size()), compared);
        qInfo("rtf corpus exact text matches: %d of %d (%.1f%%)", exact, compared,
            compared ? 100.0 * exact / compared : 0.0);
        qInfo("rtf corpus mean similarity: %.4f, lowest %.3f (%s)", mean, worst, qPrintable(worstFile));
        QVERIFY2(compared > 0, "no corpus file has a text to compare with");
        QVERIFY2(mean >= 0.98, qPrintable(QStringLiteral("mean similarity %1").arg(mean)));
        QVERIFY2(exact * 10 >= compared * 9, qPrintable(QStringLiteral("%1 exact matches").arg(exact)));
        QVERIFY2(below.isEmpty(), qPrintable(below.join(QStringLiteral(", "))));
    }

    void writtenCorpusFilesReadBackTheSame()
    {
        // Real documents through our writer and reader: the text, the paragraph structure and the
        // pictures come back, and writing again gives the same bytes.
        const QDir dir(corpusDir());
        const QStringList files = dir.entryList({ QStringLiteral("*.rtf") }, QDir::Files, QDir::Name);
        if (files.isEmpty())
            QSKIP("The shared corpus is not available.");
        QStringList differing;
        for (const QString &name : files) {
            QTextDocument doc;
            if (!RtfTestSupport::readRtf(readFile(dir.filePath(name)), doc))
                continue;
            const QByteArray written = RtfTestSupport::writeRtf(doc);
            QTextDocument back;
            QVERIFY2(RtfTestSupport::readRtf(written, back), qPrintable(name));
            if (RtfTestSupport::bodyText(back) != RtfTestSupport::bodyText(doc) || back.blockCount() != doc.blockCount()
                || RtfTestSupport::writeRtf(back) != written)
                differing.append(name);
        }
        QVERIFY2(differing.isEmpty(), qPrintable(differing.join(QStringLiteral(", "))));
    }
};

LUMARO_TEST_CLASS(tst_RtfCorpus)
#include "tst_rtfcorpus.moc"
