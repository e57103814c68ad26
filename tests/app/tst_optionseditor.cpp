#include "app/OptionsLibrary.h"
#include "app/StartupOptions.h"
#include "tests/support/TestMain.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the editor window once it is shown, from the event loop of its modal run. If
// the window never appears the timer gives up; if `act` leaves it open it is closed, so a
// failing test never hangs.
class EditorDriver
{
public:
    explicit EditorDriver(std::function<void(QDialog *)> act)
        : m_act(std::move(act))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }
    bool sawEditor() const { return m_saw; }
    QString title() const { return m_title; }

private:
    void poll()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QDialog *>(w);
            if (!dialog || !dialog->isVisible() || dialog->objectName() != QLatin1String("OptionsForm"))
                continue;
            m_timer.stop();
            m_saw = true;
            // A deep copy: the title's characters live in the library, which is gone when the
            // test reads them.
            const QString title = dialog->windowTitle();
            m_title = QString(title.constData(), title.size());
            m_act(dialog);
            if (dialog->isVisible())
                dialog->reject();
            return;
        }
        if (++m_polls > 1000)
            m_timer.stop();
    }

    std::function<void(QDialog *)> m_act;
    QTimer m_timer;
    int m_polls = 0;
    bool m_saw = false;
    QString m_title;
};

void clickOk(QDialog *dialog)
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttons"));
    if (buttons)
        buttons->button(QDialogButtonBox::Ok)->click();
}

// True while a library of that file is loaded into this process.
bool isMapped(const QString &file)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(QFile::encodeName(file));
}

const QString libraryFile = QStringLiteral(OPTIONS_LIBRARY_DIR "/libOptions.so");

StartupOptions sample()
{
    StartupOptions o;
    o.DefaultFontName = QStringLiteral("Arial");
    o.DefaultFontSize = 12;
    o.ZoomStep = 2;
    o.TextColumnWidth = 1000;
    o.MarginTop = 20;
    o.MarginRight = 25;
    o.MarginBottom = 20;
    o.MarginLeft = 15;
    return o;
}

} // namespace

class tst_OptionsEditor : public QObject
{
    Q_OBJECT

private slots:
    void init() { ScriptedDialogs::installed().reset(); }

    void editorEditsTheOptionsFile()
    {
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("WordOptions.bin"));
        QCOMPARE(sample().writeFile(path), QString());

        int shownMarginLeft = -1;
        bool mappedWhileShown = false;
        EditorDriver driver([&](QDialog *dialog) {
            mappedWhileShown = isMapped(libraryFile);
            auto *margin = dialog->findChild<QSpinBox *>(QStringLiteral("marginLeft"));
            if (!margin)
                return;
            shownMarginLeft = margin->value();
            margin->setValue(30);
            clickOk(dialog);
        });
        QCOMPARE(OptionsLibrary(QStringLiteral(OPTIONS_LIBRARY_DIR)).showForm(), OptionsLibrary::Result::Shown);
        QVERIFY(driver.sawEditor());
        QVERIFY(mappedWhileShown);
        QVERIFY(!isMapped(libraryFile));
        QCOMPARE(driver.title(), QStringLiteral("Velmora Lumaro Startup Options"));
        QCOMPARE(shownMarginLeft, 15);

        StartupOptions expected = sample();
        expected.MarginLeft = 30;
        const StartupOptions::ReadResult back = StartupOptions::readFile(path);
        QVERIFY(back.ok());
        QVERIFY(back.options == expected);
        QVERIFY(ScriptedDialogs::installed().shown().isEmpty());
    }

    void cancelLeavesNoFile()
    {
        // Shown a second time in the same run: the library was unloaded and loads afresh.
        TestSupport::FreshHome home;
        EditorDriver driver([](QDialog *dialog) { dialog->reject(); });
        QCOMPARE(OptionsLibrary(QStringLiteral(OPTIONS_LIBRARY_DIR)).showForm(), OptionsLibrary::Result::Shown);
        QVERIFY(driver.sawEditor());
        QVERIFY(!QFile::exists(home.file(QStringLiteral("WordOptions.bin"))));
        QVERIFY(ScriptedDialogs::installed().shown().isEmpty());
    }

    void editorStartsFromTheDefaultsWithoutAFile()
    {
        TestSupport::FreshHome home;
        EditorDriver driver([](QDialog *dialog) { clickOk(dialog); });
        QCOMPARE(OptionsLibrary(QStringLiteral(OPTIONS_LIBRARY_DIR)).showForm(), OptionsLibrary::Result::Shown);
        QVERIFY(driver.sawEditor());
        const StartupOptions::ReadResult back = StartupOptions::readFile(home.file(QStringLiteral("WordOptions.bin")));
        QVERIFY(back.ok());
        QVERIFY(back.options == StartupOptions());
    }
};

LUMARO_TEST_CLASS(tst_OptionsEditor)
#include "tst_optionseditor.moc"
