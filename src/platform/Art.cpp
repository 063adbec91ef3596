#include "platform/Art.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

// The pictures live in a static library, whose resources must be registered
// by hand before the first use.
static void RegisterArt() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)registered;
}

QPixmap ArtPixmap(const QString& name, QSize logicalSize, const QWidget* forWidget) {
    RegisterArt();
    const qreal dpr = forWidget ? forWidget->devicePixelRatioF() : qApp->devicePixelRatio();
    QPixmap pm(logicalSize * dpr);
    pm.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/art/%1.svg").arg(name));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p);
    p.end();
    pm.setDevicePixelRatio(dpr);
    return pm;
}
