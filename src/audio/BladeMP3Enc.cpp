#include "audio/BladeMP3Enc.h"

#include <lame/lame.h>

#include <cstdarg>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {

struct Stream {
    lame_global_flags* gfp = nullptr;
    std::uint32_t samplesPerChunk = 0; // sample values, all channels
    std::uint32_t bufferSize = 0;
    int channels = 0;
    bool writeTag = false;
    bool flushed = false;

    ~Stream() {
        if (gfp)
            lame_close(gfp);
    }
};

// Handles are small numbers so that they fit the 32-bit handle of the
// interface; 0 is never handed out.
class StreamTable {
  public:
    HBE_STREAM add(std::unique_ptr<Stream> s) {
        std::lock_guard lock(mutex_);
        for (std::uint32_t tries = 0; tries < 0xFFFFFFFEu; ++tries) {
            if (++next_ == 0)
                next_ = 1;
            if (!streams_.contains(next_)) {
                streams_.emplace(next_, std::move(s));
                return next_;
            }
        }
        return 0;
    }
    // Streams are used by one caller at a time; the table lock only guards
    // the map itself.
    Stream* find(HBE_STREAM h) {
        std::lock_guard lock(mutex_);
        auto it = streams_.find(h);
        return it == streams_.end() ? nullptr : it->second.get();
    }
    bool remove(HBE_STREAM h) {
        std::unique_ptr<Stream> doomed;
        {
            std::lock_guard lock(mutex_);
            auto it = streams_.find(h);
            if (it == streams_.end())
                return false;
            doomed = std::move(it->second);
            streams_.erase(it);
        }
        return true;
    }

  private:
    std::mutex mutex_;
    std::map<HBE_STREAM, std::unique_ptr<Stream>> streams_;
    HBE_STREAM next_ = 0;
};

StreamTable& table() {
    static StreamTable t;
    return t;
}

// The library would otherwise print its notes to stderr of the program.
void quiet(const char*, va_list) {}

bool isTrue(BE_BOOL b) {
    return b != BE_FALSE;
}

bool applyPreset(lame_global_flags* gfp, std::int32_t preset) {
    switch (preset) {
    case LQP_NOPRESET:
        return true;
    case LQP_NORMAL_QUALITY:
        return lame_set_quality(gfp, 5) == 0;
    case LQP_LOW_QUALITY:
        return lame_set_quality(gfp, 9) == 0;
    case LQP_HIGH_QUALITY:
        return lame_set_quality(gfp, 2) == 0;
    case LQP_VERYHIGH_QUALITY:
        return lame_set_quality(gfp, 0) == 0;
    default:
        return false;
    }
}

