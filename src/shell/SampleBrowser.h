#pragma once
// A player sample shown inside the wizard. The browser engine is heavy to
// start, so it is created the first time a page is shown in it.

#include <QUrl>
#include <QWidget>

class QWebEngineView;

class TSampleBrowser : public QWidget {
    Q_OBJECT
  public:
    explicit TSampleBrowser(QWidget* parent = nullptr);
    void Navigate(const QUrl& url);
    QUrl LocationURL() const { return Location; }
    QWebEngineView* View() const { return Engine; }

  private:
    QWebEngineView* Engine = nullptr;
    QUrl Location;
};
