#include "audio/LevelChart.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 4; // logical pixels around the title and the plot

QRgb Blend(QRgb from, QRgb to, double t) {
    auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return qRgb(mix(qRed(from), qRed(to)), mix(qGreen(from), qGreen(to)),
                mix(qBlue(from), qBlue(to)));
}

bool SameValue(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

TLevelChart::TLevelChart(QWidget* parent) : QWidget(parent), FPattern(MakeBarPattern()) {
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted; no erase first
}

void TLevelChart::SetTitle(const QString& title) {
    if (title == FTitle)
        return;
    FTitle = title;
    update();
}

void TLevelChart::SetBarValues(const std::vector<double>& values) {
    if (std::equal(values.begin(), values.end(), FValues.begin(), FValues.end(), SameValue))
        return;
    FValues = values;
    update();
}

void TLevelChart::SetBarCount(int count) {
    count = std::max(count, 0);
    if (count == BarCount())
        return;
    FValues.resize(static_cast<std::size_t>(count), 0.0);
    update();
}

QImage TLevelChart::MakeBarPattern() {
    QImage img(8, 8, QImage::Format_RGB888);
    img.fill(QColor(BackColor));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(SeriesColor), 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(-1, 1, 9, 1);
    p.drawLine(-1, 4, 9, 4);
    return img;
}

QFont TLevelChart::TitleFont() const {
    QFont f = font();
    f.setFamily(QStringLiteral("Arial"));
    return f;
}

void TLevelChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(BackColor));

    const QFont titleFont = TitleFont();
    const int titleHeight = QFontMetrics(titleFont).height();
    if (!FTitle.isEmpty()) {
        p.setFont(titleFont);
        p.setPen(QColor(SeriesColor));
        p.drawText(QRect(Margin, Margin / 2, width() - 2 * Margin, titleHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, FTitle);
    }

    // The bars are laid out in device pixels so that edges and stripes stay
    // sharp at any scale factor. The painter knows the target's scale, also
    // when rendering into an image rather than onto the screen.
    const qreal dpr = std::max(p.deviceTransform().m11(), qreal(0.25));
    p.scale(1 / dpr, 1 / dpr);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto dev = [dpr](double logical) { return static_cast<int>(std::lround(logical * dpr)); };

    const int left = dev(Margin);
    const int right = dev(width() - Margin);
    const int top = dev(Margin / 2 + titleHeight + Margin);
    const int bottom = dev(height() - Margin);
    if (right <= left || bottom <= top)
        return;

    const double slot = (right - left) / AxisXMax;
    const double gap = (1.0 - BarWidthPercent / 100.0) / 2.0;
    const double logSpan = std::log(AxisYMax / AxisYMin);

    for (std::size_t i = 0; i < FValues.size(); ++i) {
        const double v = FValues[i];
        // Bar i stands in the cell right of its x value, so bar 0 is not cut
        // by the start of the axis.
        if (!(v > AxisYMin) || static_cast<double>(i) + 1 > AxisXMax)
            continue;
        const double frac = std::min(std::log(v / AxisYMin) / logSpan, 1.0);
        const int x0 = left + static_cast<int>(std::lround((static_cast<double>(i) + gap) * slot));
        const int x1 =
            left + static_cast<int>(std::lround((static_cast<double>(i) + 1 - gap) * slot));
        const int y0 = bottom - static_cast<int>(std::lround(frac * (bottom - top)));
        if (x1 <= x0 || y0 >= bottom)
            continue;
        const int h = bottom - y0;
        for (int y = y0; y < bottom; ++y) {
            // The tile is anchored at the widget's top left, in logical pixels.
            const int row = static_cast<int>(std::floor(y / dpr)) & 7;
            if (FPattern.pixel(0, row) != SeriesColor)
                continue; // background rows of the tile
            const double t = h > 1 ? static_cast<double>(bottom - 1 - y) / (h - 1) : 1.0;
            p.fillRect(QRect(x0, y, x1 - x0, 1), QColor(Blend(PointColor, SeriesColor, t)));
        }
    }
}