BE_ERR configure(lame_global_flags* gfp, const BE_CONFIG& c, int& channels) {
    if (c.dwSampleRate == 0 || c.dwMpegVersion > MPEG1 || c.dwEmphasis > 3)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;

    MPEG_mode mode;
    switch (c.nMode) {
    case BE_MP3_MODE_STEREO:
        mode = STEREO;
        channels = 2;
        break;
    case BE_MP3_MODE_JSTEREO:
        mode = JOINT_STEREO;
        channels = 2;
        break;
    case BE_MP3_MODE_DUALCHANNEL:
        mode = DUAL_CHANNEL;
        channels = 2;
        break;
    case BE_MP3_MODE_MONO:
        mode = MONO;
        channels = 1;
        break;
    default:
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }

    bool ok = lame_set_in_samplerate(gfp, static_cast<int>(c.dwSampleRate)) == 0 &&
              lame_set_num_channels(gfp, channels) == 0 && lame_set_mode(gfp, mode) == 0;
    // 0 leaves the output rate to the encoder, which then also decides the
    // MPEG version (MPEG-1 needs 32 kHz or more).
    if (c.dwReSampleRate != 0)
        ok = ok && lame_set_out_samplerate(gfp, static_cast<int>(c.dwReSampleRate)) == 0;
    ok = ok && applyPreset(gfp, c.nPreset);

    if (isTrue(c.bEnableVBR)) {
        if (c.nVBRQuality < 0 || c.nVBRQuality > 9)
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        if (c.dwMaxBitrate != 0 && c.dwBitrate > c.dwMaxBitrate)
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        ok = ok && lame_set_VBR(gfp, vbr_default) == 0 && lame_set_VBR_q(gfp, c.nVBRQuality) == 0;
        if (c.dwBitrate != 0)
            ok = ok && lame_set_VBR_min_bitrate_kbps(gfp, static_cast<int>(c.dwBitrate)) == 0;
        if (c.dwMaxBitrate != 0)
            ok = ok && lame_set_VBR_max_bitrate_kbps(gfp, static_cast<int>(c.dwMaxBitrate)) == 0;
    } else {
        if (c.dwBitrate == 0)
            return BE_ERR_INVALID_FORMAT_PARAMETERS;
        ok = ok && lame_set_VBR(gfp, vbr_off) == 0 &&
             lame_set_brate(gfp, static_cast<int>(c.dwBitrate)) == 0;
    }

    ok = ok && lame_set_emphasis(gfp, static_cast<int>(c.dwEmphasis)) == 0 &&
         lame_set_extension(gfp, isTrue(c.bPrivate)) == 0 &&
         lame_set_error_protection(gfp, isTrue(c.bCRC)) == 0 &&
         lame_set_copyright(gfp, isTrue(c.bCopyright)) == 0 &&
         lame_set_original(gfp, isTrue(c.bOriginal)) == 0 &&
         lame_set_bWriteVbrTag(gfp, isTrue(c.bWriteVBRHeader)) == 0;
    if (!ok)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (lame_init_params(gfp) < 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    return BE_ERR_SUCCESSFUL;
}

// Position of the first MPEG frame: after an ID3v2 tag if the file starts
// with one. -1 when the file cannot be read.
long firstFramePosition(std::FILE* f) {
    unsigned char h[10];
    if (std::fseek(f, 0, SEEK_SET) != 0)
        return -1;
    if (std::fread(h, 1, sizeof h, f) != sizeof h)
        return -1;
    if (h[0] != 'I' || h[1] != 'D' || h[2] != '3')
        return 0;
    long size = (long(h[6] & 0x7F) << 21) | (long(h[7] & 0x7F) << 14) | (long(h[8] & 0x7F) << 7) |
                long(h[9] & 0x7F);
    size += 10;
    if (h[5] & 0x10) // footer present
        size += 10;
    return size;
}

} // namespace

