#pragma once

#include "platform/Dialogs.h"

#include <QPointer>
#include <QWidget>

// The Dialogs service of the running program: Qt's message boxes and common dialogs, parented to
// the main window.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);

    // The file dialog's name filters: each description with its patterns once.
    static QString filterString(const QList<QPair<QString, QString>> &filters);
    // The extension a bare name takes under the filter at index (from 1); empty for "*.*".
    static QString suffixOf(const QList<QPair<QString, QString>> &filters, int index);
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    Button message(Icon icon, const QString &title, const QString &text, Buttons buttons) override;
    std::optional<QString> inputText(const QString &title, const QString &prompt, const QString &initial) override;
    std::optional<QString> inputPassword(const QString &title, const QString &prompt) override;
    FileResult openFile(const FileRequest &request) override;
    FileResult saveFile(const FileRequest &request) override;
    std::optional<QColor> color(const QColor &initial, const QString &title) override;
    std::optional<FontResult> font(const FontRequest &request) override;
    bool print(PrintRequest &request) override;

private:
    FileResult runFileDialog(const FileRequest &request, bool save);

    QPointer<QWidget> m_parent;
};
