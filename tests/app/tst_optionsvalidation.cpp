#include "app/StartupOptions.h"
#include "tests/support/TestMain.h"
#include "tools/options/OptionsValidation.h"

#include <functional>

Q_DECLARE_METATYPE(std::function<void(StartupOptions &)>)

class tst_OptionsValidation : public QObject
{
    Q_OBJECT

    using Change = std::function<void(StartupOptions &)>;

private slots:
    void problems_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("problem"); // empty: no problem

        const QString tmp = QDir::tempPath();
        QTest::newRow("defaults") << Change([](StartupOptions &) {}) << QString();
        QTest::newRow("existing folder") << Change([tmp](StartupOptions &o) { o.DefaultFolder = tmp; }) << QString();
        QTest::newRow("edges") << Change([](StartupOptions &o) {
            o.DefaultFontSize = 1638;
            o.ZoomStep = 11;
            o.TextColumnWidth = 100;
            o.MarginTop = 0;
            o.MarginLeft = 100;
            o.DefaultFontName = QString(50, u'F');
            o.SpellDictionary = QString(13, u'D');
        }) << QString();

        QTest::newRow("empty font") << Change([](StartupOptions &o) { o.DefaultFontName = QStringLiteral("  "); })
                                    << QStringLiteral("The font name must not be empty.");
        QTest::newRow("long font") << Change([](StartupOptions &o) { o.DefaultFontName = QString(51, u'F'); })
                                   << QStringLiteral("The font name may hold at most 50 characters.");
        QTest::newRow("font outside the code page")
            << Change([](StartupOptions &o) { o.DefaultFontName = QStringLiteral("\u5B8B\u4F53"); })
            << QStringLiteral("The font name contains characters that cannot be stored.");
        QTest::newRow("font size 0") << Change([](StartupOptions &o) { o.DefaultFontSize = 0; })
                                     << QStringLiteral("The font size must lie between 1 and 1638.");
        QTest::newRow("font size 1639") << Change([](StartupOptions &o) { o.DefaultFontSize = 1639; })
                                        << QStringLiteral("The font size must lie between 1 and 1638.");
        QTest::newRow("missing folder") << Change([tmp](StartupOptions &o) {
            o.DefaultFolder = tmp + QStringLiteral("/no-such-folder-here");
        }) << QStringLiteral("The default folder does not exist.");
        QTest::newRow("long folder") << Change([](StartupOptions &o) { o.DefaultFolder = u'/' + QString(50, u'd'); })
                                     << QStringLiteral("The default folder may hold at most 50 characters.");
        QTest::newRow("empty dictionary") << Change([](StartupOptions &o) { o.SpellDictionary.clear(); })
                                          << QStringLiteral("The spelling dictionary must not be empty.");
        QTest::newRow("long dictionary") << Change([](StartupOptions &o) { o.SpellDictionary = QString(14, u'D'); })
                                         << QStringLiteral("The spelling dictionary may hold at most 13 characters.");
        QTest::newRow("zoom 0") << Change([](StartupOptions &o) { o.ZoomStep = 0; })
                                << QStringLiteral("The zoom step must lie between 1 and 11.");
        QTest::newRow("narrow column") << Change([](StartupOptions &o) { o.TextColumnWidth = 99; })
                                       << QStringLiteral("The text column width must lie between 100 and 20000.");
        QTest::newRow("negative margin") << Change([](StartupOptions &o) { o.MarginBottom = -1; })
                                         << QStringLiteral("The bottom margin must lie between 0 and 100.");
        QTest::newRow("wide margin") << Change([](StartupOptions &o) { o.MarginRight = 101; })
                                     << QStringLiteral("The right margin must lie between 0 and 100.");
    }
    void problems()
    {
        QFETCH(Change, change);
        QFETCH(QString, problem);
        StartupOptions o;
        change(o);
        const QStringList found = OptionsValidation::problems(o);
        QCOMPARE(found, problem.isEmpty() ? QStringList() : QStringList { problem });
    }

    void everyProblemIsNamed()
    {
        StartupOptions o;
        o.DefaultFontName.clear();
        o.DefaultFontSize = -3;
        o.MarginTop = 500;
        o.MarginLeft = -500;
        const QStringList found = OptionsValidation::problems(o);
        QCOMPARE(found.size(), 4);
        QVERIFY(found.first().contains(QLatin1String("font name")));
        QVERIFY(found.last().contains(QLatin1String("left margin")));
    }
};

LUMARO_TEST_CLASS(tst_OptionsValidation)
#include "tst_optionsvalidation.moc"
