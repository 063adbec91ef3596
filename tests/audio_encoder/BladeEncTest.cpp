// The encoder library on its own: the configuration record's bytes, the
// fields it honours as seen in the produced frames, and its refusals.

#include "Mp3TestSupport.h"

#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <map>

using namespace enctest;

namespace {

std::int32_t fieldAt(const BE_CONFIG& c, int offset) {
    unsigned char raw[sizeof(BE_CONFIG)];
    std::memcpy(raw, &c, sizeof raw);
    return std::int32_t(std::uint32_t(raw[offset]) | std::uint32_t(raw[offset + 1]) << 8 |
                        std::uint32_t(raw[offset + 2]) << 16 |
                        std::uint32_t(raw[offset + 3]) << 24);
}

// Runs the documented calling sequence directly on the library.
QByteArray encodeDirect(const BE_CONFIG& config, const std::vector<std::int16_t>& pcm,
                        const QString& path) {
    std::uint32_t samples = 0, size = 0;
    HBE_STREAM h = 0;
    EXPECT_EQ(beInitStream(&config, &samples, &size, &h), BE_ERR_SUCCESSFUL);
    if (h == 0)
        return {};
    std::vector<std::uint8_t> out(size);
    QByteArray mp3;
    for (std::size_t pos = 0; pos < pcm.size(); pos += samples) {
        const auto n = std::uint32_t(std::min<std::size_t>(samples, pcm.size() - pos));
        std::uint32_t got = 0;
        EXPECT_EQ(beEncodeChunk(h, n, pcm.data() + pos, out.data(), &got), BE_ERR_SUCCESSFUL);
        mp3.append(reinterpret_cast<const char*>(out.data()), got);
    }
    std::uint32_t got = 0;
    EXPECT_EQ(beDeinitStream(h, out.data(), &got), BE_ERR_SUCCESSFUL);
    mp3.append(reinterpret_cast<const char*>(out.data()), got);
    writeFile(path, mp3);
    EXPECT_EQ(beWriteInfoTag(h, QFile::encodeName(path).constData()), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(beCloseStream(h), BE_ERR_SUCCESSFUL);
    return readFile(path);
}

class BladeEnc : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(name); }
};

} // namespace

TEST(EncoderConfig, RecordBytesFollowTheRecordingFormat) {
    struct Case {
        TMp3Format format;
        std::int32_t mode;
    };
    for (const Case& k : {Case{{44100, 2, 128, 1}, 0}, Case{{11025, 1, 16, 1}, 3}}) {
        SCOPED_TRACE(k.format.SampleRate);
        const BE_CONFIG c = MakeEncoderConfig(k.format);
        const std::map<int, std::int32_t> expected = {{0, 256},
                                                      {4, 1},
                                                      {8, 332},
                                                      {12, k.format.SampleRate},
                                                      {16, 0},
                                                      {20, k.mode},
                                                      {24, k.format.BitRate},
                                                      {28, k.format.BitRate},
                                                      {32, 2},
                                                      {36, 1},
                                                      {40, 0},
                                                      {44, 0},
                                                      {48, 0},
                                                      {52, 0},
                                                      {56, -1},
                                                      {60, -1},
                                                      {64, -1},
                                                      {68, -1},
                                                      {72, 5}};
        for (const auto& [offset, value] : expected)
            EXPECT_EQ(fieldAt(c, offset), value) << "offset " << offset;
        unsigned char raw[sizeof(BE_CONFIG)];
        std::memcpy(raw, &c, sizeof raw);
        EXPECT_TRUE(std::all_of(raw + 76, raw + 332, [](unsigned char b) { return b == 0; }));
    }
}

