#pragma once

#include "audio/DspSoundCaptureStream.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QThread>

#include <memory>

// Capture from the system's default audio input through Qt Multimedia. The
// audio source lives on its own thread so that captured audio keeps flowing
// into the stream's buffer while the GUI thread is busy.
class TQtCaptureBackend : public ICaptureBackend {
  public:
    TQtCaptureBackend();
    ~TQtCaptureBackend() override;

    // The audio inputs, enumerated once per process.
    static int CaptureDeviceCount();
    // The Qt format for a capture format; invalid for sample sizes Qt cannot deliver.
    static QAudioFormat ToAudioFormat(const TCaptureFormat& format);

    int DeviceCount() override { return CaptureDeviceCount(); }
    bool CanCapture(const TCaptureFormat& format) override;
    void Start(const TCaptureFormat& format, Sink sink) override;
    void Stop() override;

  private:
    class Worker;
    QAudioDevice device_;
    QThread thread_;
    Worker* worker_ = nullptr;
};

std::unique_ptr<ICaptureBackend> CreateDefaultCaptureBackend();
