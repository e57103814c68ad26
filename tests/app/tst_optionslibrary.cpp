#include "app/OptionsLibrary.h"
#include "tests/support/TestMain.h"

#include <QFile>

class tst_OptionsLibrary : public QObject
{
    Q_OBJECT

private slots:
    void init() { ScriptedDialogs::installed().reset(); }

    void libraryIsLookedForBesideTheProgram()
    {
        QCOMPARE(OptionsLibrary().libraryPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Options"));
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::newRow("no library") << QStringLiteral("empty") << int(OptionsLibrary::Result::NotLoaded)
                                    << QStringLiteral("Unable to load Options.DLL.");
        QTest::newRow("not a library") << QStringLiteral("garbage") << int(OptionsLibrary::Result::NotLoaded)
                                       << QStringLiteral("Unable to load Options.DLL.");
        QTest::newRow("no ShowForm") << QStringLiteral("without") << int(OptionsLibrary::Result::NoShowForm)
                                     << QStringLiteral("Unable to locate Options.DLL.");
    }
    void failuresAreReported()
    {
        QFETCH(QString, setup);
        QFETCH(int, result);
        QFETCH(QString, message);

        QTemporaryDir dir;
        QString folder = dir.path();
        if (setup == QLatin1String("garbage")) {
            QFile f(dir.filePath(QStringLiteral("libOptions.so")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\x7F"
                    "ELF but not really a library");
        } else if (setup == QLatin1String("without")) {
            folder = QStringLiteral(OPTIONS_WITHOUT_SHOWFORM_DIR);
            QVERIFY(QFile::exists(folder + QStringLiteral("/libOptions.so")));
        }

        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerMessage(Dialogs::Ok);
        QCOMPARE(int(OptionsLibrary(folder).showForm()), result);
        QCOMPARE(dialogs.messageTexts(), QStringList { message });
        QCOMPARE(dialogs.shown().first().icon, Dialogs::Icon::Error);
        QCOMPARE(dialogs.shown().first().buttons, Dialogs::Buttons::Ok);
        QCOMPARE(dialogs.pendingAnswers(), 0);
    }
};

LUMARO_TEST_CLASS(tst_OptionsLibrary)
#include "tst_optionslibrary.moc"
