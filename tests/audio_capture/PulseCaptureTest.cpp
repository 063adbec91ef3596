#include "PulseFixture.h"
#include "WavBytes.h"
#include "audio/DspRecorder.h"
#include "audio/SoundCapture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using murmelo::test::PulseFixture;

namespace {

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

std::vector<double> Samples(const QByteArray& pcm) {
    std::vector<double> s(size_t(pcm.size() / 2));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(U16At(pcm, int(i * 2))) / 32768.0;
    return s;
}

// Relative power of one frequency (Goertzel).
double Power(const std::vector<double>& s, double hz, int rate) {
    const double k = 2 * std::cos(2 * M_PI * hz / rate);
    double a = 0, b = 0;
    for (double x : s) {
        const double c = x + k * a - b;
        b = a;
        a = c;
    }
    return (a * a + b * b - k * a * b) / double(s.size());
}

TEST(PulseCapture, DefaultInputOffersTheRecordingFormats) {
    MURMELO_REQUIRE_PULSE();
    EXPECT_GE(TQtCaptureBackend::CaptureDeviceCount(), 1);
    TSoundCaptureStream s(CreateDefaultCaptureBackend());
    const auto& f = s.SupportedFormats();
    for (int rate : {11025, 22050, 44100})
        for (int ch : {1, 2})
            EXPECT_NE(std::find(f.begin(), f.end(), TCaptureFormat{rate, 16, ch}), f.end())
                << rate << " Hz, " << ch << " channels";
    // Qt has no 24-bit sample type, so such formats are never offered.
    EXPECT_EQ(std::count_if(f.begin(), f.end(), [](auto& x) { return x.BitsPerSample == 24; }), 0);
    // The list keeps the probing order.
    const auto order = CaptureProbeOrder();
    size_t at = 0;
    for (const auto& x : f) {
        while (at < order.size() && !(order[at] == x))
            ++at;
        ASSERT_LT(at, order.size()) << "format out of order";
    }
}

TEST(PulseCapture, ToneIsRecordedIntoWavFileAtItsFrequencyAndLength) {
    MURMELO_REQUIRE_PULSE();
    QTemporaryDir dir;
    QStringList errors;
    TDspRecorder* rec = nullptr;
    qint64 seenBytes = 0;
    bool orderOk = true;
    TDspRecorder::Hooks hooks;
    hooks.ShowError = [&](const QString& t) { errors << t; };
    hooks.ShowMessage = [&](const QString& t) { errors << t; };
    hooks.OnData = [&](const char*, int n) {
        orderOk = orderOk && rec->WaveWriter && rec->WaveWriter->DataSize() == seenBytes;
        seenBytes += n;
    };
    TDspRecorder r(CreateDefaultCaptureBackend, hooks);
    rec = &r;
    ASSERT_EQ(r.CaptureDevice, 0);
    r.TempWavName = dir.filePath("MRL_TMP.WAV");
    r.SampleRate = 22050;
    r.Channels = 1;

    QElapsedTimer t;
    t.start();
    r.StartDSPRecord();
    ASSERT_TRUE(r.Recording()) << errors.join("; ").toStdString();
    Pump(2000);
    const double elapsed = t.elapsed() / 1000.0;
    r.StopDSPRecord();
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(orderOk);

    const QByteArray f = ReadAll(r.TempWavName);
    ASSERT_GE(f.size(), 46);
    EXPECT_EQ(f.left(4), "RIFF");
    EXPECT_EQ(U32At(f, 4), uint32_t(f.size() - 8));
    EXPECT_EQ(f.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(U16At(f, 22), 1);
    EXPECT_EQ(U32At(f, 24), 22050u);
    EXPECT_EQ(U32At(f, 28), 44100u);
    EXPECT_EQ(U16At(f, 32), 2);
    EXPECT_EQ(U16At(f, 34), 16);
    EXPECT_EQ(U32At(f, 42), uint32_t(f.size() - 46));
    EXPECT_EQ(seenBytes, f.size() - 46);

    const double seconds = (f.size() - 46) / 44100.0;
    EXPECT_NEAR(seconds, elapsed, 0.3) << "captured " << seconds << " s in " << elapsed << " s";

    // Skip the start, where the stream may still be settling.
    std::vector<double> s = Samples(f.mid(46 + 2 * (22050 / 4)));
    ASSERT_GT(s.size(), 22050u);
    const double at1k = Power(s, 1000, 22050);
    for (double other : {500.0, 900.0, 1100.0, 2000.0, 3000.0})
        EXPECT_GT(at1k, 50 * Power(s, other, 22050)) << other << " Hz";
    int crossings = 0;
    for (size_t i = 1; i < s.size(); ++i)
        crossings += (s[i - 1] < 0) != (s[i] < 0);
    EXPECT_NEAR(crossings / 2.0 / (s.size() / 22050.0), 1000, 15);
    double peak = 0;
    for (double x : s)
        peak = std::max(peak, std::abs(x));
    EXPECT_NEAR(peak, PulseFixture::Global().Options().Amplitude, 0.1);
}

} // namespace

int main(int argc, char** argv) {
    return murmelo::test::RunTestsWithPulse<QCoreApplication>(argc, argv, {});
}
