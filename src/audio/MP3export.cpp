#include "audio/MP3export.h"

#include <QFile>

#include <cstring>
#include <filesystem>
#include <vector>

BE_ERR TBladeMp3Encoder::InitStream(const BE_CONFIG* config, std::uint32_t* samples,
                                    std::uint32_t* bufferSize, HBE_STREAM* stream) {
    return beInitStream(config, samples, bufferSize, stream);
}

BE_ERR TBladeMp3Encoder::EncodeChunk(HBE_STREAM stream, std::uint32_t samples,
                                     const std::int16_t* pcm, std::uint8_t* output,
                                     std::uint32_t* outputBytes) {
    return beEncodeChunk(stream, samples, pcm, output, outputBytes);
}

BE_ERR TBladeMp3Encoder::DeinitStream(HBE_STREAM stream, std::uint8_t* output,
                                      std::uint32_t* outputBytes) {
    return beDeinitStream(stream, output, outputBytes);
}

BE_ERR TBladeMp3Encoder::CloseStream(HBE_STREAM stream) {
    return beCloseStream(stream);
}

BE_ERR TBladeMp3Encoder::WriteInfoTag(HBE_STREAM stream, const char* fileName) {
    return beWriteInfoTag(stream, fileName);
}

BE_CONFIG MakeEncoderConfig(const TMp3Format& format) {
    BE_CONFIG c;
    std::memset(&c, 0, sizeof c);
    c.dwConfig = BE_CONFIG_LAME;
    c.dwStructVersion = BE_CONFIG_STRUCT_VERSION;
    c.dwStructSize = sizeof(BE_CONFIG);
    c.dwSampleRate = static_cast<std::uint32_t>(format.SampleRate);
    c.dwReSampleRate = 0;
    c.nMode = format.Channels == 1 ? BE_MP3_MODE_MONO : BE_MP3_MODE_STEREO;
    c.dwBitrate = static_cast<std::uint32_t>(format.BitRate);
    c.dwMaxBitrate = static_cast<std::uint32_t>(format.BitRate);
    c.nPreset = LQP_HIGH_QUALITY;
    c.dwMpegVersion = static_cast<std::uint32_t>(format.MpegVersion);
    c.dwPsyModel = 0;
    c.dwEmphasis = 0;
    c.bPrivate = BE_FALSE;
    c.bCRC = BE_FALSE;
    c.bCopyright = BE_TRUE;
    c.bOriginal = BE_TRUE;
    c.bWriteVBRHeader = BE_TRUE;
    c.bEnableVBR = BE_TRUE;
    c.nVBRQuality = 5;
    return c;
}

int Mp3ProgressPercent(qint64 position, qint64 size) {
    if (size <= 0 || position <= 0)
        return 0;
    if (position >= size)
        return 100;
    // 128-bit product: position × 100 cannot overflow whatever the file size.
    using Wide = unsigned __int128;
    const Wide n = Wide(position) * 100;
    const Wide d = Wide(size);
    Wide q = n / d;
    const Wide r2 = (n % d) * 2;
    if (r2 > d || (r2 == d && (q & 1)))
        ++q;
    return static_cast<int>(q);
}

namespace {

// Removes the MP3 file unless the conversion finished: a file without its
// end and its information tag must not pass for a recording.
class TPartialMp3 {
  public:
    explicit TPartialMp3(QFile& file) : file_(file) {}
    TPartialMp3(const TPartialMp3&) = delete;
    TPartialMp3& operator=(const TPartialMp3&) = delete;
    ~TPartialMp3() {
        if (done_)
            return;
        file_.close();
        std::error_code ec;
        // Only a regular file is ours to remove (think of /dev/full).
        const std::filesystem::path p(QFile::encodeName(file_.fileName()).toStdString());
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(p, ec)))
            QFile::remove(file_.fileName());
    }
    void keep() { done_ = true; }

  private:
    QFile& file_;
    bool done_ = false;
};

