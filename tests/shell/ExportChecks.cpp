#include "tests/shell/ExportChecks.h"

#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>

namespace ExportChecks {

ToolRun run(const QString &program, const QStringList &arguments, const QString &workingDir)
{
    QProcess process;
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
}

namespace {

QString pdfInfoField(const QString &pdf, const QString &field)
{
    const ToolRun info = run(QStringLiteral("pdfinfo"), { pdf });
    if (info.exitCode != 0)
        return {};
    for (const QByteArray &line : info.out.split('\n')) {
        const QString text = QString::fromUtf8(line);
        if (text.startsWith(field + u':'))
            return text.mid(field.size() + 1).trimmed();
    }
    return {};
}

QByteArray rtfEscaped(const QString &text)
{
    QByteArray out;
    for (const QChar c : text) {
        if (c == u'\\' || c == u'{' || c == u'}')
            out += '\\';
        if (c.unicode() < 0x80)
            out += char(c.unicode());
        else
            out += "\\u" + QByteArray::number(c.unicode()) + "?";
    }
    return out;
}

} // namespace

int pdfPages(const QString &pdf)
{
    bool ok = false;
    const int pages = pdfInfoField(pdf, QStringLiteral("Pages")).toInt(&ok);
    return ok ? pages : -1;
}

QString pdfPageSize(const QString &pdf)
{
    static const QRegularExpression size(QStringLiteral("^(\\d+(?:\\.\\d+)?) x (\\d+(?:\\.\\d+)?) pts"));
    const QRegularExpressionMatch m = size.match(pdfInfoField(pdf, QStringLiteral("Page size")));
    return m.hasMatch() ? m.captured(1) + QStringLiteral(" x ") + m.captured(2) : QString();
}

QStringList pdfTextLines(const QString &pdf)
{
    const ToolRun text = run(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), pdf, QStringLiteral("-") });
    QStringList lines;
    for (QString line : QString::fromUtf8(text.out).split(u'\n')) {
        while (line.startsWith(u'\f')) {
            lines.append(QStringLiteral("\f"));
            line.remove(0, 1);
        }
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    }
    while (!lines.isEmpty() && lines.last() == QLatin1String("\f"))
        lines.removeLast();
    return lines;
}

QByteArray pdfUncompressed(const QString &pdf)
{
    return run(QStringLiteral("qpdf"),
        { QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), pdf, QStringLiteral("-") })
        .out;
}

Animation readAnimation(const QString &path)
{
    Animation animation;
    QImageReader reader(path, "gif");
    if (!reader.canRead())
        return animation;
    animation.loopCount = reader.loopCount();
    for (int i = 0; i < reader.imageCount(); ++i) {
        const QImage frame = reader.read();
        if (frame.isNull())
            break;
        animation.frames.append(frame);
        animation.delays.append(reader.nextImageDelay());
        reader.jumpToNextImage();
    }
    return animation;
}

QByteArray paragraphsRtf(const QStringList &paragraphs)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 ";
    // No paragraph mark after the last one: it would begin another, empty paragraph.
    for (qsizetype i = 0; i < paragraphs.size(); ++i)
        rtf += (i > 0 ? "\\par\n" : "") + rtfEscaped(paragraphs[i]);
    return rtf + "}";
}

QByteArray longRtf(int sections)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}}"
                     "{\\colortbl;\\red20\\green60\\blue160;\\red180\\green20\\blue20;}\n";
    for (int s = 1; s <= sections; ++s) {
        rtf += "{\\f1\\fs36\\b\\cf1 Section " + QByteArray::number(s) + " (overview)}\\par\n";
        for (int p = 1; p <= 4; ++p) {
            rtf += "\\f0\\fs24 Paragraph " + QByteArray::number(s) + "." + QByteArray::number(p)
                + ": the quick brown fox jumps over the lazy dog, {\\i\\cf2 in red italics} and then plain "
                  "text again until the line wraps on the page several times over and over again.\\par\n";
        }
    }
    return rtf + "}";
}

QStringList numberedLines(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines.append(QStringLiteral("Line %1").arg(i));
    return lines;
}

} // namespace ExportChecks
