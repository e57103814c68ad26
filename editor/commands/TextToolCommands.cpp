#include "editor/commands/TextToolCommands.h"

#include <QKeySequence>

namespace {
// Date and time items in menu order.
struct Item
{
    const char *name;
    const char *caption;
};
constexpr Item kDateTime[] = { { "LongDate1", "Long Date - dd-mmmm-yyyy" }, { "Date1", "Date - dd/mm/yyyy" },
    { "ShortDate1", "Short Date - dd/mm/yy" }, { "Date2", "Date - yyyy-mm-dd" },
    { "ShortDate2", "Short Date - yy-mm-dd" }, { "DayoftheWeek1", "Day of the Week" },
    { "MonthoftheYear1", "Month of the Year" }, { "YearofthisCentury1", "Year of this Century" },
    { "LongTime1", "Long Time - hh:mm:ss AM/PM" }, { "ShortTime1", "Short Time - hh:mm:ss" },
    { "AccurateTime1", "Accurate Time - hh:mm:ss:zzz" } };
} // namespace

QStringList TextToolCommands::phrases(PhraseList list)
{
    switch (list) {
    case PhraseList::AfrikaansOpening:
        return { QStringLiteral("Heil die leser"), QStringLiteral("HEIL DIE LESER"), QStringLiteral("Geagte Heer/Dame"),
            QStringLiteral("Beste"), QStringLiteral("Geagte"), QStringLiteral("Liewe"),
            QStringLiteral("My beste vriend") };
    case PhraseList::AfrikaansClosing:
        return { QStringLiteral("Die uwe"), QStringLiteral("Opreg die uwe"), QStringLiteral("Vriendskaplik die uwe"),
            QStringLiteral("Hoogagtend die uwe"), QStringLiteral("Groete"), QStringLiteral("Hartlike groete"),
            QStringLiteral("Opregte groete"), QStringLiteral("Groete aan almal"), QStringLiteral("Vriendelike groete"),
            QStringLiteral("Vriendskaplik en hoogagtend"), QStringLiteral("Jou opregte vriend"),
            QStringLiteral("Sterkte en voorspoed") };
    case PhraseList::EnglishSalutations:
        return { QStringLiteral("Dear"), QStringLiteral("Dear Sir"), QStringLiteral("Dear Madam"),
            QStringLiteral("Dear Sir/Madam"), QStringLiteral("To Whom it May Concern") };
    case PhraseList::EnglishEndings:
        return { QStringLiteral("Yours truly"), QStringLiteral("Yours faithfully"), QStringLiteral("Cordially yours"),
            QStringLiteral("Respectfully yours"), QStringLiteral("Regards"), QStringLiteral("Kind regards"),
            QStringLiteral("Yours sincerely"), QStringLiteral("Sincerely yours"),
            QStringLiteral("Kind personal regards"), QStringLiteral("Take care"),
            QStringLiteral("Always your sincere friend"), QStringLiteral("Sincere personal greetings") };
    }
    return {};
}

QByteArray TextToolCommands::phraseCommandName(PhraseList list, int index)
{
    static const char *const prefixes[]
        = { "AfrikaansOpening", "AfrikaansClosing", "EnglishSalutation", "EnglishEnding" };
    return QByteArray(prefixes[int(list)]) + QByteArray::number(index + 1);
}

QList<TextToolCommands::SpecialCharacter> TextToolCommands::specialCharacters()
{
    // Menu and pop-up items; the last five letters are in the pop-up only.
    return {
        { "SpecialN1", QStringLiteral("'n"), QStringLiteral("'n"), {}, true },
        { "SpecialECircumflex1", QStringLiteral("\u00ea"), QStringLiteral("\u00ea"), {}, true },
        { "SpecialEDiaeresis1", QStringLiteral("\u00eb"), QStringLiteral("\u00eb"), {}, true },
        { "SpecialIDiaeresis1", QStringLiteral("\u00ef"), QStringLiteral("\u00ef"), {}, true },
        { "SpecialEAcute1", QStringLiteral("\u00e9"), QStringLiteral("\u00e9"), {}, true },
        { "SpecialEGrave1", QStringLiteral("\u00e8"), QStringLiteral("\u00e8"), {}, true },
        { "SpecialAGrave1", QStringLiteral("\u00e0"), QStringLiteral("\u00e0"), {}, false },
        { "SpecialAAcute1", QStringLiteral("\u00e1"), QStringLiteral("\u00e1"), {}, false },
        { "SpecialADiaeresis1", QStringLiteral("\u00e4"), QStringLiteral("\u00e4"), {}, false },
        { "SpecialODiaeresis1", QStringLiteral("\u00f6"), QStringLiteral("\u00f6"), {}, false },
        { "SpecialUDiaeresis1", QStringLiteral("\u00fc"), QStringLiteral("\u00fc"), {}, false },
        { "OpeningSmartQuote1", QStringLiteral("Opening Smart Quote"), QStringLiteral("\u201c"),
            QKeySequence(Qt::SHIFT | Qt::Key_F1), true },
        { "ClosingSmartQuote1", QStringLiteral("Closing Smart Quote"), QStringLiteral("\u201d"),
            QKeySequence(Qt::SHIFT | Qt::Key_F2), true },
        { "Registered1", QStringLiteral("Registered \u00ae"), QStringLiteral("\u00ae"), {}, true },
        { "Trademark1", QStringLiteral("Trademark TM"), QStringLiteral("\u2122"), {}, true },
        { "Copyright1", QStringLiteral("Copyright \u00a9"), QStringLiteral("\u00a9"), {}, true },
    };
}

