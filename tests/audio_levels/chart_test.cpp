#include "audio/LevelChart.h"
#include "audio/LevelMeter.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

namespace {

class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QImage Render(TLevelChart& chart, qreal dpr) {
    QImage img(chart.size() * dpr, QImage::Format_RGB32);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::magenta);
    chart.render(&img);
    return img;
}

// Device rows below the title where the bars live.
int PlotTop(const QImage& img) {
    return img.height() * 2 / 5;
}

// Most separate runs of bar pixels found on any row of the plot.
int CountBars(const QImage& img) {
    int most = 0;
    for (int y = PlotTop(img); y < img.height(); ++y) {
        int runs = 0;
        bool inBar = false;
        for (int x = 0; x < img.width(); ++x) {
            const bool bar = img.pixel(x, y) != TLevelChart::BackColor;
            runs += bar && !inBar;
            inBar = bar;
        }
        most = std::max(most, runs);
    }
    return most;
}

void Settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

} // namespace

TEST(LevelChart, ShowsOneBarPerBandOfTheRecordingFormat) {
    struct Case {
        int rate, bars;
    };
    for (Case c : {Case{11025, 7}, {22050, 8}, {44100, 9}}) {
        SCOPED_TRACE(c.rate);
        TLevelMeter meter;
        meter.SetSpectrumSize(c.rate, 2);
        meter.LeftLevels.fill(3000.0f); // about 19 on the chart
        TLevelChart chart;
        chart.resize(180, 100);
        chart.SetBarValues(meter.LeftBars());
        EXPECT_EQ(chart.BarCount(), c.bars);
        EXPECT_EQ(CountBars(Render(chart, 1)), c.bars);
    }
    // Shrinking the count keeps the leading bars, growing adds empty ones.
    TLevelChart chart;
    chart.resize(180, 100);
    chart.SetBarValues({20, 20, 20, 20, 20});
    chart.SetBarCount(3);
    EXPECT_EQ(CountBars(Render(chart, 1)), 3);
    chart.SetBarCount(9);
    EXPECT_EQ(chart.BarValues(), (std::vector<double>{20, 20, 20, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(CountBars(Render(chart, 1)), 3);
}

TEST(LevelChart, BarsAreCrispStripesAtSingleAndDoubleScale) {
    TLevelChart chart;
    chart.resize(180, 100);
    chart.SetBarValues({40, 30, 20, 10, 5, 2, 1.5, 1.0, -50});
    for (qreal dpr : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(dpr);
        const QImage img = Render(chart, dpr);
        // Only whole pixels: along a row each bar is one colour (its gradient
        // runs vertically) from edge to edge, with no blended edge pixels.
        for (int y = PlotTop(img); y < img.height(); ++y) {
            QRgb runColour = TLevelChart::BackColor;
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (c != TLevelChart::BackColor && runColour != TLevelChart::BackColor) {
                    ASSERT_EQ(c, runColour) << x << "," << y;
                }
                runColour = c;
            }
        }
        // Full scale reaches higher than 20, 20 higher than 10; nothing at or below 1.
        auto barTop = [&](int i) {
            const int bx = static_cast<int>(chart.width() * dpr * (2 * i + 1) / 18);
            for (int y = 0; y < img.height(); ++y) // no title here
                if (img.pixel(bx, y) != TLevelChart::BackColor)
                    return y;
            return img.height();
        };
        EXPECT_LT(barTop(0), barTop(2));
        EXPECT_LT(barTop(2), barTop(3));
        EXPECT_EQ(barTop(7), img.height());
        EXPECT_EQ(barTop(8), img.height());

        // Through the full bar: stripes of 2 logical pixels, gaps of 1 or 3.
        const int x = static_cast<int>(chart.width() * dpr / 18); // middle of bar 0
        std::vector<int> stripes, gaps;
        int run = 0;
        bool stripe = false;
        for (int y = PlotTop(img); y < img.height(); ++y) {
            const bool s = img.pixel(x, y) != TLevelChart::BackColor;
            if (s != stripe && run) {
                (stripe ? stripes : gaps).push_back(run);
                run = 0;
            }
            stripe = s;
            ++run;
        }
        ASSERT_GE(stripes.size(), 4u);
        if (dpr != std::floor(dpr))
            continue; // stripe heights are only whole at whole scale factors
        // The topmost stripe and gap may be cut by the top of the bar.
        for (std::size_t i = 1; i < stripes.size(); ++i)
            EXPECT_EQ(stripes[i], 2 * dpr);
        for (std::size_t i = 1; i < gaps.size(); ++i)
            EXPECT_TRUE(gaps[i] == 1 * dpr || gaps[i] == 3 * dpr) << gaps[i];
    }
}

TEST(LevelChart, TitleIsDrawnAtTheLeft) {
    TLevelChart chart;
    chart.resize(200, 100);
    chart.SetTitle(QStringLiteral("Left Channel"));
    const QImage img = Render(chart, 1);
    int leftInk = 0, rightInk = 0;
    for (int y = 0; y < PlotTop(img); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != TLevelChart::BackColor)
                ++(x < img.width() / 2 ? leftInk : rightInk);
    EXPECT_GT(leftInk, 20);
    EXPECT_EQ(rightInk, 0);
}

TEST(LevelChart, PatternIsTwoTwoPixelLinesOnTheBackground) {
    const QImage p = TLevelChart::MakeBarPattern();
    ASSERT_EQ(p.size(), QSize(8, 8));
    EXPECT_EQ(p.format(), QImage::Format_RGB888);
    std::vector<int> stripeRows;
    for (int y = 0; y < 8; ++y) {
        const QRgb first = p.pixel(0, y);
        for (int x = 1; x < 8; ++x)
            ASSERT_EQ(p.pixel(x, y), first) << x << "," << y;
        if (first == TLevelChart::SeriesColor)
            stripeRows.push_back(y);
        else
            EXPECT_EQ(first, TLevelChart::BackColor);
    }
    ASSERT_EQ(stripeRows.size(), 4u);
    EXPECT_EQ(stripeRows[1], stripeRows[0] + 1);
    EXPECT_EQ(stripeRows[3], stripeRows[2] + 1);
    EXPECT_EQ(stripeRows[2], stripeRows[0] + 3); // lines at y = 1 and y = 4
}

TEST(LevelChart, NoRepaintOnceTheDisplayIsStill) {
    TLevelMeter meter;
    meter.SetSpectrumSize(22050, 2);
    TLevelChart left, right;
    PaintCounter counter;
    for (TLevelChart* c : {&left, &right}) {
        c->resize(160, 100);
        c->installEventFilter(&counter);
        c->show();
    }
    Settle();
    // What the window does on every 50 ms tick.
    auto tick = [&](bool capturing) {
        if (meter.Timer1Timer(capturing)) {
            left.SetBarValues(meter.LeftBars());
            right.SetBarValues(meter.RightBars());
        }
        Settle();
    };

    std::vector<char> block;
    for (int i = 0; i < 441; ++i) {
        const auto v = static_cast<std::int16_t>(
            std::lround(25000 * std::sin(2 * std::numbers::pi * 1000 * i / 22050.0)));
        for (int ch = 0; ch < 2; ++ch) {
            block.push_back(static_cast<char>(v & 0xff));
            block.push_back(static_cast<char>((v >> 8) & 0xff));
        }
    }
    counter.paints = 0;
    meter.FeedSpectrum(block.data(), static_cast<int>(block.size()));
    tick(true);
    ASSERT_GE(counter.paints, 2); // both charts drew the burst

    // Capture running without data: the bars hold and nothing is drawn.
    counter.paints = 0;
    tick(true);
    EXPECT_EQ(counter.paints, 0);

    // After the recording the bars fall away, then the charts go quiet.
    int ticks = 0;
    while (meter.Timer1Timer(false)) {
        left.SetBarValues(meter.LeftBars());
        right.SetBarValues(meter.RightBars());
        Settle();
        ASSERT_LT(++ticks, 1000);
    }
    EXPECT_GT(ticks, 10);
    counter.paints = 0;
    for (int i = 0; i < 20; ++i)
        tick(false);
    EXPECT_EQ(counter.paints, 0);

    // Handing a chart the bars it already shows is not a change either;
    // clearing is, once.
    left.SetBarValues(left.BarValues());
    left.SetBarCount(left.BarCount());
    Settle();
    EXPECT_EQ(counter.paints, 0);
    left.Clear();
    Settle();
    EXPECT_EQ(counter.paints, 1);
    left.Clear();
    Settle();
    EXPECT_EQ(counter.paints, 1);
}
