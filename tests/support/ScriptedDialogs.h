#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>

#include <deque>
#include <variant>

// The Dialogs double of the tests: every dialog takes the next queued answer of its kind and is
// recorded with its exact texts. A dialog without a matching queued answer fails the running test
// (it never blocks) and is answered Cancel / No / nothing.
class ScriptedDialogs final : public Dialogs
{
public:
    enum class Kind { Message, Input, Open, Save, Color, Font, Print };

    struct Shown
    {
        Kind kind;
        Icon icon = Icon::None;
        QString title;
        QString text;
        Buttons buttons = Buttons::Ok;
        FileRequest file; // for Open / Save
        bool masked = false; // an input prompt whose typing is hidden
    };

    // Queue answers, in the order the dialogs will appear.
    void answerMessage(Button button);
    // Answers an input prompt, masked or not.
    void answerInput(std::optional<QString> text);
    void answerOpen(QStringList files, int filterIndex = 1);
    void answerSave(QString file, int filterIndex = -1); // -1: keep the request's index
    void answerSaveCancel();
    void answerColor(std::optional<QColor> color);
    void answerFont(std::optional<FontResult> font, bool pressApplyFirst = false);
    void answerPrint(std::optional<PrintRequest> result);

    const QList<Shown> &shown() const { return m_shown; }
    QStringList messageTexts() const;
    QString lastMessage() const;
    int unexpectedCount() const { return m_unexpected; }
    int pendingAnswers() const { return int(m_answers.size()); }
    // Forgets everything shown and queued.
    void reset();

    Button message(Icon icon, const QString &title, const QString &text, Buttons buttons) override;
    std::optional<QString> inputText(const QString &title, const QString &prompt, const QString &initial) override;
    std::optional<QString> inputPassword(const QString &title, const QString &prompt) override;
    FileResult openFile(const FileRequest &request) override;
    FileResult saveFile(const FileRequest &request) override;
    std::optional<QColor> color(const QColor &initial, const QString &title) override;
    std::optional<FontResult> font(const FontRequest &request) override;
    bool print(PrintRequest &request) override;

    // The instance installed by the test main.
    static ScriptedDialogs &installed();

private:
    struct FileAnswer
    {
        QStringList files;
        int filterIndex;
    };
    struct FontAnswer
    {
        std::optional<FontResult> font;
        bool applyFirst;
    };
    struct Answer
    {
        Kind kind;
        std::variant<Button, std::optional<QString>, FileAnswer, std::optional<QColor>, FontAnswer,
                     std::optional<PrintRequest>>
            value;
    };

    bool take(Kind kind, const QString &what, Answer *answer);

    std::deque<Answer> m_answers;
    QList<Shown> m_shown;
    int m_unexpected = 0;
};
