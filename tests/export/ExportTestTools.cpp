#include "tests/export/ExportTestTools.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <zlib.h>

namespace ExportTestTools {

ToolResult run(const QString &program, const QStringList &arguments)
{
    ToolResult result;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return result;
    result.started = true;
    process.closeWriteChannel();
    process.waitForFinished(60000);
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

bool haveTool(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const PdfObject *PdfFile::object(int number) const
{
    for (const PdfObject &o : objects)
        if (o.number == number)
            return &o;
    return nullptr;
}

PdfFile parsePdf(const QByteArray &bytes)
{
    PdfFile pdf;
    static const QRegularExpression objLine(QStringLiteral("(?:(?<=\\n)|^)(\\d+) 0 obj\\r\\n"));
    const QString latin = QString::fromLatin1(bytes);
    const qint64 xrefAt = bytes.lastIndexOf("\r\nxref\r\n");
    qint64 pos = 0;
    while (true) {
        const QRegularExpressionMatch m = objLine.match(latin, pos);
        if (!m.hasMatch() || (xrefAt >= 0 && m.capturedStart(1) > xrefAt))
            break;
        PdfObject o;
        o.number = m.captured(1).toInt();
        o.offset = m.capturedStart(1);
        const qint64 bodyStart = m.capturedEnd(0);
        qint64 streamAt = bytes.indexOf("stream\r\n", bodyStart);
        const qint64 firstEnd = bytes.indexOf("endobj\r\n", bodyStart);
        qint64 endAt = firstEnd;
        if (streamAt >= 0 && streamAt < firstEnd) {
            // The stream may hold any bytes: take its length from the object's own /Length or
            // the length object that follows ("endstream" is searched after the data).
            const qint64 endStream = bytes.indexOf("endstream\r\nendobj\r\n", streamAt + 8);
            o.stream = bytes.mid(streamAt + 8, endStream - streamAt - 8);
            endAt = endStream + 11;
        }
        o.body = bytes.mid(bodyStart, endAt - bodyStart);
        pdf.objects.append(o);
        pos = endAt + 8;
    }
    if (xrefAt >= 0) {
        const qint64 trailerAt = bytes.indexOf("trailer\r\n", xrefAt);
        pdf.xrefSection = bytes.mid(xrefAt + 2, trailerAt - xrefAt - 2);
        pdf.trailer = bytes.mid(trailerAt);
        const QList<QByteArray> lines = pdf.xrefSection.split('\n');
        for (int i = 2; i < lines.size(); ++i) {
            const QByteArray entry = lines[i].trimmed();
            if (entry.size() == 18)
                pdf.xrefOffsets.append(entry.left(10).toLongLong());
        }
        const qint64 sx = bytes.indexOf("startxref\r\n", trailerAt);
        if (sx >= 0)
            pdf.startxref = bytes.mid(sx + 11, bytes.indexOf("\r\n", sx + 11) - sx - 11).toLongLong();
    }
    return pdf;
}

QByteArray inflate(const QByteArray &data)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return {};
    QByteArray out;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    z.avail_in = uInt(data.size());
    char buffer[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef *>(buffer);
        z.avail_out = sizeof buffer;
        rc = ::inflate(&z, Z_NO_FLUSH);
        out.append(buffer, int(sizeof buffer - z.avail_out));
    }
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

QImage renderPdfPage(const QString &pdf, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    const ToolResult r = run(QStringLiteral("pdftoppm"),
                             {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                              QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                              QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    if (r.exitCode != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png"));
}

double differingFraction(const QImage &a, const QImage &b, QSize size, int tolerance)
{
    const QImage sa = a.convertToFormat(QImage::Format_RGB32).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage sb = b.convertToFormat(QImage::Format_RGB32).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int differing = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (qAbs(qGray(sa.pixel(x, y)) - qGray(sb.pixel(x, y))) > tolerance)
                ++differing;
    return double(differing) / (size.width() * size.height());
}

GifStructure parseGif(const QByteArray &bytes)
{
    GifStructure gif;
    const auto *d = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype p = 0;
    auto u16 = [&](qsizetype at) { return at + 1 < n ? int(d[at] | (d[at + 1] << 8)) : -1; };
    auto subBlocks = [&](QByteArrayList *out) {
        while (p < n) {
            const int len = d[p++];
            if (len == 0)
                return true;
            if (p + len > n)
                return false;
            if (out)
                out->append(bytes.mid(p, len));
            p += len;
        }
        return false;
    };
    if (n < 13 || !bytes.startsWith("GIF"))
        return gif;
    gif.version = bytes.mid(0, 6);
    gif.screen = QSize(u16(6), u16(8));
    const int packed = d[10];
    gif.backgroundIndex = d[11];
    p = 13;
    gif.order.append("screen");
    if (packed & 0x80) {
        gif.globalTableSize = 1 << ((packed & 7) + 1);
        for (int i = 0; i < gif.globalTableSize && p + 2 < n; ++i, p += 3)
            gif.globalTable.append(qRgb(d[p], d[p + 1], d[p + 2]));
    }
    while (p < n) {
        const uchar introducer = d[p++];
        if (introducer == 0x3B) {
            gif.order.append("trailer");
            gif.valid = p == n;
            return gif;
        }
        if (introducer == 0x21 && p < n) {
            const uchar label = d[p++];
            QByteArrayList blocks;
            if (!subBlocks(&blocks))
                return gif;
            if (label == 0xF9 && !blocks.isEmpty() && blocks[0].size() == 4) {
                gif.order.append("gce");
                gif.controlFlags.append(uchar(blocks[0][0]));
                gif.delays.append(uchar(blocks[0][1]) | (uchar(blocks[0][2]) << 8));
            } else if (label == 0xFF && !blocks.isEmpty()) {
                gif.order.append("app");
                gif.applications.append(QString::fromLatin1(blocks[0]));
                gif.applicationData.append(blocks.value(1));
            } else if (label == 0xFE) {
                gif.order.append("comment");
                gif.comments.append(blocks);
            } else {
                gif.order.append("ext");
            }
        } else if (introducer == 0x2C && p + 9 <= n) {
            gif.order.append("image");
            gif.frames.append(QRect(u16(p), u16(p + 2), u16(p + 4), u16(p + 6)));
            const int flags = d[p + 8];
            p += 9;
            gif.localTables.append(flags & 0x80);
            if (flags & 0x80)
                p += 3 * (1 << ((flags & 7) + 1));
            ++p; // LZW minimum code size
            if (!subBlocks(nullptr))
                return gif;
        } else {
            return gif;
        }
    }
    return gif;
}

} // namespace ExportTestTools
