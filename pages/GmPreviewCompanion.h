#pragma once

class TGmPreview;

// Notifications a preview sends to its registered companion controls (thumbnail strip, page
// navigator, property controls), synchronously and never while its page list is updating.
enum TGmPreviewNotification {
    gmPagesPerSheetChanged = 7034,
    gmRepaint = 7035,
    gmOrientationChanged = 7036,
    gmPageContentChanged = 7038,
    gmPageCountChanged = 7039,
    gmPrinterChanged = 7042,
    gmBeginUpdate = 7043,
    gmEndUpdate = 7044,
    gmPaperSizeChanged = 7045,
    gmCurrentPageChanged = 7047
};

class TGmPreviewCompanion
{
public:
    virtual ~TGmPreviewCompanion() = default;
    virtual void PreviewNotification(TGmPreview *preview, TGmPreviewNotification notification) = 0;
    // The preview is going away; forget it.
    virtual void PreviewDestroyed(TGmPreview *preview) = 0;
};
