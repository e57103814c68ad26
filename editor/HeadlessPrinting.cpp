#include "editor/HeadlessPrinting.h"

#include "editor/DocumentIO.h"
#include "editor/richtext/RxRichEdit.h"
#include "pages/GmPreview.h"
#include "pages/PrintJobMonitor.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

QString HeadlessPrinting::choosePrinter(const QString &name, QString *error)
{
    const QStringList printers = TGmPrinter::Printers();
    QString queue = name;
    if (queue.isEmpty()) {
        if (printers.isEmpty()) {
            *error = QStringLiteral("no printer is available");
            return {};
        }
        queue = QPrinterInfo::defaultPrinterName();
        if (!printers.contains(queue))
            queue = printers.first();
    } else if (!printers.contains(queue)) {
        *error = printers.isEmpty()
            ? QStringLiteral("no printer is available (asked for %1)").arg(queue)
            : QStringLiteral("no printer named %1 (printers: %2)").arg(queue, printers.join(QStringLiteral(", ")));
        return {};
    }
    if (PrintJobMonitor::Acceptance(queue) == PrintJobMonitor::QueueState::NotAccepting) {
        *error = QStringLiteral("the printer %1 does not accept jobs").arg(queue);
        return {};
    }
    return queue;
}

HeadlessPrinting::HeadlessPrinting(QString queue, PageMarginsMm margins)
    : m_queue(std::move(queue))
    , m_margins(margins)
{ }

HeadlessPrinting::Outcome HeadlessPrinting::print(const QString &path)
{
    Outcome outcome;
    const QFileInfo in(path);
    if (!in.exists() || in.isDir()) {
        outcome.message = QStringLiteral("%1: no such document").arg(path);
        return outcome;
    }
    TRxRichEdit editor;
    QString error;
    if (!DocumentIO::load(editor, in.absoluteFilePath(), &error)) {
        outcome.message = QStringLiteral("%1: %2").arg(path, error);
        return outcome;
    }
    TGmPrinter::SetProgramPrinter(m_queue);
    TGmPreview preview;
    preview.Header().SetVisible(false);
    preview.Footer().SetVisible(false);
    preview.Canvas().SetCompareGraphics(false);
    preview.BeginUpdate();
    RichTextPagination::ApplyPrintLayout(preview, m_margins);
    preview.EndUpdate();
    QList<int> starts;
    RichTextPagination::Repaginate(preview, editor, starts);
    preview.GmPrinter().SetTitle(in.fileName());
    preview.GmPrinter().SetPrintColor(gmColor);
    if (!preview.GmPrinter().PrinterAvailable()) {
        outcome.message = QStringLiteral("%1: the printer %2 cannot be reached").arg(path, m_queue);
        return outcome;
    }
    const int before = PrintJobMonitor::LastJobId(m_queue);
    if (!preview.PrintRange(1, preview.PageCount())) {
        outcome.message = QStringLiteral("%1: the printer %2 did not take the job").arg(path, m_queue);
        return outcome;
    }
    const int after = PrintJobMonitor::LastJobId(m_queue);
    if (before >= 0 && after >= 0 && after <= before) {
        outcome.message = QStringLiteral("%1: the printer %2 refused the job").arg(path, m_queue);
        return outcome;
    }
    outcome.ok = true;
    outcome.pages = preview.PageCount();
    return outcome;
}
