#pragma once

#include <QString>
#include <QTextListFormat>

// How the control's numbering kinds and numbering style words map to rich text lists (list
// tables and the older \pn numbering) and to Qt's list formats.
namespace RtfNumbering {

inline constexpr int kStyleParenthesis = 0x2000;
inline constexpr int kStyleEnclosed = 0x2100;
inline constexpr int kStylePeriod = 0x2200;
inline constexpr int kStylePlain = 0x2300;

// A list-table level (\levelnfc, \leveltext with its length character) as a numbering kind;
// 0 for a level without numbers.
int kindFromLevel(int nfc, const QString &levelText);
// The kind of a bullet from its character (bullet, hollow block, small bullet).
int bulletKind(const QString &bulletText);
// The style word from the text around the number; -1 when it is none of the four.
int styleWordFromLevelText(const QString &levelText);
int styleWordFromAffixes(const QString &before, const QString &after);

// The list format the reader gives a paragraph of that kind (styleWord -1: none given).
QTextListFormat listFormat(int kind, int styleWord);

// Kind and style word of a list written by any part of the program.
int kindOfList(const QTextListFormat &format);
int styleWordOfList(const QTextListFormat &format);

int levelNfc(int kind);
QChar bulletCharacter(int kind);
QString numberPrefix(int styleWord);
QString numberSuffix(int styleWord);

} // namespace RtfNumbering
