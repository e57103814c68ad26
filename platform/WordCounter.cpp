#include "platform/WordCounter.h"

namespace {

// Bit c set: the character c (below 96) separates words.
constexpr quint64 separatorBits(int low)
{
    quint64 bits = 0;
    for (int c = low; c < low + 64; ++c) {
        const bool separator = c < 32 || c == ' ' || c == '!' || c == '#' || c == '$' || c == '%' || c == '('
            || c == ')' || c == '*' || c == ',' || c == '.' || c == '/' || c == ':' || c == ';' || c == '?' || c == '@'
            || c == '\\' || c == '^';
        if (separator)
            bits |= quint64(1) << (c - low);
    }
    return bits;
}

constexpr quint64 kLow = separatorBits(0);
constexpr quint64 kHigh = separatorBits(64);

} // namespace

bool WordCounter::isSeparator(char16_t c)
{
    if (c < 64)
        return (kLow >> c) & 1;
    if (c < 96)
        return (kHigh >> (c - 64)) & 1;
    return false;
}

WordCount WordCounter::count(QStringView text)
{
    WordCount result;
    bool inWord = false;
    for (const QChar ch : text) {
        // A character outside the basic plane is one character, not two halves.
        if (ch.isLowSurrogate())
            continue;
        if (isSeparator(ch.unicode())) {
            ++result.separators;
            inWord = false;
        } else {
            ++result.wordCharacters;
            if (!inWord)
                ++result.words;
            inWord = true;
        }
    }
    return result;
}

QString WordCount::wordsPerLine(qint64 words, int lines)
{
    const double ratio = double(words) / double(lines < 1 ? 1 : lines);
    return QString::number(ratio, 'f', 2).rightJustified(8, u' ');
}
