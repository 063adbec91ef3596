#pragma once

#include "audio/ID3v1.h"
#include "audio/ID3v2.h"

#include <QString>
#include <cstdint>
#include <memory>

class QFile;

// Reader that checks whether a file holds MPEG audio and derives its bit rate
// and duration from the first frame that is followed by a second one (and
// from a Xing or VBRI header when the frame carries one). It reads at most
// three blocks of BlockSize bytes besides the tags, never the whole file, and
// never raises: every failure is a false ScanFile and a cleared reader.
class TMPEGaudio {
  public:
    static constexpr int BlockSize = 3458;
    // The header search covers positions 0 .. MaxFramePosition of a block.
    static constexpr int MaxFramePosition = 1729;

    // Version index values
    static constexpr uint8_t MPEG_VERSION_2_5 = 0, MPEG_VERSION_UNKNOWN = 1, MPEG_VERSION_2 = 2,
                             MPEG_VERSION_1 = 3;
    // Layer index values
    static constexpr uint8_t MPEG_LAYER_UNKNOWN = 0, MPEG_LAYER_III = 1, MPEG_LAYER_II = 2,
                             MPEG_LAYER_I = 3;
    static constexpr uint8_t MPEG_CM_MONO = 3;

    struct VBRData {
        bool Found = false;
        QString ID; // "Xing" or "VBRI"
        uint32_t Frames = 0;
        uint32_t Bytes = 0;
        uint8_t Scale = 0;
        QString VendorID; // Xing only
    };

    struct FrameData {
        bool Found = false;
        int Position = 0;  // within the block that was searched
        uint16_t Size = 0; // frame length in bytes
        uint8_t Data[4] = {};
        uint8_t VersionID = MPEG_VERSION_UNKNOWN;
        uint8_t LayerID = 0;
        bool ProtectionBit = false;
        uint8_t BitRateID = 0;
        uint8_t SampleRateID = 3;
        bool PaddingBit = false;
        bool PrivateBit = false;
        uint8_t ModeID = 4;
        uint8_t ModeExtensionID = 4;
        bool CopyrightBit = false;
        bool OriginalBit = false;
        uint8_t EmphasisID = 2;
    };

    TMPEGaudio();
    ~TMPEGaudio();
    TMPEGaudio(const TMPEGaudio&) = delete;
    TMPEGaudio& operator=(const TMPEGaudio&) = delete;

    // True when the file could be opened and read (whatever it holds); false
    // when a tag reader failed or an open, seek or read failed.
    bool ScanFile(const QString& fileName);
    // The same on a file already open for reading (its position moves).
    bool ScanFile(QFile& file);
    void ResetData();

    // A frame was found, 8 <= AudioBitRate <= 448 and Duration >= 0.1 s.
    bool IsValid() const;
    // kbit/s; from the VBR header when there is one, else the frame header.
    uint16_t AudioBitRate() const;
    // Seconds.
    double Duration() const;

    qint64 FileLength() const { return FFileLength; }
    // "LAME" plus four version characters, "GOGO", or empty.
    const QString& Encoder() const { return FEncoder; }
    const VBRData& VBR() const { return FVBR; }
    const FrameData& Frame() const { return FFrame; }
    const TID3v1& ID3v1() const { return *FID3v1; }
    const TID3v2& ID3v2() const { return *FID3v2; }

    // Values of the accepted frame header (0 where unknown).
    int SampleRate() const;
    uint16_t TableBitRate() const;
    int Coefficient() const;
    int PaddingSize() const;

    // The header rules, also useful on their own.
    static bool IsFrameHeader(const uint8_t* b);
    static void DecodeHeader(const uint8_t* b, FrameData& frame);
    static uint16_t FrameLength(const FrameData& frame);
    static uint16_t BitRateOf(const FrameData& frame);
    static int SampleRateOf(const FrameData& frame);
    static int CoefficientOf(const FrameData& frame);
    static int PaddingSizeOf(const FrameData& frame);
    static int SideInfoOffset(const FrameData& frame);

  private:
    bool scanAudio(QFile& file);
    void findFrame(const uint8_t* block, int count);
    void readVBR(const uint8_t* block, int count, int offset);
    void findEncoder(const uint8_t* block, int count);

    qint64 FFileLength;
    QString FEncoder;
    VBRData FVBR;
    FrameData FFrame;
    std::unique_ptr<TID3v1> FID3v1;
    std::unique_ptr<TID3v2> FID3v2;
};
