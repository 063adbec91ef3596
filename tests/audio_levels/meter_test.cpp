#include "audio/LevelMeter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>

namespace {

// Interleaved signed 16-bit little-endian PCM, one (left, right) pair per frame;
// mono blocks use only the left value.
std::vector<char> Pcm(int channels, int frames,
                      const std::function<std::pair<double, double>(int)>& f) {
    std::vector<char> out;
    auto put = [&out](double v) {
        const auto s = static_cast<std::int16_t>(std::lround(std::clamp(v, -32768.0, 32767.0)));
        out.push_back(static_cast<char>(s & 0xff));
        out.push_back(static_cast<char>((s >> 8) & 0xff));
    };
    for (int i = 0; i < frames; ++i) {
        const auto [l, r] = f(i);
        put(l);
        if (channels == 2)
            put(r);
    }
    return out;
}

auto Sine(double amplitude, double hz, int rate) {
    return [=](int i) { return amplitude * std::sin(2 * std::numbers::pi * hz * i / rate); };
}

// 20 ms of audio, the size of one capture notification.
int Frames20ms(int rate) {
    return rate / 50;
}

void Feed(TLevelMeter& m, const std::vector<char>& block) {
    m.FeedSpectrum(block.data(), static_cast<int>(block.size()));
}

int LoudestBand(const std::array<float, TLevelMeter::MaxLevels>& levels, int count) {
    return static_cast<int>(std::max_element(levels.begin(), levels.begin() + count) -
                            levels.begin());
}

float MaxLevel(const TLevelMeter& m) {
    const int p = m.BandCount();
    return std::max(*std::max_element(m.LeftLevels.begin(), m.LeftLevels.begin() + p),
                    *std::max_element(m.RightLevels.begin(), m.RightLevels.begin() + p));
}

} // namespace

TEST(LevelMeter, BandCountFollowsSampleRate) {
    struct Case {
        int rate, bands;
    };
    for (Case c : {Case{11025, 7}, {22050, 8}, {44100, 9}, {48000, 9}, {8000, 9}}) {
        SCOPED_TRACE(c.rate);
        TLevelMeter m;
        m.SetSpectrumSize(c.rate, 2);
        EXPECT_EQ(m.BandCount(), c.bands);
        EXPECT_EQ(m.FFTSpectrum2.Power(), c.bands);
        EXPECT_EQ(m.LeftBars().size(), static_cast<std::size_t>(c.bands));
        EXPECT_EQ(m.RightBars().size(), static_cast<std::size_t>(c.bands));
    }
}

TEST(LevelMeter, SineLandsInItsOctaveBand) {
    // Every rate resolves about 86 Hz per bin; band b covers bins 2^(b-1)..2^b-1.
    struct Case {
        int rate, channels;
        double hz;
        int band;
    };
    for (Case c : {Case{44100, 2, 517, 3},
                   {44100, 1, 16537, 8},
                   {22050, 2, 8268, 7},
                   {22050, 1, 2067, 5},
                   {11025, 1, 1034, 4},
                   {11025, 2, 4134, 6}}) {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.channels << " ch, " << c.hz);
        TLevelMeter m;
        m.SetSpectrumSize(c.rate, c.channels);
        const auto s = Sine(20000, c.hz, c.rate);
        Feed(m, Pcm(c.channels, Frames20ms(c.rate), [&](int i) { return std::pair{s(i), s(i)}; }));
        ASSERT_TRUE(m.Timer1Timer(true));
        EXPECT_EQ(LoudestBand(m.LeftLevels, m.BandCount()), c.band);
        EXPECT_EQ(LoudestBand(m.RightLevels, m.BandCount()), c.band);
        // Near full scale: the band sum holds most of the sine's amplitude.
        EXPECT_GT(m.LeftLevels[c.band], 0.5f * 20000);
    }
}

