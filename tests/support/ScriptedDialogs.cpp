#include "tests/support/ScriptedDialogs.h"

#include <QTest>

namespace {

const char *kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message: return "message";
    case ScriptedDialogs::Kind::Input: return "input";
    case ScriptedDialogs::Kind::Open: return "open";
    case ScriptedDialogs::Kind::Save: return "save";
    case ScriptedDialogs::Kind::Color: return "colour";
    case ScriptedDialogs::Kind::Font: return "font";
    case ScriptedDialogs::Kind::Print: return "print";
    }
    return "?";
}

} // namespace

void ScriptedDialogs::answerMessage(Button button) { m_answers.push_back({Kind::Message, button}); }
void ScriptedDialogs::answerInput(std::optional<QString> text) { m_answers.push_back({Kind::Input, std::move(text)}); }
void ScriptedDialogs::answerOpen(QStringList files, int filterIndex)
{
    m_answers.push_back({Kind::Open, FileAnswer{std::move(files), filterIndex}});
}
void ScriptedDialogs::answerSave(QString file, int filterIndex)
{
    m_answers.push_back({Kind::Save, FileAnswer{QStringList{std::move(file)}, filterIndex}});
}
void ScriptedDialogs::answerSaveCancel() { m_answers.push_back({Kind::Save, FileAnswer{{}, -1}}); }
void ScriptedDialogs::answerColor(std::optional<QColor> color) { m_answers.push_back({Kind::Color, color}); }
void ScriptedDialogs::answerFont(std::optional<FontResult> font, bool pressApplyFirst)
{
    m_answers.push_back({Kind::Font, FontAnswer{std::move(font), pressApplyFirst}});
}
void ScriptedDialogs::answerPrint(std::optional<PrintRequest> result) { m_answers.push_back({Kind::Print, std::move(result)}); }

QStringList ScriptedDialogs::messageTexts() const
{
    QStringList out;
    for (const Shown &s : m_shown) {
        if (s.kind == Kind::Message || s.kind == Kind::Input)
            out.append(s.text);
    }
    return out;
}

QString ScriptedDialogs::lastMessage() const
{
    const QStringList texts = messageTexts();
    return texts.isEmpty() ? QString() : texts.last();
}

void ScriptedDialogs::reset()
{
    m_answers.clear();
    m_shown.clear();
    m_unexpected = 0;
}

bool ScriptedDialogs::take(Kind kind, const QString &what, Answer *answer)
{
    if (!m_answers.empty() && m_answers.front().kind == kind) {
        *answer = std::move(m_answers.front());
        m_answers.pop_front();
        return true;
    }
    ++m_unexpected;
    const QByteArray msg = QByteArray("Unexpected ") + kindName(kind) + " dialog: " + what.toUtf8()
                           + (m_answers.empty() ? QByteArray(" (no answer queued)")
                                                : QByteArray(" (next answer is for a ")
                                                      + kindName(m_answers.front().kind) + " dialog)");
    QTest::qFail(msg.constData(), __FILE__, __LINE__);
    return false;
}

Dialogs::Button ScriptedDialogs::message(Icon icon, const QString &title, const QString &text, Buttons buttons)
{
    m_shown.append({Kind::Message, icon, title, text, buttons, {}});
    Answer a;
    if (!take(Kind::Message, text, &a))
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? No : Cancel;
    return std::get<Button>(a.value);
}

std::optional<QString> ScriptedDialogs::inputText(const QString &title, const QString &prompt, const QString &)
{
    m_shown.append({Kind::Input, Icon::None, title, prompt, Buttons::OkCancel, {}});
    Answer a;
    if (!take(Kind::Input, prompt, &a))
        return std::nullopt;
    return std::get<std::optional<QString>>(a.value);
}

std::optional<QString> ScriptedDialogs::inputPassword(const QString &title, const QString &prompt)
{
    m_shown.append({Kind::Input, Icon::None, title, prompt, Buttons::OkCancel, {}, true});
    Answer a;
    if (!take(Kind::Input, prompt, &a))
        return std::nullopt;
    return std::get<std::optional<QString>>(a.value);
}

Dialogs::FileResult ScriptedDialogs::openFile(const FileRequest &request)
{
    m_shown.append({Kind::Open, Icon::None, request.title, {}, Buttons::OkCancel, request});
    Answer a;
    if (!take(Kind::Open, request.title, &a))
        return {};
    const auto &f = std::get<FileAnswer>(a.value);
    return {f.files, f.filterIndex < 0 ? request.filterIndex : f.filterIndex};
}

Dialogs::FileResult ScriptedDialogs::saveFile(const FileRequest &request)
{
    m_shown.append({Kind::Save, Icon::None, request.title, {}, Buttons::OkCancel, request});
    Answer a;
    if (!take(Kind::Save, request.title, &a))
        return {};
    const auto &f = std::get<FileAnswer>(a.value);
    const int index = f.filterIndex < 0 ? request.filterIndex : f.filterIndex;
    if (request.filterChanged && index != request.filterIndex)
        request.filterChanged(index);
    return {f.files, index};
}

std::optional<QColor> ScriptedDialogs::color(const QColor &initial, const QString &title)
{
    m_shown.append({Kind::Color, Icon::None, title, initial.name(), Buttons::OkCancel, {}});
    Answer a;
    if (!take(Kind::Color, title, &a))
        return std::nullopt;
    return std::get<std::optional<QColor>>(a.value);
}

std::optional<Dialogs::FontResult> ScriptedDialogs::font(const FontRequest &request)
{
    m_shown.append({Kind::Font, Icon::None, {}, request.font.family(), Buttons::OkCancel, {}});
    Answer a;
    if (!take(Kind::Font, request.font.family(), &a))
        return std::nullopt;
    const auto &f = std::get<FontAnswer>(a.value);
    if (f.applyFirst && f.font && request.apply)
        request.apply(f.font->font, f.font->color);
    return f.font;
}

bool ScriptedDialogs::print(PrintRequest &request)
{
    m_shown.append({Kind::Print, Icon::None, request.printerName, {}, Buttons::OkCancel, {}});
    Answer a;
    if (!take(Kind::Print, request.printerName, &a))
        return false;
    const auto &r = std::get<std::optional<PrintRequest>>(a.value);
    if (!r)
        return false;
    request = *r;
    return true;
}

ScriptedDialogs &ScriptedDialogs::installed()
{
    static ScriptedDialogs dialogs;
    return dialogs;
}
