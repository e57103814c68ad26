#pragma once

#include "export/PresentationOptions.h"

#include <QDialog>
#include <QPoint>

class PresentationTile;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QToolButton;

// The presentation options window: page-size tiles, the 4:3 size steps, the viewing time, the
// frame switch and colour. Borderless; its heading bar drags it. It lives for the program's run,
// so the choices stay for the next export.
class TfrmPresentation : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmPresentation(QWidget *parent = nullptr);

    QLabel *pnlHeading = nullptr;
    QGroupBox *grpPageSize = nullptr;
    PresentationTile *tileFullPage = nullptr;
    PresentationTile *tileHalfPage1 = nullptr;
    PresentationTile *tileHalfPage2 = nullptr;
    PresentationTile *tileScreen = nullptr;
    QToolButton *btnSmaller = nullptr;
    QToolButton *btnLarger = nullptr;
    QSpinBox *spnSeconds = nullptr;
    QCheckBox *chkFrame = nullptr;
    QFrame *shpFrameColour = nullptr;
    QPushButton *btnFrameColour = nullptr;
    QPushButton *btnSave = nullptr;

    // The options as the window shows them; the page size is the tile with the selected colour.
    PresentationOptions options() const;
    // Shows the window modally; however it is closed, returns the options as they stand.
    PresentationOptions ask();

    void selectPageSize(PresentationOptions::PageSize size);
    void stepScreenSize(int direction); // -1 smaller, +1 larger
    QColor frameColour() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showHoverFrame(PresentationOptions::PageSize size);
    void hideHoverFrames();
    void chooseFrameColour();
    void setFrameColour(const QColor &color);

    QPoint m_dragOffset;
    bool m_dragging = false;
};
