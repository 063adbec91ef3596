#pragma once

#include <cstdint>
#include <deque>
#include <memory>

// One FFT's band sums for one channel, queued between the capture and the
// display timer.
struct TSpectrumRecord {
    static constexpr int MaxBands = 10;
    float Bands[MaxBands] = {};
    std::int32_t Channel = 0; // 0 left, 1 right
};

// First-in first-out list of owned spectrum records.
class TSpectrumList {
  public:
    // Appends a new record and returns it for filling; the list keeps ownership.
    TSpectrumRecord* Add();
    int Count() const { return static_cast<int>(FItems.size()); }
    // Index 0 is the oldest record. Out-of-range indices give nullptr / do nothing.
    TSpectrumRecord* Items(int index) const;
    void Delete(int index);
    void Clear() { FItems.clear(); }

  private:
    std::deque<std::unique_ptr<TSpectrumRecord>> FItems;
};
