#include "audio/SoundCapture.h"

#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>

class TQtCaptureBackend::Worker : public QObject {
  public:
    // Runs on the capture thread.
    QString Start(const QAudioDevice& device, const TCaptureFormat& f, const Sink& sink) {
        const QAudioFormat format = ToAudioFormat(f);
        source_ = new QAudioSource(device, format, this);
        // About 20 ms of audio per delivery keeps the level display lively.
        source_->setBufferSize(std::max(f.AvgBytesPerSec() / 5, 4096));
        sink_ = sink;
        align_ = std::max(1, f.BlockAlign());
        carry_.clear();
        io_ = source_->start();
        if (!io_ || source_->error() != QAudio::NoError) {
            const QString why = ErrorText(source_->error());
            Stop();
            return why;
        }
        QObject::connect(io_, &QIODevice::readyRead, this, [this] { Pull(); });
        return {};
    }

    void Stop() {
        if (source_) {
            if (io_)
                Pull();
            source_->stop();
            delete source_;
        }
        source_ = nullptr;
        io_ = nullptr;
        sink_ = nullptr;
        carry_.clear();
    }

  private:
    static QString ErrorText(QAudio::Error e) {
        switch (e) {
        case QAudio::OpenError:
            return QStringLiteral("The sound capture device could not be opened. It may be in "
                                  "use by another program or refuse this format.");
        case QAudio::IOError:
            return QStringLiteral("The sound capture device stopped delivering audio.");
        case QAudio::FatalError:
            return QStringLiteral("The sound capture device is not available.");
        default:
            return QStringLiteral("The sound capture could not be started.");
        }
    }

    void Pull() {
        if (!io_ || !sink_)
            return;
        const QByteArray got = io_->readAll();
        if (got.isEmpty())
            return;
        // Hand on whole sample frames only, keeping a torn frame for the next round.
        carry_.append(got);
        const qsizetype whole = carry_.size() - carry_.size() % align_;
        if (whole > 0) {
            sink_(carry_.constData(), whole);
            carry_.remove(0, whole);
        }
    }

    QAudioSource* source_ = nullptr;
    QIODevice* io_ = nullptr;
    Sink sink_;
    int align_ = 1;
    QByteArray carry_;
};

TQtCaptureBackend::TQtCaptureBackend() : device_(QMediaDevices::defaultAudioInput()) {
    thread_.setObjectName(QStringLiteral("capture"));
    worker_ = new Worker;
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

TQtCaptureBackend::~TQtCaptureBackend() {
    Stop();
    thread_.quit();
    thread_.wait();
}

int TQtCaptureBackend::CaptureDeviceCount() {
    static const int count = static_cast<int>(QMediaDevices::audioInputs().size());
    return count;
}

QAudioFormat TQtCaptureBackend::ToAudioFormat(const TCaptureFormat& f) {
    QAudioFormat format;
    switch (f.BitsPerSample) {
    case 8:
        format.setSampleFormat(QAudioFormat::UInt8); // 8-bit WAV samples are unsigned too
        break;
    case 16:
        format.setSampleFormat(QAudioFormat::Int16);
        break;
    case 32:
        format.setSampleFormat(QAudioFormat::Int32);
        break;
    default:
        return {};
    }
    format.setSampleRate(f.SampleRate);
    format.setChannelCount(f.Channels);
    return format;
}

bool TQtCaptureBackend::CanCapture(const TCaptureFormat& f) {
    const QAudioFormat format = ToAudioFormat(f);
    return !device_.isNull() && format.isValid() && device_.isFormatSupported(format);
}

void TQtCaptureBackend::Start(const TCaptureFormat& f, Sink sink) {
    if (device_.isNull())
        throw TCaptureError(QStringLiteral("There is no sound capture device."));
    if (!ToAudioFormat(f).isValid())
        throw TCaptureError(QStringLiteral("The capture format is not supported."));
    QString why;
    QMetaObject::invokeMethod(
        worker_, [&] { why = worker_->Start(device_, f, sink); }, Qt::BlockingQueuedConnection);
    if (!why.isEmpty())
        throw TCaptureError(why);
}

void TQtCaptureBackend::Stop() {
    if (thread_.isRunning())
        QMetaObject::invokeMethod(
            worker_, [this] { worker_->Stop(); }, Qt::BlockingQueuedConnection);
}

std::unique_ptr<ICaptureBackend> CreateDefaultCaptureBackend() {
    return std::make_unique<TQtCaptureBackend>();
}
