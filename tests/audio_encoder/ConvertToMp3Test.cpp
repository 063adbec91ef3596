// ConvertToMp3 on real recordings, checked with mpg123 and by reading the
// frames, and every way it can fail.

#include "Mp3TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

using namespace enctest;

namespace {

class Convert : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString wav = dir.filePath("MRL_TMP.WAV");
    QString mp3 = dir.filePath("My message.mp3");

    QByteArray makeWav(int rate, int channels, std::int64_t frames) {
        QByteArray bytes = wavBytes(rate, channels, tone(rate, channels, frames));
        writeFile(wav, bytes);
        return bytes;
    }
};

// The progress the conversion must report: after every 64th chunk, then 100.
std::vector<int> expectedProgress(qint64 fileSize, qint64 chunkBytes) {
    std::vector<int> v;
    const qint64 chunks = (fileSize - WavDataOffset + chunkBytes - 1) / chunkBytes;
    for (qint64 k = ProgressEveryChunks; k <= chunks; k += ProgressEveryChunks) {
        v.push_back(
            Mp3ProgressPercent(std::min(fileSize, WavDataOffset + k * chunkBytes), fileSize));
        v.push_back(-1);
    }
    v.push_back(100);
    return v;
}

} // namespace

TEST(Mp3Progress, RoundsHalfToEvenWithoutOverflow) {
    constexpr qint64 big = std::numeric_limits<qint64>::max();
    struct Case {
        qint64 position, size;
        int percent;
    };
    const Case cases[] = {
        {0, 100, 0},
        {1, 3, 33},
        {2, 3, 67},
        {1, 8, 12},
        {3, 8, 38},
        {5, 200, 2},
        {7, 200, 4},
        {199, 200, 100},
        {46, 46, 100},
        {big / 2, big, 50},
        {big - 1, big, 100},
        {1, big, 0},
        {big / 8, big, 12},
        {qint64(1) << 59, qint64(1) << 62, 12},
        {qint64(3) << 59, qint64(1) << 62, 38},
    };
    for (const Case& k : cases)
        EXPECT_EQ(Mp3ProgressPercent(k.position, k.size), k.percent)
            << k.position << " / " << k.size;
}

