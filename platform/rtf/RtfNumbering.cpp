#include "platform/rtf/RtfNumbering.h"

#include "platform/RichTextProperties.h"

namespace RtfNumbering {

int bulletKind(const QString &bulletText)
{
    for (QChar ch : bulletText) {
        char16_t c = ch.unicode();
        if (c < 0x20)
            continue;
        if (c >= 0xF020 && c <= 0xF0FF)
            c -= 0xF000;
        switch (c) {
        case u'o':
        case 0x25E6:
        case 0x25CB:
        case 0x26AA:
            return RichText::NumberingSmallBullet;
        case 0xA7:
        case 0x25AA:
        case 0x25A0:
        case 0x25A1:
        case 0x25FB:
        case 0x25FC:
            return RichText::NumberingHollowBlock;
        default:
            return RichText::NumberingBullet;
        }
    }
    return RichText::NumberingBullet;
}

int kindFromLevel(int nfc, const QString &levelText)
{
    switch (nfc) {
    case 1:
        return RichText::NumberingUpperRoman;
    case 2:
        return RichText::NumberingLowerRoman;
    case 3:
        return RichText::NumberingUpperLetter;
    case 4:
        return RichText::NumberingLowerLetter;
    case 23:
        return bulletKind(levelText.mid(1));
    case 255:
        return RichText::NumberingNone;
    default:
        return RichText::NumberingArabic;
    }
}

int styleWordFromAffixes(const QString &before, const QString &after)
{
    const QString a = after.trimmed();
    const QString b = before.trimmed();
    if (a.startsWith(u')'))
        return b.endsWith(u'(') ? kStyleEnclosed : kStyleParenthesis;
    if (a.startsWith(u'.'))
        return kStylePeriod;
    if (a.isEmpty() && b.isEmpty())
        return kStylePlain;
    return -1;
}

int styleWordFromLevelText(const QString &levelText)
{
    QString text = levelText;
    if (text.endsWith(u';'))
        text.chop(1);
    text = text.mid(1); // the length character
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() < 9) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (last < 0)
        return -1;
    return styleWordFromAffixes(text.left(first), text.mid(last + 1));
}

QString numberPrefix(int styleWord)
{
    return styleWord == kStyleEnclosed ? QStringLiteral("(") : QString();
}

QString numberSuffix(int styleWord)
{
    switch (styleWord) {
    case kStyleParenthesis:
    case kStyleEnclosed:
        return QStringLiteral(")");
    case kStylePlain:
        return QString();
    default:
        return QStringLiteral(".");
    }
}

QTextListFormat listFormat(int kind, int styleWord)
{
    QTextListFormat f;
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    switch (kind) {
    case RichText::NumberingArabic:
        style = QTextListFormat::ListDecimal;
        break;
    case RichText::NumberingLowerLetter:
        style = QTextListFormat::ListLowerAlpha;
        break;
    case RichText::NumberingUpperLetter:
        style = QTextListFormat::ListUpperAlpha;
        break;
    case RichText::NumberingLowerRoman:
        style = QTextListFormat::ListLowerRoman;
        break;
    case RichText::NumberingUpperRoman:
        style = QTextListFormat::ListUpperRoman;
        break;
    case RichText::NumberingHollowBlock:
        style = QTextListFormat::ListSquare;
        break;
    case RichText::NumberingSmallBullet:
        style = QTextListFormat::ListCircle;
        break;
    default:
        break;
    }
    f.setStyle(style);
    // The paragraph's own margins place the text; the list adds no indent of its own.
    f.setIndent(0);
    f.setProperty(RichText::NumberingKind, kind);
    if (styleWord >= 0)
        f.setProperty(RichText::NumberingStyleWord, styleWord);
    const bool numbered = kind >= RichText::NumberingArabic && kind <= RichText::NumberingUpperRoman;
    if (numbered) {
        f.setNumberPrefix(numberPrefix(styleWord));
        f.setNumberSuffix(numberSuffix(styleWord));
    }
    return f;
}

int kindOfList(const QTextListFormat &format)
{
    if (format.hasProperty(RichText::NumberingKind)) {
        const int kind = format.intProperty(RichText::NumberingKind);
        if (kind >= RichText::NumberingBullet && kind <= RichText::NumberingSmallBullet)
            return kind;
    }
    switch (format.style()) {
    case QTextListFormat::ListDecimal:
        return RichText::NumberingArabic;
    case QTextListFormat::ListLowerAlpha:
        return RichText::NumberingLowerLetter;
    case QTextListFormat::ListUpperAlpha:
        return RichText::NumberingUpperLetter;
    case QTextListFormat::ListLowerRoman:
        return RichText::NumberingLowerRoman;
    case QTextListFormat::ListUpperRoman:
        return RichText::NumberingUpperRoman;
    case QTextListFormat::ListSquare:
        return RichText::NumberingHollowBlock;
    case QTextListFormat::ListCircle:
        return RichText::NumberingSmallBullet;
    default:
        return RichText::NumberingBullet;
    }
}

int styleWordOfList(const QTextListFormat &format)
{
    if (format.hasProperty(RichText::NumberingStyleWord))
        return format.intProperty(RichText::NumberingStyleWord);
    if (!format.hasProperty(QTextFormat::ListNumberSuffix))
        return kStylePeriod;
    const int word = styleWordFromAffixes(format.numberPrefix(), format.numberSuffix());
    return word < 0 ? kStylePeriod : word;
}

int levelNfc(int kind)
{
    switch (kind) {
    case RichText::NumberingArabic:
        return 0;
    case RichText::NumberingUpperRoman:
        return 1;
    case RichText::NumberingLowerRoman:
        return 2;
    case RichText::NumberingUpperLetter:
        return 3;
    case RichText::NumberingLowerLetter:
        return 4;
    default:
        return 23;
    }
}

QChar bulletCharacter(int kind)
{
    switch (kind) {
    case RichText::NumberingHollowBlock:
        return QChar(0x25AA);
    case RichText::NumberingSmallBullet:
        return QChar(0x25E6);
    default:
        return QChar(0x2022);
    }
}

} // namespace RtfNumbering
