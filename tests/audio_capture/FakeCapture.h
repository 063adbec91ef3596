#pragma once

#include "audio/DspSoundCaptureStream.h"

#include <QFile>

#include <functional>
#include <memory>
#include <mutex>

// A capture back end the test drives: it accepts the formats `can` allows and
// delivers whatever the test pushes.
struct FakeCaptureState {
    int devices = 1;
    std::function<bool(const TCaptureFormat&)> can = [](const TCaptureFormat&) { return true; };
    QString startError; // non-empty: Start refuses with this text
    bool stopThrows = false;
    std::mutex mutex;
    ICaptureBackend::Sink sink;
    TCaptureFormat started;
    int starts = 0, stops = 0;

    // Delivers bytes as the device would; false when no capture runs.
    bool Push(const QByteArray& bytes) {
        std::lock_guard lock(mutex);
        if (!sink)
            return false;
        sink(bytes.constData(), bytes.size());
        return true;
    }
};

class FakeCaptureBackend : public ICaptureBackend {
  public:
    explicit FakeCaptureBackend(std::shared_ptr<FakeCaptureState> s) : s_(std::move(s)) {}
    int DeviceCount() override { return s_->devices; }
    bool CanCapture(const TCaptureFormat& f) override { return s_->can(f); }
    void Start(const TCaptureFormat& f, Sink sink) override {
        if (!s_->startError.isEmpty())
            throw TCaptureError(s_->startError);
        std::lock_guard lock(s_->mutex);
        s_->sink = std::move(sink);
        s_->started = f;
        ++s_->starts;
    }
    void Stop() override {
        {
            std::lock_guard lock(s_->mutex);
            s_->sink = nullptr;
            ++s_->stops;
        }
        if (s_->stopThrows)
            throw TCaptureError(QStringLiteral("stop failed"));
    }

  private:
    std::shared_ptr<FakeCaptureState> s_;
};

// A file on a disk that fills up after `limit` bytes: writes beyond it store
// only what fits, as write(2) does on a full disk.
class FillingFile : public QFile {
  public:
    FillingFile(const QString& path, qint64 limit) : QFile(path), limit_(limit) {}

  protected:
    qint64 writeData(const char* data, qint64 len) override {
        const qint64 room = std::max<qint64>(0, limit_ - pos());
        if (room == 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 n = QFile::writeData(data, std::min(len, room));
        if (n < len)
            setErrorString(QStringLiteral("No space left on device"));
        return n;
    }

  private:
    qint64 limit_;
};
