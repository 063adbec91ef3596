#include "shell/Widgets.h"

#include "platform/Art.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

TImageButton::TImageButton(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void TImageButton::setArt(const QString& name, QSize size) {
    Art = name;
    ArtSize = size;
    setPixmap(ArtPixmap(name, size, this));
}

void TImageButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(e);
}

void TImageButton::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit clicked();
        e->accept();
        return;
    }
    QLabel::keyPressEvent(e);
}

void TImageButton::paintEvent(QPaintEvent* e) {
    QLabel::paintEvent(e);
    if (hasFocus()) {
        QPainter p(this);
        QPen pen(palette().highlight().color(), 1, Qt::DotLine);
        p.setPen(pen);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

THelpImage::THelpImage(QWidget* parent) : QLabel(parent) {
    setFixedSize(20, 20);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::WhatsThisCursor);
}

void THelpImage::CopyPicture(const THelpImage* from) {
    setPixmap(from->pixmap());
}

TEffectLabel::TEffectLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
}

void TEffectLabel::setStyle3D(Style s) {
    if (Effect == s)
        return;
    Effect = s;
    update();
}

void TEffectLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = contentsRect();
    const QColor light = palette().light().color();
    const QColor dark = palette().dark().color();
    const QColor text = palette().windowText().color();
    if (Effect == tdExtrude) {
        // Raised: a dark shadow below right, the text on top.
        p.setPen(dark);
        p.drawText(r.translated(1, 1), alignment(), this->text());
        p.setPen(text);
        p.drawText(r, alignment(), this->text());
    } else {
        // Sunken: a light edge below right, greyed text on top.
        p.setPen(light);
        p.drawText(r.translated(1, 1), alignment(), this->text());
        p.setPen(dark);
        p.drawText(r, alignment(), this->text());
    }
}
