#include "shell/SampleBrowser.h"

#include <QVBoxLayout>
#include <QWebEngineView>

TSampleBrowser::TSampleBrowser(QWidget* parent) : QWidget(parent) {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
}

void TSampleBrowser::Navigate(const QUrl& url) {
    Location = url;
    if (!Engine) {
        Engine = new QWebEngineView(this);
        layout()->addWidget(Engine);
    }
    Engine->load(url);
}
