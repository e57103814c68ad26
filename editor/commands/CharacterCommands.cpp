#include "editor/commands/CharacterCommands.h"

#include <QKeySequence>

namespace {
// Underline types and line colours by their captions and names, in menu order.
struct Choice
{
    const char *name;
    const char *caption;
};
constexpr Choice kUnderlineTypes[] = { { "Single1", "Single" }, { "Thick1", "Thick" }, { "Wave1", "Wave" },
    { "DashDotDot1", "DashDotDot" }, { "DashDot1", "DashDot" }, { "Dash1", "Dash" }, { "Dotted1", "Dotted" } };
constexpr Choice kLineColours[] = { { "Automatic1", "Automatic" }, { "Blue1", "Blue" }, { "Aqua1", "Aqua" },
    { "Lime1", "Lime" }, { "Purple1", "Purple" }, { "Red1", "Red" }, { "Yellow1", "Yellow" } };
constexpr int kUnderlineTypeGroup = 1;
constexpr int kLineColourGroup = 2;
} // namespace

QList<Command> CharacterCommands::commands()
{
    QList<Command> list = {
        { .name = "Bold1",
            .caption = QStringLiteral("Bold"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_B),
            .toolTip = QStringLiteral("Bold"),
            .statusTip = QStringLiteral("Change Text to Bold."),
            .icon = "format-text-bold",
            .button = "btnBold",
            .kind = Command::Kind::Checkable },
        { .name = "Italic1",
            .caption = QStringLiteral("Italic"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_I),
            .toolTip = QStringLiteral("Italic"),
            .statusTip = QStringLiteral("Change Text to Italic."),
            .icon = "format-text-italic",
            .button = "btnItalic",
            .kind = Command::Kind::Checkable },
        { .name = "Underline1",
            .caption = QStringLiteral("Underline"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_U),
            .toolTip = QStringLiteral("Underline"),
            .statusTip = QStringLiteral("Underline Text."),
            .icon = "format-text-underline",
            .button = "btnUnderline",
            .kind = Command::Kind::Checkable },
        { .name = "Superscript1",
            .caption = QStringLiteral("Superscript"),
            .toolTip = QStringLiteral("Superscript"),
            .statusTip = QStringLiteral("Superscript"),
            .icon = "format-text-superscript",
            .button = "btnSub",
            .kind = Command::Kind::Checkable },
        { .name = "Subscript1",
            .caption = QStringLiteral("Subscript"),
            .toolTip = QStringLiteral("Subscript"),
            .statusTip = QStringLiteral("Subscript"),
            .icon = "format-text-subscript",
            .button = "btnSup",
            .kind = Command::Kind::Checkable },
        { .name = "btnTextColour",
            .caption = QStringLiteral("Font Colour"),
            .toolTip = QStringLiteral("Font Colour"),
            .statusTip = QStringLiteral("Font Colour"),
            .icon = "format-text-color",
            .button = "btnTextColour" },
        { .name = "btnBackColour",
            .caption = QStringLiteral("Highlight Colour"),
            .toolTip = QStringLiteral("Highlight Colour"),
            .statusTip = QStringLiteral("Change the Text Background Colour."),
            .icon = "format-fill-color",
            .button = "btnBackColour" },
        { .name = "FontOptions1",
            .caption = QStringLiteral("Font Options..."),
            .shortcut = QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O),
            .statusTip = QStringLiteral("Open Font Dialog Window."),
            .icon = "preferences-desktop-font" },
        { .name = "AllCaps1", .caption = QStringLiteral("All Caps") },
        { .name = "SmallCaps1", .caption = QStringLiteral("Small Caps") },
        { .name = "HiddenText1", .caption = QStringLiteral("Hidden Text"), .kind = Command::Kind::Checkable },
        { .name = "DisabledText1", .caption = QStringLiteral("Disabled Text"), .kind = Command::Kind::Checkable },
        { .name = "ProtectedText1", .caption = QStringLiteral("Protected Text"), .kind = Command::Kind::Checkable },
        { .name = "LTRLeftToRightText1",
            .caption = QStringLiteral("LTR - Left To Right Text"),
            .icon = "format-text-direction-ltr" },
        { .name = "RTLRightToLeftText1",
            .caption = QStringLiteral("RTL - Right To Left Text"),
            .icon = "format-text-direction-rtl" },
        { .name = "FormatPainter1",
            .caption = QStringLiteral("Format Painter"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K),
            .toolTip = QStringLiteral("Format Painter"),
            .statusTip = QStringLiteral("Format Painter Reuses Selected Text's Formatting Attributes."),
            .icon = "edit-paste-style",
            .button = "btnWeb",
            .kind = Command::Kind::Checkable },
    };
    for (const Choice &type : kUnderlineTypes)
        list.append({ .name = type.name,
            .caption = QString::fromLatin1(type.caption),
            .kind = Command::Kind::Exclusive,
            .exclusiveGroup = kUnderlineTypeGroup });
    for (const Choice &colour : kLineColours)
        list.append({ .name = colour.name,
            .caption = QString::fromLatin1(colour.caption),
            .kind = Command::Kind::Exclusive,
            .exclusiveGroup = kLineColourGroup });
    return list;
}
