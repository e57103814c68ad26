#include "export/TfrmExport.h"

#include "export/GifEncoder.h"

#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

TfrmExport::TfrmExport(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(QStringLiteral("Document Export Status..."));
    setModal(false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    QFont font(QStringLiteral("Arial"), 32);
    font.setBold(true);
    font.setItalic(true);
    imgAnimation = new QLabel(this);
    imgAnimation->setObjectName(QStringLiteral("imgAnimation"));
    imgAnimation->setFixedSize(32, 32);
    lblStatus = new QLabel(QStringLiteral("Exporting Data..."), this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setFont(font);
    lblProgBar = new QLabel(QStringLiteral("0%"), this);
    lblProgBar->setObjectName(QStringLiteral("lblProgBar"));
    lblProgBar->setFont(font);
    lblProgBar->setAlignment(Qt::AlignCenter);

    auto *top = new QHBoxLayout;
    top->addWidget(imgAnimation);
    top->addWidget(lblStatus, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblProgBar);

    m_gif = animationGif();
    m_gifBuffer = new QBuffer(&m_gif, this);
    m_gifBuffer->open(QIODevice::ReadOnly);
    m_movie = new QMovie(m_gifBuffer, "gif", this);
    imgAnimation->setMovie(m_movie);
}

TfrmExport::~TfrmExport() = default;

QByteArray TfrmExport::animationGif()
{
    GifEncoder gif;
    gif.setLoopCount(0);
    for (int step = 0; step < 8; ++step) {
        QImage frame(32, 32, QImage::Format_RGB32);
        frame.fill(Qt::white);
        QPainter p(&frame);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        for (int dot = 0; dot < 8; ++dot) {
            const double angle = dot * M_PI / 4;
            const int age = (step - dot + 8) % 8;
            p.setBrush(QColor::fromHsv(205, 255 - age * 28, 220));
            p.drawEllipse(QPointF(16 + 11 * std::cos(angle), 16 + 11 * std::sin(angle)), 3.2, 3.2);
        }
        p.end();
        gif.addFrame(frame, 100);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    gif.write(buffer);
    return bytes;
}

void TfrmExport::showProgress()
{
    lblProgBar->setText(QStringLiteral("0%"));
    adjustSize();
    const QWidget *main = parentWidget() ? parentWidget()->window() : QApplication::activeWindow();
    const QRect area = main ? main->frameGeometry()
                            : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
    show();
    m_movie->start();
    QCoreApplication::processEvents();
}

void TfrmExport::setProgress(int percent)
{
    lblProgBar->setText(QString::number(percent) + QStringLiteral("%"));
    QCoreApplication::processEvents();
}

void TfrmExport::closeProgress()
{
    close();
}

void TfrmExport::closeEvent(QCloseEvent *event)
{
    m_movie->stop();
    lblProgBar->setText(QStringLiteral("0%"));
    QDialog::closeEvent(event);
}
