#pragma once

#include "app/StartupOptions.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// The startup-options editor's window: one field per value of the options record. OK checks the
// fields and writes the record to `path`; on a problem the window stays open and names it, and
// the file is left as it was.
class OptionsForm : public QDialog
{
public:
    explicit OptionsForm(QString path, QWidget *parent = nullptr);

    const QString &path() const { return m_path; }

    void setOptions(const StartupOptions &options);
    // The fields as a record; the help language and the text direction become 0 or 1.
    StartupOptions options() const;
    // The problems shown after the last OK, one per line; empty when there were none.
    QString problemsText() const;

    void accept() override;

private:
    void browseFolder();

    QString m_path;
    QComboBox *m_fontName = nullptr;
    QSpinBox *m_fontSize = nullptr;
    QLineEdit *m_folder = nullptr;
    QComboBox *m_dictionary = nullptr;
    QSpinBox *m_zoomStep = nullptr;
    QSpinBox *m_textColumnWidth = nullptr;
    QComboBox *m_helpLanguage = nullptr;
    QCheckBox *m_rightToLeft = nullptr;
    QSpinBox *m_marginTop = nullptr;
    QSpinBox *m_marginRight = nullptr;
    QSpinBox *m_marginBottom = nullptr;
    QSpinBox *m_marginLeft = nullptr;
    QLabel *m_problems = nullptr;
};
