#pragma once
#include <QWidget>

class QLabel;
class QTimer;

// Shown while the program loads: at least three seconds, and until the main
// window has finished loading, whichever is later.
class TSplashForm : public QWidget {
    Q_OBJECT
  public:
    explicit TSplashForm(QWidget* parent = nullptr, int minimumMs = 3000);
    bool MayClose() const;
    void Timer1Timer();

    QLabel* Image1 = nullptr;
    QTimer* Timer1 = nullptr;
};
