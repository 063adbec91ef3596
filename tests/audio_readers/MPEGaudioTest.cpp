#include "audio/MPEGaudio.h"
#include "Mp3Bytes.h"

#include <QFile>
#include <functional>

using namespace mp3bytes;

namespace {

// MPEG 1 Layer III, 128 kbit/s, 44100 Hz: 417-byte frames.
const Header Base;
constexpr int BaseLength = 417;

class MPEGaudioTest : public ::testing::Test {
  protected:
    TMPEGaudio& scan(const QByteArray& bytes, bool expectScanned = true) {
        const QString path = files.write("a.mp3", bytes);
        EXPECT_EQ(reader.ScanFile(path), expectScanned);
        return reader;
    }
    Files files;
    TMPEGaudio reader;
};

void expectCleared(const TMPEGaudio& r) {
    EXPECT_FALSE(r.Frame().Found);
    EXPECT_FALSE(r.IsValid());
    EXPECT_EQ(r.FileLength(), 0);
    EXPECT_EQ(r.Duration(), 0);
    EXPECT_EQ(r.AudioBitRate(), 0);
    EXPECT_FALSE(r.VBR().Found);
    EXPECT_EQ(r.Encoder(), "");
    EXPECT_FALSE(r.ID3v1().Exists());
    EXPECT_FALSE(r.ID3v2().Exists());
    EXPECT_EQ(r.ID3v2().Size(), 0);
    EXPECT_EQ(r.Frame().VersionID, TMPEGaudio::MPEG_VERSION_UNKNOWN);
    EXPECT_EQ(r.Frame().SampleRateID, 3);
    EXPECT_EQ(r.Frame().ModeID, 4);
    EXPECT_EQ(r.Frame().EmphasisID, 2);
}

// A stream of ten frames 417 bytes apart whose headers are changed by `edit`.
TEST_F(MPEGaudioTest, HeaderRules) {
    struct Case {
        const char* what;
        std::function<void(QByteArray&)> edit;
        bool accepted;
    } cases[] = {
        {"plain", [](QByteArray&) {}, true},
        {"emphasis 1", [](QByteArray& b) { b[3] = char(b[3] | 1); }, true},
        {"emphasis 3", [](QByteArray& b) { b[3] = char(b[3] | 3); }, true},
        {"private, copyright, original",
         [](QByteArray& b) {
             b[2] = char(b[2] | 1);
             b[3] = char(b[3] | 0x0C);
         },
         true},
        {"with CRC", [](QByteArray& b) { b[1] = char(b[1] & ~1); }, true},
        {"emphasis 2", [](QByteArray& b) { b[3] = char(b[3] | 2); }, false},
        {"first byte FE", [](QByteArray& b) { b[0] = char(0xFE); }, false},
        {"sync bits of b1 missing", [](QByteArray& b) { b[1] = char(b[1] & ~0x20); }, false},
        {"reserved version", [](QByteArray& b) { b[1] = char((b[1] & ~0x18) | 0x08); }, false},
        {"reserved layer", [](QByteArray& b) { b[1] = char(b[1] & ~0x06); }, false},
        {"free format", [](QByteArray& b) { b[2] = char(b[2] & 0x0F); }, false},
        {"bit-rate index 15", [](QByteArray& b) { b[2] = char(b[2] | 0xF0); }, false},
        {"sample-rate index 3", [](QByteArray& b) { b[2] = char(b[2] | 0x0C); }, false},
    };
    for (const Case& c : cases) {
        QByteArray header = Base.bytes();
        c.edit(header);
        QByteArray stream;
        for (int i = 0; i < 10; ++i)
            stream += header + zeros(BaseLength - 4);
        TMPEGaudio& r = scan(stream);
        EXPECT_EQ(r.Frame().Found, c.accepted) << c.what;
        EXPECT_EQ(r.IsValid(), c.accepted) << c.what;
        if (!c.accepted)
            expectCleared(r);
    }
}

// Each stream is found with its frame length, and not when the frames are one
// byte further apart.
TEST_F(MPEGaudioTest, FrameLengths) {
    auto h = [](int version, int layer, int bitRate, int sampleRate, bool padding = false) {
        Header x;
        x.version = version;
        x.layer = layer;
        x.bitRate = bitRate;
        x.sampleRate = sampleRate;
        x.padding = padding;
        return x;
    };
    struct Case {
        const char* what;
        Header header;
        int length;
        int kbps;
        int hz;
    } cases[] = {
        {"MPEG 1 III 128k 44.1k", h(3, 1, 9, 0), 417, 128, 44100},
        {"MPEG 1 III padded", h(3, 1, 9, 0, true), 418, 128, 44100},
        {"MPEG 1 III 320k 48k", h(3, 1, 14, 1), 960, 320, 48000},
        {"MPEG 1 II 192k 48k", h(3, 2, 10, 1), 576, 192, 48000},
        {"MPEG 1 II 32k 32k padded", h(3, 2, 1, 2, true), 145, 32, 32000},
        {"MPEG 1 I 384k 48k", h(3, 3, 12, 1), 384, 384, 48000},
        // Layer I counts 4-byte slots: 12 * 32000 / 44100 = 8.7 -> 8 slots
        {"MPEG 1 I 32k 44.1k", h(3, 3, 1, 0), 32, 32, 44100},
        {"MPEG 1 I 448k 44.1k padded", h(3, 3, 14, 0, true), 488, 448, 44100},
        {"MPEG 2 III 64k 22.05k", h(2, 1, 8, 0), 208, 64, 22050},
        {"MPEG 2 III 8k 24k", h(2, 1, 1, 1), 24, 8, 24000},
        {"MPEG 2 II 160k 16k", h(2, 2, 14, 2), 1440, 160, 16000},
        // Layer I keeps its 384 samples at the lower rates
        {"MPEG 2 I 256k 24k", h(2, 3, 14, 1), 512, 256, 24000},
        {"MPEG 2 I 32k 22.05k", h(2, 3, 1, 0), 68, 32, 22050},
        {"MPEG 2.5 III 8k 8k", h(0, 1, 1, 2), 72, 8, 8000},
        {"MPEG 2.5 III 32k 11.025k", h(0, 1, 4, 0), 208, 32, 11025},
        {"MPEG 2.5 II 160k 8k padded", h(0, 2, 14, 2, true), 2881, 160, 8000},
        {"MPEG 2.5 I 32k 8k", h(0, 3, 1, 2), 192, 32, 8000},
    };
    for (const Case& c : cases) {
        const int count = std::max(12, 9000 / c.length);
        TMPEGaudio& r = scan(frames(c.header, c.length, count));
        ASSERT_TRUE(r.Frame().Found) << c.what;
        EXPECT_EQ(r.Frame().Size, c.length) << c.what;
        EXPECT_EQ(r.Frame().Position, 0) << c.what;
        EXPECT_EQ(r.AudioBitRate(), c.kbps) << c.what;
        EXPECT_EQ(r.SampleRate(), c.hz) << c.what;
        EXPECT_EQ(r.Frame().VersionID, c.header.version) << c.what;
        EXPECT_EQ(r.Frame().LayerID, c.header.layer) << c.what;

        TMPEGaudio& off = scan(frames(c.header, c.length + 1, count));
        EXPECT_FALSE(off.Frame().Found) << c.what << " one byte apart";
    }
}

TEST_F(MPEGaudioTest, SearchCoversPositionsUpTo1729AfterTheTag) {
    const QByteArray two = frames(Base, BaseLength, 2);
    // Files below one block: no second search, and the end-of-audio block
    // cannot be read, so ScanFile is false once a frame was found.
    TMPEGaudio& last = scan(zeros(1729) + two, false);
    EXPECT_TRUE(last.Frame().Found);
    EXPECT_EQ(last.Frame().Position, 1729);

    expectCleared(scan(zeros(1730) + two, true));

    const QByteArray tag = id3v2Tag(3, id3v2Frame(3, "TIT2", latin1("x")) + zeros(200));
    TMPEGaudio& tagged = scan(tag + zeros(1729) + two, false);
    EXPECT_TRUE(tagged.Frame().Found);
    EXPECT_EQ(tagged.Frame().Position, 1729);
    EXPECT_EQ(tagged.ID3v2().Size(), tag.size());
}

TEST_F(MPEGaudioTest, HeaderNeedsAFollowerOneFrameLater) {
    const QByteArray one = frame(Base, BaseLength);
    struct Case {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"lone header", zeros(100) + one + zeros(1000)},
        {"follower a byte early", one.left(BaseLength - 1) + one + zeros(500)},
        {"follower a byte late", one + zeros(1) + one + zeros(1) + one},
        {"follower cut by the end of file", zeros(100) + one + Base.bytes().left(3)},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(scan(c.bytes).Frame().Found) << c.what;

    // A rejected header before the real stream does not spoil it.
    TMPEGaudio& r = scan(zeros(10) + one + zeros(50) + frames(Base, BaseLength, 3), false);
    EXPECT_TRUE(r.Frame().Found);
    EXPECT_EQ(r.Frame().Position, 10 + BaseLength + 50);
}

TEST_F(MPEGaudioTest, SecondSearchInTheMiddle) {
    // 5000 zero bytes, then 100 frames: the first block holds no frame, so the
    // block at (46700 - 0) / 2 = 23350 is searched; its first header lies 415
    // bytes in, and the duration counts from that position in that block.
    const QByteArray bytes = zeros(5000) + frames(Base, BaseLength, 100);
    TMPEGaudio& r = scan(bytes);
    ASSERT_TRUE(r.Frame().Found);
    EXPECT_EQ(r.Frame().Position, 415);
    EXPECT_DOUBLE_EQ(r.Duration(), (46700.0 - 415) / 128 / 1000 * 8);
    EXPECT_TRUE(r.IsValid());

    // The middle is taken as (file length - tag size) / 2, from the start of
    // the file: here 25000, inside the frames, while 10000 + 25000 would be
    // in the zeros after them.
    const QByteArray tag = id3v2Tag(3, id3v2Frame(3, "TIT2", latin1("x")) + zeros(9978));
    ASSERT_EQ(tag.size(), 10000);
    const QByteArray tagged = tag + zeros(4000) + frames(Base, BaseLength, 30) + zeros(33490);
    ASSERT_EQ(tagged.size(), 60000);
    TMPEGaudio& t = scan(tagged);
    ASSERT_TRUE(t.Frame().Found);
    EXPECT_EQ(t.Frame().Position, 259);
}

namespace vbr {

QByteArray xing(uint32_t frames, uint32_t bytes) {
    return QByteArray("Xing") + be32(0x0F) + be32(frames) + be32(bytes) + zeros(100) + be32(0x39) +
           "LAME3.10";
}
QByteArray vbri(uint32_t frames, uint32_t bytes) {
    return QByteArray("VBRI") + QByteArray("\x00\x01\x04\x40\x00\x4B", 6) + be32(bytes) +
           be32(frames);
}

} // namespace vbr

TEST_F(MPEGaudioTest, VbrHeaderAtTheSideInformationOffset) {
    Header mono = Base;
    mono.mode = 3;
    Header mpeg2 = Base; // 64 kbit/s, 22050 Hz: 208-byte frames
    mpeg2.version = 2;
    mpeg2.bitRate = 8;
    Header mpeg2Mono = mpeg2;
    mpeg2Mono.mode = 3;
    Header mpeg25Mono = mpeg2Mono; // 32 kbit/s, 11025 Hz: 208-byte frames
    mpeg25Mono.version = 0;
    mpeg25Mono.bitRate = 4;
    Header layer1 = mpeg2; // MPEG 2 Layer I, 32 kbit/s, 24000 Hz: 64-byte frames
    layer1.layer = 3;
    layer1.bitRate = 1;
    layer1.sampleRate = 1;

    struct Case {
        const char* what;
        Header header;
        int length;
        QByteArray vbr;
        int offset;
        bool found;
        double duration; // when found
        int kbps;
    } cases[] = {
        {"MPEG 1 stereo Xing at 36", Base, 417, vbr::xing(1000, 417000), 36, true,
         1152000.0 / 44100, 128},
        {"MPEG 1 mono Xing at 21", mono, 417, vbr::xing(1000, 417000), 21, true, 1152000.0 / 44100,
         128},
        {"MPEG 1 mono Xing at 36", mono, 417, vbr::xing(1000, 417000), 36, false, 0, 128},
        {"MPEG 1 stereo Xing at 21", Base, 417, vbr::xing(1000, 417000), 21, false, 0, 128},
        {"MPEG 2 stereo Xing at 21", mpeg2, 208, vbr::xing(500, 104000), 21, true,
         576 * 500.0 / 22050, 64},
        {"MPEG 2 mono Xing at 13", mpeg2Mono, 208, vbr::xing(500, 104000), 13, true,
         576 * 500.0 / 22050, 64},
        {"MPEG 2 mono Xing at 21", mpeg2Mono, 208, vbr::xing(500, 104000), 21, false, 0, 64},
        {"MPEG 2.5 mono Xing at 13", mpeg25Mono, 208, vbr::xing(500, 104000), 13, true,
         576 * 500.0 / 11025, 32},
        // only the counts fit into a 64-byte frame
        {"MPEG 2 Layer I Xing at 21", layer1, 64, vbr::xing(375, 24000).left(16), 21, true, 6.0,
         32},
        {"MPEG 1 stereo VBRI at 36", Base, 417, vbr::vbri(1000, 417000), 36, true,
         1152000.0 / 44100, 128},
        {"MPEG 1 mono VBRI at 36", mono, 417, vbr::vbri(1000, 417000), 36, false, 0, 128},
        {"MPEG 1 mono VBRI at 21", mono, 417, vbr::vbri(1000, 417000), 21, true, 1152000.0 / 44100,
         128},
    };
    for (const Case& c : cases) {
        const QByteArray first = frame(c.header, c.length, zeros(c.offset - 4) + c.vbr);
        const QByteArray bytes = first + frames(c.header, c.length, 9000 / c.length);
        TMPEGaudio& r = scan(bytes);
        ASSERT_TRUE(r.Frame().Found) << c.what;
        EXPECT_EQ(r.VBR().Found, c.found) << c.what;
        EXPECT_EQ(r.AudioBitRate(), c.kbps) << c.what;
        if (c.found) {
            EXPECT_EQ(r.VBR().ID, c.vbr.left(4)) << c.what;
            EXPECT_DOUBLE_EQ(r.Duration(), c.duration) << c.what;
        } else {
            EXPECT_DOUBLE_EQ(r.Duration(), bytes.size() / (c.kbps * 1000.0) * 8) << c.what;
        }
    }
}

TEST_F(MPEGaudioTest, VbrFields) {
    const QByteArray xing = frame(Base, 417, zeros(32) + vbr::xing(1234, 567890));
    TMPEGaudio& x = scan(xing + frames(Base, 417, 20));
    EXPECT_EQ(x.VBR().Frames, 1234u);
    EXPECT_EQ(x.VBR().Bytes, 567890u);
    EXPECT_EQ(x.VBR().Scale, 0x39);
    EXPECT_EQ(x.VBR().VendorID, "LAME3.10");

    const QByteArray vbri = frame(Base, 417, zeros(32) + vbr::vbri(1234, 567890));
    TMPEGaudio& v = scan(vbri + frames(Base, 417, 20));
    EXPECT_EQ(v.VBR().ID, "VBRI");
    EXPECT_EQ(v.VBR().Frames, 1234u);
    EXPECT_EQ(v.VBR().Bytes, 567890u);
    EXPECT_EQ(v.VBR().Scale, 0x4B);

    // A short frame (MPEG 2 Layer III, 16 kbit/s, 24000 Hz: 48 bytes) at the
    // end of the file: the Xing fields past the bytes read count as zero.
    Header small = Base;
    small.version = 2;
    small.bitRate = 2;
    small.sampleRate = 1;
    const QByteArray cut =
        zeros(200) + frame(small, 48, zeros(17) + vbr::xing(77, 4800).left(16)) + small.bytes();
    // (a VBR header spares the end block, so the short file still scans)
    TMPEGaudio& c = scan(cut, true);
    ASSERT_TRUE(c.Frame().Found);
    ASSERT_TRUE(c.VBR().Found);
    EXPECT_EQ(c.VBR().Frames, 77u);
    EXPECT_EQ(c.VBR().Bytes, 4800u);
    EXPECT_EQ(c.VBR().Scale, 0);
    EXPECT_EQ(c.VBR().VendorID, "");
}

// MPEG 1 Layer III at 48000 Hz: rate = (bytes / frames - padding) / 3.
TEST_F(MPEGaudioTest, VbrBitRateRounding) {
    Header h48 = Base;
    h48.sampleRate = 1; // 384-byte frames
    Header padded48 = h48;
    padded48.padding = true;
    struct Case {
        const char* what;
        Header header;
        int length;
        uint32_t frames, bytes;
        int kbps;
        bool valid;
    } cases[] = {
        {"40.5 rounds to even 40", h48, 384, 10, 1215, 40, true},
        {"41.5 rounds to even 42", h48, 384, 10, 1245, 42, true},
        {"40.7 rounds up", h48, 384, 10, 1222, 41, true},
        {"padding byte taken off: 40.4", padded48, 385, 10, 1222, 40, true},
        {"no frames: header rate", h48, 384, 0, 5000, 128, true},
        {"no bytes", padded48, 385, 10, 0, 0, false},
        {"absurd byte count", h48, 384, 10, 0xFFFFFFFF, 65535, false},
        {"above 448", h48, 384, 10, 13470, 449, false},
        {"448", h48, 384, 10, 13440, 448, true},
        {"below 8", h48, 384, 10, 220, 7, false},
    };
    for (const Case& c : cases) {
        const QByteArray first =
            frame(c.header, c.length, zeros(32) + vbr::xing(c.frames, c.bytes));
        TMPEGaudio& r = scan(first + frames(c.header, c.length, 20));
        ASSERT_TRUE(r.VBR().Found) << c.what;
        EXPECT_EQ(r.AudioBitRate(), c.kbps) << c.what;
        EXPECT_EQ(r.IsValid(), c.valid) << c.what;
    }
}

TEST_F(MPEGaudioTest, ConstantRateDurationFromFileLength) {
    QByteArray mb = frames(Base, BaseLength, 1048576 / BaseLength);
    mb += zeros(1048576 - mb.size());
    TMPEGaudio& r = scan(mb);
    EXPECT_TRUE(r.IsValid());
    EXPECT_EQ(r.AudioBitRate(), 128);
    EXPECT_DOUBLE_EQ(r.Duration(), 65.536);
    EXPECT_EQ(r.FileLength(), 1048576);

    // Both tags and the frame position are left out.
    const QByteArray tag = id3v2Tag(4, id3v2Frame(4, "TIT2", latin1("T")) + zeros(988));
    ASSERT_EQ(tag.size(), 1010);
    const QByteArray v1 = id3v1Tag("T", "", "", "", "", 0);
    TMPEGaudio& t = scan(tag + zeros(100) + mb + v1);
    EXPECT_TRUE(t.ID3v1().Exists());
    EXPECT_EQ(t.Frame().Position, 100);
    EXPECT_DOUBLE_EQ(t.Duration(), 65.536);

    // Too short to count: 0.1 s at 128 kbit/s is 1600 bytes.
    EXPECT_FALSE(scan(frames(Base, BaseLength, 3), false).IsValid());
    EXPECT_TRUE(scan(frames(Base, BaseLength, 4), false).IsValid());
}

TEST_F(MPEGaudioTest, EncoderMarkNearTheEnd) {
    // 20 frames, then the mark somewhere in the last block; windows reach
    // 417 * 5 + 1 positions back from the block's end.
    const QByteArray audio = frames(Base, BaseLength, 20) + zeros(3000);
    const int n = audio.size();
    auto withMark = [&](int at, const QByteArray& mark) {
        QByteArray b = audio;
        b.replace(at, mark.size(), mark);
        return b;
    };
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* encoder;
    } cases[] = {
        {"LAME at the end", withMark(n - 8, "LAME3.99"), "LAME3.99"},
        {"LAME in the last window", withMark(n - 8 - 2085, "LAME3.98"), "LAME3.98"},
        {"LAME beyond the windows", withMark(n - 8 - 2086, "LAME3.98"), ""},
        {"GOGO", withMark(n - 100, "GOGO-no-"), "GOGO"},
        {"the window nearest the end wins",
         withMark(n - 300, "GOGO").replace(n - 200, 8, "LAMEabcd"), "LAMEabcd"},
        {"before an ID3v1 tag", withMark(n - 8, "LAME3.97") + id3v1Tag("T", "", "", "", "", 0),
         "LAME3.97"},
        {"mark inside the ID3v1 tag", audio + id3v1Tag("LAME3.96", "", "", "", "", 0), ""},
    };
    for (const Case& c : cases) {
        TMPEGaudio& r = scan(c.bytes);
        ASSERT_TRUE(r.Frame().Found) << c.what;
        EXPECT_EQ(r.Encoder(), c.encoder) << c.what;
    }