QList<Command> TextToolCommands::commands()
{
    QList<Command> list = {
        { .name = "ScrambleText1", .caption = QStringLiteral("Scramble Text") },
        { .name = "UnscrambleText1", .caption = QStringLiteral("Unscramble Text") },
        { .name = "ReverseForwardText1", .caption = QStringLiteral("Reverse/Forward Text") },
        { .name = "btnDate",
            .caption = QStringLiteral("Insert Current Date"),
            .toolTip = QStringLiteral("Insert Current Date"),
            .statusTip = QStringLiteral("Inserts the Current System Date."),
            .icon = "x-office-calendar",
            .button = "btnDate" },
        { .name = "btnTime",
            .caption = QStringLiteral("Insert Current Time"),
            .toolTip = QStringLiteral("Insert Current Time"),
            .statusTip = QStringLiteral("Inserts the Current System Time."),
            .icon = "appointment-new",
            .button = "btnTime" },
        { .name = "MarkasRevisedText1", .caption = QStringLiteral("Mark as Revised Text") },
        { .name = "EndRevisedText1", .caption = QStringLiteral("End Revised Text") },
        { .name = "AcceptChangesMade1", .caption = QStringLiteral("Accept Changes Made") },
        { .name = "RejectSelectedChanges1",
            .caption = QStringLiteral("Reject Selected Changes"),
            .statusTip = QStringLiteral("Deletes the selected text that was revised.") },
        { .name = "Object1",
            .caption = QStringLiteral("Object..."),
            .shortcut = QKeySequence(Qt::Key_F4),
            .toolTip = QStringLiteral("Insert Object"),
            .statusTip = QStringLiteral("Insert an Object from the System Table."),
            .icon = "object-group",
            .button = "ToolButton9" },
        { .name = "PicturefromFile1",
            .caption = QStringLiteral("Picture from File..."),
            .shortcut = QKeySequence(Qt::Key_F5),
            .toolTip = QStringLiteral("Insert Picture"),
            .statusTip = QStringLiteral("Insert Picture From File."),
            .icon = "insert-image",
            .button = "btnDecrypt" },
        { .name = "LinktoFile1",
            .caption = QStringLiteral("Link to File..."),
            .toolTip = QStringLiteral("Insert Link to File"),
            .statusTip = QStringLiteral("Insert a Link to a File."),
            .icon = "insert-link",
            .button = "btnFileLink" },
        { .name = "ObjectProperties1",
            .caption = QStringLiteral("Object Properties..."),
            .icon = "document-properties" },
        { .name = "PasteSpecial1", .caption = QStringLiteral("Paste Special..."), .icon = "edit-paste" },
        { .name = "btnFont",
            .caption = QStringLiteral("Special Characters"),
            .toolTip = QStringLiteral("Special Characters"),
            .statusTip = QStringLiteral("Inserts Special Characters."),
            .icon = "character-set",
            .button = "btnFont" },
    };
    for (const Item &item : kDateTime)
        list.append({ .name = item.name, .caption = QString::fromLatin1(item.caption) });
    static const QList<PhraseList> kPhraseLists = { PhraseList::AfrikaansOpening, PhraseList::AfrikaansClosing,
        PhraseList::EnglishSalutations, PhraseList::EnglishEndings };
    // The names live as long as the program: actions keep pointers to them.
    static const QList<QByteArray> kPhraseNames = [] {
        QList<QByteArray> names;
        for (PhraseList phraseList : kPhraseLists) {
            for (int i = 0; i < phrases(phraseList).size(); ++i)
                names.append(phraseCommandName(phraseList, i));
        }
        return names;
    }();
    int nameIndex = 0;
    for (PhraseList phraseList : kPhraseLists) {
        for (const QString &text : phrases(phraseList))
            list.append({ .name = kPhraseNames[nameIndex++].constData(), .caption = text });
    }
    for (const SpecialCharacter &special : specialCharacters())
        list.append({ .name = special.name, .caption = special.caption, .shortcut = special.shortcut });
    return list;
}
