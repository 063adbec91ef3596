// A voice message recorded for real: the main window's Rec and Stop capture
// a tone from the (private) sound server, the levels move, the recording
// becomes a listed MP3 that decodes to the tone; then it plays, pauses and
// its end is noticed.

#include "PulseFixture.h"
#include "WindowTestSupport.h"

#include "audio/LevelChart.h"
#include "audio/LevelMeter.h"
#include "audio/MP3Player.h"
#include "shell/AlertForms.h"
#include "shell/MainUnit1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtEndian>
#include <cmath>

using murmelo::test::PulseFixture;

namespace {

void Pump(int ms, const std::function<void()>& each = {}) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (each)
            each();
    }
}

quint32 U32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 U16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

class RecordingTest : public WindowTest {
  protected:
    void TearDown() override {
        delete Main;
        WindowTest::TearDown();
    }
    void Open() {
        Main = new TMainForm1;
        Main->Peers.MessageForm = new TMessageForm(Main);
        Main->show();
    }
    bool Active(QLabel* twin) const { return !twin->isVisibleTo(twin->parentWidget()); }
    TMainForm1* Main = nullptr;
};

TEST_F(RecordingTest, RecAndStopMakeASelectedMp3OfTheTone) {
    MURMELO_REQUIRE_PULSE();
    Open();
    ASSERT_EQ(Main->State.CaptureDevice, 0) << "the sound server's microphone is found";
    Main->NextBtn0Click();
    Main->FnameEdit->setText("Tone test");
    Main->imgRecClick();
    ASSERT_TRUE(Responder.Messages.empty()) << Responder.Messages[0].Text.toStdString();
    EXPECT_TRUE(Active(Main->imgStopDisabled));
    EXPECT_FALSE(Main->NextBtn[1]->isEnabled());
    EXPECT_FALSE(Main->RecRadio->isEnabled());

    double highestBar = 0;
    Pump(2000, [&] {
        for (double v : Main->Chart1->BarValues())
            highestBar = std::max(highestBar, v);
    });
    EXPECT_GT(highestBar, 1.0) << "the left level bars rose with the tone";

    // End the capture first to look at the finished WAV file, then Stop
    // converts it exactly as after a capture ended by the button itself.
    Main->StopDSPRecord();
    QFile wavFile(Main->State.TempWavName);
    ASSERT_TRUE(wavFile.open(QIODevice::ReadOnly));
    const QByteArray wav = wavFile.readAll();
    wavFile.close();
    ASSERT_GE(wav.size(), 46);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(U32(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(U16(wav, 22), 1);      // mono
    EXPECT_EQ(U32(wav, 24), 22050u); // samples per second
    EXPECT_EQ(U32(wav, 28), 44100u); // bytes per second
    EXPECT_EQ(U32(wav, 42), quint32(wav.size() - 46));
    const double captured = (wav.size() - 46) / 44100.0;
    EXPECT_NEAR(captured, 2.0, 0.5);

    Main->imgStopClick();
    const QString mp3 = Mp3Dir() + "Tone test.mp3";
    ASSERT_TRUE(QFile::exists(mp3));
    EXPECT_FALSE(QFile::exists(Main->State.TempWavName));
    ASSERT_NE(Main->FilesList->currentItem(), nullptr);
    EXPECT_EQ(Main->FilesList->currentItem()->text(), "Tone test");
    EXPECT_TRUE(Main->PlayRadio->isChecked());
    EXPECT_TRUE(Main->NextBtn[1]->isEnabled());
    ASSERT_EQ(Responder.Alerts.size(), 1u);
    EXPECT_EQ(Responder.Alerts[0].Text,
              "Recording Complete! click play to listen, or click on next to continue. ");

    // decode it: the tone's frequency over about the captured length
    const QString decoded = ProgramDir() + "decoded.raw";
    ASSERT_EQ(QProcess::execute("mpg123", {"-q", "-s", "-m", "-r", "22050", "-O", decoded, mp3}),
              0);
    QFile raw(decoded);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray pcm = raw.readAll();
    const size_t n = size_t(pcm.size() / 2);
    EXPECT_NEAR(n / 22050.0, captured, 0.1);
    int crossings = 0;
    const auto* s = reinterpret_cast<const qint16*>(pcm.constData());
    for (size_t i = n / 10; i + 1 < n - n / 10; ++i)
        crossings += (s[i] < 0) != (s[i + 1] < 0);
    EXPECT_NEAR(crossings / 2.0 / ((n - 2 * (n / 10)) / 22050.0), 1000, 20);
}

TEST_F(RecordingTest, PlayPauseResumeAndTheEndIsNoticed) {
    MURMELO_REQUIRE_PULSE();
    const QString wav = ProgramDir() + "beep.wav";
    ASSERT_EQ(QProcess::execute("sox", {"-n", "-r", "22050", "-c", "1", "-b", "16", wav, "synth",
                                        "1", "sine", "440"}),
              0);
    ASSERT_EQ(QProcess::execute("lame", {"--quiet", wav, Mp3Dir() + "beep.mp3"}), 0);
    Open();
    Main->PlayRadio->click();
    Main->FilesList->setCurrentRow(0);
    Main->FilesListClick();
    ASSERT_TRUE(Main->Player->IsOpen());

    Main->imgPlayClick();
    EXPECT_TRUE(Main->State.Playing);
    EXPECT_TRUE(Active(Main->imgPauseDisabled) && Active(Main->imgStopDisabled));
    EXPECT_FALSE(Main->NextBtn[1]->isEnabled());
    EXPECT_FALSE(Main->ImportBtn->isEnabled());
    EXPECT_TRUE(Main->FinishBtn[1]->isEnabled());
    Pump(300);
    Main->imgPauseClick();
    EXPECT_TRUE(Main->State.Paused);
    EXPECT_TRUE(Active(Main->imgPlayDisabled) && Active(Main->imgPauseDisabled));
    const qint64 held = Main->Player->Position();
    Pump(700); // paused: the end timer must not take it for the end
    EXPECT_TRUE(Main->State.Playing);
    EXPECT_EQ(Main->Player->Position(), held);
    EXPECT_FALSE(Main->NextBtn[1]->isEnabled());
    Main->imgPauseClick();
    EXPECT_FALSE(Main->State.Paused);
    EXPECT_EQ(Main->Player->Mode(), TMPModes::mpPlaying);

    // play to the end: within half a second of the player stopping, the
    // wizard is back to "play" with its buttons
    QElapsedTimer total, sinceEnd;
    total.start();
    while (Main->State.Playing && total.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!sinceEnd.isValid() && Main->Player->Mode() == TMPModes::mpStopped)
            sinceEnd.start();
    }
    ASSERT_FALSE(Main->State.Playing) << "the end of playback was never noticed";
    ASSERT_TRUE(sinceEnd.isValid());
    EXPECT_LE(sinceEnd.elapsed(), 750); // one 500 ms tick, with room for a loaded machine
    EXPECT_TRUE(Active(Main->imgPlayDisabled));
    EXPECT_FALSE(Active(Main->imgStopDisabled));
    EXPECT_TRUE(Main->NextBtn[1]->isEnabled());
    EXPECT_TRUE(Responder.Messages.empty());
}

} // namespace

int main(int argc, char** argv) {
    return murmelo::test::RunTestsWithPulse<QApplication>(argc, argv, {22050, 1, 1000, 0.5});
}
