#include "audio/dspFFT.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TdspFFT::TdspFFT(int power, TWindow window, int tag) : Tag(tag), FWindow(window) {
    SetPower(power); // FPower starts at 0, so this always allocates
}

void TdspFFT::SetPower(int power) {
    power = std::clamp(power, MinPower, MaxPower);
    if (power == FPower)
        return;
    FPower = power;
    const std::size_t n = std::size_t{1} << power;
    FInput.assign(n, 0.0f);
    FOutput.assign(n / 2, 0.0f);
    FWork.assign(n, {});
    BuildTables();
}

void TdspFFT::SetWindow(TWindow window) {
    if (window == FWindow)
        return;
    FWindow = window;
    BuildTables();
}

void TdspFFT::BuildTables() {
    const std::size_t n = FInput.size();
    const double pi = std::numbers::pi;

    // Divisor N (not N-1): the window is periodic, so w(N/2) is exactly 1.
    FWindowTable.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(n);
        FWindowTable[i] = FWindow == TWindow::Blackman
                              ? static_cast<float>(0.42 - 0.5 * std::cos(2 * pi * x) +
                                                   0.08 * std::cos(4 * pi * x))
                              : 1.0f;
    }

    FTwiddle.resize(n / 2);
    for (std::size_t k = 0; k < n / 2; ++k)
        FTwiddle[k] = std::polar(1.0, -2 * pi * static_cast<double>(k) / static_cast<double>(n));

    FBitRev.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        unsigned r = 0;
        for (int b = 0; b < FPower; ++b)
            r |= ((i >> b) & 1u) << (FPower - 1 - b);
        FBitRev[i] = r;
    }
}

void TdspFFT::Clear() {
    std::fill(FInput.begin(), FInput.end(), 0.0f);
    std::fill(FOutput.begin(), FOutput.end(), 0.0f);
}

void TdspFFT::Process() {
    const std::size_t n = FInput.size();
    for (std::size_t i = 0; i < n; ++i)
        FWork[FBitRev[i]] = static_cast<double>(FInput[i]) * FWindowTable[i];

    // Iterative decimation-in-time butterflies; the twiddle stride halves per stage.
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::size_t half = len / 2;
        const std::size_t stride = n / len;
        for (std::size_t start = 0; start < n; start += len) {
            for (std::size_t j = 0; j < half; ++j) {
                const std::complex<double> t = FTwiddle[j * stride] * FWork[start + j + half];
                FWork[start + j + half] = FWork[start + j] - t;
                FWork[start + j] += t;
            }
        }
    }
}

void TdspFFT::CalcMagnitudes() {
    const double scale = 2.0 / static_cast<double>(FInput.size());
    for (std::size_t k = 0; k < FOutput.size(); ++k)
        FOutput[k] = static_cast<float>(std::abs(FWork[k]) * scale);
}
