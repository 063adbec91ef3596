#pragma once

#include "audio/SpecList.h"
#include "audio/dspFFT.h"

#include <array>
#include <mutex>
#include <vector>

// The arithmetic behind the two level charts of the recording page: one FFT
// per channel for every captured block, band sums queued, and a 50 ms tick
// that drains the queue and smooths the levels. The window owns one, feeds it
// from the capture stream and redraws its charts when Timer1Timer says so.
class TLevelMeter {
  public:
    static constexpr int MaxLevels = 9;
    static constexpr float InitialLevel = -40.0f;
    static constexpr float DecayFactor = 0.8f;   // per tick once the recording is over
    static constexpr float FallFactor = 0.15f;   // share of the way down per spectrum
    static constexpr float StillLevel = 0.0001f; // at or below this a level no longer moves
    static constexpr double FullScale = 32767.0;

    TLevelMeter();

    // Picks the transform size for the recording format: 128 points at 11025 Hz,
    // 256 at 22050 Hz and 512 otherwise, about 11.6 ms of sound at each rate.
    // The channel count says how FeedSpectrum reads its blocks.
    void SetSpectrumSize(int sampleRate, int channels);

    // One captured block of signed 16-bit little-endian PCM (interleaved left,
    // right for stereo). Queues one spectrum record per channel unit.
    void FeedSpectrum(const char* data, int bytes);

    // The 50 ms tick. `capturing` tells whether a capture is running; when it
    // is not and nothing is queued the levels decay. Returns whether the charts
    // need a redraw.
    bool Timer1Timer(bool capturing);

    // All levels back to InitialLevel.
    void ResetLevels();

    // Number of bands and bars: the power of FFTSpectrum1 (7, 8 or 9).
    int BandCount() const;

    // Chart values of the first BandCount() levels of a channel.
    std::vector<double> LeftBars() const;
    std::vector<double> RightBars() const;

    // 20 * log10((level + 1) / 32767) + 40: full scale draws at 40, each
    // factor of ten less 20 lower. Negative levels count as 0.
    static double BarValue(float level);

    int SampleRate = 44100;
    int Channels = 2;

    TdspFFT FFTSpectrum1{9, TdspFFT::TWindow::Blackman, 0};
    TdspFFT FFTSpectrum2{9, TdspFFT::TWindow::Blackman, 1};

    // Guards Spectrum and the levels between the producer and the tick.
    mutable std::mutex LevelLock;
    TSpectrumList Spectrum;
    std::array<float, MaxLevels> LeftLevels{};
    std::array<float, MaxLevels> RightLevels{};

  private:
    void ProcessUnit(TdspFFT& unit);
    std::vector<double> Bars(const std::array<float, MaxLevels>& levels) const;
};
