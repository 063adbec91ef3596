#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <vector>

// One channel's level bars on the recording page: a left-aligned title over
// up to nine striped bars on a fixed axis 0..9 across and a logarithmic axis
// up to 40. Repaints only when the bars or the title actually change, so a
// still display costs nothing.
class TLevelChart : public QWidget {
    Q_OBJECT
  public:
    static constexpr QRgb SeriesColor = qRgb(48, 109, 154); // title, stripes at the bar top
    static constexpr QRgb BackColor = qRgb(198, 210, 227);  // background and back wall
    static constexpr QRgb PointColor = qRgb(0, 0, 128);     // stripes at the bar foot
    static constexpr double AxisXMax = 9.0;
    static constexpr double AxisYMin = 1.0; // a logarithmic axis needs a positive floor
    static constexpr double AxisYMax = 40.0;
    static constexpr double BarWidthPercent = 80.0;

    explicit TLevelChart(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    QString Title() const { return FTitle; }

    // Bar i shows values[i]; the number of values is the number of bars.
    // Values at or below AxisYMin draw no bar, values above AxisYMax are cut.
    void SetBarValues(const std::vector<double>& values);
    // Changes the number of bars, keeping the values of those that remain;
    // new bars start empty.
    void SetBarCount(int count);
    int BarCount() const { return static_cast<int>(FValues.size()); }
    const std::vector<double>& BarValues() const { return FValues; }
    // Removes every bar.
    void Clear() { SetBarValues({}); }

    // The 8 x 8 tile the bars are filled with: background colour with two
    // 2-pixel horizontal lines in the series colour.
    static QImage MakeBarPattern();

    QSize sizeHint() const override { return {160, 100}; }
    QSize minimumSizeHint() const override { return {60, 40}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QFont TitleFont() const;

    QString FTitle;
    std::vector<double> FValues;
    QImage FPattern;
};
