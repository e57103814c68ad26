#include "tools/options/OptionsValidation.h"

#include "app/StartupOptions.h"
#include "platform/AnsiCodec.h"

#include <QFileInfo>

namespace OptionsValidation {

namespace {

bool encodable(const QString &text)
{
    for (const char32_t ch : text.toUcs4()) {
        if (!AnsiCodec::canEncode(ch))
            return false;
    }
    return true;
}

// True when the text can be stored as it is.
bool checkText(QStringList &out, const QString &what, const QString &text, qsizetype capacity, bool required)
{
    if (required && text.trimmed().isEmpty()) {
        out << QStringLiteral("The %1 must not be empty.").arg(what);
        return false;
    }
    if (!encodable(text)) {
        out << QStringLiteral("The %1 contains characters that cannot be stored.").arg(what);
        return false;
    }
    if (text.size() > capacity) {
        out << QStringLiteral("The %1 may hold at most %2 characters.").arg(what).arg(capacity);
        return false;
    }
    return true;
}

void checkRange(QStringList &out, const QString &what, qint64 value, qint64 low, qint64 high)
{
    if (value < low || value > high)
        out << QStringLiteral("The %1 must lie between %2 and %3.").arg(what).arg(low).arg(high);
}

} // namespace

QStringList problems(const StartupOptions &o)
{
    QStringList out;
    checkText(out, QStringLiteral("font name"), o.DefaultFontName, StartupOptions::FontNameCapacity, true);
    checkRange(out, QStringLiteral("font size"), o.DefaultFontSize, MinFontSize, MaxFontSize);
    if (checkText(out, QStringLiteral("default folder"), o.DefaultFolder, StartupOptions::FolderCapacity, false)
        && !o.DefaultFolder.isEmpty() && !QFileInfo(o.DefaultFolder).isDir())
        out << QStringLiteral("The default folder does not exist.");
    checkText(
        out, QStringLiteral("spelling dictionary"), o.SpellDictionary, StartupOptions::SpellDictionaryCapacity, true);
    checkRange(out, QStringLiteral("zoom step"), o.ZoomStep, MinZoomStep, MaxZoomStep);
    checkRange(out, QStringLiteral("text column width"), o.TextColumnWidth, MinTextColumnWidth, MaxTextColumnWidth);
    checkRange(out, QStringLiteral("top margin"), o.MarginTop, 0, MaxMargin);
    checkRange(out, QStringLiteral("right margin"), o.MarginRight, 0, MaxMargin);
    checkRange(out, QStringLiteral("bottom margin"), o.MarginBottom, 0, MaxMargin);
    checkRange(out, QStringLiteral("left margin"), o.MarginLeft, 0, MaxMargin);
    return out;
}

} // namespace OptionsValidation
