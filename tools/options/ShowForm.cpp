// The entry of the startup-options editor library: the program loads it, calls ShowForm and
// unloads it again, so nothing of it may outlive the call.
#include "app/StartupOptions.h"
#include "tools/options/OptionsForm.h"

#include <QApplication>

extern "C" Q_DECL_EXPORT void ShowForm()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    const QString path = StartupOptions::defaultPath();
    const StartupOptions::ReadResult current = StartupOptions::readFile(path);
    OptionsForm form(path, QApplication::activeWindow());
    form.setOptions(current.ok() ? current.options : StartupOptions());
    form.exec();
}
