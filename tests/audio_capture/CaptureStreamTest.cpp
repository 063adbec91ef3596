#include "FakeCapture.h"
#include "audio/DspSoundCaptureStream.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

QByteArray Bytes(int n, int seed) {
    QByteArray b(n, '\0');
    for (int i = 0; i < n; ++i)
        b[i] = char((i * 13 + seed) & 0xff);
    return b;
}

void Pump(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct StreamFixture : ::testing::Test {
    std::shared_ptr<FakeCaptureState> state = std::make_shared<FakeCaptureState>();
    std::unique_ptr<TdspSoundCaptureStream> MakeStream() {
        return std::make_unique<TdspSoundCaptureStream>(
            std::make_unique<FakeCaptureBackend>(state));
    }
    // Selects a format by value from the supported list.
    static void Select(TSoundCaptureStream& s, TCaptureFormat f) {
        const auto& list = s.SupportedFormats();
        const auto it = std::find(list.begin(), list.end(), f);
        ASSERT_NE(it, list.end());
        s.SetCaptureFormat(int(it - list.begin()));
    }
};

TEST(CaptureFormats, ProbeOrderIsRateThenBitsThenChannels) {
    const auto order = CaptureProbeOrder();
    ASSERT_EQ(order.size(), 7u * 4u * 2u);
    const std::vector<TCaptureFormat> head = {
        {8000, 8, 1}, {8000, 8, 2}, {8000, 16, 1}, {8000, 16, 2}, {8000, 24, 1}};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), order.begin()));
    EXPECT_EQ(order[8], (TCaptureFormat{11025, 8, 1}));
    EXPECT_EQ(order[16 + 3], (TCaptureFormat{22050, 16, 2}));
    EXPECT_EQ(order[33], (TCaptureFormat{44100, 8, 2}));
    EXPECT_EQ(order.back(), (TCaptureFormat{96000, 32, 2}));
}

TEST_F(StreamFixture, FormatsTheDeviceCannotDeliverAreNotListed) {
    state->can = [](const TCaptureFormat& f) {
        return f.BitsPerSample != 24 && f.SampleRate != 33075;
    };
    auto s = MakeStream();
    std::vector<TCaptureFormat> expected;
    for (const auto& f : CaptureProbeOrder())
        if (f.BitsPerSample != 24 && f.SampleRate != 33075)
            expected.push_back(f);
    EXPECT_EQ(s->SupportedFormats(), expected);
}

TEST_F(StreamFixture, BufferHoldsOneSecondAndAtLeast8000Bytes) {
    auto s = MakeStream();
    Select(*s, {44100, 16, 2});
    s->Start();
    EXPECT_EQ(s->BufferSize(), 176400);
    EXPECT_EQ(state->started, (TCaptureFormat{44100, 16, 2}));
    s->Stop();
    s->SetBufferLength(100); // 1600 bytes at 8000 Hz 16-bit mono
    Select(*s, {8000, 16, 1});
    s->Start();
    EXPECT_EQ(s->BufferSize(), 8000);
    s->Stop();
}

TEST_F(StreamFixture, ReadsExactlyTheWaitingBytesAcrossTheWrap) {
    auto s = MakeStream();
    s->SetBufferLength(100);
    Select(*s, {8000, 16, 1}); // 8000-byte buffer
    s->Start();
    const QByteArray a = Bytes(6000, 1), b = Bytes(5000, 2);
    ASSERT_TRUE(state->Push(a));
    EXPECT_EQ(s->FilledSize(), 6000);
    QByteArray out(6000, '\0');
    EXPECT_EQ(s->Read(out.data(), 6000), 6000);
    EXPECT_EQ(out, a);
    EXPECT_EQ(s->FilledSize(), 0);
    state->Push(b); // runs over the end of the buffer
    QByteArray out2(5000, '\0');
    EXPECT_EQ(s->Read(out2.data(), 5000), 5000);
    EXPECT_EQ(out2, b);
    s->Stop();
}

TEST_F(StreamFixture, FullBufferKeepsUnreadAudioAndDropsTheRest) {
    auto s = MakeStream();
    s->SetBufferLength(100);
    Select(*s, {8000, 16, 2}); // 8000 bytes, 4-byte frames
    s->Start();
    const QByteArray a = Bytes(7000, 3), b = Bytes(2002, 4);
    state->Push(a);
    state->Push(b);
    EXPECT_EQ(s->FilledSize(), 8000);
    EXPECT_EQ(s->DroppedBytes(), 1002);
    QByteArray out(8000, '\0');
    s->Read(out.data(), 8000);
    EXPECT_EQ(out, a + b.left(1000));
    s->Stop();
}

