#include "shell/SplashUnit.h"

#include "platform/Art.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

TSplashForm::TSplashForm(QWidget* parent, int minimumMs)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(400, 210);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 400, 210);
    Image1->setPixmap(ArtPixmap(QStringLiteral("splash"), QSize(400, 210), this));
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), size());
        r.moveCenter(s->geometry().center());
        move(r.topLeft());
    }
    // The timer runs from the moment the window exists.
    Timer1 = new QTimer(this);
    Timer1->setInterval(minimumMs);
    Timer1->setTimerType(Qt::PreciseTimer); // never shorter than its minimum
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
    Timer1->start();
}

bool TSplashForm::MayClose() const {
    return !Timer1->isActive();
}

void TSplashForm::Timer1Timer() {
    Timer1->stop();
}
