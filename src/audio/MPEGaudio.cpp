#include "audio/MPEGaudio.h"

#include <QFile>
#include <cmath>
#include <cstring>

namespace {

// kbit/s by bit-rate index. MPEG 1 Layers I, II, III; MPEG 2 / 2.5 (lower
// sampling frequencies) Layer I, and Layers II and III sharing one table.
constexpr uint16_t BitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}};

constexpr int SampleRates[4][4] = {
    {11025, 12000, 8000, 0}, {0, 0, 0, 0}, {22050, 24000, 16000, 0}, {44100, 48000, 32000, 0}};

uint32_t bigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

} // namespace

TMPEGaudio::TMPEGaudio() : FID3v1(std::make_unique<TID3v1>()), FID3v2(std::make_unique<TID3v2>()) {
    ResetData();
}

TMPEGaudio::~TMPEGaudio() = default;

void TMPEGaudio::ResetData() {
    FFileLength = 0;
    FEncoder.clear();
    FVBR = VBRData();
    FFrame = FrameData();
    FID3v1->ResetData();
    FID3v2->ResetData();
}

bool TMPEGaudio::IsFrameHeader(const uint8_t* b) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return false;
    const int version = (b[1] >> 3) & 3, layer = (b[1] >> 1) & 3;
    const int bitRate = b[2] >> 4, sampleRate = (b[2] >> 2) & 3;
    return version != MPEG_VERSION_UNKNOWN && layer != MPEG_LAYER_UNKNOWN && bitRate != 0 &&
           bitRate != 15 && sampleRate != 3 && (b[3] & 3) != 2;
}

void TMPEGaudio::DecodeHeader(const uint8_t* b, FrameData& frame) {
    std::memcpy(frame.Data, b, 4);
    frame.VersionID = (b[1] >> 3) & 3;
    frame.LayerID = (b[1] >> 1) & 3;
    frame.ProtectionBit = (b[1] & 1) == 0;
    frame.BitRateID = b[2] >> 4;
    frame.SampleRateID = (b[2] >> 2) & 3;
    frame.PaddingBit = (b[2] & 2) != 0;
    frame.PrivateBit = (b[2] & 1) != 0;
    frame.ModeID = b[3] >> 6;
    frame.ModeExtensionID = (b[3] >> 4) & 3;
    frame.CopyrightBit = (b[3] & 8) != 0;
    frame.OriginalBit = (b[3] & 4) != 0;
    frame.EmphasisID = b[3] & 3;
}

uint16_t TMPEGaudio::BitRateOf(const FrameData& frame) {
    if (frame.VersionID == MPEG_VERSION_UNKNOWN || frame.LayerID == MPEG_LAYER_UNKNOWN ||
        frame.BitRateID > 15)
        return 0;
    int table;
    if (frame.VersionID == MPEG_VERSION_1)
        table = MPEG_LAYER_I - frame.LayerID; // I -> 0, II -> 1, III -> 2
    else
        table = frame.LayerID == MPEG_LAYER_I ? 3 : 4;
    return BitRates[table][frame.BitRateID];
}

int TMPEGaudio::SampleRateOf(const FrameData& frame) {
    if (frame.VersionID > 3 || frame.SampleRateID > 3)
        return 0;
    return SampleRates[frame.VersionID][frame.SampleRateID];
}

// Bytes per frame for one bit per second: samples per frame / 8. Layer I
// frames hold 384 samples in every version (ISO/IEC 13818-3 keeps Layer I's
// frame size), Layer III halves its 1152 samples at the lower rates.
int TMPEGaudio::CoefficientOf(const FrameData& frame) {
    switch (frame.LayerID) {
    case MPEG_LAYER_I:
        return 48;
    case MPEG_LAYER_II:
        return 144;
    case MPEG_LAYER_III:
        return frame.VersionID == MPEG_VERSION_1 ? 144 : 72;
    default:
        return 0;
    }
}

int TMPEGaudio::PaddingSizeOf(const FrameData& frame) {
    if (!frame.PaddingBit)
        return 0;
    return frame.LayerID == MPEG_LAYER_I ? 4 : 1;
}

uint16_t TMPEGaudio::FrameLength(const FrameData& frame) {
    const int sampleRate = SampleRateOf(frame);
    const int coefficient = CoefficientOf(frame);
    if (sampleRate == 0 || coefficient == 0)
        return 0;
    const int64_t bits = int64_t(BitRateOf(frame)) * 1000;
    int64_t length;
    if (frame.LayerID == MPEG_LAYER_I)
        // Layer I frames are counted in 4-byte slots; truncating the byte
        // count instead misses the next frame at 44.1 kHz and its halves.
        length = (coefficient / 4) * bits / sampleRate * 4;
    else
        length = coefficient * bits / sampleRate;
    return static_cast<uint16_t>(length + PaddingSizeOf(frame));
}

int TMPEGaudio::SideInfoOffset(const FrameData& frame) {
    const bool mono = frame.ModeID == MPEG_CM_MONO;
    if (frame.VersionID == MPEG_VERSION_1)
        return mono ? 21 : 36;
    return mono ? 13 : 21;
}

int TMPEGaudio::SampleRate() const {
    return SampleRateOf(FFrame);
}
uint16_t TMPEGaudio::TableBitRate() const {
    return BitRateOf(FFrame);
}
int TMPEGaudio::Coefficient() const {
    return CoefficientOf(FFrame);
}
int TMPEGaudio::PaddingSize() const {
    return PaddingSizeOf(FFrame);
}