// One conversion per recording format the options offer, each checked from
// outside: decoded by mpg123, frames read back from the file.
TEST_F(Convert, RecordingFormatsComeOutAsConfigured) {
    struct Case {
        int rate, channels, kbps;
        int version; // MPEG version the rate implies
    };
    const Case cases[] = {
        {11025, 1, 16, 25}, {11025, 2, 24, 25}, {22050, 1, 32, 2},
        {22050, 2, 64, 2},  {44100, 1, 32, 1},  {44100, 2, 128, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.rate << " Hz, " << k.channels << " ch, " << k.kbps);
        // 7 s and a bit: several progress steps and a short last chunk.
        const std::int64_t frames = 7 * k.rate + 1234;
        const QByteArray wavData = makeWav(k.rate, k.channels, frames);
        SpyEncoder spy;
        ProgressLog log;
        ConvertToMp3(wav, mp3, {k.rate, k.channels, k.kbps, 1}, log.callbacks(), spy);

        ASSERT_EQ(spy.configs.size(), 1u);
        EXPECT_EQ(spy.configs[0].dwSampleRate, std::uint32_t(k.rate));
        EXPECT_EQ(spy.configs[0].nMode, k.channels == 1 ? 3 : 0);
        EXPECT_EQ(spy.configs[0].dwBitrate, std::uint32_t(k.kbps));

        // Chunking: full chunks, then exactly the samples that are left.
        const std::uint64_t total = std::uint64_t(frames) * k.channels;
        ASSERT_FALSE(spy.encodedSamples.empty());
        for (std::size_t i = 0; i + 1 < spy.encodedSamples.size(); ++i)
            ASSERT_EQ(spy.encodedSamples[i], spy.chunkSamples) << i;
        EXPECT_EQ(spy.encodedSamples.back(), total % spy.chunkSamples);
        EXPECT_EQ(spy.encodedSamples.size(), total / spy.chunkSamples + 1);

        EXPECT_EQ(log.events, expectedProgress(wavData.size(), qint64(spy.chunkSamples) * 2));
        EXPECT_EQ(spy.closeCalls, 1);
        EXPECT_EQ(spy.order.back(), "close");
        EXPECT_EQ(spy.order[spy.order.size() - 2], "tag");
        ASSERT_EQ(spy.infoTagFiles.size(), 1u);
        EXPECT_EQ(QString::fromStdString(spy.infoTagFiles[0]), mp3);
        EXPECT_EQ(readFile(wav), wavData) << "the conversion must not touch the recording";

        const QByteArray out = readFile(mp3);
        const Walk w = walkFrames(out);
        ASSERT_TRUE(w.reachedEnd) << "file is a clean run of frames";
        ASSERT_GT(w.frames.size(), 10u);
        std::map<int, int> rates;
        for (const Frame& f : w.frames) {
            ASSERT_TRUE(f.copyright && f.original) << f.offset;
            ASSERT_TRUE(f.noCrc && !f.privateBit) << f.offset;
            ASSERT_EQ(f.version, k.version) << f.offset;
            ASSERT_EQ(f.sampleRate, k.rate) << f.offset;
        }
        for (std::size_t i = 1; i < w.frames.size(); ++i) {
            ASSERT_EQ(w.frames[i].mode, k.channels == 1 ? 3 : 0) << w.frames[i].offset;
            ASSERT_LE(w.frames[i].bitRate, k.kbps) << w.frames[i].offset;
            ++rates[w.frames[i].bitRate];
        }
        // Minimum and maximum are both the configured rate: sound frames sit on it.
        EXPECT_GT(rates[k.kbps], int(w.frames.size()) * 3 / 4);

        const auto tag = readInfoTag(out, w.frames.front());
        ASSERT_TRUE(tag) << "no VBR header";
        EXPECT_EQ(tag->id, "Xing");
        EXPECT_EQ(tag->frames, w.frames.size() - 1);
        EXPECT_EQ(tag->bytes, std::uint32_t(out.size()));
        EXPECT_EQ(tag->encoder.substr(0, 4), "LAME");

        const Decoded d = decodeWithMpg123(mp3, dir.filePath("decoded.wav"));
        ASSERT_TRUE(d.ok) << d.log;
        EXPECT_EQ(d.sampleRate, k.rate);
        EXPECT_EQ(d.channels, k.channels);
        // The tag carries encoder delay and padding, so the decoder gives
        // back exactly the recorded length.
        EXPECT_EQ(d.frames, frames);
    }
}

// The lame command line over the same library, given the settings the
// record asks for, must write the very same bytes: every field reaches the
// encoder, and nothing else is changed on the way.
TEST_F(Convert, SameBytesAsLameCommandLineAtTheSameSettings) {
    struct Case {
        int rate, channels, kbps;
    };
    for (const Case& k : {Case{11025, 1, 16}, Case{22050, 2, 64}, Case{44100, 2, 128}}) {
        SCOPED_TRACE(testing::Message() << k.rate << " Hz, " << k.channels << " ch, " << k.kbps);
        makeWav(k.rate, k.channels, 3 * k.rate + 77);
        ConvertToMp3(wav, mp3, {k.rate, k.channels, k.kbps, 1}, TMp3Progress{});
        const QString ref = dir.filePath("lame.mp3");
        const QString kbps = QString::number(k.kbps);
        QProcess p;
        p.start("lame", {"--quiet", "--nohist", "--noreplaygain", "-h", "-V", "5", "-b", kbps, "-B",
                         kbps, "-m", k.channels == 1 ? "m" : "s", "-c", wav, ref});
        if (!p.waitForStarted())
            GTEST_SKIP() << "lame is not installed";
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QByteArray ours = readFile(mp3);
        const QByteArray theirs = readFile(ref);
        ASSERT_FALSE(ours.isEmpty());
        EXPECT_EQ(ours.size(), theirs.size());
        EXPECT_TRUE(ours == theirs);
    }
}

