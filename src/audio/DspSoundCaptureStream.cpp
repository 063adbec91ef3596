#include "audio/DspSoundCaptureStream.h"

#include <algorithm>
#include <chrono>
#include <cstring>

std::vector<TCaptureFormat> CaptureProbeOrder() {
    static const int rates[] = {8000, 11025, 22050, 33075, 44100, 48000, 96000};
    static const int bits[] = {8, 16, 24, 32};
    static const int channels[] = {1, 2};
    std::vector<TCaptureFormat> order;
    for (int r : rates)
        for (int b : bits)
            for (int c : channels)
                order.push_back({r, b, c});
    return order;
}

TSoundCaptureStream::TSoundCaptureStream(std::unique_ptr<ICaptureBackend> backend)
    : backend_(std::move(backend)) {
    if (!backend_)
        throw TCaptureError(QStringLiteral("No sound capture system is available."));
    for (const TCaptureFormat& f : CaptureProbeOrder())
        if (backend_->CanCapture(f))
            formats_.push_back(f);
    notifier_.setInterval(NotifyIntervalMs);
    notifier_.setTimerType(Qt::PreciseTimer);
    connect(&notifier_, &QTimer::timeout, this, &TSoundCaptureStream::Notify);
}

TSoundCaptureStream::~TSoundCaptureStream() {
    if (capturing_) {
        notifier_.stop();
        backend_->Stop();
    }
}

void TSoundCaptureStream::SetCaptureFormat(int index) {
    if (index < 0 || index >= static_cast<int>(formats_.size()))
        throw TCaptureError(QStringLiteral("Capture format index %1 is out of range.").arg(index));
    captureFormat_ = index;
}

TCaptureFormat TSoundCaptureStream::Format() const {
    if (captureFormat_ < 0 || captureFormat_ >= static_cast<int>(formats_.size()))
        return {};
    return formats_[captureFormat_];
}

void TSoundCaptureStream::Start() {
    if (capturing_)
        Stop();
    if (formats_.empty())
        throw TCaptureError(QStringLiteral("The capture device offers no usable format."));
    const TCaptureFormat f = Format();
    const qint64 bytes =
        std::max<qint64>(qint64(f.AvgBytesPerSec()) * bufferLengthMs_ / 1000, MinBufferBytes);
    {
        std::lock_guard lock(mutex_);
        ring_.assign(static_cast<size_t>(bytes), 0);
        readPos_ = 0;
        filled_ = 0;
        dropped_ = 0;
        accepting_ = true;
    }
    try {
        backend_->Start(f, [this](const char* d, qint64 n) { Store(d, n); });
    } catch (...) {
        std::lock_guard lock(mutex_);
        accepting_ = false;
        ring_.clear();
        throw;
    }
    capturing_ = true;
    if (OnFilledBuffer)
        notifier_.start();
}

void TSoundCaptureStream::Stop() {
    notifier_.stop();
    if (!capturing_)
        return;
    capturing_ = false;
    {
        std::lock_guard lock(mutex_);
        accepting_ = false;
    }
    arrived_.notify_all();
    backend_->Stop();
    std::lock_guard lock(mutex_);
    ring_.clear();
    ring_.shrink_to_fit();
    readPos_ = 0;
    filled_ = 0;
}

qint64 TSoundCaptureStream::FilledSize() const {
    std::lock_guard lock(mutex_);
    return filled_;
}

qint64 TSoundCaptureStream::DroppedBytes() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

void TSoundCaptureStream::Store(const char* data, qint64 count) {
    {
        std::lock_guard lock(mutex_);
        if (!accepting_ || ring_.empty())
            return;
        const qint64 size = static_cast<qint64>(ring_.size());
        // Unread audio is never overwritten; what does not fit is dropped, in
        // whole frames so that channels stay in step.
        const int align = std::max(1, Format().BlockAlign());
        qint64 n = std::min(count, size - filled_);
        n -= n % align;
        dropped_ += count - n;
        qint64 writePos = (readPos_ + filled_) % size;
        qint64 done = 0;
        while (done < n) {
            const qint64 part = std::min(n - done, size - writePos);
            memcpy(ring_.data() + writePos, data + done, static_cast<size_t>(part));
            done += part;
            writePos = (writePos + part) % size;
        }
        filled_ += n;
    }
    arrived_.notify_all();
}

qint64 TSoundCaptureStream::Read(char* buffer, qint64 count) {
    if (count <= 0)
        return 0;
    std::unique_lock lock(mutex_);
    while (filled_ < count && accepting_)
        arrived_.wait_for(lock, std::chrono::milliseconds(ReadRetryMs));
    count = std::min(count, filled_);
    const qint64 size = static_cast<qint64>(ring_.size());
    qint64 done = 0;
    while (done < count) {
        const qint64 part = std::min(count - done, size - readPos_);
        memcpy(buffer + done, ring_.data() + readPos_, static_cast<size_t>(part));
        done += part;
        readPos_ = (readPos_ + part) % size;
    }
    filled_ -= count;
    return count;
}

void TSoundCaptureStream::Notify() {
    // The handler may pump events; a tick arriving meanwhile is skipped.
    if (inHandler_ || !capturing_ || !OnFilledBuffer || FilledSize() == 0)
        return;
    inHandler_ = true;
    try {
        OnFilledBuffer();
        inHandler_ = false;
    } catch (const std::exception& e) {
        inHandler_ = false;
        notifier_.stop();
        const QString text = QString::fromStdString(e.what());
        if (OnError)
            OnError(text);
        else
            qWarning("capture: %s", e.what());
    }
}

qint64 TdspSoundCaptureStream::Read(char* buffer, qint64 count) {
    const qint64 got = TSoundCaptureStream::Read(buffer, count);
    // Normally got == count; only a read cut short by a stopped capture hands
    // on fewer bytes, so the level display never sees bytes that were not read.
    if (OnData)
        OnData(buffer, static_cast<int>(got));
    return got;
}

void TdspSoundCaptureStream::StartCapture() {
    DataBlock.clear();
    DataBlock.shrink_to_fit();
    Start();
    const qint64 bytes = qint64(Format().AvgBytesPerSec()) * BufferLength() / 1000;
    DataBlock.assign(static_cast<size_t>(bytes), 0);
}

void TdspSoundCaptureStream::StopCapture() {
    try {
        Stop();
    } catch (...) {
        // A stop that fails leaves nothing to recover; the recording is over.
    }
    DataBlock.clear();
    DataBlock.shrink_to_fit();
}