// Each header bit the record asks for must reach every frame, the tag frame
// included; the second row flips them all to show they are not fixed.
TEST_F(BladeEnc, HeaderBitsAndModeFollowTheRecord) {
    struct Case {
        BE_BOOL copyright, original, privateBit, crc;
        std::int32_t mode;
        int channels;
    };
    const Case cases[] = {
        {BE_TRUE, BE_TRUE, BE_FALSE, BE_FALSE, BE_MP3_MODE_STEREO, 2},
        {BE_FALSE, BE_FALSE, BE_TRUE, BE_TRUE, BE_MP3_MODE_MONO, 1},
        {BE_TRUE, BE_FALSE, BE_FALSE, BE_FALSE, BE_MP3_MODE_JSTEREO, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.mode);
        BE_CONFIG c = MakeEncoderConfig({44100, k.channels, 128, 1});
        c.bCopyright = k.copyright;
        c.bOriginal = k.original;
        c.bPrivate = k.privateBit;
        c.bCRC = k.crc;
        c.nMode = k.mode;
        const QByteArray mp3 = encodeDirect(c, tone(44100, k.channels, 44100), path("bits.mp3"));
        const Walk w = walkFrames(mp3);
        ASSERT_TRUE(w.reachedEnd);
        ASSERT_GT(w.frames.size(), 30u);
        for (const Frame& f : w.frames) {
            ASSERT_EQ(f.copyright, k.copyright != 0) << f.offset;
            ASSERT_EQ(f.original, k.original != 0) << f.offset;
            ASSERT_EQ(f.privateBit, k.privateBit != 0) << f.offset;
            ASSERT_EQ(f.noCrc, k.crc == 0) << f.offset;
        }
        // The tag frame may be written in plain stereo; the audio frames
        // carry the requested mode.
        for (std::size_t i = 1; i < w.frames.size(); ++i)
            ASSERT_EQ(w.frames[i].mode, k.mode) << w.frames[i].offset;
    }
}

TEST_F(BladeEnc, VbrSwitchAndRatesAreHonoured) {
    const auto pcm = tone(44100, 2, 3 * 44100);

    // VBR off: a constant-rate file with an "Info" tag.
    BE_CONFIG cbr = MakeEncoderConfig({44100, 2, 96, 1});
    cbr.bEnableVBR = BE_FALSE;
    QByteArray mp3 = encodeDirect(cbr, pcm, path("cbr.mp3"));
    Walk w = walkFrames(mp3);
    ASSERT_TRUE(w.reachedEnd);
    for (const Frame& f : w.frames)
        ASSERT_EQ(f.bitRate, 96);
    auto tag = readInfoTag(mp3, w.frames.front());
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->id, "Info");

    // VBR between 64 and 192: rates vary inside the bounds, "Xing" tag.
    BE_CONFIG vbr = MakeEncoderConfig({44100, 2, 64, 1});
    vbr.dwMaxBitrate = 192;
    mp3 = encodeDirect(vbr, pcm, path("vbr.mp3"));
    w = walkFrames(mp3);
    ASSERT_TRUE(w.reachedEnd);
    tag = readInfoTag(mp3, w.frames.front());
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->id, "Xing");
    int above = 0;
    for (std::size_t i = 1; i < w.frames.size(); ++i) {
        ASSERT_LE(w.frames[i].bitRate, 192);
        above += w.frames[i].bitRate > 64;
    }
    EXPECT_GT(above, 0);

    // Without the VBR header the placeholder frame is not there at all.
    BE_CONFIG noTag = cbr;
    noTag.bWriteVBRHeader = BE_FALSE;
    mp3 = encodeDirect(noTag, pcm, path("notag.mp3"));
    w = walkFrames(mp3);
    ASSERT_TRUE(w.reachedEnd);
    EXPECT_FALSE(readInfoTag(mp3, w.frames.front()));
}

TEST_F(BladeEnc, ResampleRateOverridesTheEncodersChoice) {
    const auto pcm = tone(44100, 1, 2 * 44100);
    for (std::uint32_t resample : {0u, 22050u}) {
        BE_CONFIG c = MakeEncoderConfig({44100, 1, 64, 1});
        c.dwReSampleRate = resample;
        const QByteArray mp3 = encodeDirect(c, pcm, path("rs.mp3"));
        const Decoded d = decodeWithMpg123(path("rs.mp3"), path("rs.wav"));
        ASSERT_TRUE(d.ok) << d.log;
        EXPECT_EQ(d.sampleRate, resample ? int(resample) : 44100);
        // Same duration either way, within one output frame.
        EXPECT_NEAR(double(d.frames) / d.sampleRate, 2.0, 1152.0 / d.sampleRate);
    }
}

