#pragma once

// Helpers for the encoder tests: 46-byte-header WAV files built here, an MPEG
// frame walker and Xing/Info reader over the produced bytes, decoding with
// the real mpg123, and an encoder wrapper that records and can fail calls.

#include "audio/MP3export.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace enctest {

inline void putLE(QByteArray& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// The recording layout: RIFF, an 18-byte fmt block, data at byte 46.
inline QByteArray wavHeader(int rate, int channels, std::uint32_t dataBytes) {
    QByteArray h;
    const int align = channels * 2;
    h.append("RIFF");
    putLE(h, dataBytes + 38, 4);
    h.append("WAVEfmt ");
    putLE(h, 18, 4);
    putLE(h, 1, 2);
    putLE(h, std::uint32_t(channels), 2);
    putLE(h, std::uint32_t(rate), 4);
    putLE(h, std::uint32_t(rate * align), 4);
    putLE(h, std::uint32_t(align), 2);
    putLE(h, 16, 2);
    putLE(h, 0, 2);
    h.append("data");
    putLE(h, dataBytes, 4);
    return h;
}

// Tones with a little deterministic noise: enough content that the encoder
// does not fall to its silence frames.
inline std::vector<std::int16_t> tone(int rate, int channels, std::int64_t frames) {
    std::vector<std::int16_t> pcm;
    pcm.reserve(std::size_t(frames * channels));
    std::uint32_t lcg = 12345;
    for (std::int64_t i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        for (int c = 0; c < channels; ++c) {
            lcg = lcg * 1664525u + 1013904223u;
            const double noise = (double(lcg >> 16) / 65536.0 - 0.5) * 0.1;
            const double f = c == 0 ? 440.0 : 660.0;
            const double v = 0.3 * std::sin(2 * M_PI * f * t) +
                             0.15 * std::sin(2 * M_PI * 2.5 * f * t) * std::sin(2 * M_PI * 3 * t) +
                             noise;
            pcm.push_back(std::int16_t(std::lround(v * 32767)));
        }
    }
    return pcm;
}

inline QByteArray wavBytes(int rate, int channels, const std::vector<std::int16_t>& pcm) {
    QByteArray b = wavHeader(rate, channels, std::uint32_t(pcm.size() * 2));
    b.append(reinterpret_cast<const char*>(pcm.data()), qsizetype(pcm.size() * 2));
    return b;
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// One MPEG audio Layer III frame header as found in the file.
struct Frame {
    qsizetype offset = 0;
    int length = 0;
    int version = 0; // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
    int bitRate = 0;
    int sampleRate = 0;
    int mode = 0; // header channel mode bits: 0 stereo, 1 joint, 2 dual, 3 mono
    bool noCrc = false;
    bool privateBit = false;
    bool copyright = false;
    bool original = false;
};

struct Walk {
    std::vector<Frame> frames;
    bool reachedEnd = false; // frames cover the file exactly
};

inline Walk walkFrames(const QByteArray& d) {
    static const int mpeg1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const int mpeg2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    Walk w;
    qsizetype p = 0;
    while (p + 4 <= d.size()) {
        const auto b = [&](int i) { return std::uint8_t(d[p + i]); };
        if (b(0) != 0xFF || (b(1) & 0xE0) != 0xE0 || ((b(1) >> 1) & 3) != 1)
            return w; // not a Layer III frame header
        const int v = (b(1) >> 3) & 3;
        const int bri = b(2) >> 4;
        const int sri = (b(2) >> 2) & 3;
        if (v == 1 || bri == 0 || bri == 15 || sri == 3)
            return w;
        Frame f;
        f.offset = p;
        f.version = v == 3 ? 1 : v == 2 ? 2 : 25;
        f.bitRate = f.version == 1 ? mpeg1[bri] : mpeg2[bri];
        const int base[] = {44100, 48000, 32000};
        f.sampleRate = base[sri] / (f.version == 1 ? 1 : f.version == 2 ? 2 : 4);
        f.mode = b(3) >> 6;
        f.noCrc = b(1) & 1;
        f.privateBit = b(2) & 1;
        f.copyright = (b(3) >> 3) & 1;
        f.original = (b(3) >> 2) & 1;
        const int coefficient = f.version == 1 ? 144 : 72;
        f.length = coefficient * f.bitRate * 1000 / f.sampleRate + ((b(2) >> 1) & 1);
        w.frames.push_back(f);
        p += f.length;
    }
    w.reachedEnd = p == d.size();
    return w;
}

struct InfoTag {
    std::string id; // "Xing" or "Info"
    std::uint32_t flags = 0;
    std::uint32_t frames = 0;
    std::uint32_t bytes = 0;
    std::string encoder; // first nine bytes of the LAME extension
};

// The Xing/Info tag sits after the side information of the first frame.
inline std::optional<InfoTag> readInfoTag(const QByteArray& d, const Frame& first) {
    const bool mono = first.mode == 3;
    const int side = first.version == 1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const qsizetype p = first.offset + 4 + side;
    if (p + 16 > d.size())
        return std::nullopt;
    const std::string id = d.mid(p, 4).toStdString();
    if (id != "Xing" && id != "Info")
        return std::nullopt;
    const auto be32 = [&](qsizetype at) {
        return (std::uint32_t(std::uint8_t(d[at])) << 24) |
               (std::uint32_t(std::uint8_t(d[at + 1])) << 16) |
               (std::uint32_t(std::uint8_t(d[at + 2])) << 8) |
               std::uint32_t(std::uint8_t(d[at + 3]));
    };
    InfoTag t;
    t.id = id;
    t.flags = be32(p + 4);
    qsizetype q = p + 8;
    if (t.flags & 1) {
        t.frames = be32(q);
        q += 4;
    }
    if (t.flags & 2) {
        t.bytes = be32(q);
        q += 4;
    }
    if (t.flags & 4)
        q += 100;
    if (t.flags & 8)
        q += 4;
    t.encoder = d.mid(q, 9).toStdString();
    return t;
}

// What mpg123 makes of the file, decoded to a WAV file.
struct Decoded {
    bool ok = false;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t frames = 0; // samples per channel
    std::string log;
};

inline Decoded decodeWithMpg123(const QString& mp3, const QString& outWav) {
    Decoded r;
    QProcess p;
    p.start("mpg123", {"-q", "-w", outWav, mp3});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
        r.log = "mpg123 did not finish";
        return r;
    }
    r.log = p.readAllStandardError().toStdString();
    if (p.exitCode() != 0)
        return r;
    const QByteArray d = readFile(outWav);
    const auto le = [&](qsizetype at, int bytes) {
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | std::uint8_t(d[at + i]);
        return v;
    };
    // Walk the RIFF chunks rather than assume a header size.
    qsizetype p2 = 12;
    while (p2 + 8 <= d.size()) {
        const QByteArray id = d.mid(p2, 4);
        const std::uint32_t size = le(p2 + 4, 4);
        if (id == "fmt ") {
            r.channels = int(le(p2 + 10, 2));
            r.sampleRate = int(le(p2 + 12, 4));
        } else if (id == "data") {
            // mpg123 may leave the size open when writing to a pipe; take the file
            const qsizetype bytes = qMin<qsizetype>(size, d.size() - p2 - 8);
            r.frames = r.channels ? bytes / (2 * r.channels) : 0;
            r.ok = r.sampleRate > 0;
            return r;
        }
        p2 += 8 + size + (size & 1);
    }
    return r;
}

// Passes every call to the real library, records what went through, and
// fails the call it is told to fail.
class SpyEncoder : public TMp3Encoder {
  public:
    enum class Fail { None, Init, Encode, EncodeOverflow, Deinit };
    Fail fail = Fail::None;
    int failAtChunk = 1; // 1-based chunk whose encode fails

    std::vector<BE_CONFIG> configs;
    std::uint32_t chunkSamples = 0;
    std::uint32_t bufferSize = 0;
    HBE_STREAM stream = 0;
    std::vector<std::uint32_t> encodedSamples;
    std::uint32_t deinitBytes = 0;
    int deinitCalls = 0;
    int closeCalls = 0;
    std::vector<std::string> infoTagFiles;
    std::vector<std::string> order; // call names in order

    BE_ERR InitStream(const BE_CONFIG* c, std::uint32_t* samples, std::uint32_t* size,
                      HBE_STREAM* h) override {
        order.push_back("init");
        configs.push_back(*c);
        if (fail == Fail::Init)
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        const BE_ERR e = real_.InitStream(c, samples, size, h);
        chunkSamples = *samples;
        bufferSize = *size;
        stream = *h;
        return e;
    }
    BE_ERR EncodeChunk(HBE_STREAM h, std::uint32_t n, const std::int16_t* pcm, std::uint8_t* out,
                       std::uint32_t* outBytes) override {
        order.push_back("encode");
        encodedSamples.push_back(n);
        const bool failing = int(encodedSamples.size()) == failAtChunk;
        if (fail == Fail::Encode && failing)
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        const BE_ERR e = real_.EncodeChunk(h, n, pcm, out, outBytes);
        if (fail == Fail::EncodeOverflow && failing)
            *outBytes = bufferSize + 1;
        return e;
    }
    BE_ERR DeinitStream(HBE_STREAM h, std::uint8_t* out, std::uint32_t* outBytes) override {
        order.push_back("deinit");
        ++deinitCalls;
        if (fail == Fail::Deinit)
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        const BE_ERR e = real_.DeinitStream(h, out, outBytes);
        deinitBytes = *outBytes;
        return e;
    }
    BE_ERR CloseStream(HBE_STREAM h) override {
        order.push_back("close");
        ++closeCalls;
        return real_.CloseStream(h);
    }
    BE_ERR WriteInfoTag(HBE_STREAM h, const char* name) override {
        order.push_back("tag");
        infoTagFiles.emplace_back(name);
        return real_.WriteInfoTag(h, name);
    }

  private:
    TBladeMp3Encoder real_;
};

// Progress calls and message pumping in the order they happened:
// a number for SetProgress, -1 for ProcessEvents.
struct ProgressLog {
    std::vector<int> events;
    TMp3Progress callbacks() {
        return {[this](int v) { events.push_back(v); }, [this] { events.push_back(-1); }};
    }
};

} // namespace enctest