extern "C" {

BE_ERR beInitStream(const BE_CONFIG* pbeConfig, std::uint32_t* dwSamples,
                    std::uint32_t* dwBufferSize, PHBE_STREAM phbeStream) {
    if (!pbeConfig || !dwSamples || !dwBufferSize || !phbeStream)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    const BE_CONFIG& c = *pbeConfig;
    if (c.dwConfig != BE_CONFIG_LAME)
        return BE_ERR_INVALID_FORMAT;
    if (c.dwStructVersion != BE_CONFIG_STRUCT_VERSION || c.dwStructSize != sizeof(BE_CONFIG))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;

    auto s = std::make_unique<Stream>();
    s->gfp = lame_init();
    if (!s->gfp)
        return BE_ERR_NO_MORE_HANDLES;
    lame_set_errorf(s->gfp, quiet);
    lame_set_debugf(s->gfp, quiet);
    lame_set_msgf(s->gfp, quiet);
    if (BE_ERR err = configure(s->gfp, c, s->channels); err != BE_ERR_SUCCESSFUL)
        return err;

    const auto frame = static_cast<std::uint32_t>(lame_get_framesize(s->gfp));
    s->samplesPerChunk = frame * static_cast<std::uint32_t>(s->channels);
    // Worst case the library documents for one call: 1.25 × samples + 7200,
    // which also covers the final flush.
    s->bufferSize = frame + frame / 4 + 7200;
    s->writeTag = isTrue(c.bWriteVBRHeader);

    const std::uint32_t samples = s->samplesPerChunk;
    const std::uint32_t bufferSize = s->bufferSize;
    HBE_STREAM h = table().add(std::move(s));
    if (h == 0)
        return BE_ERR_NO_MORE_HANDLES;
    *dwSamples = samples;
    *dwBufferSize = bufferSize;
    *phbeStream = h;
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beEncodeChunk(HBE_STREAM hbeStream, std::uint32_t nSamples, const std::int16_t* pSamples,
                     std::uint8_t* pOutput, std::uint32_t* pdwOutput) {
    Stream* s = table().find(hbeStream);
    if (!s)
        return BE_ERR_INVALID_HANDLE;
    if (!pdwOutput || !pOutput || (nSamples > 0 && !pSamples))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (s->flushed || nSamples > s->samplesPerChunk)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;

    // lame takes non-const pointers but does not write through them.
    auto* pcm = const_cast<short*>(reinterpret_cast<const short*>(pSamples));
    int n;
    if (s->channels == 2)
        n = lame_encode_buffer_interleaved(s->gfp, pcm, static_cast<int>(nSamples / 2), pOutput,
                                           static_cast<int>(s->bufferSize));
    else
        n = lame_encode_buffer(s->gfp, pcm, pcm, static_cast<int>(nSamples), pOutput,
                               static_cast<int>(s->bufferSize));
    if (n < 0) {
        *pdwOutput = 0;
        return n == -1 ? BE_ERR_BUFFER_TOO_SMALL : BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    *pdwOutput = static_cast<std::uint32_t>(n);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beDeinitStream(HBE_STREAM hbeStream, std::uint8_t* pOutput, std::uint32_t* pdwOutput) {
    Stream* s = table().find(hbeStream);
    if (!s)
        return BE_ERR_INVALID_HANDLE;
    if (!pOutput || !pdwOutput || s->flushed)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    int n = lame_encode_flush(s->gfp, pOutput, static_cast<int>(s->bufferSize));
    if (n < 0) {
        *pdwOutput = 0;
        return BE_ERR_BUFFER_TOO_SMALL;
    }
    s->flushed = true;
    *pdwOutput = static_cast<std::uint32_t>(n);
    return BE_ERR_SUCCESSFUL;
}

BE_ERR beCloseStream(HBE_STREAM hbeStream) {
    return table().remove(hbeStream) ? BE_ERR_SUCCESSFUL : BE_ERR_INVALID_HANDLE;
}

BE_ERR beWriteInfoTag(HBE_STREAM hbeStream, const char* lpszFileName) {
    Stream* s = table().find(hbeStream);
    if (!s)
        return BE_ERR_INVALID_HANDLE;
    if (!s->flushed || !lpszFileName)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (!s->writeTag)
        return BE_ERR_SUCCESSFUL;

    std::vector<unsigned char> tag(2880);
    std::size_t size = lame_get_lametag_frame(s->gfp, tag.data(), tag.size());
    if (size > tag.size()) {
        tag.resize(size);
        size = lame_get_lametag_frame(s->gfp, tag.data(), tag.size());
    }
    if (size == 0 || size > tag.size())
        return BE_ERR_SUCCESSFUL; // the encoder decided against a tag

    std::FILE* f = std::fopen(lpszFileName, "r+b");
    if (!f)
        return BE_ERR_FILE_ACCESS;
    bool ok = false;
    long pos = firstFramePosition(f);
    unsigned char sync[2];
    // Only overwrite what is really the placeholder frame the encoder left.
    if (pos >= 0 && std::fseek(f, pos, SEEK_SET) == 0 && std::fread(sync, 1, 2, f) == 2 &&
        sync[0] == 0xFF && (sync[1] & 0xE0) == 0xE0 && std::fseek(f, pos, SEEK_SET) == 0)
        ok = std::fwrite(tag.data(), 1, size, f) == size && std::fflush(f) == 0;
    if (std::fclose(f) != 0)
        ok = false;
    return ok ? BE_ERR_SUCCESSFUL : BE_ERR_FILE_ACCESS;
}

} // extern "C"
