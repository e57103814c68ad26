#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The one service through which the program shows every message box, confirmation, input prompt,
// file dialog, colour, font and print dialog. The program installs the Qt implementation at start;
// tests install a scripted double that answers from a queue and records every text shown.
class Dialogs
{
public:
    enum class Icon { None, Information, Warning, Error, Question };
    // Values as the platform numbers its buttons, so callers may compare with stored values.
    enum Button : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

    struct FileRequest
    {
        QString title;
        QString initialDir;
        QString fileName;                          // proposed name (save) or preselected (open)
        QList<QPair<QString, QString>> filters;    // description, pattern list ("*.rtf;*.doc")
        int filterIndex = 1;                       // 1-based, as the platform counts
        QString defaultSuffix;                     // without dot
        bool overwritePrompt = true;               // save only
        bool multiSelect = false;                  // open only
        // Called when the user picks another filter while the dialog is open (1-based index).
        std::function<void(int)> filterChanged;
    };
    struct FileResult
    {
        QStringList files;   // empty when cancelled
        int filterIndex = 1; // the filter in use when the dialog closed
        bool accepted() const { return !files.isEmpty(); }
        QString file() const { return files.value(0); }
    };

    struct FontRequest
    {
        QFont font;
        QColor color;
        bool effects = true;
        // Called with the dialog's current font and colour when the user presses Apply.
        std::function<void(const QFont &, const QColor &)> apply;
    };
    struct FontResult
    {
        QFont font;
        QColor color;
    };

    struct PrintRequest
    {
        QString printerName;
        int minPage = 1;
        int maxPage = 1;
        int fromPage = 0; // 0: all pages
        int toPage = 0;
        int copies = 1;
        bool collate = true;
        bool selectionEnabled = false;
        bool selection = false;  // in: the range preset to the selection; out: the range chosen
        bool printToFile = true; // the dialog offers printing to a file
        QString outputFile;      // out: the file chosen for printing to a file, else empty
        bool setupOnly = false;  // printer setup: choose the printer and its settings, no range
    };

    virtual ~Dialogs() = default;

    // A message box; returns the button pressed (Cancel or No when closed otherwise).
    virtual Button message(Icon icon, const QString &title, const QString &text, Buttons buttons) = 0;
    // A one-line input prompt; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString &title, const QString &prompt,
                                             const QString &initial) = 0;
    // A one-line prompt whose typing is masked (passwords); nullopt when cancelled. Services that
    // cannot mask answer as cancelled.
    virtual std::optional<QString> inputPassword(const QString &title, const QString &prompt);
    virtual FileResult openFile(const FileRequest &request) = 0;
    virtual FileResult saveFile(const FileRequest &request) = 0;
    virtual std::optional<QColor> color(const QColor &initial, const QString &title = {}) = 0;
    virtual std::optional<FontResult> font(const FontRequest &request) = 0;
    // Edits the request in place; false when cancelled.
    virtual bool print(PrintRequest &request) = 0;

    // Shorthands with the program's title.
    void information(const QString &text, const QString &title = {});
    void warning(const QString &text, const QString &title = {});
    void error(const QString &text, const QString &title = {});
    Button confirm(const QString &text, Buttons buttons = Buttons::YesNo, const QString &title = {});

    static Dialogs &instance();
    // Installs the service (not owned); nullptr uninstalls it.
    static void setInstance(Dialogs *dialogs);
    static bool isInstalled();

    // The caption used when a caller gives none.
    static QString applicationTitle();
};
