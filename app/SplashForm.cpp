#include "app/SplashForm.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace {

QFont splashFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("Trebuchet MS"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

TSplashForm::TSplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(353, 145);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->geometry();
        move(available.center() - rect().center());
    }
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(250);
    // Never earlier than the interval: the splash shows for at least 250 ms.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
}

void TSplashForm::Timer1Timer()
{
    Timer1->stop();
    m_timerDone = true;
}

void TSplashForm::showAndWait()
{
    show();
    repaint();
    m_timerDone = false;
    Timer1->start();
    while (!m_timerDone)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TSplashForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QRect panel = rect().adjusted(2, 2, -3, -3);
    p.fillRect(panel, QColor(128, 0, 0));
    p.setPen(QColor(226, 226, 226));
    p.drawRect(panel);

    const QColor lightGrey(226, 226, 226);
    p.setPen(lightGrey);
    p.setFont(splashFont(35, true));
    p.drawText(QRect(14, 6, 330, 42), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora Office"));
    p.setFont(splashFont(13, false));
    p.drawText(QRect(16, 48, 120, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Presents:"));

    // The 72 x 72 picture: a page with a fountain-pen nib.
    const QRect picture(16, 66, 72, 72);
    p.setPen(QPen(lightGrey, 2));
    p.setBrush(QColor(160, 30, 30));
    p.drawRoundedRect(picture.adjusted(4, 4, -4, -4), 8, 8);
    QPainterPath nib;
    nib.moveTo(picture.center().x(), picture.top() + 14);
    nib.lineTo(picture.right() - 20, picture.center().y() + 6);
    nib.lineTo(picture.center().x(), picture.bottom() - 12);
    nib.lineTo(picture.left() + 20, picture.center().y() + 6);
    nib.closeSubpath();
    p.setBrush(lightGrey);
    p.drawPath(nib);

    p.setPen(lightGrey);
    p.setFont(splashFont(35, true));
    p.drawText(QRect(100, 62, 240, 42), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Lumaro"));
    p.setFont(splashFont(16, true));
    p.drawText(QRect(102, 104, 240, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Professional Editor"));
}
