#include "editor/CompressedRtf.h"
#include "editor/DocumentFileFormats.h"
#include "editor/DocumentIO.h"
#include "editor/richtext/RxRichEdit.h"
#include "tests/shell/ShellFixture.h"

#include <QDir>
#include <QProcess>

#include <unistd.h>

using Formats = DocumentFileFormats;
Q_DECLARE_METATYPE(DocumentFileFormats::ReadFormat)
Q_DECLARE_METATYPE(DocumentFileFormats::WriteFormat)

namespace {

QStringList leftovers(const QString &dir, const QString &keep)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(keep);
    return names;
}

bool hasBold(TRxRichEdit &editor)
{
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().fontWeight() >= QFont::Bold)
                return true;
        }
    }
    return false;
}

// A small tmpfs, so that a write can run out of space. Only root may mount it.
class FullDisk
{
public:
    FullDisk()
    {
        if (geteuid() != 0 || !m_dir.isValid())
            return;
        m_mounted = QProcess::execute(QStringLiteral("mount"),
                        { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                            QStringLiteral("size=256k"), QStringLiteral("tmpfs"), m_dir.path() })
            == 0;
    }
    ~FullDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), { m_dir.path() });
    }
    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    // Takes all space that is left.
    void fill() const
    {
        QFile filler(m_dir.filePath(QStringLiteral("filler")));
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) { }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace

