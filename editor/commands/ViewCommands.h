#pragma once

#include "editor/commands/Command.h"

class TRxRichEdit;

// What the view commands need of the document window.
class ViewHost
{
public:
    virtual ~ViewHost() = default;
    virtual TRxRichEdit &viewEditor() = 0;
    virtual int zoomStep() const = 0;
    // Sets the step and applies the zoom (the step is clamped to the screen's table).
    virtual void setZoomStep(int step) = 0;
    // Zoom In and Zoom Out work only while the window is maximised.
    virtual bool isZoomAllowed() const = 0;
    virtual void setSidePanelsVisible(bool visible) = 0;
    virtual void setBarsVisible(bool visible) = 0; // both toolbars and the status bar
    virtual void setSideButtonsVisible(bool visible) = 0;
    virtual bool isAnyThumbnailViewOn() const = 0;
    virtual void applyZoom() = 0;
    virtual void flipDocuments() = 0;
    virtual void stepDocuments() = 0;
    // The frame's view settings, shared by its windows.
    virtual bool frameSetting(int which) const = 0;
    virtual void setFrameSetting(int which, bool on) = 0;
};

// The view settings of the frame that the view commands change.
enum FrameViewSetting { FullWidthLayout, FullHeightLayout, SideButtons, TabbedDocument };

// Zoom, the three layouts, side buttons, the tab bar, word wrap, document navigation and the
// short-cut list.
class ViewCommands : public CommandArea
{
public:
    explicit ViewCommands(ViewHost &host);

    QList<Command> commands() override;

    void ZoomIn1Click();
    void ZoomOut1Click();
    // fromMenu: the menu item writes the choice to the settings file; a window being shown only
    // follows the frame's setting.
    void FullWidthOutlineLayout1Click(bool fromMenu = true);
    void CentredOutlineLayout1Click(bool fromMenu = true);
    void FullHeightViewingLayout1Click();
    void EditorSideButtons1Click();
    void TabbedDocumentInterface1Click();
    void WordWrapOn1Click();
    void imgToolTipsClick();

    bool isFullWidth() const { return m_fullWidth; }
    static QString shortcutListText();
    static QString fullWidthRefusal();

private:
    ViewHost &m_host;
    bool m_fullWidth = false;
};
