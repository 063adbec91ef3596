#pragma once
// The program's own artwork, drawn from SVG at the screen's pixel ratio so it
// stays crisp at any scaling.
#include <QPixmap>
#include <QSize>
#include <QString>

class QWidget;

QPixmap ArtPixmap(const QString& name, QSize logicalSize, const QWidget* forWidget = nullptr);
