#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

// A PCM capture format as the capture device list offers it.
struct TCaptureFormat {
    int SampleRate = 0;
    int BitsPerSample = 0;
    int Channels = 0;

    int BlockAlign() const { return Channels * (BitsPerSample / 8); }
    int AvgBytesPerSec() const { return BlockAlign() * SampleRate; }
    bool operator==(const TCaptureFormat&) const = default;
};

// Every format a device is asked about, in the order the supported-format
// list keeps: rates, then sample sizes, then channel counts.
std::vector<TCaptureFormat> CaptureProbeOrder();

// Raised by capture back ends and the stream; the text is shown to the user.
class TCaptureError : public std::runtime_error {
  public:
    explicit TCaptureError(const QString& text)
        : std::runtime_error(text.toStdString()), Text(text) {}
    QString Text;
};

// What the stream needs of the sound system. A back end delivers captured
// bytes through the sink from any thread, in whole sample frames.
class ICaptureBackend {
  public:
    using Sink = std::function<void(const char* data, qint64 count)>;
    virtual ~ICaptureBackend() = default;
    // Number of capture devices the system offers.
    virtual int DeviceCount() = 0;
    // True when a one-second capture in this format can be opened.
    virtual bool CanCapture(const TCaptureFormat& format) = 0;
    // Starts capturing; throws TCaptureError when the device refuses.
    virtual void Start(const TCaptureFormat& format, Sink sink) = 0;
    // Stops capturing; no sink call happens after it returns.
    virtual void Stop() = 0;
};

// The capture stream: a looping one-second buffer filled by the back end, a
// filled-buffer event run on the thread that started the capture (the GUI
// thread) about every 20 ms while bytes are waiting, and blocking reads.
class TSoundCaptureStream : public QObject {
    Q_OBJECT
  public:
    static constexpr int NotifyIntervalMs = 20;
    static constexpr int ReadRetryMs = 50;
    static constexpr qint64 MinBufferBytes = 8000;

    // Probes the back end for the supported-format list; throws TCaptureError.
    explicit TSoundCaptureStream(std::unique_ptr<ICaptureBackend> backend);
    ~TSoundCaptureStream() override;

    int DeviceCount() const { return backend_->DeviceCount(); }
    const std::vector<TCaptureFormat>& SupportedFormats() const { return formats_; }

    // Index into SupportedFormats.
    int CaptureFormat() const { return captureFormat_; }
    void SetCaptureFormat(int index);
    TCaptureFormat Format() const;

    int BufferLength() const { return bufferLengthMs_; }
    void SetBufferLength(int ms) { bufferLengthMs_ = ms; }

    // Filled-buffer event; an exception it throws ends the notifier and is
    // reported through OnError.
    std::function<void()> OnFilledBuffer;
    std::function<void(const QString&)> OnError;

    void Start();
    void Stop();
    bool Capturing() const { return capturing_; }

    // Captured bytes not yet read.
    qint64 FilledSize() const;
    qint64 BufferSize() const { return static_cast<qint64>(ring_.size()); }
    // Bytes the back end delivered while the buffer was full.
    qint64 DroppedBytes() const;

    // Copies count bytes from the read position, waiting while fewer are
    // there. Once the capture is stopped it returns what is left.
    virtual qint64 Read(char* buffer, qint64 count);

  private:
    void Store(const char* data, qint64 count);
    void Notify();

    std::unique_ptr<ICaptureBackend> backend_;
    std::vector<TCaptureFormat> formats_;
    int captureFormat_ = 0;
    int bufferLengthMs_ = 1000;
    bool capturing_ = false;
    bool inHandler_ = false;
    QTimer notifier_;

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<char> ring_;
    qint64 readPos_ = 0;
    qint64 filled_ = 0;
    qint64 dropped_ = 0;
    bool accepting_ = false;
};

// The program's capture stream: hands every read block to OnData and keeps a
// one-second block to read into.
class TdspSoundCaptureStream : public TSoundCaptureStream {
    Q_OBJECT
  public:
    using TSoundCaptureStream::TSoundCaptureStream;

    std::vector<char> DataBlock;
    std::function<void(const char* data, int count)> OnData;

    qint64 Read(char* buffer, qint64 count) override;

    void StartCapture();
    void StopCapture();
};