    // With a VBR header the end is not looked at.
    const QByteArray first = frame(Base, 417, zeros(32) + vbr::xing(100, 41700));
    TMPEGaudio& v = scan(first + withMark(n - 8, "LAME3.99"));
    EXPECT_TRUE(v.VBR().Found);
    EXPECT_EQ(v.Encoder(), "");
}

TEST_F(MPEGaudioTest, ShortFilesFailAtTheEndBlock) {
    const QByteArray audio = frames(Base, BaseLength, 8); // 3336 bytes
    const QByteArray v1 = id3v1Tag("T", "", "", "", "", 0);
    struct Case {
        const char* what;
        QByteArray bytes;
        bool scanned;
    } cases[] = {
        {"3457 bytes", audio + zeros(121), false},
        {"3458 bytes", audio + zeros(122), true},
        {"3585 bytes with ID3v1", audio + zeros(121) + v1, false},
        {"3586 bytes with ID3v1", audio + zeros(122) + v1, true},
    };
    for (const Case& c : cases) {
        TMPEGaudio& r = scan(c.bytes, c.scanned);
        EXPECT_TRUE(r.Frame().Found) << c.what;
        EXPECT_TRUE(r.IsValid()) << c.what;
    }
    // A VBR header spares the end block.
    const QByteArray first = frame(Base, 417, zeros(32) + vbr::xing(100, 41700));
    EXPECT_TRUE(scan(first + frames(Base, BaseLength, 2), true).VBR().Found);
}