TEST(LevelMeter, BandsSplitAtPowersOfTwo) {
    // 44100 Hz, 512 points: bin b lies at b * 86.13 Hz. Blackman puts 0.42 of
    // a bin-centred sine on its bin, 0.25 and 0.04 on the next two each side
    // (twice that for DC, which has no negative twin).
    struct Case {
        const char* what;
        std::function<double(int)> signal;
        std::vector<std::pair<int, double>> bands; // band, expected level
    };
    const double binHz = 44100.0 / 512;
    const std::vector<Case> cases = {
        {"DC", [](int) { return 1000.0; }, {{0, 840}, {1, 500}, {2, 80}, {3, 0}}},
        {"bin 15", Sine(10000, 15 * binHz, 44100), {{3, 0}, {4, 7100}, {5, 2900}}},
        {"bin 16", Sine(10000, 16 * binHz, 44100), {{3, 0}, {4, 2900}, {5, 7100}, {6, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TLevelMeter m;
        m.SetSpectrumSize(44100, 2);
        Feed(m, Pcm(2, 512, [&](int i) { return std::pair{c.signal(i), -c.signal(i)}; }));
        ASSERT_EQ(m.Spectrum.Count(), 2);
        for (int r = 0; r < 2; ++r)
            for (const auto& [band, level] : c.bands)
                EXPECT_NEAR(m.Spectrum.Items(r)->Bands[band], level, 0.01 * level + 1) << band;
    }
}

TEST(LevelMeter, MonoFeedsBothChannelsAlike) {
    TLevelMeter m;
    m.SetSpectrumSize(22050, 1);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> noise(-20000, 20000);
    Feed(m, Pcm(1, Frames20ms(22050), [&](int) { return std::pair{noise(rng), 0.0}; }));

    ASSERT_EQ(m.Spectrum.Count(), 2);
    EXPECT_EQ(m.Spectrum.Items(0)->Channel, 0);
    EXPECT_EQ(m.Spectrum.Items(1)->Channel, 1);
    ASSERT_TRUE(m.Timer1Timer(true));
    EXPECT_EQ(m.Spectrum.Count(), 0);
    EXPECT_EQ(m.LeftBars(), m.RightBars());
    EXPECT_GT(MaxLevel(m), 1000.0f);
}

TEST(LevelMeter, SilentStereoChannelGetsNoLevel) {
    for (bool silentRight : {true, false}) {
        SCOPED_TRACE(silentRight ? "right silent" : "left silent");
        TLevelMeter m;
        m.SetSpectrumSize(44100, 2);
        const auto s = Sine(15000, 1000, 44100);
        Feed(m, Pcm(2, Frames20ms(44100), [&](int i) {
                 return silentRight ? std::pair{s(i), 0.0} : std::pair{0.0, s(i)};
             }));
        ASSERT_TRUE(m.Timer1Timer(true));
        const auto& loud = silentRight ? m.LeftLevels : m.RightLevels;
        const auto& silent = silentRight ? m.RightLevels : m.LeftLevels;
        const auto& silentBars = silentRight ? m.RightBars() : m.LeftBars();
        for (int i = 0; i < m.BandCount(); ++i)
            EXPECT_EQ(silent[i], 0.0f) << i;
        EXPECT_GT(loud[4], 5000.0f); // 1 kHz
        for (double v : silentBars)
            EXPECT_LT(v, 0.0); // below the bottom of any chart
    }
}

TEST(LevelMeter, LevelsRiseAtOnceAndFallFifteenPercentOfTheWay) {
    TLevelMeter m;
    m.SetSpectrumSize(44100, 2);
    const auto s = Sine(20000, 1000, 44100);
    const auto loud = Pcm(2, 512, [&](int i) { return std::pair{s(i), s(i) / 2}; });
    const auto quiet = Pcm(2, 512, [&](int i) { return std::pair{s(i) / 10, s(i) / 20}; });

    Feed(m, loud);
    ASSERT_EQ(m.Spectrum.Count(), 2);
    // Stereo processes the right unit first.
    ASSERT_EQ(m.Spectrum.Items(0)->Channel, 1);
    const TSpectrumRecord right = *m.Spectrum.Items(0);
    const TSpectrumRecord left = *m.Spectrum.Items(1);
    ASSERT_TRUE(m.Timer1Timer(true));
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(m.LeftLevels[i], left.Bands[i]) << i; // from -40 straight up
        EXPECT_EQ(m.RightLevels[i], right.Bands[i]) << i;
    }

    // A tenth of the signal: 0.15 of the way from 1 down to 0.1 leaves 0.865.
    Feed(m, quiet);
    ASSERT_TRUE(m.Timer1Timer(true));
    for (int i = 0; i < 9; ++i) {
        // Slack for the 16-bit rounding noise in the weak leakage bands.
        EXPECT_NEAR(m.LeftLevels[i], 0.865f * left.Bands[i], 1e-3f * left.Bands[i] + 5) << i;
        EXPECT_NEAR(m.RightLevels[i], 0.865f * right.Bands[i], 1e-3f * right.Bands[i] + 5) << i;
    }

    // Every queued record counts, in order: loud again lifts, a quiet one then lowers.
    Feed(m, loud);
    Feed(m, quiet);
    ASSERT_TRUE(m.Timer1Timer(true));
    EXPECT_NEAR(m.LeftLevels[4], 0.865f * left.Bands[4], 1e-3f * left.Bands[4]);
}

TEST(LevelMeter, DecaysAfterTheRecordingAndThenStaysStill) {
    TLevelMeter m;
    m.SetSpectrumSize(11025, 2);
    // Fresh levels sit at -40: no redraw from decay alone.
    EXPECT_FALSE(m.Timer1Timer(false));

    // The right channel is the louder one, so it is the last to come to rest.
    const auto s = Sine(30000, 1034, 11025);
    Feed(m, Pcm(2, Frames20ms(11025), [&](int i) { return std::pair{s(i) / 10, s(i)}; }));
    ASSERT_TRUE(m.Timer1Timer(true));
    const auto before = m.LeftLevels;

    // Capture still running but no data: nothing moves, nothing to draw.
    EXPECT_FALSE(m.Timer1Timer(true));
    EXPECT_EQ(m.LeftLevels, before);

    ASSERT_TRUE(m.Timer1Timer(false));
    for (int i = 0; i < m.BandCount(); ++i)
        EXPECT_FLOAT_EQ(m.LeftLevels[i], before[i] * 0.8f);
    // Bands beyond the 7 in use are left alone.
    EXPECT_EQ(m.LeftLevels[7], TLevelMeter::InitialLevel);

    int ticks = 1;
    float lastMoving = MaxLevel(m);
    while (m.Timer1Timer(false)) {
        lastMoving = MaxLevel(m);
        ASSERT_LT(++ticks, 1000);
    }
    EXPECT_GT(lastMoving, 0.0001f);
    EXPECT_LE(MaxLevel(m), 0.0001f);
    // About 5 s at 50 ms for a level near 30000: 0.8^n * 3e4 <= 1e-4.
    EXPECT_GE(ticks, 80);
    EXPECT_LE(ticks, 120);
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(m.Timer1Timer(false));
}

TEST(LevelMeter, BarValueIsDecibelsAboveFortyBelowFullScale) {
    struct Case {
        float level;
        double value;
    };
    for (Case c :
         {Case{32766, 40.0}, {3275.7f, 20.0}, {326.67f, 0.0}, {0, -50.309}, {-40, -50.309}}) {
        SCOPED_TRACE(c.level);
        EXPECT_NEAR(TLevelMeter::BarValue(c.level), c.value, 1e-3);
    }
}

TEST(LevelMeter, ReadsAtMostOneTransformOfAnyBlock) {
    const auto s = Sine(20000, 3000, 44100);
    auto frame = [&](int i) { return std::pair{s(i), -s(i) / 3}; };
    // A whole second (as the capture buffer can deliver) counts only its first 512 frames.
    TLevelMeter whole, head;
    Feed(whole, Pcm(2, 44100, frame));
    Feed(head, Pcm(2, 512, frame));
    for (int r = 0; r < 2; ++r)
        for (int b = 0; b < 9; ++b)
            EXPECT_EQ(whole.Spectrum.Items(r)->Bands[b], head.Spectrum.Items(r)->Bands[b]);

    // Empty, odd-sized and missing blocks still yield one silent record per channel.
    TLevelMeter m;
    const std::vector<char> three(3, '\x7f');
    m.FeedSpectrum(three.data(), 3);
    m.FeedSpectrum(nullptr, 4000);
    m.FeedSpectrum(three.data(), -5);
    ASSERT_EQ(m.Spectrum.Count(), 6);
    for (int r = 0; r < 6; ++r)
        for (int b = 0; b < 9; ++b)
            EXPECT_EQ(m.Spectrum.Items(r)->Bands[b], 0.0f);
}

TEST(SpectrumList, IsFirstInFirstOut) {
    TSpectrumList list;
    for (int i = 0; i < 3; ++i)
        list.Add()->Bands[0] = static_cast<float>(i);
    ASSERT_EQ(list.Count(), 3);
    list.Delete(1);
    EXPECT_EQ(list.Items(0)->Bands[0], 0.0f);
    EXPECT_EQ(list.Items(1)->Bands[0], 2.0f);
    EXPECT_EQ(list.Items(2), nullptr);
    list.Delete(5); // out of range: nothing happens
    EXPECT_EQ(list.Count(), 2);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
