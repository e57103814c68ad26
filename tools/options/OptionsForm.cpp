#include "tools/options/OptionsForm.h"

#include "tools/options/OptionsValidation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <climits>

namespace {

// Spin boxes take every value the record can hold, so that loading a record never changes it
// silently; the checks on OK hold the sensible limits.
QSpinBox *spinBox(const QString &name, int low, int high, const QString &suffix = {})
{
    auto *box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(low, high);
    box->setSuffix(suffix);
    return box;
}

} // namespace

OptionsForm::OptionsForm(QString path, QWidget *parent)
    : QDialog(parent)
    , m_path(std::move(path))
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Velmora Lumaro Startup Options"));

    m_fontName = new QComboBox;
    m_fontName->setObjectName(QStringLiteral("fontName"));
    m_fontName->setEditable(true);
    m_fontName->setInsertPolicy(QComboBox::NoInsert);
    m_fontName->addItems(QFontDatabase::families());
    m_fontSize = spinBox(QStringLiteral("fontSize"), INT_MIN, INT_MAX, QStringLiteral(" pt"));

    m_folder = new QLineEdit;
    m_folder->setObjectName(QStringLiteral("defaultFolder"));
    auto *browse = new QPushButton(QStringLiteral("Browse..."));
    browse->setObjectName(QStringLiteral("browseFolder"));
    connect(browse, &QPushButton::clicked, this, &OptionsForm::browseFolder);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(browse);

    m_dictionary = new QComboBox;
    m_dictionary->setObjectName(QStringLiteral("spellDictionary"));
    m_dictionary->setEditable(true);
    m_dictionary->setInsertPolicy(QComboBox::NoInsert);
    m_dictionary->addItems({ QStringLiteral("British"), QStringLiteral("American") });

    m_zoomStep = spinBox(QStringLiteral("zoomStep"), 0, 255);
    m_textColumnWidth = spinBox(QStringLiteral("textColumnWidth"), INT_MIN, INT_MAX, QStringLiteral(" px"));

    m_helpLanguage = new QComboBox;
    m_helpLanguage->setObjectName(QStringLiteral("helpLanguage"));
    m_helpLanguage->addItems({ QStringLiteral("English"), QStringLiteral("Afrikaans") });

    m_rightToLeft = new QCheckBox(QStringLiteral("Right-to-left text"));
    m_rightToLeft->setObjectName(QStringLiteral("rightToLeft"));

    const QString mm = QStringLiteral(" mm");
    m_marginTop = spinBox(QStringLiteral("marginTop"), INT_MIN, INT_MAX, mm);
    m_marginRight = spinBox(QStringLiteral("marginRight"), INT_MIN, INT_MAX, mm);
    m_marginBottom = spinBox(QStringLiteral("marginBottom"), INT_MIN, INT_MAX, mm);
    m_marginLeft = spinBox(QStringLiteral("marginLeft"), INT_MIN, INT_MAX, mm);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Default font:"), m_fontName);
    form->addRow(QStringLiteral("Default font size:"), m_fontSize);
    form->addRow(QStringLiteral("Default folder:"), folderRow);
    form->addRow(QStringLiteral("Spelling dictionary:"), m_dictionary);
    form->addRow(QStringLiteral("Zoom step:"), m_zoomStep);
    form->addRow(QStringLiteral("Text column width:"), m_textColumnWidth);
    form->addRow(QStringLiteral("Help language:"), m_helpLanguage);
    form->addRow(QString(), m_rightToLeft);
    form->addRow(QStringLiteral("Top margin:"), m_marginTop);
    form->addRow(QStringLiteral("Right margin:"), m_marginRight);
    form->addRow(QStringLiteral("Bottom margin:"), m_marginBottom);
    form->addRow(QStringLiteral("Left margin:"), m_marginLeft);

    m_problems = new QLabel;
    m_problems->setObjectName(QStringLiteral("problems"));
    m_problems->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problems->setWordWrap(true);
    m_problems->hide();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName(QStringLiteral("buttons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsForm::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problems);
    layout->addWidget(buttons);

    setOptions(StartupOptions());
}

void OptionsForm::setOptions(const StartupOptions &o)
{
    m_fontName->setCurrentText(o.DefaultFontName);
    m_fontSize->setValue(o.DefaultFontSize);
    m_folder->setText(o.DefaultFolder);
    m_dictionary->setCurrentText(o.SpellDictionary);
    m_zoomStep->setValue(o.ZoomStep);
    m_textColumnWidth->setValue(o.TextColumnWidth);
    m_helpLanguage->setCurrentIndex(o.helpInAfrikaans() ? 1 : 0);
    m_rightToLeft->setChecked(o.isRightToLeft());
    m_marginTop->setValue(o.MarginTop);
    m_marginRight->setValue(o.MarginRight);
    m_marginBottom->setValue(o.MarginBottom);
    m_marginLeft->setValue(o.MarginLeft);
}

StartupOptions OptionsForm::options() const
{
    StartupOptions o;
    o.DefaultFontName = m_fontName->currentText().trimmed();
    o.DefaultFontSize = m_fontSize->value();
    o.DefaultFolder = m_folder->text().trimmed();
    o.SpellDictionary = m_dictionary->currentText().trimmed();
    o.ZoomStep = quint8(m_zoomStep->value());
    o.TextColumnWidth = m_textColumnWidth->value();
    o.HelpLanguage = m_helpLanguage->currentIndex() == 1 ? 1 : 0;
    o.RightToLeft = m_rightToLeft->isChecked() ? 1 : 0;
    o.MarginTop = m_marginTop->value();
    o.MarginRight = m_marginRight->value();
    o.MarginBottom = m_marginBottom->value();
    o.MarginLeft = m_marginLeft->value();
    return o;
}

QString OptionsForm::problemsText() const
{
    return m_problems->isHidden() ? QString() : m_problems->text();
}

void OptionsForm::accept()
{
    const StartupOptions o = options();
    QStringList problems = OptionsValidation::problems(o);
    if (problems.isEmpty()) {
        const QString error = o.writeFile(m_path);
        if (!error.isEmpty())
            problems << error;
    }
    if (!problems.isEmpty()) {
        m_problems->setText(problems.join(u'\n'));
        m_problems->show();
        return;
    }
    m_problems->clear();
    m_problems->hide();
    QDialog::accept();
}

void OptionsForm::browseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Default Folder"), m_folder->text());
    if (!folder.isEmpty())
        m_folder->setText(folder);
}
