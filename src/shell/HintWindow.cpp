#include "shell/HintWindow.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

THintWindow::THintWindow(QObject* parent, int hideTimeoutMs)
    : QObject(parent), Timeout(hideTimeoutMs) {}

bool THintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && !w->toolTip().isEmpty()) {
            auto* he = static_cast<QHelpEvent*>(event);
            QToolTip::showText(he->globalPos(), w->toolTip(), w, w->rect(), Timeout);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
