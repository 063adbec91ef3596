#include "FuzzFile.h"
#include "audio/MPEGaudio.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzzFile(data, size);
    TMPEGaudio reader;
    const bool scanned = reader.ScanFile(path);
    const bool valid = reader.IsValid();
    const uint16_t bitRate = reader.AudioBitRate();
    const double duration = reader.Duration();
    const auto& frame = reader.Frame();

    if (!frame.Found) {
        // Without a frame the reader is cleared, tags included.
        FUZZ_CHECK(!valid && duration == 0 && bitRate == 0);
        FUZZ_CHECK(reader.FileLength() == 0 && reader.Encoder().isEmpty() && !reader.VBR().Found);
        FUZZ_CHECK(!reader.ID3v1().Exists() && !reader.ID3v2().Exists());
        FUZZ_CHECK(reader.ID3v2().Size() == 0);
    } else {
        FUZZ_CHECK(reader.FileLength() == static_cast<qint64>(size));
        FUZZ_CHECK(frame.Position >= 0 && frame.Position <= TMPEGaudio::MaxFramePosition);
        FUZZ_CHECK(frame.Size > 0 && TMPEGaudio::IsFrameHeader(frame.Data));
        FUZZ_CHECK(std::isfinite(duration));
        FUZZ_CHECK(reader.ID3v2().Size() <= static_cast<qint64>(size));
        if (valid)
            FUZZ_CHECK(bitRate >= 8 && bitRate <= 448 && duration >= 0.1);
        if (!scanned) // only the end-of-audio block can fail once a frame is found
            FUZZ_CHECK(!reader.VBR().Found);
    }
    return 0;
}