class tst_FileFormats : public QObject
{
    Q_OBJECT

private slots:
    void formatsFollowTheNameWithTheirCaseRules_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Formats::ReadFormat>("read");
        QTest::addColumn<Formats::WriteFormat>("written");
        using R = Formats::ReadFormat;
        using W = Formats::WriteFormat;
        QTest::newRow("rtf") << "/d/a.rtf" << R::RichText << W::RichText;
        QTest::newRow("doc") << "/d/a.doc" << R::RichText << W::RichText;
        QTest::newRow("unlisted") << "/d/a.odt" << R::RichText << W::RichText;
        QTest::newRow("no extension") << "/d.x/readme" << R::RichText << W::RichText;
        QTest::newRow("rtc") << "/d/a.rtc" << R::Compressed << W::Compressed;
        QTest::newRow("RTC is not compressed") << "/d/X.RTC" << R::RichText << W::RichText;
        QTest::newRow("ktp") << "/d/a.ktp" << R::Template << W::RichText;
        QTest::newRow("KTP is no template") << "/d/a.KTP" << R::RichText << W::RichText;
        QTest::newRow("NOTES.TXT is plain") << "/d/NOTES.TXT" << R::PlainText << W::PlainAnsi;
        QTest::newRow("html") << "/d/page.Html" << R::PlainText << W::PlainAnsi;
        QTest::newRow("h") << "/d/x.h" << R::PlainText << W::PlainAnsi;
        QTest::newRow("sql") << "/d/q.sql" << R::PlainText << W::PlainAnsi;
    }
    void formatsFollowTheNameWithTheirCaseRules()
    {
        QFETCH(QString, path);
        QFETCH(Formats::ReadFormat, read);
        QFETCH(Formats::WriteFormat, written);
        QCOMPARE(Formats::readFormat(path), read);
        QCOMPARE(Formats::writeFormat(path, 1), written);
    }

    void unicodeFilterWritesUtf16WhateverTheExtension()
    {
        QCOMPARE(Formats::writeFormat(QStringLiteral("/d/a.txt"), 5), Formats::WriteFormat::PlainUnicode);
        QCOMPARE(Formats::writeFormat(QStringLiteral("/d/a.rtf"), 5), Formats::WriteFormat::PlainUnicode);
        QCOMPARE(Formats::writeFormat(QStringLiteral("/d/a.txt"), 6), Formats::WriteFormat::PlainAnsi);
        QCOMPARE(Formats::saveFilters().size(), 13);
        QCOMPARE(Formats::saveFilters().at(4).first, QStringLiteral("Plain Text File UniCode (*.txt)"));
        QCOMPARE(Formats::openFilters().size(), 11);
    }

    void compressedStreamHasLevelOneHeaderAndRoundTrips()
    {
        const QByteArray rtf = sampleRtf().repeated(50);
        const QByteArray packed = CompressedRtf::compress(rtf);
        QVERIFY(packed.size() > 6);
        // CMF 0x78 (deflate, 32K window); FLG 0x01: FLEVEL 0 (fastest), header check ok.
        QCOMPARE(quint8(packed[0]), quint8(0x78));
        QCOMPARE(quint8(packed[1]), quint8(0x01));
        QVERIFY(packed.size() < rtf.size());
        const auto back = CompressedRtf::decompress(packed);
        QVERIFY(back.has_value());
        QCOMPARE(*back, rtf);
    }

    void badCompressedStreamsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = CompressedRtf::compress(sampleRtf());
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain rtf") << sampleRtf();
        QTest::newRow("truncated") << good.left(good.size() / 2);
        QByteArray badSum = good;
        badSum[badSum.size() - 1] = char(badSum.back() ^ 0x55);
        QTest::newRow("bad adler") << badSum;
        QTest::newRow("header only") << QByteArray("\x78\x01", 2);
    }
    void badCompressedStreamsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QString error;
        QVERIFY(!CompressedRtf::decompress(bytes, &error).has_value());
        QVERIFY2(error.startsWith(QStringLiteral("Decompression error: ")), qPrintable(error));
    }

    void everyFormatLoadsWhatItSaved_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Formats::WriteFormat>("format");
        QTest::addColumn<bool>("keepsFormatting");
        QTest::newRow("rtf") << "a.rtf" << Formats::WriteFormat::RichText << true;
        QTest::newRow("doc") << "a.doc" << Formats::WriteFormat::RichText << true;
        QTest::newRow("rtc") << "a.rtc" << Formats::WriteFormat::Compressed << true;
        QTest::newRow("ktp") << "a.ktp" << Formats::WriteFormat::RichText << true;
        QTest::newRow("txt ansi") << "a.txt" << Formats::WriteFormat::PlainAnsi << false;
        QTest::newRow("txt unicode") << "u.txt" << Formats::WriteFormat::PlainUnicode << false;
        QTest::newRow("cpp") << "a.cpp" << Formats::WriteFormat::PlainAnsi << false;
    }
    void everyFormatLoadsWhatItSaved()
    {
        QFETCH(QString, name);
        QFETCH(Formats::WriteFormat, format);
        QFETCH(bool, keepsFormatting);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        TRxRichEdit source;
        QVERIFY(source.setRichText(sampleRtf()));
        source.setSelection(0, 0);
        source.textCursor().insertText(QStringLiteral("\u00e9t\u00e9 \u20ac "));
        QString error;
        QVERIFY2(DocumentIO::save(source, path, format, false, &error), qPrintable(error));
        QCOMPARE(leftovers(dir.path(), name), QStringList());

        const QByteArray bytes = ShellFixture::readFile(path);
        switch (format) {
        case Formats::WriteFormat::RichText:
            QVERIFY(bytes.startsWith("{\\rtf"));
            break;
        case Formats::WriteFormat::Compressed:
            QVERIFY(bytes.startsWith("\x78\x01"));
            break;
        case Formats::WriteFormat::PlainAnsi:
            QVERIFY(bytes.startsWith("\xe9t\xe9 \x80 Plain start"));
            break;
        case Formats::WriteFormat::PlainUnicode:
            QVERIFY(bytes.startsWith("\xff\xfe\xe9\x00"));
            break;
        }

        TRxRichEdit target;
        QVERIFY2(DocumentIO::load(target, path, &error), qPrintable(error));
        QCOMPARE(target.text(), source.text());
        QCOMPARE(hasBold(target), keepsFormatting);
        QCOMPARE(target.isPlainTextMode(), Formats::isPlainText(path));
        QVERIFY(!target.isModified());
    }

    void selectionOnlyWritesTheSelection()
    {
        QTemporaryDir dir;
        TRxRichEdit editor;
        editor.setPlainText(QStringLiteral("one two three"));
        editor.setSelection(4, 3);
        QString error;
        QVERIFY(DocumentIO::save(
            editor, dir.filePath(QStringLiteral("s.txt")), Formats::WriteFormat::PlainAnsi, true, &error));
        QCOMPARE(ShellFixture::readFile(dir.filePath(QStringLiteral("s.txt"))), QByteArray("two"));
        QVERIFY(DocumentIO::save(
            editor, dir.filePath(QStringLiteral("s.rtc")), Formats::WriteFormat::Compressed, true, &error));
        TRxRichEdit back;
        QVERIFY(DocumentIO::load(back, dir.filePath(QStringLiteral("s.rtc")), &error));
        QCOMPARE(back.text().trimmed(), QStringLiteral("two"));
    }

    void unreadableFilesReportWhyAndKeepTheContent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("missing") << "gone.rtf" << QByteArray() << "Cannot open file";
        QTest::newRow("bad rtc") << "bad.rtc" << QByteArray("{\\rtf1 not compressed}") << "Decompression error";
    }
    void unreadableFilesReportWhyAndKeepTheContent()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, messageStart);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (!bytes.isEmpty())
            ShellFixture::writeFile(path, bytes);
        TRxRichEdit editor;
        editor.setPlainText(QStringLiteral("kept"));
        QString error;
        QVERIFY(!DocumentIO::load(editor, path, &error));
        QVERIFY2(error.startsWith(messageStart), qPrintable(error));
        QCOMPARE(editor.toPlainText(), QStringLiteral("kept"));
    }

    void failedWriteKeepsTheOldFileByteForByte_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Formats::WriteFormat>("format");
        QTest::newRow("rtf") << "b.rtf" << Formats::WriteFormat::RichText;
        QTest::newRow("rtc") << "b.rtc" << Formats::WriteFormat::Compressed;
        QTest::newRow("txt") << "b.txt" << Formats::WriteFormat::PlainUnicode;
    }
    void failedWriteKeepsTheOldFileByteForByte()
    {
        QFETCH(QString, name);
        QFETCH(Formats::WriteFormat, format);
        FullDisk disk;
        if (!disk.isMounted())
            QSKIP("needs root to mount a small tmpfs");
        const QString path = QDir(disk.path()).filePath(name);
        const QByteArray old = QByteArray("the old document, which must survive ").repeated(20);
        ShellFixture::writeFile(path, old);
        disk.fill();

        TRxRichEdit editor;
        QString big;
        for (int i = 0; i < 4000; ++i)
            big += QStringLiteral("Line %1 of a document too large for the disk that is left.\n").arg(i);
        editor.setPlainText(big);
        QString error;
        QVERIFY(!DocumentIO::save(editor, path, format, false, &error));
        QVERIFY2(!error.isEmpty(), "a failed write must say why");
        QCOMPARE(ShellFixture::readFile(path), old);
        QCOMPARE(leftovers(disk.path(), name), QStringList { QStringLiteral("filler") });
    }

    void unwritableFolderGivesTheSystemMessage()
    {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders; the full-disk case covers root");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.rtf"));
        ShellFixture::writeFile(path, "old");
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        TRxRichEdit editor;
        editor.setPlainText(QStringLiteral("new"));
        QString error;
        const bool saved = DocumentIO::save(editor, path, Formats::WriteFormat::RichText, false, &error);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!saved);
        QVERIFY2(error.startsWith(QStringLiteral("Cannot create file")), qPrintable(error));
        QCOMPARE(ShellFixture::readFile(path), QByteArray("old"));
    }
};

LUMARO_TEST_CLASS(tst_FileFormats)
#include "tst_fileformats.moc"
