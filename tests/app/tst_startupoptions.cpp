#include "app/StartupOptions.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

namespace {

// A record put together byte by byte, independent of the writer under test. Unused bytes and
// the tails of the strings start as 0xEE so that reading them by mistake shows.
class RecordBytes
{
public:
    RecordBytes()
        : m_bytes(148, char(0xEE))
    { }
    RecordBytes &shortString(int offset, quint8 length, const QByteArray &chars)
    {
        m_bytes[offset] = char(length);
        m_bytes.replace(offset + 1, chars.size(), chars);
        return *this;
    }
    RecordBytes &int32(int offset, quint32 value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
        return *this;
    }
    RecordBytes &byte(int offset, quint8 value)
    {
        m_bytes[offset] = char(value);
        return *this;
    }
    RecordBytes &margins(qint32 top, qint32 right, qint32 bottom, qint32 left)
    {
        return int32(132, quint32(top))
            .int32(136, quint32(right))
            .int32(140, quint32(bottom))
            .int32(144, quint32(left));
    }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

RecordBytes typicalRecord()
{
    RecordBytes r;
    r.shortString(0, 5, "Arial")
        .shortString(51, 10, "/home/docs")
        .shortString(102, 7, "British")
        .int32(116, 12)
        .byte(120, 3)
        .int32(124, 1000)
        .byte(128, 0)
        .byte(130, 0)
        .margins(20, 25, 20, 15);
    return r;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_StartupOptions : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryFieldAtItsOffset()
    {
        RecordBytes r;
        r.shortString(0, 15, "Times New Roman")
            .shortString(51, 9, "/srv/text")
            .shortString(102, 8, "American")
            .int32(116, 0x00010012) // the frame keeps only the low 16 bits; the record holds all
            .byte(120, 200) // unsigned
            .int32(124, quint32(-40))
            .byte(128, 7)
            .byte(130, 1)
            .margins(1, 2, 3, 0x7FFFFFFF);
        QBuffer buffer;
        buffer.setData(r.bytes());
        QVERIFY(buffer.open(QIODevice::ReadOnly));

        const StartupOptions::ReadResult result = StartupOptions::read(buffer);
        QVERIFY(result.ok());
        QVERIFY(result.errorMessage.isEmpty());
        QVERIFY(result.frameMessage().isEmpty());
        const StartupOptions &o = result.options;
        QCOMPARE(o.DefaultFontName, QStringLiteral("Times New Roman"));
        QCOMPARE(o.DefaultFolder, QStringLiteral("/srv/text"));
        QCOMPARE(o.SpellDictionary, QStringLiteral("American"));
        QCOMPARE(o.DefaultFontSize, 0x00010012);
        QCOMPARE(o.ZoomStep, quint8(200));
        QCOMPARE(o.TextColumnWidth, -40);
        QCOMPARE(o.HelpLanguage, quint8(7));
        QVERIFY(o.helpInAfrikaans());
        QVERIFY(o.isRightToLeft());
        QVERIFY(!o.hasStandardDictionary());
        QCOMPARE(o.MarginTop, 1);
        QCOMPARE(o.MarginRight, 2);
        QCOMPARE(o.MarginBottom, 3);
        QCOMPARE(o.MarginLeft, 0x7FFFFFFF);
    }

    void marginsKeepTheirSides()
    {
        const StartupOptions::ReadResult result = StartupOptions::fromRecord(typicalRecord().bytes());
        QVERIFY(result.ok());
        QCOMPARE(result.options.MarginTop, 20);
        QCOMPARE(result.options.MarginRight, 25);
        QCOMPARE(result.options.MarginBottom, 20);
        QCOMPARE(result.options.MarginLeft, 15);
        QVERIFY(!result.options.helpInAfrikaans());
        QVERIFY(!result.options.isRightToLeft());
        QVERIFY(result.options.hasStandardDictionary());
    }

    void shortStringsFollowTheirLengthByte_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("lengthByte");
        QTest::addColumn<QByteArray>("chars");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("field"); // 0 font, 1 folder, 2 dictionary

        QTest::newRow("font with leftovers")
            << 0 << 5 << QByteArray("Arial Black Narrow") << QStringLiteral("Arial") << 0;
        QTest::newRow("empty font") << 0 << 0 << QByteArray("Arial") << QString() << 0;
        QTest::newRow("ANSI characters") << 51 << 6 << QByteArray("/caf\xE9\x80") << QStringLiteral("/caf\u00E9\u20AC")
                                         << 1;
        // A length beyond the capacity stops at the capacity instead of running into the next field.
        QTest::newRow("font length 255") << 0 << 255 << QByteArray(50, 'x') << QString(50, u'x') << 0;
        QTest::newRow("folder length 51") << 51 << 51 << QByteArray(50, 'f') << QString(50, u'f') << 1;
        QTest::newRow("dictionary length 14")
            << 102 << 14 << QByteArray("Afrikaans-lon") << QStringLiteral("Afrikaans-lon") << 2;
        QTest::newRow("dictionary full") << 102 << 13 << QByteArray("ABCDEFGHIJKLM") << QStringLiteral("ABCDEFGHIJKLM")
                                         << 2;
    }
    void shortStringsFollowTheirLengthByte()
    {
        QFETCH(int, offset);
        QFETCH(int, lengthByte);
        QFETCH(QByteArray, chars);
        QFETCH(QString, expected);
        QFETCH(int, field);

        RecordBytes r = typicalRecord();
        r.shortString(offset, quint8(lengthByte), chars);
        const StartupOptions::ReadResult result = StartupOptions::fromRecord(r.bytes());
        QVERIFY(result.ok());
        const QString got = field == 0 ? result.options.DefaultFontName
            : field == 1               ? result.options.DefaultFolder
                                       : result.options.SpellDictionary;
        QCOMPARE(got, expected);
        // The neighbouring fields are untouched by an overlong length byte.
        QCOMPARE(result.options.DefaultFontSize, 12);
        if (field != 1)
            QCOMPARE(result.options.DefaultFolder, QStringLiteral("/home/docs"));
    }

