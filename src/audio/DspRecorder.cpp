#include "audio/DspRecorder.h"

#include <algorithm>

TDspRecorder::TDspRecorder(const BackendFactory& backend, Hooks hooks)
    : MakeWaveWriter([](const QString& path) { return std::make_unique<TWaveFileStream>(path); }),
      hooks_(std::move(hooks)) {
    try {
        CaptureStream = std::make_unique<TdspSoundCaptureStream>(backend ? backend() : nullptr);
    } catch (const std::exception& e) {
        CaptureStream.reset();
        CaptureDevice = -1;
        ShowError(QString::fromStdString(e.what()));
        return;
    }
    CaptureStream->OnData = hooks_.OnData;
    CaptureStream->OnError = [this](const QString& text) { ShowError(text); };
    CaptureDevice = CaptureStream->DeviceCount() > 0 ? 0 : -1;
}

TDspRecorder::~TDspRecorder() {
    StopDSPRecord();
}

void TDspRecorder::ShowError(const QString& text) {
    if (hooks_.ShowError)
        hooks_.ShowError(text);
    else
        qWarning("%s", qPrintable(text));
}

void TDspRecorder::StartDSPRecord() {
    StopDSPRecord();
    try {
        WaveWriter = MakeWaveWriter(TempWavName);
        WaveWriter->SetPCMFormat(SampleRate, SampleBits, Channels);
        WaveWriter->Open();
        if (!CaptureStream)
            throw TCaptureError(QStringLiteral("No sound capture device could be opened."));
        CaptureStream->OnFilledBuffer = [this] { CaptureFilled(); };
        if (hooks_.SetSpectrumSize)
            hooks_.SetSpectrumSize(SampleRate);
        const auto& formats = CaptureStream->SupportedFormats();
        const TCaptureFormat wanted{SampleRate, SampleBits, Channels};
        const auto it = std::find(formats.begin(), formats.end(), wanted);
        if (it == formats.end()) {
            if (hooks_.ShowMessage)
                hooks_.ShowMessage(UnsupportedFormatText);
            StopDSPRecord();
            return;
        }
        CaptureStream->SetCaptureFormat(static_cast<int>(it - formats.begin()));
        CaptureStream->StartCapture();
    } catch (const std::exception& e) {
        StopDSPRecord();
        ShowError(QString::fromStdString(e.what()));
    }
}

void TDspRecorder::StopDSPRecord() {
    if (CaptureStream)
        CaptureStream->StopCapture();
    if (WaveWriter) {
        const bool opened = WaveWriter->IsOpen();
        const bool ok = WaveWriter->Finish();
        const QString name = WaveWriter->Name();
        const QString why = WaveWriter->ErrorString();
        WaveWriter.reset();
        // An incomplete header would make the converter misread the samples.
        if (opened && !ok)
            ShowError(
                QStringLiteral("The recording file %1 could not be completed. %2").arg(name, why));
    }
}

void TDspRecorder::CaptureFilled() {
    if (!CaptureStream || !WaveWriter)
        return;
    auto& block = CaptureStream->DataBlock;
    const qint64 n = std::min<qint64>(CaptureStream->FilledSize(), qint64(block.size()));
    if (n <= 0)
        return;
    const qint64 got = CaptureStream->Read(block.data(), n);
    try {
        WaveWriter->Write(block.data(), got);
    } catch (...) {
        StopDSPRecord();
        throw;
    }
}
