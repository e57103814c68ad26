#include "app/DesktopSettings.h"
#include "tests/support/TestMain.h"

#include <QFile>

#include <functional>
#include <map>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every key of the file with a value other than its default, spelt as other programs and
// hand edits leave it.
const QByteArray everyKey = "; desktop settings\r\n"
                            "[Transparency]\r\n"
                            "Value=35\r\n"
                            "\r\n"
                            "[View Layout]\r\n"
                            "View=1\r\n"
                            "Screen=1\r\n"
                            "\r\n"
                            "[ThumbNails]\r\n"
                            "Print View=1\r\n"
                            "PDF View=1\r\n"
                            "Image View=1\r\n"
                            "Mouse Position=1\r\n"
                            "\r\n"
                            "[Interface]\r\n"
                            "Tabbed Document=1\r\n"
                            "View Rulers=0\r\n"
                            "\r\n"
                            "[Custom Cloud Storage]\r\n"
                            "Website=https://cloud.example.org/me\r\n"
                            "\r\n"
                            "[Internet Explorer Emulation]\r\n"
                            "NetSurferWord=IE9Word\r\n"
                            "\r\n"
                            "[Other Program]\r\n"
                            "View=7\r\n";

using Writer = std::function<bool(DesktopSettings &)>;

const std::map<QString, Writer> &writers()
{
    static const std::map<QString, Writer> table = {
        { QStringLiteral("full width"), [](DesktopSettings &s) { return s.setFullWidthLayout(false); } },
        { QStringLiteral("full height"), [](DesktopSettings &s) { return s.setFullHeightLayout(false); } },
        { QStringLiteral("print thumbnails"), [](DesktopSettings &s) { return s.setPrintThumbnails(false); } },
        { QStringLiteral("pdf thumbnails"), [](DesktopSettings &s) { return s.setPdfThumbnails(false); } },
        { QStringLiteral("image thumbnails"), [](DesktopSettings &s) { return s.setImageThumbnails(false); } },
        { QStringLiteral("mouse position"), [](DesktopSettings &s) { return s.setMouseRepositioningDisabled(false); } },
        { QStringLiteral("tabbed"), [](DesktopSettings &s) { return s.setTabbedDocument(false); } },
        { QStringLiteral("rulers"), [](DesktopSettings &s) { return s.setViewRulers(true); } },
        { QStringLiteral("website"),
            [](DesktopSettings &s) {
                return s.setCustomCloudWebsite(QStringLiteral("https://files.example.net/?u=1"));
            } },
        { QStringLiteral("marker"),
            [](DesktopSettings &s) { return s.setBrowserEmulationMarker(QStringLiteral("None")); } },
    };
    return table;
}

} // namespace

class tst_DesktopSettings : public QObject
{
    Q_OBJECT

private slots:
    void missingFileGivesTheDefaults()
    {
        TestSupport::FreshHome home;
        DesktopSettings settings;
        QCOMPARE(settings.path(), home.file(QStringLiteral("DeskTopDock.ini")));
        const DesktopSettings::Flags f = settings.read();
        QCOMPARE(f.transparency, 0);
        QVERIFY(!f.fullWidthLayout);
        QVERIFY(!f.fullHeightLayout);
        QVERIFY(!f.printThumbnails);
        QVERIFY(!f.pdfThumbnails);
        QVERIFY(!f.imageThumbnails);
        QVERIFY(!f.mouseRepositioningDisabled);
        QVERIFY(!f.tabbedDocument);
        QVERIFY(f.viewRulers);
        QCOMPARE(f.customCloudWebsite, QStringLiteral("https://"));
        QCOMPARE(f.browserEmulationMarker, QStringLiteral("None"));
        QVERIFY(!settings.isBrowserEmulationRegistered());
        QVERIFY(!QFile::exists(settings.path()));
    }

    void readsEveryKey()
    {
        TestSupport::FreshHome home;
        DesktopSettings settings;
        writeFile(settings.path(), everyKey);
        DesktopSettings::Flags expected;
        expected.transparency = 35;
        expected.fullWidthLayout = true;
        expected.fullHeightLayout = true;
        expected.printThumbnails = true;
        expected.pdfThumbnails = true;
        expected.imageThumbnails = true;
        expected.mouseRepositioningDisabled = true;
        expected.tabbedDocument = true;
        expected.viewRulers = false;
        expected.customCloudWebsite = QStringLiteral("https://cloud.example.org/me");
        expected.browserEmulationMarker = QStringLiteral("IE9Word");
        QVERIFY(settings.read() == expected);
        QVERIFY(settings.isBrowserEmulationRegistered());
    }

