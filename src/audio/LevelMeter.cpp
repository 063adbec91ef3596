#include "audio/LevelMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

std::int16_t SampleAt(const char* data, int index) {
    const auto* p = reinterpret_cast<const unsigned char*>(data) + 2 * static_cast<long>(index);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

} // namespace

TLevelMeter::TLevelMeter() {
    ResetLevels();
}

void TLevelMeter::SetSpectrumSize(int sampleRate, int channels) {
    SampleRate = sampleRate;
    Channels = channels;
    const int power = sampleRate == 11025 ? 7 : sampleRate == 22050 ? 8 : 9;
    FFTSpectrum1.SetPower(power);
    FFTSpectrum2.SetPower(FFTSpectrum1.Power());
}

void TLevelMeter::FeedSpectrum(const char* data, int bytes) {
    FFTSpectrum1.Clear();
    FFTSpectrum2.Clear();
    if (!data || bytes < 0)
        bytes = 0;
    // Both units always share one size; min() keeps a unit that was resized
    // on its own from being written past its end.
    const int n = std::min(FFTSpectrum1.BufferSize(), FFTSpectrum2.BufferSize());
    const int k = std::min(bytes / 4, n);
    auto in1 = FFTSpectrum1.Input();
    auto in2 = FFTSpectrum2.Input();
    if (Channels == 1) {
        for (int i = 0; i < k; ++i)
            in1[i] = in2[i] = SampleAt(data, i);
        ProcessUnit(FFTSpectrum1);
        ProcessUnit(FFTSpectrum2);
    } else {
        for (int i = 0; i < k; ++i) {
            in1[i] = SampleAt(data, 2 * i);
            in2[i] = SampleAt(data, 2 * i + 1);
        }
        ProcessUnit(FFTSpectrum2);
        ProcessUnit(FFTSpectrum1);
    }
}

void TLevelMeter::ProcessUnit(TdspFFT& unit) {
    unit.Process();
    unit.CalcMagnitudes();
    const auto mags = unit.Magnitudes();
    // Octave bands: band 0 is the DC bin, band b sums bins 2^(b-1) .. 2^b - 1.
    const int bands = std::min({unit.Power(), TSpectrumRecord::MaxBands, MaxLevels});
    std::lock_guard lock(LevelLock);
    TSpectrumRecord* rec = Spectrum.Add();
    rec->Channel = unit.Tag;
    rec->Bands[0] = mags[0];
    for (int b = 1; b < bands; ++b) {
        float sum = 0.0f;
        for (std::size_t m = std::size_t{1} << (b - 1); m < (std::size_t{1} << b); ++m)
            sum += mags[m];
        rec->Bands[b] = sum;
    }
}

bool TLevelMeter::Timer1Timer(bool capturing) {
    const int p = BandCount();
    bool redraw = false;
    {
        std::lock_guard lock(LevelLock);
        if (Spectrum.Count() == 0) {
            if (!capturing) {
                for (int i = 0; i < p; ++i) {
                    LeftLevels[i] *= DecayFactor;
                    RightLevels[i] *= DecayFactor;
                    if (LeftLevels[i] > StillLevel || RightLevels[i] > StillLevel)
                        redraw = true;
                }
            }
        } else {
            while (Spectrum.Count() > 0) {
                const TSpectrumRecord* rec = Spectrum.Items(0);
                auto& levels = rec->Channel == 0 ? LeftLevels : RightLevels;
                for (int i = 0; i < p; ++i) {
                    const float v = rec->Bands[i];
                    float& l = levels[i];
                    // Rise at once, fall back smoothly.
                    if (v > l)
                        l = v;
                    else
                        l = l + (v - l) * FallFactor;
                }
                Spectrum.Delete(0);
            }
            redraw = true;
        }
    }
    return redraw;
}

void TLevelMeter::ResetLevels() {
    std::lock_guard lock(LevelLock);
    LeftLevels.fill(InitialLevel);
    RightLevels.fill(InitialLevel);
}

int TLevelMeter::BandCount() const {
    return std::min(FFTSpectrum1.Power(), MaxLevels);
}

double TLevelMeter::BarValue(float level) {
    // Levels start below zero; the log of a non-positive ratio must not reach a chart.
    level = std::max(level, 0.0f);
    return 20.0 * std::log10((static_cast<double>(level) + 1.0) / FullScale) + 40.0;
}

std::vector<double> TLevelMeter::Bars(const std::array<float, MaxLevels>& levels) const {
    std::vector<double> bars;
    const int p = BandCount();
    bars.reserve(static_cast<std::size_t>(p));
    std::lock_guard lock(LevelLock);
    for (int i = 0; i < p; ++i)
        bars.push_back(BarValue(levels[static_cast<std::size_t>(i)]));
    return bars;
}

std::vector<double> TLevelMeter::LeftBars() const {
    return Bars(LeftLevels);
}
std::vector<double> TLevelMeter::RightBars() const {
    return Bars(RightLevels);
}
