#pragma once
// Shows every hint of the program for as long as a user needs to read the
// long help texts (30 seconds), not the toolkit's few seconds.

#include <QObject>

class THintWindow : public QObject {
    Q_OBJECT
  public:
    explicit THintWindow(QObject* parent = nullptr, int hideTimeoutMs = 30000);
    int HideTimeout() const { return Timeout; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int Timeout;
};