TEST_F(Convert, HeaderOnlyRecordingGivesTagAndFlushOnly) {
    const QByteArray wavData = makeWav(22050, 1, 0);
    ASSERT_EQ(wavData.size(), 46);
    SpyEncoder spy;
    ProgressLog log;
    ConvertToMp3(wav, mp3, {22050, 1, 32, 1}, log.callbacks(), spy);
    EXPECT_TRUE(spy.encodedSamples.empty());
    EXPECT_EQ(log.events, std::vector<int>{100});
    EXPECT_EQ(spy.closeCalls, 1);
    const QByteArray out = readFile(mp3);
    EXPECT_EQ(out.size(), qsizetype(spy.deinitBytes));
    const Walk w = walkFrames(out);
    ASSERT_TRUE(w.reachedEnd);
    ASSERT_FALSE(w.frames.empty());
    const auto tag = readInfoTag(out, w.frames.front());
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->frames, w.frames.size() - 1);
}

TEST_F(Convert, ProgressCallbacksAreOptional) {
    makeWav(11025, 1, 11025 * 8);
    ConvertToMp3(wav, mp3, {11025, 1, 16, 1}, TMp3Progress{});
    EXPECT_TRUE(walkFrames(readFile(mp3)).reachedEnd);
}

// Encoder failures, through the wrapper; every one must release the real
// stream once before the error leaves, keep the recording and leave no
// half-written MP3 behind.
TEST_F(Convert, EncoderFailuresRaiseTheirTexts) {
    using F = SpyEncoder::Fail;
    struct Case {
        F fail;
        int atChunk;
        const char* text;
        int closes;
    };
    const Case cases[] = {
        {F::Init, 1, "Init Stream Failed", 0},      {F::Encode, 1, "Encode Failed", 1},
        {F::Encode, 70, "Encode Failed", 1}, // after a progress step
        {F::EncodeOverflow, 3, "Encode Failed", 1}, {F::Deinit, 1, "Exit Stream Failed", 1},
    };
    const QByteArray wavData = makeWav(44100, 2, 44100 * 4);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        SpyEncoder spy;
        spy.fail = k.fail;
        spy.failAtChunk = k.atChunk;
        ProgressLog log;
        try {
            ConvertToMp3(wav, mp3, {44100, 2, 128, 1}, log.callbacks(), spy);
            ADD_FAILURE() << "no error raised";
        } catch (const TMp3ExportError& e) {
            EXPECT_STREQ(e.what(), k.text);
            EXPECT_EQ(spy.closeCalls, k.closes) << "when the error left";
        }
        EXPECT_TRUE(spy.infoTagFiles.empty());
        if (k.fail == F::Encode) {
            EXPECT_EQ(int(spy.encodedSamples.size()), k.atChunk) << "stopped at the failure";
        }
        EXPECT_EQ(std::count(log.events.begin(), log.events.end(), 100), 0);
        if (k.closes) {
            // Really released: the library no longer knows the handle.
            std::uint32_t got = 0;
            std::uint8_t buf[8];
            EXPECT_EQ(beDeinitStream(spy.stream, buf, &got), BE_ERR_INVALID_HANDLE);
        }
        EXPECT_EQ(readFile(wav), wavData);
        EXPECT_FALSE(QFileInfo::exists(mp3));
    }
}

