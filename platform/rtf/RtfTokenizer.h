#pragma once

#include <QByteArrayView>

// Splits rich text bytes into tokens: group braces, control words with their optional signed
// parameter, control symbols, \'hh bytes, \bin data and runs of plain text. The tokenizer never
// fails: truncated input simply ends, malformed escapes are dropped. Line ends in plain text are
// not part of any token (rich text ignores them).
class RtfTokenizer
{
public:
    enum class Type { End, GroupStart, GroupEnd, ControlWord, ControlSymbol, Text, HexByte, Binary };

    struct Token
    {
        Type type = Type::End;
        QByteArrayView word; // control word letters, or the text / binary data
        int param = 0;
        bool hasParam = false;
        char symbol = 0; // ControlSymbol
        quint8 byte = 0; // HexByte
    };

    explicit RtfTokenizer(QByteArrayView input);

    Token next();
    // Skips the rest of the current group, its closing brace included (\bin data and escaped
    // braces are honoured). Returns false when the input ended first.
    bool skipGroup();
    qsizetype position() const { return m_pos; }

    static constexpr int kMaxWordLength = 32;

private:
    QByteArrayView m_in;
    qsizetype m_pos = 0;
    qsizetype m_binRemaining = -1; // pending \bin byte count after a \binN word
};
