#include "export/TfrmPresentation.h"

#include "export/PresentationTile.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

using PageSize = PresentationOptions::PageSize;

TfrmPresentation::TfrmPresentation(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmPresentation"));
    setWindowTitle(QStringLiteral("Presentation Options"));

    pnlHeading = new QLabel(QStringLiteral("Presentation Page Options"), this);
    pnlHeading->setObjectName(QStringLiteral("pnlHeading"));
    pnlHeading->setAutoFillBackground(true);
    pnlHeading->setMargin(6);
    QPalette headingPalette = pnlHeading->palette();
    headingPalette.setColor(QPalette::Window, PresentationTile::selectedColor());
    headingPalette.setColor(QPalette::WindowText, Qt::white);
    pnlHeading->setPalette(headingPalette);
    pnlHeading->installEventFilter(this);

    grpPageSize = new QGroupBox(QStringLiteral("Presentation Page Size"), this);
    grpPageSize->setObjectName(QStringLiteral("grpPageSize"));
    grpPageSize->setMouseTracking(true);
    grpPageSize->installEventFilter(this);
    tileFullPage = new PresentationTile(QStringLiteral("Full Page"), grpPageSize);
    tileFullPage->setObjectName(QStringLiteral("tileFullPage"));
    tileHalfPage1 = new PresentationTile(QStringLiteral("Half Page"), grpPageSize);
    tileHalfPage1->setObjectName(QStringLiteral("tileHalfPage1"));
    tileHalfPage2 = new PresentationTile(QStringLiteral("Half Page"), grpPageSize);
    tileHalfPage2->setObjectName(QStringLiteral("tileHalfPage2"));
    tileScreen = new PresentationTile(QStringLiteral("Screen Size 4:3"), grpPageSize);
    tileScreen->setObjectName(QStringLiteral("tileScreen"));
    tileScreen->setDetail(PresentationOptions::screenSizes().first());
    tileFullPage->setFixedSize(80, 112);
    tileHalfPage1->setFixedSize(80, 54);
    tileHalfPage2->setFixedSize(80, 54);
    tileScreen->setFixedSize(168, 80);
    btnSmaller = new QToolButton(grpPageSize);
    btnSmaller->setObjectName(QStringLiteral("btnSmaller"));
    btnSmaller->setArrowType(Qt::LeftArrow);
    btnSmaller->setToolTip(QStringLiteral("Smaller"));
    btnLarger = new QToolButton(grpPageSize);
    btnLarger->setObjectName(QStringLiteral("btnLarger"));
    btnLarger->setArrowType(Qt::RightArrow);
    btnLarger->setToolTip(QStringLiteral("Larger"));

    auto *tiles = new QGridLayout(grpPageSize);
    auto *halves = new QVBoxLayout;
    halves->setSpacing(4);
    halves->addWidget(tileHalfPage1);
    halves->addWidget(tileHalfPage2);
    auto *arrows = new QHBoxLayout;
    arrows->addStretch();
    arrows->addWidget(btnSmaller);
    arrows->addWidget(btnLarger);
    tiles->addWidget(tileFullPage, 0, 0, 2, 1);
    tiles->addLayout(halves, 0, 1, 2, 1);
    tiles->addLayout(arrows, 2, 0, 1, 2);
    tiles->addWidget(tileScreen, 3, 0, 1, 2);

    auto *grpTime = new QGroupBox(QStringLiteral("Set the Viewing Time Per Page"), this);
    grpTime->setObjectName(QStringLiteral("grpViewingTime"));
    spnSeconds = new QSpinBox(grpTime);
    spnSeconds->setObjectName(QStringLiteral("spnSeconds"));
    spnSeconds->setRange(5, 60);
    spnSeconds->setValue(15);
    chkFrame = new QCheckBox(QStringLiteral("Add a frame to each page."), grpTime);
    chkFrame->setObjectName(QStringLiteral("chkFrame"));
    shpFrameColour = new QFrame(grpTime);
    shpFrameColour->setObjectName(QStringLiteral("shpFrameColour"));
    shpFrameColour->setFixedSize(40, 20);
    shpFrameColour->setFrameShape(QFrame::Box);
    shpFrameColour->setAutoFillBackground(true);
    btnFrameColour = new QPushButton(QStringLiteral("..."), grpTime);
    btnFrameColour->setObjectName(QStringLiteral("btnFrameColour"));
    auto *time = new QGridLayout(grpTime);
    time->addWidget(spnSeconds, 0, 0);
    time->addWidget(new QLabel(QStringLiteral("Seconds"), grpTime), 0, 1, 1, 2);
    time->addWidget(chkFrame, 1, 0, 1, 3);
    time->addWidget(new QLabel(QStringLiteral("Frame Colour:"), grpTime), 2, 0);
    time->addWidget(shpFrameColour, 2, 1);
    time->addWidget(btnFrameColour, 2, 2);
    time->setRowStretch(3, 1);

    btnSave = new QPushButton(QStringLiteral("Save"), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnSave);

    auto *groups = new QHBoxLayout;
    groups->addWidget(grpPageSize);
    groups->addWidget(grpTime);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(pnlHeading);
    layout->addLayout(groups);
    layout->addLayout(bottom);

    connect(tileFullPage, &PresentationTile::clicked, this, [this] { selectPageSize(PageSize::FullPage); });
    connect(tileHalfPage1, &PresentationTile::clicked, this, [this] { selectPageSize(PageSize::HalfPage); });
    connect(tileHalfPage2, &PresentationTile::clicked, this, [this] { selectPageSize(PageSize::HalfPage); });
    connect(tileScreen, &PresentationTile::clicked, this, [this] { selectPageSize(PageSize::Screen); });
    connect(tileFullPage, &PresentationTile::hovered, this, [this] { showHoverFrame(PageSize::FullPage); });
    connect(tileHalfPage1, &PresentationTile::hovered, this, [this] { showHoverFrame(PageSize::HalfPage); });
    connect(tileHalfPage2, &PresentationTile::hovered, this, [this] { showHoverFrame(PageSize::HalfPage); });
    connect(tileScreen, &PresentationTile::hovered, this, [this] { showHoverFrame(PageSize::Screen); });
    connect(btnSmaller, &QToolButton::clicked, this, [this] { stepScreenSize(-1); });
    connect(btnLarger, &QToolButton::clicked, this, [this] { stepScreenSize(1); });
    connect(btnFrameColour, &QPushButton::clicked, this, &TfrmPresentation::chooseFrameColour);
    connect(btnSave, &QPushButton::clicked, this, &QDialog::accept);

    setFrameColour(QColor(0, 128, 192));
    selectPageSize(PageSize::FullPage);
}

