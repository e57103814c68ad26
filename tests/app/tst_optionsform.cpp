#include "app/StartupOptions.h"
#include "tests/support/TestMain.h"
#include "tools/options/OptionsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

StartupOptions sample()
{
    StartupOptions o;
    o.DefaultFontName = QStringLiteral("Courier New");
    o.DefaultFolder = QDir::tempPath();
    o.SpellDictionary = QStringLiteral("American");
    o.DefaultFontSize = 14;
    o.ZoomStep = 4;
    o.TextColumnWidth = 1000;
    o.HelpLanguage = 1;
    o.RightToLeft = 1;
    o.MarginTop = 20;
    o.MarginRight = 25;
    o.MarginBottom = 20;
    o.MarginLeft = 15;
    return o;
}

template <typename W> W *field(OptionsForm &form, const char *name)
{
    W *w = form.findChild<W *>(QLatin1String(name));
    if (!w)
        qFatal("no field %s", name);
    return w;
}

} // namespace

Q_DECLARE_METATYPE(StartupOptions)

class tst_OptionsForm : public QObject
{
    Q_OBJECT

private slots:
    void fieldsHoldTheRecord_data()
    {
        QTest::addColumn<StartupOptions>("options");
        QTest::newRow("defaults") << StartupOptions();
        QTest::newRow("every field set") << sample();
        StartupOptions odd = sample();
        odd.DefaultFontName = QStringLiteral("Font Nobody Has");
        odd.DefaultFolder.clear();
        odd.ZoomStep = 0; // out of range values are shown as they are, not clamped
        odd.MarginLeft = -7;
        odd.TextColumnWidth = 50000;
        QTest::newRow("values the checks reject") << odd;
    }
    void fieldsHoldTheRecord()
    {
        QFETCH(StartupOptions, options);
        OptionsForm form(QStringLiteral("/nonexistent/WordOptions.bin"));
        form.setOptions(options);
        QVERIFY(form.options() == options);
    }

    void fieldsShowTheirValues()
    {
        OptionsForm form(QStringLiteral("/nonexistent/WordOptions.bin"));
        form.setOptions(sample());
        QCOMPARE(field<QComboBox>(form, "fontName")->currentText(), QStringLiteral("Courier New"));
        QCOMPARE(field<QSpinBox>(form, "fontSize")->value(), 14);
        QCOMPARE(field<QLineEdit>(form, "defaultFolder")->text(), QDir::tempPath());
        QCOMPARE(field<QComboBox>(form, "spellDictionary")->currentText(), QStringLiteral("American"));
        QCOMPARE(field<QSpinBox>(form, "zoomStep")->value(), 4);
        QCOMPARE(field<QSpinBox>(form, "textColumnWidth")->value(), 1000);
        QCOMPARE(field<QComboBox>(form, "helpLanguage")->currentText(), QStringLiteral("Afrikaans"));
        QVERIFY(field<QCheckBox>(form, "rightToLeft")->isChecked());
        QCOMPARE(field<QSpinBox>(form, "marginTop")->value(), 20);
        QCOMPARE(field<QSpinBox>(form, "marginRight")->value(), 25);
        QCOMPARE(field<QSpinBox>(form, "marginBottom")->value(), 20);
        QCOMPARE(field<QSpinBox>(form, "marginLeft")->value(), 15);
    }

    void anyNonZeroLanguageOrDirectionIsShownAsSet()
    {
        StartupOptions o = sample();
        o.HelpLanguage = 9;
        o.RightToLeft = 200;
        OptionsForm form(QStringLiteral("/nonexistent/WordOptions.bin"));
        form.setOptions(o);
        QCOMPARE(form.options().HelpLanguage, quint8(1));
        QCOMPARE(form.options().RightToLeft, quint8(1));
    }

    void okWritesTheEditedRecord()
    {
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("WordOptions.bin"));
        OptionsForm form(path);
        form.setOptions(sample());
        field<QComboBox>(form, "fontName")->setCurrentText(QStringLiteral("  Arial "));
        field<QSpinBox>(form, "marginLeft")->setValue(30);
        field<QComboBox>(form, "helpLanguage")->setCurrentIndex(0);
        field<QCheckBox>(form, "rightToLeft")->setChecked(false);

        form.accept();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.problemsText(), QString());
        StartupOptions expected = sample();
        expected.DefaultFontName = QStringLiteral("Arial");
        expected.MarginLeft = 30;
        expected.HelpLanguage = 0;
        expected.RightToLeft = 0;
        QCOMPARE(readFile(path), expected.toRecord());
    }

    void problemsKeepTheWindowOpenAndTheFile()
    {
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("WordOptions.bin"));
        const QByteArray before = sample().toRecord();
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(before);
        f.close();

        OptionsForm form(path);
        form.setOptions(sample());
        field<QSpinBox>(form, "fontSize")->setValue(0);
        field<QSpinBox>(form, "marginTop")->setValue(150);
        form.accept();
        QVERIFY(form.result() != QDialog::Accepted);
        QCOMPARE(form.problemsText(),
            QStringLiteral("The font size must lie between 1 and 1638.\n"
                           "The top margin must lie between 0 and 100."));
        QCOMPARE(readFile(path), before);

        // Mended, OK goes through and the message goes away.
        field<QSpinBox>(form, "fontSize")->setValue(9);
        field<QSpinBox>(form, "marginTop")->setValue(10);
        form.accept();
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.problemsText(), QString());
        QCOMPARE(StartupOptions::readFile(path).options.MarginTop, 10);
    }

    void failedWriteIsShownInTheWindow()
    {
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("WordOptions.bin"));
        QVERIFY(QDir().mkpath(path));
        OptionsForm form(path);
        form.setOptions(sample());
        form.accept();
        QVERIFY(form.result() != QDialog::Accepted);
        QVERIFY2(form.problemsText().contains(path), qPrintable(form.problemsText()));
        QVERIFY(QFileInfo(path).isDir());
    }
};

LUMARO_TEST_CLASS(tst_OptionsForm)
#include "tst_optionsform.moc"
