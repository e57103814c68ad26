#include "tests/rtf/RtfTestSupport.h"

#include "platform/RichTextProperties.h"
#include "platform/rtf/RtfDocumentCodec.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <vector>

namespace RtfTestSupport {

bool readRtf(const QByteArray &rtf, QTextDocument &doc, QString *error)
{
    RtfDocumentCodec codec;
    return codec.read(rtf, doc, error);
}

QByteArray writeRtf(const QTextDocument &doc, int from, int to)
{
    RtfDocumentCodec codec;
    return codec.write(doc, from, to);
}

QString bodyText(const QTextDocument &doc)
{
    QString out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (const QTextList *list = block.textList()) {
            const bool numbered = list->format().style() <= QTextListFormat::ListDecimal;
            const QString label = numbered ? list->itemText(block) : QStringLiteral("\u2022");
            if (!label.isEmpty())
                out += label + u' ';
        }
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat())
                continue;
            QString text = fragment.text();
            if (format.intProperty(RichText::CharacterSet) == RichText::CharsetSymbol) {
                for (QChar &ch : text) {
                    if (ch.unicode() >= 0x20 && ch.unicode() <= 0xFF)
                        ch = QChar(char16_t(0xF000 + ch.unicode()));
                }
            }
            text.remove(QChar::ObjectReplacementCharacter);
            text.replace(QChar::LineSeparator, u'\n');
            out += text;
        }
        out += u'\n';
    }
    return out;
}

QStringList normalisedWords(const QString &text)
{
    static const QRegularExpression bullet(
        QStringLiteral("^[\\x{2022}\\x{00B7}\\x{25E6}\\x{25AA}\\x{25A0}\\x{25A1}\\x{25CF}\\x{25CB}\\x{25C6}"
                       "\\x{25BA}\\x{27A2}\\x{2713}\\-\\x{2013}o\\x{F000}-\\x{F0FF}]\\s"));
    static const QRegularExpression number(QStringLiteral(
        "^\\(?(?:[0-9]+|[A-Za-z]|[ivxlcdmIVXLCDM]+)(?:\\.(?:[0-9]+|[A-Za-z]|[ivxlcdmIVXLCDM]+))*[.)]\\s"));
    QStringList words;
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        qsizetype start = 0;
        while (start < line.size() && line.at(start).isSpace())
            ++start;
        line = line.mid(start) + u' ';
        QRegularExpressionMatch m = bullet.match(line);
        if (!m.hasMatch())
            m = number.match(line);
        if (m.hasMatch())
            line = line.mid(m.capturedLength());
        QString word;
        for (QChar ch : std::as_const(line)) {
            const char16_t u = ch.unicode();
            const bool space = ch.isSpace() || (u >= 0x1C && u <= 0x1F) || u == 0x85;
            if (space) {
                if (!word.isEmpty())
                    words.append(word);
                word.clear();
            } else {
                word.append(ch);
            }
        }
        if (!word.isEmpty())
            words.append(word);
    }
    return words;
}

double similarity(const QStringList &expected, const QStringList &actual, int maxEdits)
{
    if (expected.isEmpty() && actual.isEmpty())
        return 1.0;
    QHash<QString, int> ids;
    std::vector<int> a;
    std::vector<int> b;
    a.reserve(expected.size());
    b.reserve(actual.size());
    const auto idOf = [&ids](const QString &w) {
        auto it = ids.constFind(w);
        if (it == ids.constEnd())
            it = ids.insert(w, int(ids.size()));
        return *it;
    };
    for (const QString &w : expected)
        a.push_back(idOf(w));
    for (const QString &w : actual)
        b.push_back(idOf(w));
    const int n = int(a.size());
    const int m = int(b.size());
    const int limit = qMin(n + m, maxEdits);
    // Myers' greedy search for the shortest edit script (insertions and deletions only).
    std::vector<int> v(size_t(2 * (n + m) + 3), 0);
    const int offset = n + m + 1;
    int edits = -1;
    int best = 0;
    for (int d = 0; d <= limit && edits < 0; ++d) {
        for (int k = -d; k <= d; k += 2) {
            int x;
            if (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                x = v[offset + k + 1];
            else
                x = v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[size_t(x)] == b[size_t(y)]) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            best = qMax(best, (x + y - d) / 2);
            if (x >= n && y >= m) {
                edits = d;
                break;
            }
        }
    }
    const int common = edits >= 0 ? (n + m - edits) / 2 : best;
    return double(common) / double(qMax(n, m));
}

} // namespace RtfTestSupport
