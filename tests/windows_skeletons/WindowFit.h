#pragma once
// Whether a fixed-size window leaves its layout the room it needs, wrapped
// labels included; a fixed size that is too small squeezes or clips texts.

#include <QLayout>
#include <QWidget>
#include <algorithm>

inline bool LayoutFits(const QWidget* w) {
    const QLayout* l = w->layout();
    if (!l)
        return true;
    QSize need = l->totalMinimumSize();
    if (l->hasHeightForWidth())
        need.setHeight(std::max(need.height(), l->totalHeightForWidth(w->width())));
    return need.width() <= w->width() && need.height() <= w->height();
}
