#pragma once

#include "editor/commands/Command.h"

#include <QByteArray>
#include <QStringList>

// Text transforms, dates and times, letter phrases, special characters, revised text, pictures,
// objects and links.
class TextToolCommands : public CommandArea
{
public:
    QList<Command> commands() override;

    enum class PhraseList { AfrikaansOpening, AfrikaansClosing, EnglishSalutations, EnglishEndings };
    // The letter phrases of a submenu; each item inserts exactly its caption.
    static QStringList phrases(PhraseList list);
    static QByteArray phraseCommandName(PhraseList list, int index);

    struct SpecialCharacter
    {
        const char *name;
        QString caption;
        QString text; // what the item inserts
        QKeySequence shortcut;
        bool inMenu; // false: the special-character pop-up only
    };
    static QList<SpecialCharacter> specialCharacters();
};
