#pragma once

#include <QString>

class DesktopSettings;
class RegistryStore;

// The machine-wide value that makes the embedded web browser render in its newest mode. It is
// registered once: the desktop settings remember a successful registration, and a registration
// the store refused (no administrator rights) is tried again at the next start.
class BrowserEmulation
{
public:
    enum class Outcome {
        AlreadyRegistered, // the settings say it was done; nothing was touched
        Registered, // the value and the settings marker were written
        Refused, // the key could not be opened or written; nothing was written
    };

    static QString keyPath(); // "\Software\Microsoft\Internet Explorer\Main\FeatureControl\..."
    static QString valueName(); // "Lumaro.exe"
    static constexpr quint32 emulationValue = 11000;

    static Outcome ensureRegistered(DesktopSettings &settings, RegistryStore &store);
};