TEST(BladeEncRefusals, BadRecordsAreRejected) {
    struct Case {
        const char* what;
        void (*change)(BE_CONFIG&);
        BE_ERR expected;
    };
    const Case cases[] = {
        {"plain MP3 kind", [](BE_CONFIG& c) { c.dwConfig = BE_CONFIG_MP3; }, BE_ERR_INVALID_FORMAT},
        {"version", [](BE_CONFIG& c) { c.dwStructVersion = 2; }, BE_ERR_INVALID_FORMAT_PARAMETERS},
        {"size", [](BE_CONFIG& c) { c.dwStructSize = 331; }, BE_ERR_INVALID_FORMAT_PARAMETERS},
        {"mode", [](BE_CONFIG& c) { c.nMode = 4; }, BE_ERR_INVALID_FORMAT_PARAMETERS},
        {"rate 0", [](BE_CONFIG& c) { c.dwSampleRate = 0; }, BE_ERR_INVALID_FORMAT_PARAMETERS},
        {"vbr quality", [](BE_CONFIG& c) { c.nVBRQuality = 10; }, BE_ERR_INVALID_FORMAT_PARAMETERS},
        {"min above max",
         [](BE_CONFIG& c) {
             c.dwBitrate = 128;
             c.dwMaxBitrate = 64;
         },
         BE_ERR_INVALID_FORMAT_PARAMETERS},
        {"preset", [](BE_CONFIG& c) { c.nPreset = 77; }, BE_ERR_INVALID_FORMAT_PARAMETERS},
        {"mpeg version", [](BE_CONFIG& c) { c.dwMpegVersion = 3; },
         BE_ERR_INVALID_FORMAT_PARAMETERS},
    };
    for (const Case& k : cases) {
        BE_CONFIG c = MakeEncoderConfig({44100, 2, 128, 1});
        k.change(c);
        std::uint32_t samples = 0, size = 0;
        HBE_STREAM h = 0;
        EXPECT_EQ(beInitStream(&c, &samples, &size, &h), k.expected) << k.what;
        EXPECT_EQ(h, 0u) << k.what;
    }
}

TEST_F(BladeEnc, StreamCallsOutOfOrderAreRefused) {
    const BE_CONFIG c = MakeEncoderConfig({22050, 1, 32, 1});
    std::uint32_t samples = 0, size = 0;
    HBE_STREAM h = 0;
    ASSERT_EQ(beInitStream(&c, &samples, &size, &h), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(samples, 576u); // one MPEG-2 frame of one channel
    std::vector<std::int16_t> pcm(samples + 1);
    std::vector<std::uint8_t> out(size);
    std::uint32_t got = 0;

    EXPECT_NE(beEncodeChunk(h, samples + 1, pcm.data(), out.data(), &got), BE_ERR_SUCCESSFUL);
    EXPECT_NE(beWriteInfoTag(h, QFile::encodeName(path("x.mp3")).constData()), BE_ERR_SUCCESSFUL)
        << "tag before the stream was flushed";
    EXPECT_EQ(beEncodeChunk(h, samples, pcm.data(), out.data(), &got), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(beDeinitStream(h, out.data(), &got), BE_ERR_SUCCESSFUL);
    EXPECT_NE(beEncodeChunk(h, samples, pcm.data(), out.data(), &got), BE_ERR_SUCCESSFUL);
    EXPECT_NE(beDeinitStream(h, out.data(), &got), BE_ERR_SUCCESSFUL);

    // The tag goes only over an MPEG frame: other bytes stay as they are.
    const QByteArray text("not an mp3 file, keep me");
    writeFile(path("text.mp3"), text);
    EXPECT_EQ(beWriteInfoTag(h, QFile::encodeName(path("text.mp3")).constData()),
              BE_ERR_FILE_ACCESS);
    EXPECT_EQ(readFile(path("text.mp3")), text);
    EXPECT_EQ(beWriteInfoTag(h, QFile::encodeName(path("missing/x.mp3")).constData()),
              BE_ERR_FILE_ACCESS);

    EXPECT_EQ(beCloseStream(h), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(beCloseStream(h), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beEncodeChunk(h, 0, pcm.data(), out.data(), &got), BE_ERR_INVALID_HANDLE);
    EXPECT_EQ(beDeinitStream(0, out.data(), &got), BE_ERR_INVALID_HANDLE);
}
