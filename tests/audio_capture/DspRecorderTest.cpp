#include "audio/DspRecorder.h"
#include "FakeCapture.h"
#include "WavBytes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

void PumpUntil(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A complete file: its sizes agree with its length.
void ExpectComplete(const QByteArray& f) {
    ASSERT_GE(f.size(), 46);
    EXPECT_EQ(f.left(4), "RIFF");
    EXPECT_EQ(U32At(f, 4), uint32_t(f.size() - 8));
    EXPECT_EQ(U32At(f, 42), uint32_t(f.size() - 46));
}

struct RecorderFixture : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<FakeCaptureState> state = std::make_shared<FakeCaptureState>();
    QStringList errors, messages;
    std::vector<int> spectrumSizes;
    std::function<void(const char*, int)> onData;

    std::unique_ptr<TDspRecorder> Make() {
        TDspRecorder::Hooks hooks;
        hooks.ShowError = [this](const QString& t) { errors << t; };
        hooks.ShowMessage = [this](const QString& t) { messages << t; };
        hooks.OnData = [this](const char* d, int n) {
            if (onData)
                onData(d, n);
        };
        hooks.SetSpectrumSize = [this](int r) { spectrumSizes.push_back(r); };
        auto r = std::make_unique<TDspRecorder>(
            [this] { return std::make_unique<FakeCaptureBackend>(state); }, hooks);
        r->TempWavName = dir.filePath("MRL_TMP.WAV");
        return r;
    }
};

TEST_F(RecorderFixture, DeviceListDecidesCaptureDevice) {
    EXPECT_EQ(Make()->CaptureDevice, 0);
    state->devices = 0;
    EXPECT_EQ(Make()->CaptureDevice, -1);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(RecorderFixture, StreamThatCannotBeCreatedIsReportedOnceAndRecordingIsRefused) {
    TDspRecorder r(
        []() -> std::unique_ptr<ICaptureBackend> {
            throw TCaptureError(QStringLiteral("no sound system"));
        },
        {[this](const QString& t) { errors << t; }, nullptr, nullptr, nullptr});
    EXPECT_EQ(errors, QStringList{"no sound system"});
    EXPECT_EQ(r.CaptureStream, nullptr);
    EXPECT_EQ(r.CaptureDevice, -1);
    r.TempWavName = dir.filePath("MRL_TMP.WAV");
    r.StartDSPRecord(); // must not crash; reports and leaves a header-only file
    EXPECT_EQ(errors.size(), 2);
    EXPECT_FALSE(r.Recording());
    EXPECT_EQ(ReadAll(r.TempWavName).size(), 46);
}

TEST_F(RecorderFixture, UnsupportedFormatShowsMessageAndLeavesHeaderOnlyFile) {
    state->can = [](const TCaptureFormat& f) { return f.SampleRate != 44100; };
    auto r = Make();
    r->SampleRate = 44100;
    r->Channels = 2;
    r->StartDSPRecord();
    EXPECT_EQ(messages, QStringList{"Unsupported Format"});
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(state->starts, 0);
    EXPECT_FALSE(r->Recording());
    EXPECT_EQ(r->WaveWriter, nullptr);
    const QByteArray f = ReadAll(r->TempWavName);
    EXPECT_EQ(f.size(), 46);
    ExpectComplete(f);
    EXPECT_EQ(U16At(f, 22), 2);
    EXPECT_EQ(U32At(f, 24), 44100u);
}

TEST_F(RecorderFixture, DeviceRefusingToStartIsReportedAndRecordingEnds) {
    state->startError = QStringLiteral("The sound capture device could not be opened.");
    auto r = Make();
    r->StartDSPRecord();
    EXPECT_EQ(errors, QStringList{state->startError});
    EXPECT_FALSE(r->Recording());
    EXPECT_EQ(r->WaveWriter, nullptr);
    EXPECT_TRUE(r->CaptureStream->DataBlock.empty());
    EXPECT_EQ(ReadAll(r->TempWavName).size(), 46);
}

TEST_F(RecorderFixture, MissingFolderIsReportedAndNoFileExists) {
    auto r = Make();
    r->TempWavName = dir.filePath("gone/MRL_TMP.WAV");
    r->StartDSPRecord();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("gone/MRL_TMP.WAV")) << errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(r->TempWavName));
    EXPECT_EQ(state->starts, 0);
    EXPECT_FALSE(r->Recording());
}

