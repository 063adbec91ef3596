#include "audio/MP3Player.h"
#include "PulseFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using murmelo::test::PulseFixture;

namespace {

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Pumps events until the player leaves mpPlaying; milliseconds taken, or -1.
qint64 PlayOut(TMP3Player& p, int timeoutMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (p.Mode() == TMPModes::mpPlaying) {
        if (t.elapsed() > timeoutMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return t.elapsed();
}

// Pumps events until the player's position has reached ms.
bool PlayUntil(TMP3Player& p, qint64 ms, int timeoutMs = 10000) {
    QElapsedTimer t;
    t.start();
    while (p.Position() < ms && p.Mode() == TMPModes::mpPlaying && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return p.Position() >= ms;
}

bool RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

constexpr int Rate = 22050;

// Records what reaches the null output, to tell how much of the file was
// really played, whatever the output's latency does to the timing.
class OutputRecorder {
  public:
    OutputRecorder() {
        rec_.start("parec", {"--device=out.monitor", "--format=s16le", "--rate=22050",
                             "--channels=1", "--raw"});
        started_ = rec_.waitForStarted(5000);
        QCoreApplication::processEvents();
    }
    ~OutputRecorder() { Stop(); }
    bool Started() const { return started_; }
    // Stops the recording after the output has had time to drain.
    QByteArray Stop() {
        if (rec_.state() != QProcess::NotRunning) {
            Pump(2500);
            rec_.terminate();
            rec_.waitForFinished(5000);
            pcm_ += rec_.readAllStandardOutput();
        }
        return pcm_;
    }
    // Milliseconds of tone in the recording, counted in 10 ms windows.
    qint64 ToneMs() {
        const QByteArray pcm = Stop();
        const int window = Rate / 100;
        const auto* s = reinterpret_cast<const int16_t*>(pcm.constData());
        const int n = int(pcm.size() / 2);
        qint64 loud = 0;
        for (int w = 0; w + window <= n; w += window) {
            double e = 0;
            for (int i = w; i < w + window; ++i)
                e += double(s[i]) * s[i];
            loud += std::sqrt(e / window) > 3000;
        }
        return loud * 10;
    }

  private:
    QProcess rec_;
    QByteArray pcm_;
    bool started_ = false;
};

class PlayerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        const QString wav = dir_->filePath("tone.wav");
        // 1.5 s of a 440 Hz tone at half scale.
        ok_ = RunTool("sox", {"-n", "-r", "22050", "-c", "1", "-b", "16", wav, "synth", "1.5",
                              "sine", "440", "vol", "0.5"}) &&
              RunTool("lame", {"--quiet", "-b", "64", wav, dir_->filePath("tone.mp3")});
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        MURMELO_REQUIRE_PULSE();
        ASSERT_TRUE(ok_) << "sox or lame could not make the test file";
        player.FileName = dir_->filePath("tone.mp3");
    }
    static QString Path(const char* name) { return dir_->filePath(name); }

    static inline QTemporaryDir* dir_ = nullptr;
    static inline bool ok_ = false;
    TMP3Player player;
};

TEST_F(PlayerTest, PlaysToTheEndThenReportsStoppedAndStartsAgainFromTheBeginning) {
    EXPECT_EQ(player.Mode(), TMPModes::mpNotReady);
    player.Open();
    EXPECT_EQ(player.Mode(), TMPModes::mpStopped);
    EXPECT_NEAR(player.Length(), 1500, 60);
    EXPECT_EQ(player.Position(), 0);
    int finished = 0;
    QObject::connect(&player, &TMP3Player::PlaybackFinished, [&] { ++finished; });

    OutputRecorder out;
    ASSERT_TRUE(out.Started());
    player.Play();
    EXPECT_EQ(player.Mode(), TMPModes::mpPlaying);
    const qint64 first = PlayOut(player);
    ASSERT_GE(first, 0) << "never ended";
    // It cannot end before the sound had time to play.
    EXPECT_GE(first, player.Length() - 100);
    EXPECT_EQ(player.Mode(), TMPModes::mpStopped);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(player.Position(), player.Length());

    // At the end, Play starts over: the whole file plays again.
    player.Play();
    EXPECT_EQ(player.Mode(), TMPModes::mpPlaying);
    EXPECT_GE(PlayOut(player), player.Length() - 100);
    EXPECT_EQ(finished, 2);
    EXPECT_NEAR(double(out.ToneMs()), 2 * 1500.0, 150);
}

TEST_F(PlayerTest, StopKeepsThePositionAndPlayGoesOnFromThere) {
    player.Open();
    OutputRecorder out;
    ASSERT_TRUE(out.Started());
    player.Play();
    ASSERT_TRUE(PlayUntil(player, 500));
    player.Stop();
    EXPECT_EQ(player.Mode(), TMPModes::mpStopped);
    const qint64 at = player.Position();
    EXPECT_GE(at, 500);
    EXPECT_LT(at, 1400);
    Pump(600);
    EXPECT_EQ(player.Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player.Position(), at);
    player.Play();
    Pump(50);
    EXPECT_GE(player.Position(), at);
    ASSERT_GE(PlayOut(player), 0);
    EXPECT_EQ(player.Position(), player.Length());
    // Nothing was played twice.
    EXPECT_NEAR(double(out.ToneMs()), 1500.0, 150);
}

TEST_F(PlayerTest, RewindGoesBackToTheStart) {
    player.Open();
    OutputRecorder out;
    ASSERT_TRUE(out.Started());
    player.Play();
    ASSERT_TRUE(PlayUntil(player, 500));
    player.Stop();
    const qint64 at = player.Position();
    player.Rewind();
    EXPECT_EQ(player.Mode(), TMPModes::mpStopped);
    EXPECT_EQ(player.Position(), 0);
    player.Play();
    ASSERT_GE(PlayOut(player), 0);
    EXPECT_NEAR(double(out.ToneMs()), double(at) + 1500.0, 200);
}

TEST_F(PlayerTest, PauseHoldsAndPlayResumes) {
    player.Open();
    OutputRecorder out;
    ASSERT_TRUE(out.Started());
    player.Play();
    ASSERT_TRUE(PlayUntil(player, 400));
    player.Pause();
    EXPECT_EQ(player.Mode(), TMPModes::mpPaused);
    const qint64 at = player.Position();
    Pump(400);
    EXPECT_EQ(player.Mode(), TMPModes::mpPaused);
    EXPECT_EQ(player.Position(), at);
    player.Play();
    EXPECT_EQ(player.Mode(), TMPModes::mpPlaying);
    ASSERT_GE(PlayOut(player), 0);
    EXPECT_NEAR(double(out.ToneMs()), 1500.0, 150);
}

TEST_F(PlayerTest, CloseLeavesNothingOpen) {
    player.Open();
    player.Play();
    Pump(200);
    player.Close();
    EXPECT_EQ(player.Mode(), TMPModes::mpNotReady);
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.Position(), 0);
    EXPECT_THROW(player.Play(), TMediaPlayerError);
    player.Open(); // and it opens again
    EXPECT_EQ(player.Mode(), TMPModes::mpStopped);
}

TEST_F(PlayerTest, OperationsWithoutAnOpenFileFail) {
    EXPECT_THROW(player.Play(), TMediaPlayerError);
    EXPECT_THROW(player.Stop(), TMediaPlayerError);
    EXPECT_THROW(player.Pause(), TMediaPlayerError);
    EXPECT_THROW(player.Rewind(), TMediaPlayerError);
    EXPECT_EQ(player.Mode(), TMPModes::mpNotReady);
}

TEST_F(PlayerTest, FilesThatAreNotMp3AreRefusedWithTheirName) {
    {
        QFile f(Path("notes.mp3"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 200; ++i)
            f.write("This is a plain text file, not audio at all.\n");
    }
    {
        QFile f(Path("zeros.mp3"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, '\0'));
    }
    QFile(Path("empty.mp3")).open(QIODevice::WriteOnly);
    QFile::copy(Path("tone.wav"), Path("wave.mp3"));
    player.Open(); // a good file first: a failed open must not leave it open
    for (const char* name : {"notes.mp3", "zeros.mp3", "empty.mp3", "wave.mp3", "missing.mp3"}) {
        player.FileName = Path(name);
        try {
            player.Open();
            ADD_FAILURE() << name << " was opened";
        } catch (const TMediaPlayerError& e) {
            EXPECT_TRUE(e.Text.contains(name)) << e.Text.toStdString();
        }
        EXPECT_EQ(player.Mode(), TMPModes::mpNotReady) << name;
        EXPECT_FALSE(player.IsOpen()) << name;
    }
}

} // namespace

int main(int argc, char** argv) {
    return murmelo::test::RunTestsWithPulse<QCoreApplication>(argc, argv, {});
}
