#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

// One command of the document window as its table describes it. A command has one QAction (named
// `name`, the object name of its menu item, or of its button when it has no menu item); the menu
// item, the toolbar or side button and the pop-up entries that do the same thing all show that
// action.
//
// A command without `run` belongs to a part of the program that is not built yet: its action is
// present and stays disabled.
struct Command
{
    enum class Kind {
        Plain,
        Checkable, // a check mark that `checked` decides
        Exclusive, // one of the checkable commands of the same `exclusiveGroup` (a radio mark)
    };

    const char *name = nullptr; // object name of the action ("Bold1")
    QString caption; // menu caption with its accelerator ("&Bold")
    QKeySequence shortcut; // empty: none
    QString toolTip; // short hint of its button ("Bold")
    QString statusTip; // long hint, shown in the status line
    const char *icon = nullptr; // freedesktop icon name ("format-text-bold"), or none
    const char *button = nullptr; // object name of its toolbar or side button ("btnBold"), or none
    Kind kind = Kind::Plain;
    int exclusiveGroup = 0; // for Kind::Exclusive: commands of one group exclude each other

    std::function<void()> run; // the handler, bound to the command class that owns it
    std::function<bool()> enabled; // empty: enabled whenever `run` is set
    std::function<bool()> checked; // for Checkable and Exclusive commands
    // Captions that change with the state ("&Undo typing"): asked on refresh when set.
    std::function<QString()> dynamicCaption;
};

// A command class: owns the behaviour of one area of the window and describes its commands.
// The window asks each area once for its table when it builds its actions.
class CommandArea
{
public:
    virtual ~CommandArea() = default;
    virtual QList<Command> commands() = 0;
};
