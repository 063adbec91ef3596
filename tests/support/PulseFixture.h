#pragma once

// A private PulseAudio server for tests: a null sink "out" as the only output
// and a pipe source "mic" as the only input, fed with a sine tone at real-time
// pace. The server runs in a fresh runtime folder and is stopped, and its
// folder removed, when the fixture stops.
//
// The test process must be pointed at the server before Qt's audio code first
// runs, so the usual use is RunTestsWithPulse from main():
//
//   int main(int argc, char** argv) {
//       return murmelo::test::RunTestsWithPulse<QCoreApplication>(argc, argv, {});
//   }
//
// and MURMELO_REQUIRE_PULSE() at the top of each test that needs it.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <sys/types.h>
#include <thread>

namespace murmelo::test {

struct PulseOptions {
    int Rate = 22050;     // sample rate of the pipe source
    int Channels = 1;     // channels of the pipe source
    double ToneHz = 1000; // frequency fed into the source
    double Amplitude = 0.5;
};

class PulseFixture {
  public:
    // True when a pulseaudio program is on the PATH.
    static bool Installed();
    // The fixture RunTestsWithPulse starts for the whole test program.
    static PulseFixture& Global();

    PulseFixture() = default;
    ~PulseFixture();
    PulseFixture(const PulseFixture&) = delete;
    PulseFixture& operator=(const PulseFixture&) = delete;

    // Starts the server, waits until it answers, starts the tone and sets
    // PULSE_SERVER and XDG_RUNTIME_DIR of this process. False with Error() set
    // when any of it fails (nothing is left running then).
    bool Start(const PulseOptions& options);
    void Stop();

    bool Running() const { return pid_ > 0; }
    const std::string& Error() const { return error_; }
    const PulseOptions& Options() const { return options_; }
    const std::string& RuntimeDir() const { return dir_; }
    const std::string& ServerAddress() const { return server_; }
    std::string FifoPath() const { return dir_ + "/mic.fifo"; }

    // Tone fed from now on; 0 Hz feeds silence.
    void SetTone(double hz) { toneHz_.store(hz); }
    // Bytes written into the source so far.
    long long FedBytes() const { return fed_.load(); }

    // Runs pactl against this server; returns its exit code.
    int Pactl(const std::string& args, std::string* output = nullptr) const;

  private:
    void Feed();

    PulseOptions options_;
    std::string error_;
    std::string dir_;
    std::string server_;
    std::string savedPulseServer_, savedRuntimeDir_;
    bool hadPulseServer_ = false, hadRuntimeDir_ = false;
    pid_t pid_ = -1;
    int fifo_ = -1;
    std::thread feeder_;
    std::atomic<bool> feeding_{false};
    std::atomic<double> toneHz_{0};
    std::atomic<long long> fed_{0};
};

// True when the program was asked only to list its tests (test discovery).
bool ListingTestsOnly();

// Starts the global fixture (unless only listing tests), creates the Qt
// application, runs every test and stops the fixture.
template <class App> int RunTestsWithPulse(int argc, char** argv, const PulseOptions& options) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!ListingTestsOnly() && PulseFixture::Installed())
        PulseFixture::Global().Start(options);
    int rc = 0;
    {
        App app(argc, argv);
        rc = RUN_ALL_TESTS();
    }
    PulseFixture::Global().Stop();
    return rc;
}

} // namespace murmelo::test

// Skips when pulseaudio is not installed; fails when it is but did not start.
#define MURMELO_REQUIRE_PULSE()                                                                    \
    do {                                                                                           \
        if (!::murmelo::test::PulseFixture::Installed())                                           \
            GTEST_SKIP() << "pulseaudio is not installed (Debian package pulseaudio)";             \
        ASSERT_TRUE(::murmelo::test::PulseFixture::Global().Running())                             \
            << "private PulseAudio server did not start: "                                         \
            << ::murmelo::test::PulseFixture::Global().Error();                                    \
    } while (0)