TEST_F(MPEGaudioTest, FailuresLeaveTheReaderCleared) {
    const QByteArray good = frames(Base, BaseLength, 20);
    ASSERT_TRUE(scan(good).IsValid());

    EXPECT_FALSE(reader.ScanFile(files.path("missing.mp3")));
    expectCleared(reader);

    // Shorter than an ID3v1 tag: the tag reader fails.
    ASSERT_TRUE(scan(good).IsValid());
    expectCleared(scan(frames(Base, 24, 5).left(120), false));

    // Tags but no audio: scanned, and the tags are forgotten too.
    const QByteArray tags = id3v2Tag(3, id3v2Frame(3, "TIT2", latin1("T"))) + zeros(5000) +
                            id3v1Tag("T", "", "", "", "", 0);
    expectCleared(scan(tags, true));

    // A tag running past the end counts as no tag size: the search starts at 0.
    QByteArray broken = id3v2Tag(3, zeros(100)) + good;
    broken[8] = 0x7F;
    TMPEGaudio& b = scan(broken);
    EXPECT_TRUE(b.ID3v2().Exists());
    EXPECT_EQ(b.ID3v2().Size(), 0);
    EXPECT_TRUE(b.Frame().Found);
    EXPECT_EQ(b.Frame().Position, 110);
}

