#pragma once

#include "audio/DspSoundCaptureStream.h"
#include "audio/WaveFile.h"

#include <QString>

#include <functional>
#include <memory>

// Recording into the temporary WAV file: owns the capture stream and, while a
// recording runs, the WAV writer. The main window sets the format fields and
// TempWavName, connects the hooks, and calls StartDSPRecord / StopDSPRecord.
class TDspRecorder {
  public:
    using BackendFactory = std::function<std::unique_ptr<ICaptureBackend>()>;
    using WavFactory = std::function<std::unique_ptr<TWaveFileStream>(const QString& path)>;

    struct Hooks {
        // The application's standard error box (platform and file errors).
        std::function<void(const QString& text)> ShowError;
        // A plain message box ("Unsupported Format").
        std::function<void(const QString& text)> ShowMessage;
        // Each captured block, before it is written (the level display's FeedSpectrum).
        std::function<void(const char* data, int count)> OnData;
        // Spectrum size of the level display for the sample rate of a new recording.
        std::function<void(int sampleRate)> SetSpectrumSize;
    };

    // Creates the capture stream for the default device. When that fails the
    // error is shown once, CaptureStream stays empty and CaptureDevice is -1.
    TDspRecorder(const BackendFactory& backend, Hooks hooks);
    ~TDspRecorder();

    TDspRecorder(const TDspRecorder&) = delete;
    TDspRecorder& operator=(const TDspRecorder&) = delete;

    void StartDSPRecord();
    // Ends a recording and completes the WAV file; safe when nothing records.
    void StopDSPRecord();
    // Filled-buffer event: moves the waiting bytes to the level display and the file.
    void CaptureFilled();

    bool Recording() const { return CaptureStream && CaptureStream->Capturing(); }

    std::unique_ptr<TdspSoundCaptureStream> CaptureStream;
    std::unique_ptr<TWaveFileStream> WaveWriter;
    int CaptureDevice = -1;
    QString TempWavName;
    int SampleRate = 22050;
    int SampleBits = 16;
    int Channels = 1;
    // Catalogue text MainFormUnsuppFormatDlg.
    QString UnsupportedFormatText = QStringLiteral("Unsupported Format");

    // Makes the WAV writer; replaced where the file must live on a special device.
    WavFactory MakeWaveWriter;

  private:
    void ShowError(const QString& text);
    Hooks hooks_;
};
