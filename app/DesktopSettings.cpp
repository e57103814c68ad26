#include "app/DesktopSettings.h"

#include "platform/AppPaths.h"

#include <algorithm>

namespace {

// Section names as the program has always written them. The side-buttons key is read from
// "Interface" and written to "InterFace": section names match without regard to case, so both
// name the same section.
const QString TransparencySection = QStringLiteral("Transparency");
const QString ViewLayoutSection = QStringLiteral("View Layout");
const QString ThumbNailsSection = QStringLiteral("ThumbNails");
const QString InterfaceReadSection = QStringLiteral("Interface");
const QString InterfaceWriteSection = QStringLiteral("InterFace");
const QString CloudSection = QStringLiteral("Custom Cloud Storage");
const QString EmulationSection = QStringLiteral("Internet Explorer Emulation");

const QString ValueKey = QStringLiteral("Value");
const QString ViewKey = QStringLiteral("View");
const QString ScreenKey = QStringLiteral("Screen");
const QString PrintViewKey = QStringLiteral("Print View");
const QString PdfViewKey = QStringLiteral("PDF View");
const QString ImageViewKey = QStringLiteral("Image View");
const QString MousePositionKey = QStringLiteral("Mouse Position");
const QString TabbedDocumentKey = QStringLiteral("Tabbed Document");
const QString ViewRulersKey = QStringLiteral("View Rulers");
const QString WebsiteKey = QStringLiteral("Website");
const QString NetSurferKey = QStringLiteral("NetSurferWord");

} // namespace

DesktopSettings::DesktopSettings(QString path)
    : m_ini(std::move(path))
{ }

QString DesktopSettings::fileName()
{
    return QStringLiteral("DeskTopDock.ini");
}

QString DesktopSettings::defaultPath()
{
    return AppPaths::dataFile(fileName());
}

QString DesktopSettings::defaultCloudWebsite()
{
    return QStringLiteral("https://");
}

QString DesktopSettings::unregisteredMarker()
{
    return QStringLiteral("None");
}

QString DesktopSettings::registeredMarker()
{
    return QStringLiteral("IE9Word");
}

DesktopSettings::Flags DesktopSettings::read() const
{
    Flags f;
    f.transparency = transparency();
    f.fullWidthLayout = fullWidthLayout();
    f.fullHeightLayout = fullHeightLayout();
    f.printThumbnails = printThumbnails();
    f.pdfThumbnails = pdfThumbnails();
    f.imageThumbnails = imageThumbnails();
    f.mouseRepositioningDisabled = mouseRepositioningDisabled();
    f.tabbedDocument = tabbedDocument();
    f.viewRulers = viewRulers();
    f.customCloudWebsite = customCloudWebsite();
    f.browserEmulationMarker = browserEmulationMarker();
    return f;
}

int DesktopSettings::transparency() const
{
    // Outside 0..100 the frame's alpha would leave 0..255.
    return std::clamp(m_ini.readInteger(TransparencySection, ValueKey, 0), 0, 100);
}

bool DesktopSettings::fullWidthLayout() const
{
    return m_ini.readBool(ViewLayoutSection, ViewKey, false);
}

bool DesktopSettings::setFullWidthLayout(bool on)
{
    return m_ini.writeBool(ViewLayoutSection, ViewKey, on);
}

bool DesktopSettings::fullHeightLayout() const
{
    return m_ini.readBool(ViewLayoutSection, ScreenKey, false);
}

bool DesktopSettings::setFullHeightLayout(bool on)
{
    return m_ini.writeBool(ViewLayoutSection, ScreenKey, on);
}

bool DesktopSettings::printThumbnails() const
{
    return m_ini.readBool(ThumbNailsSection, PrintViewKey, false);
}

bool DesktopSettings::setPrintThumbnails(bool on)
{
    return m_ini.writeBool(ThumbNailsSection, PrintViewKey, on);
}

bool DesktopSettings::pdfThumbnails() const
{
    return m_ini.readBool(ThumbNailsSection, PdfViewKey, false);
}

bool DesktopSettings::setPdfThumbnails(bool on)
{
    return m_ini.writeBool(ThumbNailsSection, PdfViewKey, on);
}

bool DesktopSettings::imageThumbnails() const
{
    return m_ini.readBool(ThumbNailsSection, ImageViewKey, false);
}

bool DesktopSettings::setImageThumbnails(bool on)
{
    return m_ini.writeBool(ThumbNailsSection, ImageViewKey, on);
}

bool DesktopSettings::mouseRepositioningDisabled() const
{
    return m_ini.readBool(ThumbNailsSection, MousePositionKey, false);
}

bool DesktopSettings::setMouseRepositioningDisabled(bool on)
{
    return m_ini.writeBool(ThumbNailsSection, MousePositionKey, on);
}

bool DesktopSettings::tabbedDocument() const
{
    return m_ini.readBool(InterfaceWriteSection, TabbedDocumentKey, false);
}

bool DesktopSettings::setTabbedDocument(bool on)
{
    return m_ini.writeBool(InterfaceWriteSection, TabbedDocumentKey, on);
}

bool DesktopSettings::viewRulers() const
{
    return m_ini.readBool(InterfaceReadSection, ViewRulersKey, true);
}

bool DesktopSettings::setViewRulers(bool on)
{
    return m_ini.writeBool(InterfaceWriteSection, ViewRulersKey, on);
}

QString DesktopSettings::customCloudWebsite() const
{
    return m_ini.readString(CloudSection, WebsiteKey, defaultCloudWebsite());
}

bool DesktopSettings::setCustomCloudWebsite(const QString &address)
{
    // A line break would end the value and start a stray line in the file.
    if (address.contains(u'\n') || address.contains(u'\r'))
        return false;
    return m_ini.writeString(CloudSection, WebsiteKey, address);
}

QString DesktopSettings::browserEmulationMarker() const
{
    return m_ini.readString(EmulationSection, NetSurferKey, unregisteredMarker());
}

bool DesktopSettings::setBrowserEmulationMarker(const QString &marker)
{
    return m_ini.writeString(EmulationSection, NetSurferKey, marker);
}

bool DesktopSettings::isBrowserEmulationRegistered() const
{
    return browserEmulationMarker() == registeredMarker();
}