void TMPEGaudio::findFrame(const uint8_t* block, int count) {
    FFrame = FrameData();
    for (int pos = 0; pos <= MaxFramePosition && pos + 4 <= count; ++pos) {
        if (!IsFrameHeader(block + pos))
            continue;
        // Decoded values stay until a later header replaces them, even when
        // this one is not followed by a second frame.
        DecodeHeader(block + pos, FFrame);
        const int length = FrameLength(FFrame);
        const int next = pos + length;
        if (next + 4 <= count && IsFrameHeader(block + next)) {
            FFrame.Found = true;
            FFrame.Position = pos;
            FFrame.Size = static_cast<uint16_t>(length);
            readVBR(block, count, pos + SideInfoOffset(FFrame));
            return;
        }
    }
}

void TMPEGaudio::readVBR(const uint8_t* block, int count, int offset) {
    FVBR = VBRData();
    // Bytes beyond those read count as zero.
    uint8_t h[128] = {};
    if (offset < count)
        std::memcpy(h, block + offset, std::min<size_t>(sizeof h, size_t(count - offset)));
    if (std::memcmp(h, "Xing", 4) == 0) {
        FVBR.Found = true;
        FVBR.ID = QStringLiteral("Xing");
        FVBR.Frames = bigEndian32(h + 8);
        FVBR.Bytes = bigEndian32(h + 12);
        FVBR.Scale = h[119];
        FVBR.VendorID = QString::fromLatin1(reinterpret_cast<const char*>(h + 120),
                                            qstrnlen(reinterpret_cast<const char*>(h + 120), 8));
    } else if (std::memcmp(h, "VBRI", 4) == 0) {
        FVBR.Found = true;
        FVBR.ID = QStringLiteral("VBRI");
        FVBR.Scale = h[9];
        FVBR.Bytes = bigEndian32(h + 10);
        FVBR.Frames = bigEndian32(h + 14);
    }
}

void TMPEGaudio::findEncoder(const uint8_t* block, int count) {
    // 8-byte windows from the end of the block backwards.
    const int windows = FFrame.Size * 5 + 1;
    for (int i = 0; i < windows; ++i) {
        const int start = count - 8 - i;
        if (start < 0)
            return;
        const char* w = reinterpret_cast<const char*>(block + start);
        if (std::memcmp(w, "LAME", 4) == 0) {
            FEncoder = QString::fromLatin1(w, 8);
            return;
        }
        if (std::memcmp(w, "GOGO", 4) == 0) {
            FEncoder = QStringLiteral("GOGO");
            return;
        }
    }
}

bool TMPEGaudio::ScanFile(const QString& fileName) {
    ResetData();
    // One open file serves the tag readers and the frame search.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    return ScanFile(file);
}

bool TMPEGaudio::ScanFile(QFile& file) {
    ResetData();
    FFileLength = file.size();
    const bool result = FID3v2->ScanFile(file, FFileLength) &&
                        FID3v1->ScanFile(file, FFileLength) && scanAudio(file);
    if (!FFrame.Found)
        ResetData();
    return result;
}

bool TMPEGaudio::scanAudio(QFile& file) {
    const qint64 tagSize = FID3v2->Size();
    uint8_t block[BlockSize];

    if (!file.seek(tagSize))
        return false;
    qint64 count = file.read(reinterpret_cast<char*>(block), BlockSize);
    if (count < 0)
        return false;
    findFrame(block, int(count));

    // Junk at the start: look in the middle of the audio as well.
    if (!FFrame.Found && count == BlockSize) {
        if (!file.seek((FFileLength - tagSize) / 2))
            return false;
        count = file.read(reinterpret_cast<char*>(block), BlockSize);
        if (count < 0)
            return false;
        findFrame(block, int(count));
    }

    // The encoder leaves its mark in the last frames.
    if (FFrame.Found && !FVBR.Found) {
        const qint64 end = FFileLength - BlockSize - (FID3v1->Exists() ? TID3v1::TagSize : 0);
        if (end < 0 || !file.seek(end))
            return false;
        count = file.read(reinterpret_cast<char*>(block), BlockSize);
        if (count < 0)
            return false;
        findEncoder(block, int(count));
    }
    return true;
}

uint16_t TMPEGaudio::AudioBitRate() const {
    const int sampleRate = SampleRate(), coefficient = Coefficient();
    if (FVBR.Found && FVBR.Frames > 0 && sampleRate > 0 && coefficient > 0) {
        const double rate =
            (double(FVBR.Bytes) / FVBR.Frames - PaddingSize()) * sampleRate / coefficient / 1000;
        // Round half to even; a header with absurd counts must not wrap
        // around into a plausible rate.
        const double rounded = std::nearbyint(rate);
        if (rounded <= 0)
            return 0;
        if (rounded >= 65535)
            return 65535;
        return static_cast<uint16_t>(rounded);
    }
    return TableBitRate();
}

double TMPEGaudio::Duration() const {
    if (!FFrame.Found)
        return 0;
    const int sampleRate = SampleRate();
    if (FVBR.Found && FVBR.Frames > 0 && sampleRate > 0)
        return double(Coefficient()) * FVBR.Frames * 8 / sampleRate;
    const uint16_t bitRate = TableBitRate();
    if (bitRate == 0)
        return 0;
    const double audio = double(FFileLength - FID3v2->Size() -
                                (FID3v1->Exists() ? TID3v1::TagSize : 0) - FFrame.Position);
    return audio / bitRate / 1000 * 8;
}

bool TMPEGaudio::IsValid() const {
    const uint16_t bitRate = AudioBitRate();
    return FFrame.Found && bitRate >= 8 && bitRate <= 448 && Duration() >= 0.1;
}