TEST_F(Convert, FileFailuresRaiseTheirTexts) {
    const QByteArray wavData = makeWav(22050, 2, 22050 * 2);
    const QByteArray emptyWav = wavHeader(22050, 2, 0);
    writeFile(dir.filePath("empty.wav"), emptyWav);
    writeFile(dir.filePath("short.wav"), wavData.left(30));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    ASSERT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());

    struct Case {
        const char* what;
        QString in, out;
        const char* text;
        bool initCalled;
    };
    const Case cases[] = {
        {"missing recording", dir.filePath("gone.wav"), mp3, "Read Error", false},
        {"shorter than the header", dir.filePath("short.wav"), mp3, "Read Error", false},
        {"missing MP3 folder", wav, dir.filePath("no such folder/x.mp3"), "Write Error", false},
        {"MP3 name is a folder", wav, dir.filePath("folder.mp3"), "Write Error", false},
        {"disk full while encoding", wav, "/dev/full", "Write Error", true},
        {"disk full at the last bytes", dir.filePath("empty.wav"), "/dev/full", "Write Error 1",
         true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const QByteArray before = readFile(k.in);
        SpyEncoder spy;
        try {
            ConvertToMp3(k.in, k.out, {22050, 2, 64, 1}, TMp3Progress{}, spy);
            ADD_FAILURE() << "no error raised";
        } catch (const TMp3ExportError& e) {
            EXPECT_STREQ(e.what(), k.text);
            EXPECT_EQ(spy.closeCalls, k.initCalled ? 1 : 0);
        }
        EXPECT_EQ(!spy.configs.empty(), k.initCalled);
        EXPECT_EQ(readFile(k.in), before);
        EXPECT_FALSE(QFileInfo::exists(mp3)) << "nothing created for a failed conversion";
    }
    // Only regular files are cleaned up after a failure.
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists());
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.mp3")).isDir());
}

// A recording that shrinks while it is read is a read that delivers less than
// asked: an error, never a shorter MP3 passed off as complete.
TEST_F(Convert, RecordingCutShortDuringConversionIsReadError) {
    const QByteArray wavData = makeWav(44100, 2, 44100 * 5);
    SpyEncoder spy;
    TMp3Progress progress;
    int pumped = 0;
    progress.ProcessEvents = [&] {
        if (++pumped == 1)
            QFile::resize(wav, wavData.size() / 2);
    };
    try {
        ConvertToMp3(wav, mp3, {44100, 2, 128, 1}, progress, spy);
        ADD_FAILURE() << "no error raised";
    } catch (const TMp3ExportError& e) {
        EXPECT_STREQ(e.what(), "Read Error");
        EXPECT_EQ(spy.closeCalls, 1);
    }
    EXPECT_EQ(spy.deinitCalls, 0);
    EXPECT_TRUE(QFileInfo::exists(wav));
    EXPECT_FALSE(QFileInfo::exists(mp3));
}

TEST_F(Convert, ErrorFromTheWindowCallbackStillReleasesTheStream) {
    makeWav(44100, 2, 44100 * 3);
    SpyEncoder spy;
    TMp3Progress progress;
    progress.SetProgress = [](int) { throw std::runtime_error("window gone"); };
    EXPECT_THROW(ConvertToMp3(wav, mp3, {44100, 2, 128, 1}, progress, spy), std::runtime_error);
    EXPECT_EQ(spy.closeCalls, 1);
    EXPECT_FALSE(QFileInfo::exists(mp3));
}

// The developer tool runs the same conversion and prints what it set.
TEST_F(Convert, Wav2mp3ToolPrintsProgressAndErrors) {
    // The tool is built beside the test program, in the program folder.
    QString binDir = qEnvironmentVariable("MURMELO_BIN_DIR");
    if (binDir.isEmpty())
        binDir = QCoreApplication::applicationDirPath();
    const QString tool = binDir + "/wav2mp3";
    ASSERT_TRUE(QFileInfo(tool).isExecutable()) << tool.toStdString();
    const QByteArray wavData = makeWav(44100, 2, 44100 * 4);

    QProcess p;
    p.start(tool, {wav, mp3, "44100", "2", "128"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    std::vector<int> printed;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        if (line.startsWith("progress "))
            printed.push_back(line.mid(9).toInt());
    std::vector<int> expected;
    for (int v : expectedProgress(wavData.size(), 2304 * 2))
        if (v >= 0)
            expected.push_back(v);
    EXPECT_EQ(printed, expected);
    const Decoded d = decodeWithMpg123(mp3, dir.filePath("d.wav"));
    EXPECT_EQ(d.frames, 44100 * 4);

    p.start(tool, {dir.filePath("gone.wav"), mp3, "44100", "2", "128"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("Read Error"));

    p.start(tool, {wav, mp3, "44100", "3", "128"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
}
