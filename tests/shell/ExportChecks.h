#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// Outside readers of the exported files and the documents the export tests feed in.
namespace ExportChecks {

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs a program to completion; exitCode -1 when it could not start or did not finish.
ToolRun run(const QString &program, const QStringList &arguments, const QString &workingDir = {});

// From pdfinfo: the page count, and the size of page 1 ("596 x 842").
int pdfPages(const QString &pdf);
QString pdfPageSize(const QString &pdf);
// pdftotext's non-empty lines of the whole document, pages separated by a form feed line "\f"
// (small text on widely spaced rows comes out with blank lines between).
QStringList pdfTextLines(const QString &pdf);
// The PDF with its streams uncompressed (qpdf --qdf).
QByteArray pdfUncompressed(const QString &pdf);

// The frames of an animated GIF (also under another extension), with their delays in ms.
struct Animation
{
    QList<QImage> frames;
    QList<int> delays;
    int loopCount = -2;
};
Animation readAnimation(const QString &path);

// Rich text of paragraphs, each one line; "\\", "{" and "}" in them are escaped.
QByteArray paragraphsRtf(const QStringList &paragraphs);
// A formatted document of several pages: headings in blue, body text with italic runs.
QByteArray longRtf(int sections);

// "Line 1" ... "Line n".
QStringList numberedLines(int n);

} // namespace ExportChecks
