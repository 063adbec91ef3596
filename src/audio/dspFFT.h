#pragma once

#include <complex>
#include <span>
#include <vector>

// Real-input FFT unit of the level display: N = 2^power points, a fixed
// analysis window, N/2 magnitudes scaled so that a full-band sine of
// amplitude A reads A times the window's coherent gain.
class TdspFFT {
  public:
    enum class TWindow { Rectangular, Blackman };

    static constexpr int MinPower = 2;
    static constexpr int MaxPower = 15;

    explicit TdspFFT(int power = 9, TWindow window = TWindow::Blackman, int tag = 0);

    // Clamps to MinPower..MaxPower; reallocates every buffer zero-filled and
    // rebuilds the window table. Setting the current power again changes nothing.
    void SetPower(int power);
    int Power() const { return FPower; }
    int BufferSize() const { return 1 << FPower; }

    void SetWindow(TWindow window);
    TWindow Window() const { return FWindow; }

    // Free for the owner to tell the units apart (channel 0 or 1).
    int Tag = 0;

    // Zeroes input and output.
    void Clear();

    // N real input values; imaginary input is always zero.
    std::span<float> Input() { return FInput; }
    std::span<const float> WindowTable() const { return FWindowTable; }

    // Windows the input and transforms it (radix-2, in place on a work buffer).
    void Process();
    // m(k) = |X(k)| * 2 / N for k = 0..N/2-1, from the last Process().
    void CalcMagnitudes();
    std::span<const float> Magnitudes() const { return FOutput; }

  private:
    void BuildTables();

    int FPower = 0;
    TWindow FWindow = TWindow::Blackman;
    std::vector<float> FInput;
    std::vector<float> FWindowTable;
    std::vector<float> FOutput;
    std::vector<std::complex<double>> FWork;
    std::vector<std::complex<double>> FTwiddle;
    std::vector<unsigned> FBitRev;
};