TEST_F(StreamFixture, ReadWaitsForMissingBytesAndNotAfterStop) {
    auto s = MakeStream();
    Select(*s, {22050, 16, 1});
    s->Start();
    const QByteArray a = Bytes(400, 5);
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        state->Push(a);
    });
    QByteArray out(400, '\0');
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(s->Read(out.data(), 400), 400);
    EXPECT_GE(t.elapsed(), 100);
    later.join();
    EXPECT_EQ(out, a);
    state->Push(Bytes(100, 6));
    s->Stop();
    // Bytes not read before the stop are gone, and a read does not hang.
    EXPECT_EQ(s->FilledSize(), 0);
    EXPECT_EQ(s->Read(out.data(), 400), 0);
}

TEST_F(StreamFixture, FilledEventRunsOnTheStartingThreadAbout50TimesASecond) {
    auto s = MakeStream();
    Select(*s, {22050, 16, 1});
    int calls = 0;
    bool onMainThread = true;
    s->OnFilledBuffer = [&] {
        ++calls;
        onMainThread = onMainThread && QThread::currentThread() == qApp->thread();
        QByteArray sink(int(s->FilledSize()), '\0');
        s->Read(sink.data(), sink.size());
    };
    s->Start();
    Pump(150);
    EXPECT_EQ(calls, 0) << "event ran with nothing waiting";
    std::atomic<bool> run{true};
    std::thread device([&] {
        while (run) {
            state->Push(Bytes(441 * 2, 7)); // 10 ms of audio
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    Pump(500);
    run = false;
    device.join();
    s->Stop();
    EXPECT_TRUE(onMainThread);
    EXPECT_GE(calls, 12);
    EXPECT_LE(calls, 30);
}

TEST_F(StreamFixture, ErrorInFilledEventEndsTheNotifierAndIsReported) {
    auto s = MakeStream();
    Select(*s, {22050, 16, 1});
    int calls = 0;
    QStringList errors;
    s->OnFilledBuffer = [&] {
        ++calls;
        throw TCaptureError(QStringLiteral("disk gone"));
    };
    s->OnError = [&](const QString& e) { errors << e; };
    s->Start();
    state->Push(Bytes(100, 8));
    Pump(200);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(errors, QStringList{"disk gone"});
    s->Stop();
}

TEST_F(StreamFixture, StartCaptureAllocatesOneSecondBlockStopCaptureFreesIt) {
    auto s = MakeStream();
    Select(*s, {11025, 16, 2});
    s->StartCapture();
    EXPECT_EQ(s->DataBlock.size(), 44100u);
    EXPECT_TRUE(s->Capturing());
    state->stopThrows = true; // a failing stop must not escape
    EXPECT_NO_THROW(s->StopCapture());
    EXPECT_TRUE(s->DataBlock.empty());
    EXPECT_FALSE(s->Capturing());
}

TEST_F(StreamFixture, ReadHandsTheSameBufferAndCountToOnData) {
    auto s = MakeStream();
    Select(*s, {22050, 16, 1});
    const char* seenPtr = nullptr;
    int seenCount = -1;
    QByteArray seenBytes;
    s->OnData = [&](const char* d, int n) {
        seenPtr = d;
        seenCount = n;
        seenBytes = QByteArray(d, n);
    };
    s->StartCapture();
    const QByteArray a = Bytes(300, 9);
    state->Push(a);
    char* block = s->DataBlock.data();
    EXPECT_EQ(s->Read(block, 300), 300);
    EXPECT_EQ(seenPtr, block);
    EXPECT_EQ(seenCount, 300);
    EXPECT_EQ(seenBytes, a);
    s->StopCapture();
}

TEST_F(StreamFixture, StartRefusedByDeviceLeavesStreamIdle) {
    state->startError = QStringLiteral("device busy");
    auto s = MakeStream();
    s->OnFilledBuffer = [] {};
    try {
        s->StartCapture();
        FAIL() << "start did not fail";
    } catch (const TCaptureError& e) {
        EXPECT_EQ(e.Text, "device busy");
    }
    EXPECT_FALSE(s->Capturing());
    EXPECT_EQ(s->BufferSize(), 0);
}

} // namespace