    void failedReadsAreReported_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");
        QTest::newRow("missing") << QStringLiteral("missing") << int(StartupOptions::ReadResult::Status::CannotOpen);
        QTest::newRow("folder of that name")
            << QStringLiteral("folder") << int(StartupOptions::ReadResult::Status::CannotOpen);
        QTest::newRow("empty") << QStringLiteral("0") << int(StartupOptions::ReadResult::Status::TooShort);
        QTest::newRow("one byte short") << QStringLiteral("147") << int(StartupOptions::ReadResult::Status::TooShort);
    }
    void failedReadsAreReported()
    {
        QFETCH(QString, kind);
        QFETCH(int, status);

        TestSupport::FreshHome home;
        const QString path = StartupOptions::defaultPath();
        QCOMPARE(path, home.file(QStringLiteral("WordOptions.bin")));
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else if (kind != QLatin1String("missing"))
            writeFile(path, typicalRecord().bytes().left(kind.toInt()));

        const StartupOptions::ReadResult result = StartupOptions::readFile(path);
        QVERIFY(!result.ok());
        QCOMPARE(int(result.status), status);
        QCOMPARE(result.frameMessage(), QStringLiteral("File [WordOptions.bin] Not Found"));
        // The document window's message names the file and the cause.
        QVERIFY2(result.errorMessage.contains(path), qPrintable(result.errorMessage));
        QVERIFY(result.errorMessage.size() > path.size() + 20);
        // Nothing of a short record is taken over.
        QCOMPARE(result.options, StartupOptions());
    }

    void bytesAfterTheRecordAreIgnored()
    {
        TestSupport::FreshHome home;
        writeFile(StartupOptions::defaultPath(), typicalRecord().bytes() + QByteArray(52, 'z'));
        const StartupOptions::ReadResult result = StartupOptions::readFile();
        QVERIFY(result.ok());
        QCOMPARE(result.options.DefaultFontName, QStringLiteral("Arial"));
        QCOMPARE(result.options.MarginLeft, 15);
    }

