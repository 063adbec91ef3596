// Files made by real encoders: lame, sox and (when present) ffmpeg.

#include "Mp3Bytes.h"
#include "audio/MPEGaudio.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace mp3bytes;

namespace {

class RealFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"sox", "lame"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
    }
    static bool have(const char* tool) { return !QStandardPaths::findExecutable(tool).isEmpty(); }

    bool run(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0) {
            ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString() << ": "
                          << p.readAllStandardError().toStdString();
            return false;
        }
        return true;
    }
    // Five seconds of pink noise (something to encode at a varying rate).
    QString wav(int rate, int channels) {
        const QString path = files.path(QString("in-%1-%2.wav").arg(rate).arg(channels));
        if (!QFileInfo::exists(path))
            run("sox", {"-n", "-r", QString::number(rate), "-c", QString::number(channels), "-b",
                        "16", path, "synth", "5", "pinknoise", "vol", "0.3"});
        return path;
    }
    QString lame(const QString& name, int rate, int channels, QStringList options) {
        const QString out = files.path(name);
        options << "--quiet" << wav(rate, channels) << out;
        run("lame", options);
        return out;
    }
    Files files;
};

TEST_F(RealFilesTest, LameStreams) {
    struct Case {
        const char* name;
        int rate, channels;
        QStringList options;
        int version;
        int sampleRate;
        const char* vbr; // "" for none
        int kbps;        // 0: only a plausible rate is checked
        double tolerance;
    } cases[] = {
        {"cbr.mp3", 44100, 2, {"-b", "128"}, 3, 44100, "", 128, 0.1},
        {"cbr-mono.mp3", 48000, 1, {"-b", "64", "-m", "m"}, 3, 48000, "", 64, 0.1},
        {"vbr.mp3", 44100, 2, {"-V", "2"}, 3, 44100, "Xing", 0, 0.1},
        {"vbr-mono.mp3", 32000, 1, {"-V", "4", "-m", "m"}, 3, 32000, "Xing", 0, 0.1},
        {"mpeg2.mp3", 22050, 1, {"-b", "32", "-m", "m"}, 2, 22050, "", 32, 0.2},
        {"mpeg2-vbr.mp3", 24000, 2, {"-V", "5"}, 2, 24000, "Xing", 0, 0.2},
        {"mpeg2-vbr-mono.mp3", 16000, 1, {"-V", "6", "-m", "m"}, 2, 16000, "Xing", 0, 0.2},
        {"mpeg25.mp3", 8000, 1, {"-b", "16", "-m", "m"}, 0, 8000, "", 16, 0.3},
        {"mpeg25-vbr.mp3", 11025, 2, {"-V", "7"}, 0, 11025, "Xing", 0, 0.3},
    };
    for (const Case& c : cases) {
        const QString path = lame(c.name, c.rate, c.channels, c.options);
        TMPEGaudio r;
        ASSERT_TRUE(r.ScanFile(path)) << c.name;
        EXPECT_TRUE(r.IsValid()) << c.name;
        EXPECT_EQ(r.Frame().VersionID, c.version) << c.name;
        EXPECT_EQ(r.Frame().LayerID, TMPEGaudio::MPEG_LAYER_III) << c.name;
        EXPECT_EQ(r.SampleRate(), c.sampleRate) << c.name;
        EXPECT_EQ(r.Frame().ModeID == TMPEGaudio::MPEG_CM_MONO, c.channels == 1) << c.name;
        EXPECT_EQ(r.VBR().Found ? r.VBR().ID : QString(), c.vbr) << c.name;
        // lame's own delay and padding add a little
        EXPECT_NEAR(r.Duration(), 5.0 + c.tolerance / 2, c.tolerance / 2) << c.name;
        const double sizeRate = QFileInfo(path).size() * 8 / r.Duration() / 1000;
        if (c.kbps) {
            EXPECT_EQ(r.AudioBitRate(), c.kbps) << c.name;
        } else {
            EXPECT_NEAR(r.AudioBitRate(), sizeRate, 3) << c.name;
        }
        if (!r.VBR().Found) {
            EXPECT_TRUE(r.Encoder().startsWith("LAME"))
                << c.name << ": " << r.Encoder().toStdString();
        }
    }
}

