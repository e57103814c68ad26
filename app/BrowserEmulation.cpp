#include "app/BrowserEmulation.h"

#include "app/DesktopSettings.h"
#include "platform/RegistryStore.h"

QString BrowserEmulation::keyPath()
{
    return QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION");
}

QString BrowserEmulation::valueName()
{
    return QStringLiteral("Lumaro.exe");
}

BrowserEmulation::Outcome BrowserEmulation::ensureRegistered(DesktopSettings &settings, RegistryStore &store)
{
    if (settings.isBrowserEmulationRegistered())
        return Outcome::AlreadyRegistered;
    if (!store.openKey(keyPath()))
        return Outcome::Refused;
    // The marker is written only after the value is stored, so a failed write is retried.
    const bool written = store.writeInteger(valueName(), emulationValue);
    store.closeKey();
    if (!written)
        return Outcome::Refused;
    settings.setBrowserEmulationMarker(DesktopSettings::registeredMarker());
    return Outcome::Registered;
}
