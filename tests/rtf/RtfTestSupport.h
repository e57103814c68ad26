#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

// Helpers shared by the rich text tests.
namespace RtfTestSupport {

// Reads rich text with the program's codec into the document; false when it was refused.
bool readRtf(const QByteArray &rtf, QTextDocument &doc, QString *error = nullptr);
QByteArray writeRtf(const QTextDocument &doc, int from = 0, int to = -1);

// The body text one paragraph (or table cell) a line, as other word processors export it: list
// labels written out, line breaks as new lines, symbol-font characters in their private-use form
// U+F020..U+F0FF, pictures left out.
QString bodyText(const QTextDocument &doc);

// Words of a text after the normalisation the corpus uses: one list label removed from the start
// of each line, whitespace runs as single separators.
QStringList normalisedWords(const QString &text);

// Words in order in both lists (longest common subsequence) over the longer list; 1 when both
// are empty. The search gives up beyond maxEdits insertions and deletions and then returns a
// lower bound.
double similarity(const QStringList &expected, const QStringList &actual, int maxEdits = 40000);

} // namespace RtfTestSupport
