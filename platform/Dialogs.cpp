#include "platform/Dialogs.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

Dialogs *g_dialogs = nullptr;

// Without an installed service (a headless conversion, say) nothing may block: messages go to
// standard error and every question is answered "Cancel".
class HeadlessDialogs final : public Dialogs
{
public:
    Button message(Icon, const QString &title, const QString &text, Buttons) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        return Cancel;
    }
    std::optional<QString> inputText(const QString &, const QString &, const QString &) override { return {}; }
    FileResult openFile(const FileRequest &) override { return {}; }
    FileResult saveFile(const FileRequest &) override { return {}; }
    std::optional<QColor> color(const QColor &, const QString &) override { return {}; }
    std::optional<FontResult> font(const FontRequest &) override { return {}; }
    bool print(PrintRequest &) override { return false; }
};

} // namespace

std::optional<QString> Dialogs::inputPassword(const QString &, const QString &)
{
    return std::nullopt;
}

Dialogs &Dialogs::instance()
{
    static HeadlessDialogs headless;
    return g_dialogs ? *g_dialogs : headless;
}

void Dialogs::setInstance(Dialogs *dialogs)
{
    g_dialogs = dialogs;
}

bool Dialogs::isInstalled()
{
    return g_dialogs != nullptr;
}

QString Dialogs::applicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Velmora Lumaro Editor") : name;
}

void Dialogs::information(const QString &text, const QString &title)
{
    message(Icon::Information, title.isEmpty() ? applicationTitle() : title, text, Buttons::Ok);
}

void Dialogs::warning(const QString &text, const QString &title)
{
    message(Icon::Warning, title.isEmpty() ? applicationTitle() : title, text, Buttons::Ok);
}

void Dialogs::error(const QString &text, const QString &title)
{
    message(Icon::Error, title.isEmpty() ? applicationTitle() : title, text, Buttons::Ok);
}

Dialogs::Button Dialogs::confirm(const QString &text, Buttons buttons, const QString &title)
{
    return message(Icon::Question, title.isEmpty() ? applicationTitle() : title, text, buttons);
}
