#pragma once

#include <QWidget>

class QTimer;

// The start-up window: borderless, 353 x 145 pixels, centred on the screen, a maroon panel with
// the program's name. Its timer (250 ms) stops itself at its first tick; the program start waits
// for that, so the splash shows at least that long.
class TSplashForm : public QWidget
{
    Q_OBJECT
public:
    explicit TSplashForm(QWidget *parent = nullptr);

    QTimer *timer() const { return Timer1; }
    bool isTimerDone() const { return m_timerDone; }
    // Shows the window, paints it at once and runs events until the timer has stopped itself.
    void showAndWait();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Timer1Timer();

    QTimer *Timer1 = nullptr;
    bool m_timerDone = false;
};
