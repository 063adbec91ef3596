#include "audio/dspFFT.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

namespace {

constexpr double Pi = std::numbers::pi;

double Blackman(int i, int n) {
    return 0.42 - 0.5 * std::cos(2 * Pi * i / n) + 0.08 * std::cos(4 * Pi * i / n);
}

void FillSine(TdspFFT& fft, double amplitude, double bin) {
    const int n = fft.BufferSize();
    for (int i = 0; i < n; ++i)
        fft.Input()[i] = static_cast<float>(amplitude * std::sin(2 * Pi * bin * i / n));
}

} // namespace

TEST(DspFFT, MatchesDirectTransformOfTheWindowedInput) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> dist(-32768.0f, 32767.0f);
    for (int power : {2, 3, 6, 9}) {
        SCOPED_TRACE(power);
        TdspFFT fft(power);
        const int n = fft.BufferSize();
        for (float& x : fft.Input())
            x = dist(rng);
        std::vector<float> input(fft.Input().begin(), fft.Input().end());
        fft.Process();
        fft.CalcMagnitudes();
        ASSERT_EQ(fft.Magnitudes().size(), static_cast<std::size_t>(n / 2));
        for (int k = 0; k < n / 2; ++k) {
            std::complex<double> sum;
            for (int i = 0; i < n; ++i)
                sum += input[i] * Blackman(i, n) * std::polar(1.0, -2 * Pi * k * i / n);
            const double expected = std::abs(sum) * 2 / n;
            EXPECT_NEAR(fft.Magnitudes()[k], expected, 1e-3 * 32768) << "k=" << k;
        }
    }
}

TEST(DspFFT, BlackmanTableUsesDivisorN) {
    for (int power : {2, 9}) {
        TdspFFT fft(power);
        const int n = fft.BufferSize();
        const auto w = fft.WindowTable();
        ASSERT_EQ(w.size(), static_cast<std::size_t>(n));
        EXPECT_NEAR(w[0], 0.0, 1e-6);
        EXPECT_NEAR(w[n / 4], 0.34, 1e-6);
        EXPECT_NEAR(w[n / 2], 1.0, 1e-6); // a divisor of N-1 would miss the peak
        EXPECT_NEAR(w[n - 1], w[1], 1e-6);
    }
}

TEST(DspFFT, SineMagnitudeIsAmplitudeTimesWindowGain) {
    // A sine on an exact bin: all of it in that bin with no window, the
    // Blackman coefficients 0.42 and 0.25 on the bin and its neighbours.
    TdspFFT flat(9, TdspFFT::TWindow::Rectangular);
    FillSine(flat, 1000.0, 20);
    flat.Process();
    flat.CalcMagnitudes();
    EXPECT_NEAR(flat.Magnitudes()[20], 1000.0, 0.01);
    EXPECT_NEAR(flat.Magnitudes()[19], 0.0, 0.01);
    EXPECT_NEAR(flat.Magnitudes()[0], 0.0, 0.01);

    TdspFFT fft(9);
    FillSine(fft, 1000.0, 20);
    fft.Process();
    fft.CalcMagnitudes();
    EXPECT_NEAR(fft.Magnitudes()[20], 420.0, 0.01);
    EXPECT_NEAR(fft.Magnitudes()[19], 250.0, 0.01);
    EXPECT_NEAR(fft.Magnitudes()[21], 250.0, 0.01);
    EXPECT_NEAR(fft.Magnitudes()[17], 0.0, 0.01);
}

TEST(DspFFT, PowerIsClampedAndResizingStartsFromZero) {
    struct Case {
        int requested, power;
    };
    for (Case c : {Case{-3, 2}, {1, 2}, {2, 2}, {7, 7}, {15, 15}, {16, 15}, {40, 15}}) {
        SCOPED_TRACE(c.requested);
        TdspFFT fft(9);
        fft.Input()[3] = 5.0f;
        fft.SetPower(c.requested);
        EXPECT_EQ(fft.Power(), c.power);
        EXPECT_EQ(fft.Input().size(), std::size_t{1} << c.power);
        EXPECT_EQ(fft.WindowTable().size(), std::size_t{1} << c.power);
        EXPECT_EQ(fft.Magnitudes().size(), std::size_t{1} << (c.power - 1));
        if (c.power != 9) {
            EXPECT_EQ(fft.Input()[3], 0.0f);
        }
    }
}

TEST(DspFFT, ClearZeroesInputAndOutput) {
    TdspFFT fft(5);
    FillSine(fft, 100.0, 3);
    fft.Process();
    fft.CalcMagnitudes();
    ASSERT_GT(fft.Magnitudes()[3], 1.0f);
    fft.Clear();
    for (float x : fft.Input())
        EXPECT_EQ(x, 0.0f);
    for (float m : fft.Magnitudes())
        EXPECT_EQ(m, 0.0f);
    fft.Process();
    fft.CalcMagnitudes();
    EXPECT_EQ(fft.Magnitudes()[3], 0.0f);
}