    void viewRulers_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("shown");
        QTest::newRow("key absent") << QByteArray("[InterFace]\r\nTabbed Document=1\r\n") << true;
        QTest::newRow("section absent") << QByteArray("[View Layout]\r\nView=1\r\n") << true;
        QTest::newRow("off under InterFace") << QByteArray("[InterFace]\r\nView Rulers=0\r\n") << false;
        QTest::newRow("off, other case") << QByteArray("[interface]\r\nview rulers=0\r\n") << false;
        QTest::newRow("any non-zero") << QByteArray("[Interface]\r\nView Rulers=2\r\n") << true;
        QTest::newRow("not a number") << QByteArray("[Interface]\r\nView Rulers=no\r\n") << true;
    }
    void viewRulers()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, shown);
        TestSupport::FreshHome home;
        DesktopSettings settings;
        writeFile(settings.path(), file);
        QCOMPARE(settings.viewRulers(), shown);
    }

    void sideButtonsSettingRoundTripsThroughOneSection()
    {
        TestSupport::FreshHome home;
        DesktopSettings settings;
        QVERIFY(settings.setViewRulers(false));
        QCOMPARE(readFile(settings.path()), QByteArray("[InterFace]\r\nView Rulers=0\r\n"));
        QVERIFY(!settings.viewRulers());
        QVERIFY(settings.setTabbedDocument(true));
        QVERIFY(settings.setViewRulers(true));
        QCOMPARE(readFile(settings.path()), QByteArray("[InterFace]\r\nView Rulers=1\r\nTabbed Document=1\r\n"));
        QVERIFY(settings.viewRulers());
        QVERIFY(settings.tabbedDocument());
    }

    void transparencyStaysAPercentage_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("percent");
        QTest::newRow("50") << QByteArray("50") << 50;
        QTest::newRow("above 100") << QByteArray("250") << 100;
        QTest::newRow("negative") << QByteArray("-5") << 0;
        QTest::newRow("not a number") << QByteArray("half") << 0;
    }
    void transparencyStaysAPercentage()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, percent);
        TestSupport::FreshHome home;
        DesktopSettings settings;
        writeFile(settings.path(), "[Transparency]\r\nValue=" + value + "\r\n");
        QCOMPARE(settings.transparency(), percent);
    }

    void writersWriteOnlyTheirKey_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("full width") << QStringLiteral("full width") << QByteArray("View=1\r\n")
                                    << QByteArray("View=0\r\n");
        QTest::newRow("full height") << QStringLiteral("full height") << QByteArray("Screen=1\r\n")
                                     << QByteArray("Screen=0\r\n");
        QTest::newRow("print thumbnails")
            << QStringLiteral("print thumbnails") << QByteArray("Print View=1\r\n") << QByteArray("Print View=0\r\n");
        QTest::newRow("pdf thumbnails") << QStringLiteral("pdf thumbnails") << QByteArray("PDF View=1\r\n")
                                        << QByteArray("PDF View=0\r\n");
        QTest::newRow("image thumbnails")
            << QStringLiteral("image thumbnails") << QByteArray("Image View=1\r\n") << QByteArray("Image View=0\r\n");
        QTest::newRow("mouse position") << QStringLiteral("mouse position") << QByteArray("Mouse Position=1\r\n")
                                        << QByteArray("Mouse Position=0\r\n");
        QTest::newRow("tabbed") << QStringLiteral("tabbed") << QByteArray("Tabbed Document=1\r\n")
                                << QByteArray("Tabbed Document=0\r\n");
        // Written to "InterFace", it lands in the file's "[Interface]" section, not a new one.
        QTest::newRow("rulers") << QStringLiteral("rulers") << QByteArray("View Rulers=0\r\n")
                                << QByteArray("View Rulers=1\r\n");
        QTest::newRow("website") << QStringLiteral("website") << QByteArray("Website=https://cloud.example.org/me\r\n")
                                 << QByteArray("Website=https://files.example.net/?u=1\r\n");
        QTest::newRow("marker") << QStringLiteral("marker") << QByteArray("NetSurferWord=IE9Word\r\n")
                                << QByteArray("NetSurferWord=None\r\n");
    }
    void writersWriteOnlyTheirKey()
    {
        QFETCH(QString, writer);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        // Whole lines only: "View=1" is also the tail of "Print View=1".
        before.prepend('\n');
        after.prepend('\n');
        QCOMPARE(everyKey.count(before), 1);

        TestSupport::FreshHome home;
        DesktopSettings settings;
        writeFile(settings.path(), everyKey);
        QVERIFY(writers().at(writer)(settings));
        QByteArray expected = everyKey;
        expected.replace(before, after);
        QCOMPARE(readFile(settings.path()), expected);
    }

    void writersAddTheirKeyToAFreshFile()
    {
        TestSupport::FreshHome home;
        DesktopSettings settings;
        for (const auto &[name, write] : writers())
            QVERIFY2(write(settings), qPrintable(name));
        DesktopSettings::Flags expected;
        expected.customCloudWebsite = QStringLiteral("https://files.example.net/?u=1");
        expected.browserEmulationMarker = QStringLiteral("None");
        QVERIFY(settings.read() == expected);
        const QByteArray text = readFile(settings.path());
        for (const char *section : { "[View Layout]", "[ThumbNails]", "[InterFace]", "[Custom Cloud Storage]",
                 "[Internet Explorer Emulation]" })
            QCOMPARE(text.count(section), 1);
        QVERIFY(!text.contains("[Transparency]"));
    }

    void websiteWithLineBreakIsRefused()
    {
        TestSupport::FreshHome home;
        DesktopSettings settings;
        writeFile(settings.path(), everyKey);
        QVERIFY(!settings.setCustomCloudWebsite(QStringLiteral("https://a.example\r\n[Transparency]\r\nValue=90")));
        QCOMPARE(readFile(settings.path()), everyKey);
    }
};

LUMARO_TEST_CLASS(tst_DesktopSettings)
#include "tst_desktopsettings.moc"