TEST_F(RealFilesTest, LameTagsDoNotMoveTheAudio) {
    const QString plain = lame("plain.mp3", 44100, 2, {"-b", "96"});
    const QString tagged = lame("tagged.mp3", 44100, 2,
                                {"-b", "96", "--add-id3v2", "--pad-id3v2-size", "300", "--tt",
                                 "Title", "--ta", "Artist", "--tl", "Album", "--ty", "2004", "--tn",
                                 "7/12", "--tg", "Rock", "--tc", "A comment"});
    const QString utf16 =
        lame("utf16.mp3", 44100, 2,
             {"-b", "96", "--id3v2-only", "--id3v2-utf16", "--tt",
              QString::fromUtf8("Grüße aus Köln"), "--ta", QString::fromUtf8("Дмитрий")});
    TMPEGaudio p, t, u;
    ASSERT_TRUE(p.ScanFile(plain));
    ASSERT_TRUE(t.ScanFile(tagged));
    ASSERT_TRUE(u.ScanFile(utf16));

    EXPECT_TRUE(t.ID3v2().Exists());
    EXPECT_GT(t.ID3v2().Size(), 300);
    EXPECT_EQ(t.ID3v2().Title(), "Title");
    EXPECT_EQ(t.ID3v2().Artist(), "Artist");
    EXPECT_EQ(t.ID3v2().Album(), "Album");
    EXPECT_EQ(t.ID3v2().Year(), "2004");
    EXPECT_EQ(t.ID3v2().Track(), 7);
    EXPECT_EQ(t.ID3v2().Comment(), "A comment");
    EXPECT_TRUE(t.ID3v1().Exists());
    EXPECT_EQ(t.ID3v1().VersionID(), 2);
    EXPECT_EQ(t.ID3v1().Track(), 7);
    EXPECT_EQ(t.ID3v1().Title(), "Title");
    EXPECT_EQ(t.ID3v1().GenreID(), 17);

    EXPECT_EQ(u.ID3v2().Title(), QString::fromUtf8("Grüße aus Köln"));
    EXPECT_EQ(u.ID3v2().Artist(), QString::fromUtf8("Дмитрий"));
    EXPECT_FALSE(u.ID3v1().Exists());

    // Tags are left out of the duration.
    EXPECT_NEAR(t.Duration(), p.Duration(), 1e-9);
    EXPECT_NEAR(u.Duration(), p.Duration(), 1e-9);
    EXPECT_EQ(t.AudioBitRate(), 96);
}

TEST_F(RealFilesTest, FfmpegLayerIIAndID3v24) {
    if (!have("ffmpeg"))
        GTEST_SKIP() << "ffmpeg is not installed";
    struct Case {
        const char* name;
        int rate;
        QStringList options;
        int version, layer, kbps;
    } cases[] = {
        {"l2.mp2", 48000, {"-c:a", "mp2", "-b:a", "192k"}, 3, 2, 192},
        {"l2-lsf.mp2", 24000, {"-c:a", "mp2", "-b:a", "64k"}, 2, 2, 64},
        {"v23.mp3",
         44100,
         {"-c:a", "libmp3lame", "-b:a", "128k", "-id3v2_version", "3", "-metadata", "title=Drei",
          "-metadata", "artist=Künstler", "-metadata", "date=2021", "-metadata", "genre=Jazz"},
         3,
         1,
         128},
        {"v24.mp3",
         44100,
         {"-c:a", "libmp3lame", "-b:a", "128k", "-metadata", "title=Vier"},
         3,
         1,
         128},
    };
    for (const Case& c : cases) {
        const QString out = files.path(c.name);
        QStringList args{"-loglevel", "error", "-y", "-i", wav(c.rate, 2)};
        args << c.options << out;
        ASSERT_TRUE(run("ffmpeg", args));
        TMPEGaudio r;
        ASSERT_TRUE(r.ScanFile(out)) << c.name;
        EXPECT_TRUE(r.IsValid()) << c.name;
        EXPECT_EQ(r.Frame().VersionID, c.version) << c.name;
        EXPECT_EQ(r.Frame().LayerID, c.layer) << c.name;
        EXPECT_EQ(r.AudioBitRate(), c.kbps) << c.name;
        EXPECT_NEAR(r.Duration(), 5.05, 0.1) << c.name;
    }
    // ffmpeg writes Latin-1 or UTF-16 texts into ID3v2.3 tags...
    TMPEGaudio v3;
    ASSERT_TRUE(v3.ScanFile(files.path("v23.mp3")));
    EXPECT_EQ(v3.ID3v2().VersionID(), 3);
    EXPECT_EQ(v3.ID3v2().Title(), "Drei");
    EXPECT_EQ(v3.ID3v2().Artist(), QString::fromUtf8("Künstler"));
    EXPECT_EQ(v3.ID3v2().Year(), "2021");
    EXPECT_EQ(v3.ID3v2().Genre(), "Jazz");
    // ...and UTF-8 texts into ID3v2.4 tags, which are not read; the tag is
    // still skipped.
    TMPEGaudio v4;
    ASSERT_TRUE(v4.ScanFile(files.path("v24.mp3")));
    EXPECT_EQ(v4.ID3v2().VersionID(), 4);
    EXPECT_GT(v4.ID3v2().Size(), 10);
    EXPECT_EQ(v4.ID3v2().Title(), "");
    EXPECT_NEAR(v4.Duration(), v3.Duration(), 1e-9);
}

} // namespace
