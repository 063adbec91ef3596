#include "audio/WaveFile.h"
#include "FakeCapture.h"
#include "WavBytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Pattern(int n) {
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 7 + 3) & 0xff);
    return b;
}

// The header written out field by field, for comparing whole byte strings.
QByteArray ExpectedHeader(uint32_t rate, uint16_t channels, uint32_t dataSize) {
    QByteArray h;
    auto u16 = [&](uint16_t v) {
        h.append(char(v & 0xff));
        h.append(char(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(uint16_t(v & 0xffff));
        u16(uint16_t(v >> 16));
    };
    h.append("RIFF");
    u32(dataSize + 38);
    h.append("WAVEfmt ");
    u32(18);
    u16(1);
    u16(channels);
    u32(rate);
    u32(rate * channels * 2);
    u16(uint16_t(channels * 2));
    u16(16);
    u16(0);
    h.append("data");
    u32(dataSize);
    return h;
}

struct Format {
    int rate;
    int channels;
};

class WaveHeaderTest : public ::testing::TestWithParam<Format> {};

TEST_P(WaveHeaderTest, CompletedHeaderMatchesLayoutByteForByte) {
    const auto [rate, channels] = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("MRL_TMP.WAV");
    const QByteArray samples = Pattern(channels * 2 * 1001);
    {
        TWaveFileStream w(path);
        w.SetPCMFormat(rate, 16, channels);
        w.Open();
        w.Write(samples.constData(), 1000);
        w.Write(samples.constData() + 1000, samples.size() - 1000);
        // Until the writer goes away the sizes are not filled in.
        const QByteArray partial = ReadAll(path);
        ASSERT_EQ(partial.size(), 46 + samples.size());
        EXPECT_EQ(partial.mid(12, 30), ExpectedHeader(rate, channels, 0).mid(12, 30));
        EXPECT_EQ(U32At(partial, 42), 0u);
    }
    const QByteArray file = ReadAll(path);
    ASSERT_EQ(file.size(), 46 + samples.size());
    EXPECT_EQ(file.left(46), ExpectedHeader(rate, channels, uint32_t(samples.size())));
    EXPECT_EQ(file.mid(46), samples);
}

INSTANTIATE_TEST_SUITE_P(RecordingFormats, WaveHeaderTest,
                         ::testing::Values(Format{11025, 1}, Format{11025, 2}, Format{22050, 1},
                                           Format{22050, 2}, Format{44100, 1}, Format{44100, 2}),
                         [](const auto& info) {
                             return std::to_string(info.param.rate) +
                                    (info.param.channels == 1 ? "Mono" : "Stereo");
                         });

TEST(WaveFileTest, StereoFieldsAt22To35) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.wav");
    {
        TWaveFileStream w(path);
        w.SetPCMFormat(44100, 16, 2);
        w.Open();
    }
    const QByteArray f = ReadAll(path);
    ASSERT_EQ(f.size(), 46);
    EXPECT_EQ(U16At(f, 22), 2);
    EXPECT_EQ(U32At(f, 24), 44100u);
    EXPECT_EQ(U32At(f, 28), 176400u);
    EXPECT_EQ(U16At(f, 32), 4);
    EXPECT_EQ(U16At(f, 34), 16);
    EXPECT_EQ(U32At(f, 42), 0u);
    EXPECT_EQ(U32At(f, 4), 38u);
}

TEST(WaveFileTest, ReplacesAnExistingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.wav");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    {
        TWaveFileStream w(path);
        w.Open();
        w.Write("abcd", 4);
    }
    EXPECT_EQ(ReadAll(path).size(), 50);
}

TEST(WaveFileTest, FileThatCannotBeCreatedIsReported) {
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/MRL_TMP.WAV");
    TWaveFileStream w(path);
    try {
        w.Open();
        FAIL() << "Open succeeded";
    } catch (const TWaveFileError& e) {
        EXPECT_TRUE(e.Text.contains(path)) << e.Text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_THROW(w.Write("ab", 2), TWaveFileError);
}

TEST(WaveFileTest, HeaderRefusedByFullDeviceIsReported) {
    TWaveFileStream w(QStringLiteral("/dev/full"));
    EXPECT_THROW(w.Open(), TWaveFileError);
    EXPECT_FALSE(w.IsOpen());
}

// A disk that fills up during the recording: the writer says so at once, keeps
// everything stored before, and still completes the header over it.
TEST(WaveFileTest, ShortWriteIsReportedAndStoredBytesAreKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath("MRL_TMP.WAV");
    const QByteArray samples = Pattern(4000);
    // Room for the header and 1003 sample bytes: the last stereo frame is torn.
    auto file = std::make_unique<FillingFile>(path, 46 + 1003);
    {
        TWaveFileStream w(std::move(file), path);
        w.SetPCMFormat(22050, 16, 2);
        w.Open();
        w.Write(samples.constData(), 800);
        try {
            w.Write(samples.constData() + 800, 800);
            FAIL() << "short write not reported";
        } catch (const TWaveFileError& e) {
            EXPECT_TRUE(e.Text.contains(path)) << e.Text.toStdString();
            EXPECT_TRUE(e.Text.contains("No space left")) << e.Text.toStdString();
        }
        EXPECT_EQ(w.DataSize(), 1003);
        // Nothing more goes into a file that already lost bytes.
        EXPECT_THROW(w.Write(samples.constData(), 4), TWaveFileError);
        EXPECT_TRUE(w.Finish());
    }
    const QByteArray f = ReadAll(path);
    ASSERT_EQ(f.size(), 46 + 1000);
    EXPECT_EQ(f.left(46), ExpectedHeader(22050, 2, 1000));
    EXPECT_EQ(f.mid(46), samples.left(1000));
}

TEST(WaveFileTest, WriteBeforeOpenIsRefused) {
    QTemporaryDir dir;
    TWaveFileStream w(dir.filePath("a.wav"));
    EXPECT_THROW(w.Write("ab", 2), TWaveFileError);
}

} // namespace
