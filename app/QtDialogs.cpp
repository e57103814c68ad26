#include "app/QtDialogs.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace {

QMessageBox::StandardButtons standardButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok: return QMessageBox::Ok;
    case Dialogs::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Dialogs::Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

QString QtDialogs::filterString(const QList<QPair<QString, QString>> &filters)
{
    QStringList parts;
    for (const auto &[description, patterns] : filters) {
        // A description that shows its patterns already ("Rich Text Format (*.rtf)") is the
        // filter as it stands; Qt reads the patterns from its brackets, separated by spaces.
        const qsizetype open = description.lastIndexOf(u'(');
        if (description.endsWith(u')') && open >= 0 && description.indexOf(QLatin1Char('*'), open) > open) {
            QString shown = description;
            shown.replace(u';', u' ');
            parts.append(shown);
            continue;
        }
        QString spaced = patterns;
        spaced.replace(u';', u' ');
        parts.append(description + QStringLiteral(" (") + spaced + u')');
    }
    return parts.join(QStringLiteral(";;"));
}

// The extension a bare file name takes under a filter: its first pattern's, none for "*.*".
QString QtDialogs::suffixOf(const QList<QPair<QString, QString>> &filters, int index)
{
    if (index < 1 || index > filters.size())
        return {};
    const QString first = filters[index - 1].second.section(u';', 0, 0);
    if (!first.startsWith(QStringLiteral("*.")) || first.indexOf(u'*', 2) >= 0 || first.contains(u'?'))
        return {};
    return first.mid(2);
}



QtDialogs::QtDialogs(QWidget *parent)
    : m_parent(parent)
{
}

Dialogs::Button QtDialogs::message(Icon icon, const QString &title, const QString &text, Buttons buttons)
{
    QMessageBox::Icon qIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None: break;
    case Icon::Information: qIcon = QMessageBox::Information; break;
    case Icon::Warning: qIcon = QMessageBox::Warning; break;
    case Icon::Error: qIcon = QMessageBox::Critical; break;
    case Icon::Question: qIcon = QMessageBox::Question; break;
    }
    QMessageBox box(qIcon, title, text, standardButtons(buttons), m_parent);
    switch (box.exec()) {
    case QMessageBox::Ok: return Ok;
    case QMessageBox::Yes: return Yes;
    case QMessageBox::No: return No;
    case QMessageBox::Retry: return Retry;
    default: break;
    }
    return buttons == Buttons::YesNo ? No : Cancel;
}

std::optional<QString> QtDialogs::inputText(const QString &title, const QString &prompt, const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::inputPassword(const QString &title, const QString &prompt)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

Dialogs::FileResult QtDialogs::runFileDialog(const FileRequest &request, bool save)
{
    QFileDialog dialog(m_parent, request.title, request.initialDir, filterString(request.filters));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : (request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (save && !request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList names = filterString(request.filters).split(QStringLiteral(";;"));
    if (request.filterIndex >= 1 && request.filterIndex <= names.size())
        dialog.selectNameFilter(names[request.filterIndex - 1]);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    // A bare name typed under a filter takes that filter's extension, so the format written (which
    // follows the name) is the one the user chose.
    if (save && !request.defaultSuffix.isEmpty()) {
        const QString initial = suffixOf(request.filters, request.filterIndex);
        dialog.setDefaultSuffix(initial.isEmpty() ? request.defaultSuffix : initial);
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        const int index = int(names.indexOf(filter)) + 1;
        if (save && !request.defaultSuffix.isEmpty()) {
            const QString suffix = suffixOf(request.filters, index);
            dialog.setDefaultSuffix(suffix.isEmpty() ? request.defaultSuffix : suffix);
        }
        if (request.filterChanged)
            request.filterChanged(index);
    });
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return {dialog.selectedFiles(), int(names.indexOf(dialog.selectedNameFilter())) + 1};
}

Dialogs::FileResult QtDialogs::openFile(const FileRequest &request)
{
    return runFileDialog(request, false);
}

Dialogs::FileResult QtDialogs::saveFile(const FileRequest &request)
{
    return runFileDialog(request, true);
}

std::optional<QColor> QtDialogs::color(const QColor &initial, const QString &title)
{
    const QColor c = QColorDialog::getColor(initial, m_parent, title);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<Dialogs::FontResult> QtDialogs::font(const FontRequest &request)
{
    QFontDialog dialog(request.font, m_parent);
    if (request.apply) {
        if (auto *box = dialog.findChild<QDialogButtonBox *>()) {
            QPushButton *apply = box->addButton(QDialogButtonBox::Apply);
            QObject::connect(apply, &QPushButton::clicked, &dialog,
                             [&] { request.apply(dialog.currentFont(), request.color); });
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FontResult{dialog.selectedFont(), request.color};
}

bool QtDialogs::print(PrintRequest &request)
{
    QPrinter printer;
    if (!request.printerName.isEmpty())
        printer.setPrinterName(request.printerName);
    printer.setFromTo(request.fromPage, request.toPage);
    printer.setCopyCount(request.copies);
    printer.setCollateCopies(request.collate);
    if (request.selection)
        printer.setPrintRange(QPrinter::Selection);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setMinMax(request.minPage, request.maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, request.selectionEnabled && !request.setupOnly);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, !request.setupOnly);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, request.printToFile && !request.setupOnly);
    if (request.setupOnly)
        dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.selection = printer.printRange() == QPrinter::Selection;
    request.outputFile = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    request.printerName = printer.printerName();
    request.fromPage = printer.fromPage();
    request.toPage = printer.toPage();
    request.copies = printer.copyCount();
    request.collate = printer.collateCopies();
    return true;
}