// beCloseStream exactly once, whichever way the conversion ends.
class TStreamCloser {
  public:
    TStreamCloser(TMp3Encoder& encoder, HBE_STREAM stream) : encoder_(encoder), stream_(stream) {}
    TStreamCloser(const TStreamCloser&) = delete;
    TStreamCloser& operator=(const TStreamCloser&) = delete;
    ~TStreamCloser() { close(); }
    void close() {
        if (open_) {
            open_ = false;
            encoder_.CloseStream(stream_);
        }
    }

  private:
    TMp3Encoder& encoder_;
    HBE_STREAM stream_;
    bool open_ = true;
};

[[noreturn]] void fail(const char* text) {
    throw TMp3ExportError(text);
}

bool writeAll(QFile& file, const std::uint8_t* data, std::uint32_t bytes) {
    return file.write(reinterpret_cast<const char*>(data), bytes) == qint64(bytes);
}

} // namespace

void ConvertToMp3(const QString& wavName, const QString& mp3Name, const TMp3Format& format,
                  const TMp3Progress& progress) {
    TBladeMp3Encoder encoder;
    ConvertToMp3(wavName, mp3Name, format, progress, encoder);
}

void ConvertToMp3(const QString& wavName, const QString& mp3Name, const TMp3Format& format,
                  const TMp3Progress& progress, TMp3Encoder& encoder) {
    QFile wav(wavName);
    if (!wav.open(QIODevice::ReadOnly))
        fail("Read Error");
    const qint64 fileSize = wav.size();
    // Shorter than the header is not a recording; converting it would report
    // an empty success.
    if (fileSize < WavDataOffset || !wav.seek(WavDataOffset))
        fail("Read Error");

    // Unbuffered, so that every append reports what really reached the file.
    QFile mp3(mp3Name);
    if (!mp3.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        fail("Write Error");
    TPartialMp3 partial(mp3);

    const BE_CONFIG config = MakeEncoderConfig(format);
    std::uint32_t chunkSamples = 0;
    std::uint32_t outSize = 0;
    HBE_STREAM stream = 0;
    if (encoder.InitStream(&config, &chunkSamples, &outSize, &stream) != BE_ERR_SUCCESSFUL)
        fail("Init Stream Failed");
    TStreamCloser closer(encoder, stream);

    try {
        if (chunkSamples == 0 || outSize == 0)
            fail("Init Stream Failed");
        std::vector<std::int16_t> input(chunkSamples);
        std::vector<std::uint8_t> output(outSize);
        const qint64 fullChunk = qint64(chunkSamples) * 2;

        qint64 position = WavDataOffset;
        std::uint64_t chunks = 0;
        while (position < fileSize) {
            const qint64 bytes = position + fullChunk >= fileSize ? fileSize - position : fullChunk;
            if (wav.read(reinterpret_cast<char*>(input.data()), bytes) != bytes)
                fail("Read Error");

            std::uint32_t encoded = 0;
            if (encoder.EncodeChunk(stream, std::uint32_t(bytes / 2), input.data(), output.data(),
                                    &encoded) != BE_ERR_SUCCESSFUL ||
                encoded > outSize)
                fail("Encode Failed");
            if (!writeAll(mp3, output.data(), encoded))
                fail("Write Error");

            position += bytes;
            if (++chunks % ProgressEveryChunks == 0) {
                if (progress.SetProgress)
                    progress.SetProgress(Mp3ProgressPercent(position, fileSize));
                if (progress.ProcessEvents)
                    progress.ProcessEvents();
            }
        }

        std::uint32_t last = 0;
        if (encoder.DeinitStream(stream, output.data(), &last) != BE_ERR_SUCCESSFUL ||
            last > outSize)
            fail("Exit Stream Failed");
        if (last > 0 && !writeAll(mp3, output.data(), last))
            fail("Write Error 1");
    } catch (...) {
        // The stream is released before the error reaches the caller.
        closer.close();
        throw;
    }

    mp3.close();
    wav.close();
    partial.keep();
    // The tag only improves a finished file; the file plays without it.
    encoder.WriteInfoTag(stream, QFile::encodeName(mp3Name).constData());
    closer.close();
    if (progress.SetProgress)
        progress.SetProgress(100);
}