TEST_F(RecorderFixture, EveryBlockReachesOnDataBeforeTheFileAndTheFileKeepsAllOfIt) {
    auto r = Make();
    r->SampleRate = 11025;
    r->Channels = 2;
    QByteArray seen;
    bool orderOk = true;
    onData = [&](const char* d, int n) {
        // The block is not in the file yet when the level display gets it.
        orderOk = orderOk && r->WaveWriter && r->WaveWriter->DataSize() == seen.size();
        seen.append(d, n);
    };
    r->StartDSPRecord();
    ASSERT_TRUE(r->Recording());
    EXPECT_EQ(state->started, (TCaptureFormat{11025, 16, 2}));
    EXPECT_EQ(spectrumSizes, std::vector<int>{11025});
    EXPECT_EQ(r->CaptureStream->DataBlock.size(), 44100u);

    QByteArray pushed;
    std::atomic<bool> run{true};
    std::thread device([&] {
        for (int i = 0; run && i < 30; ++i) {
            QByteArray chunk(441 * 4, '\0');
            for (int j = 0; j < chunk.size(); ++j)
                chunk[j] = char((i * 31 + j) & 0xff);
            state->Push(chunk);
            pushed.append(chunk);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    PumpUntil([&] { return seen.size() >= 30 * 441 * 4; });
    run = false;
    device.join();
    r->StopDSPRecord();
    EXPECT_TRUE(orderOk);
    EXPECT_EQ(seen, pushed);
    const QByteArray f = ReadAll(r->TempWavName);
    ExpectComplete(f);
    EXPECT_EQ(f.mid(46), pushed);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(r->CaptureStream->DataBlock.empty());
}

TEST_F(RecorderFixture, StopRightAfterStartGivesCompleteFile) {
    auto r = Make();
    r->StartDSPRecord();
    state->Push(QByteArray(64, 'a')); // captured but never read
    r->StopDSPRecord();
    r->StopDSPRecord(); // harmless when idle
    const QByteArray f = ReadAll(r->TempWavName);
    ExpectComplete(f);
    EXPECT_EQ(f.size(), 46);
}

TEST_F(RecorderFixture, NewRecordingCompletesTheRunningOneFirst) {
    auto r = Make();
    r->StartDSPRecord();
    state->Push(QByteArray(400, 'a'));
    PumpUntil([&] { return r->WaveWriter->DataSize() == 400; });
    bool firstWasComplete = false;
    auto make = r->MakeWaveWriter;
    r->MakeWaveWriter = [&](const QString& path) {
        const QByteArray before = ReadAll(path);
        firstWasComplete = before.size() == 446 && U32At(before, 42) == 400u;
        return make(path);
    };
    r->StartDSPRecord();
    EXPECT_TRUE(firstWasComplete);
    EXPECT_TRUE(r->Recording());
    EXPECT_EQ(state->stops, 1);
    r->StopDSPRecord();
    EXPECT_EQ(ReadAll(r->TempWavName).size(), 46);
}

// A disk that fills up mid-recording: the recording ends at once, the user is
// told, and everything stored before stays in a file with a correct header.
TEST_F(RecorderFixture, FullDiskEndsRecordingKeepsStoredAudioAndReports) {
    auto r = Make();
    r->MakeWaveWriter = [](const QString& path) {
        return std::make_unique<TWaveFileStream>(std::make_unique<FillingFile>(path, 46 + 1000),
                                                 path);
    };
    r->StartDSPRecord();
    QByteArray pushed;
    for (int i = 0; i < 4; ++i) {
        QByteArray chunk(300, char('a' + i));
        pushed.append(chunk);
        state->Push(chunk);
        const qint64 want = std::min<qint64>(pushed.size(), 1000);
        PumpUntil([&] { return !r->WaveWriter || r->WaveWriter->DataSize() >= want; });
    }
    PumpUntil([&] { return !r->Recording(); }, 500);
    EXPECT_FALSE(r->Recording());
    EXPECT_EQ(r->WaveWriter, nullptr);
    EXPECT_EQ(state->stops, 1);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("could not be written completely")) << errors[0].toStdString();
    const QByteArray f = ReadAll(r->TempWavName);
    ExpectComplete(f);
    EXPECT_EQ(f.mid(46), pushed.left(1000));
}

} // namespace