PresentationOptions TfrmPresentation::options() const
{
    PresentationOptions o;
    if (tileHalfPage1->isSelected() || tileHalfPage2->isSelected())
        o.pageSize = PageSize::HalfPage;
    else if (tileScreen->isSelected())
        o.pageSize = PageSize::Screen;
    else
        o.pageSize = PageSize::FullPage;
    o.screenSize = tileScreen->detail();
    o.seconds = spnSeconds->value();
    o.frame = chkFrame->isChecked();
    o.frameColor = frameColour();
    return o;
}

PresentationOptions TfrmPresentation::ask()
{
    const QWidget *main = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    if (main) {
        adjustSize();
        move(main->frameGeometry().center() - rect().center());
    }
    exec();
    return options();
}

void TfrmPresentation::selectPageSize(PageSize size)
{
    tileFullPage->setSelected(size == PageSize::FullPage);
    tileHalfPage1->setSelected(size == PageSize::HalfPage);
    tileHalfPage2->setSelected(size == PageSize::HalfPage);
    tileScreen->setSelected(size == PageSize::Screen);
}

void TfrmPresentation::stepScreenSize(int direction)
{
    const QStringList sizes = PresentationOptions::screenSizes();
    const int index = qBound(0, int(sizes.indexOf(tileScreen->detail())) + direction, int(sizes.size()) - 1);
    tileScreen->setDetail(sizes[index]);
}

QColor TfrmPresentation::frameColour() const
{
    return shpFrameColour->palette().color(QPalette::Window);
}

void TfrmPresentation::setFrameColour(const QColor &color)
{
    QPalette pal = shpFrameColour->palette();
    pal.setColor(QPalette::Window, color);
    shpFrameColour->setPalette(pal);
}

void TfrmPresentation::chooseFrameColour()
{
    if (const std::optional<QColor> chosen = Dialogs::instance().color(frameColour()))
        setFrameColour(*chosen);
}

void TfrmPresentation::showHoverFrame(PageSize size)
{
    tileFullPage->setHoverFrame(size == PageSize::FullPage);
    tileHalfPage1->setHoverFrame(size == PageSize::HalfPage);
    tileHalfPage2->setHoverFrame(size == PageSize::HalfPage);
    tileScreen->setHoverFrame(size == PageSize::Screen);
}

void TfrmPresentation::hideHoverFrames()
{
    for (PresentationTile *tile : {tileFullPage, tileHalfPage1, tileHalfPage2, tileScreen})
        tile->setHoverFrame(false);
}

void TfrmPresentation::showEvent(QShowEvent *event)
{
    hideHoverFrames();
    QDialog::showEvent(event);
}

bool TfrmPresentation::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grpPageSize && event->type() == QEvent::MouseMove) {
        hideHoverFrames();
    } else if (watched == pnlHeading) {
        // Only mouse events are looked at as such.
        const bool isMouse = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove
                             || event->type() == QEvent::MouseButtonRelease;
        auto *mouse = isMouse ? static_cast<QMouseEvent *>(event) : nullptr;
        switch (isMouse ? event->type() : QEvent::None) {
        case QEvent::MouseButtonPress:
            if (mouse->button() == Qt::LeftButton) {
                m_dragging = true;
                m_dragOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
                return true;
            }
            break;
        case QEvent::MouseMove:
            if (m_dragging) {
                move(mouse->globalPosition().toPoint() - m_dragOffset);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            m_dragging = false;
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
