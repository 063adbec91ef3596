// Conversion of the temporary recording (46-byte-header PCM WAV file) into
// the user's MP3 file through the encoder library.
#pragma once

#include "audio/BladeMP3Enc.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>

// Raised by ConvertToMp3; what() is one of the fixed English texts:
//   "Init Stream Failed"  the encoder refused the recording format
//   "Read Error"          the WAV file cannot be opened or read
//   "Encode Failed"       beEncodeChunk failed
//   "Write Error"         the MP3 file cannot be created or written
//   "Exit Stream Failed"  beDeinitStream failed
//   "Write Error 1"       the last encoded bytes cannot be written
// The WAV file is never touched; a half-written MP3 file is removed.
class TMp3ExportError : public std::runtime_error {
  public:
    explicit TMp3ExportError(const char* text) : std::runtime_error(text) {}
    QString text() const { return QString::fromLatin1(what()); }
};

// The five encoder calls, so that tests can put a failing encoder in place.
class TMp3Encoder {
  public:
    virtual ~TMp3Encoder() = default;
    virtual BE_ERR InitStream(const BE_CONFIG* config, std::uint32_t* samples,
                              std::uint32_t* bufferSize, HBE_STREAM* stream) = 0;
    virtual BE_ERR EncodeChunk(HBE_STREAM stream, std::uint32_t samples, const std::int16_t* pcm,
                               std::uint8_t* output, std::uint32_t* outputBytes) = 0;
    virtual BE_ERR DeinitStream(HBE_STREAM stream, std::uint8_t* output,
                                std::uint32_t* outputBytes) = 0;
    virtual BE_ERR CloseStream(HBE_STREAM stream) = 0;
    virtual BE_ERR WriteInfoTag(HBE_STREAM stream, const char* fileName) = 0;
};

// The compiled-in encoder library.
class TBladeMp3Encoder : public TMp3Encoder {
  public:
    BE_ERR InitStream(const BE_CONFIG* config, std::uint32_t* samples, std::uint32_t* bufferSize,
                      HBE_STREAM* stream) override;
    BE_ERR EncodeChunk(HBE_STREAM stream, std::uint32_t samples, const std::int16_t* pcm,
                       std::uint8_t* output, std::uint32_t* outputBytes) override;
    BE_ERR DeinitStream(HBE_STREAM stream, std::uint8_t* output,
                        std::uint32_t* outputBytes) override;
    BE_ERR CloseStream(HBE_STREAM stream) override;
    BE_ERR WriteInfoTag(HBE_STREAM stream, const char* fileName) override;
};

// The recording format at the time of the conversion (main window fields).
struct TMp3Format {
    int SampleRate = 22050; // Hz
    int Channels = 1;       // 1 mono, 2 stereo
    int BitRate = 32;       // kbit/s
    int MpegVersion = 1;
};

// Progress and message pumping are the caller's: the window passes its
// progress bar's setValue and QCoreApplication::processEvents.
struct TMp3Progress {
    std::function<void(int)> SetProgress;
    std::function<void()> ProcessEvents;
};

// Byte offset of the samples in the temporary WAV file.
inline constexpr qint64 WavDataOffset = 46;
// Progress is reported after every this many chunks.
inline constexpr int ProgressEveryChunks = 64;

// The configuration record the conversion hands to beInitStream.
BE_CONFIG MakeEncoderConfig(const TMp3Format& format);

// position × 100 / size, rounded to the nearest integer with ties to even,
// for any 0 <= position <= size (size > 0) without overflowing.
int Mp3ProgressPercent(qint64 position, qint64 size);

// Converts wavName into mp3Name; throws TMp3ExportError on failure.
void ConvertToMp3(const QString& wavName, const QString& mp3Name, const TMp3Format& format,
                  const TMp3Progress& progress);
void ConvertToMp3(const QString& wavName, const QString& mp3Name, const TMp3Format& format,
                  const TMp3Progress& progress, TMp3Encoder& encoder);