    void writerLaysOutTheRecord()
    {
        StartupOptions o;
        o.DefaultFontName = QStringLiteral("Arial");
        o.DefaultFolder = QStringLiteral("/home/docs");
        o.SpellDictionary = QStringLiteral("British");
        o.DefaultFontSize = 12;
        o.ZoomStep = 3;
        o.TextColumnWidth = 1000;
        o.HelpLanguage = 0;
        o.RightToLeft = 0;
        o.MarginTop = 20;
        o.MarginRight = 25;
        o.MarginBottom = 20;
        o.MarginLeft = 15;

        // The unused bytes and string tails are zero where the hand-made record has 0xEE.
        QByteArray expected = typicalRecord().bytes();
        for (int i = 0; i < expected.size(); ++i) {
            if (quint8(expected[i]) == 0xEE)
                expected[i] = '\0';
        }
        QCOMPARE(o.toRecord(), expected);
        QCOMPARE(StartupOptions::fromRecord(o.toRecord()).options, o);
    }

    void writerFitsStringsIntoTheirFields_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QString>("dictionary");
        QTest::addColumn<QString>("fontBack");
        QTest::addColumn<QString>("dictionaryBack");
        QTest::newRow("too long") << QString(60, u'a') << QStringLiteral("Nederlands-Belgie") << QString(50, u'a')
                                  << QStringLiteral("Nederlands-Be");
        QTest::newRow("not in the code page")
            << QStringLiteral("Mi\u0107rosoft") << QStringLiteral("\u0420\u0443\u0441") << QStringLiteral("Mi?rosoft")
            << QStringLiteral("???");
        QTest::newRow("Western characters")
            << QStringLiteral("Caf\u00E9 \u2013 Sans") << QStringLiteral("Fran\u00E7ais")
            << QStringLiteral("Caf\u00E9 \u2013 Sans") << QStringLiteral("Fran\u00E7ais");
    }
    void writerFitsStringsIntoTheirFields()
    {
        QFETCH(QString, font);
        QFETCH(QString, dictionary);
        QFETCH(QString, fontBack);
        QFETCH(QString, dictionaryBack);
        StartupOptions o;
        o.DefaultFontName = font;
        o.SpellDictionary = dictionary;
        o.DefaultFontSize = 11;
        const QByteArray record = o.toRecord();
        QCOMPARE(record.size(), StartupOptions::RecordSize);
        const StartupOptions back = StartupOptions::fromRecord(record).options;
        QCOMPARE(back.DefaultFontName, fontBack);
        QCOMPARE(back.SpellDictionary, dictionaryBack);
        QCOMPARE(back.DefaultFontSize, 11);
    }

    void writeFileReplacesTheRecord()
    {
        TestSupport::FreshHome home;
        const QString path = StartupOptions::defaultPath();
        writeFile(path, QByteArray(300, 'q'));
        StartupOptions o;
        o.DefaultFontName = QStringLiteral("Liberation Serif");
        o.MarginLeft = 33;
        QCOMPARE(o.writeFile(), QString());
        QCOMPARE(readFile(path), o.toRecord());
        QCOMPARE(StartupOptions::readFile().options, o);
    }

    void failedWriteChangesNothing()
    {
        TestSupport::FreshHome home;
        // A folder where the file should be: it can be neither replaced nor removed.
        const QString path = StartupOptions::defaultPath();
        QVERIFY(QDir().mkpath(path));
        QFile marker(path + QStringLiteral("/keep"));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();

        const QString error = StartupOptions().writeFile(path);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY(QFileInfo(path).isDir());
        QVERIFY(QFile::exists(marker.fileName()));
        QCOMPARE(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList { QStringLiteral("WordOptions.bin") });
    }

    void sidePanelsTakeWhatTheColumnLeaves_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("panels");
        QTest::newRow("1000 on 1600") << 1000 << 1600 << 600;
        QTest::newRow("column fills the screen") << 1280 << 1280 << 0;
        QTest::newRow("column wider than the screen") << 2000 << 1600 << 0;
    }
    void sidePanelsTakeWhatTheColumnLeaves()
    {
        QFETCH(int, column);
        QFETCH(int, screen);
        QFETCH(int, panels);
        StartupOptions o;
        o.TextColumnWidth = column;
        QCOMPARE(o.sidePanelWidth(screen), panels);
    }
};

LUMARO_TEST_CLASS(tst_StartupOptions)
#include "tst_startupoptions.moc"
