#include "platform/rtf/RtfTokenizer.h"

#include <limits>

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfTokenizer::RtfTokenizer(QByteArrayView input)
    : m_in(input)
{ }

RtfTokenizer::Token RtfTokenizer::next()
{
    Token t;
    const qsizetype n = m_in.size();
    if (m_binRemaining >= 0) {
        const qsizetype len = qMin(m_binRemaining, n - m_pos);
        m_binRemaining = -1;
        t.type = Type::Binary;
        t.word = m_in.sliced(m_pos, len);
        m_pos += len;
        return t;
    }
    while (m_pos < n) {
        const char c = m_in[m_pos];
        if (c == '\r' || c == '\n') {
            ++m_pos;
            continue;
        }
        if (c == '{') {
            ++m_pos;
            t.type = Type::GroupStart;
            return t;
        }
        if (c == '}') {
            ++m_pos;
            t.type = Type::GroupEnd;
            return t;
        }
        if (c != '\\') {
            const qsizetype start = m_pos;
            while (m_pos < n) {
                const char d = m_in[m_pos];
                if (d == '\\' || d == '{' || d == '}' || d == '\r' || d == '\n')
                    break;
                ++m_pos;
            }
            t.type = Type::Text;
            t.word = m_in.sliced(start, m_pos - start);
            return t;
        }
        // Backslash.
        ++m_pos;
        if (m_pos >= n)
            return t;
        const char s = m_in[m_pos];
        if (isLetter(s)) {
            const qsizetype start = m_pos;
            while (m_pos < n && isLetter(m_in[m_pos]))
                ++m_pos;
            t.type = Type::ControlWord;
            t.word = m_in.sliced(start, qMin<qsizetype>(m_pos - start, kMaxWordLength));
            if (m_pos < n && (m_in[m_pos] == '-' || isDigit(m_in[m_pos]))) {
                bool negative = false;
                if (m_in[m_pos] == '-') {
                    if (m_pos + 1 < n && isDigit(m_in[m_pos + 1])) {
                        negative = true;
                        ++m_pos;
                    }
                }
                if (m_pos < n && isDigit(m_in[m_pos])) {
                    qint64 value = 0;
                    while (m_pos < n && isDigit(m_in[m_pos])) {
                        if (value < (qint64(1) << 40))
                            value = value * 10 + (m_in[m_pos] - '0');
                        ++m_pos;
                    }
                    if (negative)
                        value = -value;
                    value = qBound(
                        qint64(std::numeric_limits<int>::min()), value, qint64(std::numeric_limits<int>::max()));
                    t.param = int(value);
                    t.hasParam = true;
                }
            }
            if (m_pos < n && m_in[m_pos] == ' ')
                ++m_pos;
            if (t.word == "bin" && t.hasParam && t.param > 0)
                m_binRemaining = t.param;
            return t;
        }
        if (s == '\'') {
            ++m_pos;
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < n) {
                const int h = hexValue(m_in[m_pos]);
                if (h < 0)
                    break;
                value = value * 16 + h;
                ++digits;
                ++m_pos;
            }
            if (digits == 0)
                continue;
            t.type = Type::HexByte;
            t.byte = quint8(value);
            return t;
        }
        ++m_pos;
        t.type = Type::ControlSymbol;
        t.symbol = (s == '\r') ? '\n' : s;
        if (s == '\r' && m_pos < n && m_in[m_pos] == '\n')
            ++m_pos;
        return t;
    }
    return t;
}

bool RtfTokenizer::skipGroup()
{
    int depth = 1;
    const qsizetype n = m_in.size();
    if (m_binRemaining >= 0) {
        m_pos += qMin(m_binRemaining, n - m_pos);
        m_binRemaining = -1;
    }
    while (m_pos < n) {
        const char c = m_in[m_pos++];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return true;
        } else if (c == '\\' && m_pos < n) {
            const char s = m_in[m_pos];
            if (s == 'b' && m_in.sliced(m_pos).startsWith("bin")) {
                // \binN: skip the data, which may hold brace bytes.
                qsizetype p = m_pos + 3;
                if (p < n && isLetter(m_in[p]))
                    continue;
                qint64 value = 0;
                bool any = false;
                while (p < n && isDigit(m_in[p])) {
                    if (value < (qint64(1) << 40))
                        value = value * 10 + (m_in[p] - '0');
                    ++p;
                    any = true;
                }
                if (p < n && m_in[p] == ' ')
                    ++p;
                m_pos = p;
                if (any && value > 0)
                    m_pos += qsizetype(qMin<qint64>(value, n - m_pos));
            } else {
                ++m_pos; // escaped character, \{ \} \\ included
            }
        }
    }
    return false;
}
