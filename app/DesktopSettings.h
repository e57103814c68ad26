#pragma once

#include "platform/IniFile.h"

#include <QString>

// The view choices kept in "DeskTopDock.ini". Every reader opens the file afresh and gives the
// key's default when the file or the key is missing; every writer opens the file, writes its one
// key and closes it again, keeping every other line. Writers return false when the file cannot
// be written.
class DesktopSettings
{
public:
    // Everything the frame reads once at creation.
    struct Flags
    {
        int transparency = 0;
        bool fullWidthLayout = false;
        bool fullHeightLayout = false;
        bool printThumbnails = false;
        bool pdfThumbnails = false;
        bool imageThumbnails = false;
        bool mouseRepositioningDisabled = false;
        bool tabbedDocument = false;
        bool viewRulers = true;
        QString customCloudWebsite;
        QString browserEmulationMarker;

        bool operator==(const Flags &other) const = default;
    };

    explicit DesktopSettings(QString path = defaultPath());

    static QString fileName(); // "DeskTopDock.ini"
    static QString defaultPath();
    // The address used until the user sets their own cloud storage page.
    static QString defaultCloudWebsite();
    // The marker before the browser emulation has been registered, and after.
    static QString unregisteredMarker(); // "None"
    static QString registeredMarker(); // "IE9Word"

    const QString &path() const { return m_ini.path(); }

    Flags read() const;

    // "Transparency" / "Value": translucency of the frame in percent, held to 0..100. The program
    // never writes it.
    int transparency() const;
    // "View Layout" / "View": full-width (true) or centred (false) outline layout.
    bool fullWidthLayout() const;
    bool setFullWidthLayout(bool on);
    // "View Layout" / "Screen": toolbars and status bar hidden.
    bool fullHeightLayout() const;
    bool setFullHeightLayout(bool on);
    // "ThumbNails" / "Print View", "PDF View", "Image View".
    bool printThumbnails() const;
    bool setPrintThumbnails(bool on);
    bool pdfThumbnails() const;
    bool setPdfThumbnails(bool on);
    bool imageThumbnails() const;
    bool setImageThumbnails(bool on);
    // "ThumbNails" / "Mouse Position": true when clicking a thumbnail must not move the caret.
    bool mouseRepositioningDisabled() const;
    bool setMouseRepositioningDisabled(bool on);
    // "InterFace" / "Tabbed Document": the frame's document tab bar.
    bool tabbedDocument() const;
    bool setTabbedDocument(bool on);
    // "InterFace" / "View Rulers": the editor's side buttons; shown unless the file says otherwise.
    bool viewRulers() const;
    bool setViewRulers(bool on);
    // "Custom Cloud Storage" / "Website". An address with a line break is refused.
    QString customCloudWebsite() const;
    bool setCustomCloudWebsite(const QString &address);
    // "Internet Explorer Emulation" / "NetSurferWord".
    QString browserEmulationMarker() const;
    bool setBrowserEmulationMarker(const QString &marker);
    bool isBrowserEmulationRegistered() const;

private:
    IniFile m_ini;
};