qint64 bytesReadSoFar() {
    QFile io("/proc/self/io");
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

// The file is never read whole: a tag header, a tag trailer and at most three
// blocks, whatever the file's size.
TEST_F(MPEGaudioTest, ReadsAtMostThreeBlocks) {
    if (bytesReadSoFar() < 0)
        GTEST_SKIP() << "no /proc/self/io";
    // (plus the read of /proc/self/io itself)
    const qint64 bound = 3 * TMPEGaudio::BlockSize + 10 + 128 + 1024;
    const qint64 size = 64 << 20;
    struct Case {
        const char* what;
        qint64 at; // where the frames go
        bool found;
    } cases[] = {
        {"no audio", -1, false},
        {"audio at the start", 0, true},
        {"audio in the middle only", size / 2 - 100, true},
    };
    for (const Case& c : cases) {
        const QString path = files.write("big.mp3", {});
        QFile f(path);
        ASSERT_TRUE(f.resize(size)); // sparse
        if (c.at >= 0) {
            ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(c.at));
            f.write(frames(Base, BaseLength, 10));
            f.close();
        }
        const qint64 before = bytesReadSoFar();
        TMPEGaudio r;
        EXPECT_TRUE(r.ScanFile(path)) << c.what;
        const qint64 read = bytesReadSoFar() - before;
        EXPECT_EQ(r.Frame().Found, c.found) << c.what;
        EXPECT_LE(read, bound) << c.what;
        EXPECT_GE(read, TMPEGaudio::BlockSize) << c.what;
    }
}

} // namespace

namespace {

// The import may hand over a file it has open already, read or not.
TEST_F(MPEGaudioTest, ScansAnOpenFileFromWhereverItStands) {
    const QByteArray tag = id3v2Tag(3, id3v2Frame(3, "TIT2", latin1("Open")) + zeros(100));
    const QString path = files.write("open.mp3", tag + frames(Base, BaseLength, 20) +
                                                     id3v1Tag("One", "", "", "", "", 2));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_EQ(file.read(50).size(), 50);
    TMPEGaudio r;
    ASSERT_TRUE(r.ScanFile(file));
    EXPECT_EQ(r.ID3v2().Title(), "Open");
    EXPECT_EQ(r.ID3v1().Title(), "One");
    EXPECT_EQ(r.Frame().Position, 0);
    EXPECT_DOUBLE_EQ(r.Duration(), 20 * BaseLength / 16000.0);

    TID3v2 v2;
    ASSERT_TRUE(v2.ScanFile(file));
    EXPECT_EQ(v2.Size(), tag.size());
}

} // namespace
