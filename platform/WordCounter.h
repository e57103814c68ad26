#pragma once

#include <QString>
#include <QStringView>

// Counts words and characters of a text. Separators are the control characters (below 32) and
// the seventeen characters space ! # $ % ( ) * , . / : ; ? @ \ ^; every other character, letters
// of any script included, is a word character. A word is a maximal run of word characters.
// Paragraph breaks count as the separators they are written with ("\r\n": two).
struct WordCount
{
    qint64 words = 0;
    qint64 wordCharacters = 0;
    qint64 separators = 0;
    qint64 total() const { return wordCharacters + separators; }

    // words ÷ lines (lines taken as 1 below 1), right-aligned in 8 characters with 2 decimals:
    // "    3.50".
    static QString wordsPerLine(qint64 words, int lines);
};

namespace WordCounter {
bool isSeparator(char16_t c);
WordCount count(QStringView text);
} // namespace WordCounter
