// The MP3 encoder library: the BladeEnc calls with their configuration record,
// compiled into the program over libmp3lame.
//
// Every value crossing these calls is 32-bit, as in the Windows library the
// program was designed around; the stream handle is a number, not a pointer.
#pragma once

#include <cstddef>
#include <cstdint>

using BE_ERR = std::uint32_t;
using HBE_STREAM = std::uint32_t;
using PHBE_STREAM = HBE_STREAM*;

inline constexpr BE_ERR BE_ERR_SUCCESSFUL = 0x00000000;
inline constexpr BE_ERR BE_ERR_INVALID_FORMAT = 0x00000001;
inline constexpr BE_ERR BE_ERR_INVALID_FORMAT_PARAMETERS = 0x00000002;
inline constexpr BE_ERR BE_ERR_NO_MORE_HANDLES = 0x00000003;
inline constexpr BE_ERR BE_ERR_INVALID_HANDLE = 0x00000004;
inline constexpr BE_ERR BE_ERR_BUFFER_TOO_SMALL = 0x00000005;
// Our own addition: the information tag could not be written into the file.
inline constexpr BE_ERR BE_ERR_FILE_ACCESS = 0x00000100;

// dwConfig: only the LAME-header configuration is offered.
inline constexpr std::uint32_t BE_CONFIG_MP3 = 0;
inline constexpr std::uint32_t BE_CONFIG_LAME = 256;

// nMode
inline constexpr std::int32_t BE_MP3_MODE_STEREO = 0;
inline constexpr std::int32_t BE_MP3_MODE_JSTEREO = 1;
inline constexpr std::int32_t BE_MP3_MODE_DUALCHANNEL = 2;
inline constexpr std::int32_t BE_MP3_MODE_MONO = 3;

// dwMpegVersion
inline constexpr std::uint32_t MPEG1 = 1;
inline constexpr std::uint32_t MPEG2 = 0;

// nPreset: the quality presets this library knows.
inline constexpr std::int32_t LQP_NOPRESET = -1;
inline constexpr std::int32_t LQP_NORMAL_QUALITY = 0;
inline constexpr std::int32_t LQP_LOW_QUALITY = 1;
inline constexpr std::int32_t LQP_HIGH_QUALITY = 2;
inline constexpr std::int32_t LQP_VERYHIGH_QUALITY = 5;

// Booleans are written as -1 for true and 0 for false.
using BE_BOOL = std::int32_t;
inline constexpr BE_BOOL BE_TRUE = -1;
inline constexpr BE_BOOL BE_FALSE = 0;

inline constexpr std::uint32_t BE_CONFIG_STRUCT_VERSION = 1;

#pragma pack(push, 1)
// The configuration record: 332 bytes, little-endian, no gaps.
struct BE_CONFIG {
    std::uint32_t dwConfig;        // BE_CONFIG_LAME
    std::uint32_t dwStructVersion; // 1
    std::uint32_t dwStructSize;    // sizeof(BE_CONFIG)
    std::uint32_t dwSampleRate;    // input rate, Hz
    std::uint32_t dwReSampleRate;  // output rate, 0 lets the encoder choose
    std::int32_t nMode;            // BE_MP3_MODE_*
    std::uint32_t dwBitrate;       // kbit/s; the lowest rate when VBR is on
    std::uint32_t dwMaxBitrate;    // kbit/s; highest rate when VBR is on
    std::int32_t nPreset;          // LQP_*
    std::uint32_t dwMpegVersion;   // MPEG1 or MPEG2
    std::uint32_t dwPsyModel;      // the encoder has one model; not looked at
    std::uint32_t dwEmphasis;      // 0 none, 1 50/15 us, 3 CCITT J.17
    BE_BOOL bPrivate;
    BE_BOOL bCRC;
    BE_BOOL bCopyright;
    BE_BOOL bOriginal;
    BE_BOOL bWriteVBRHeader; // Xing/Info tag, written by beWriteInfoTag
    BE_BOOL bEnableVBR;
    std::int32_t nVBRQuality; // 0 best .. 9 smallest
    std::uint8_t btReserved[255];
    std::uint8_t btPadding;
};
#pragma pack(pop)

static_assert(sizeof(BE_CONFIG) == 332);
static_assert(offsetof(BE_CONFIG, dwSampleRate) == 12);
static_assert(offsetof(BE_CONFIG, nMode) == 20);
static_assert(offsetof(BE_CONFIG, nPreset) == 32);
static_assert(offsetof(BE_CONFIG, bPrivate) == 48);
static_assert(offsetof(BE_CONFIG, nVBRQuality) == 72);
static_assert(offsetof(BE_CONFIG, btReserved) == 76);
static_assert(offsetof(BE_CONFIG, btPadding) == 331);

extern "C" {
// Opens an encoding stream. On success: *dwSamples is the number of 16-bit
// sample values (all channels counted) one beEncodeChunk takes at most,
// *dwBufferSize the output buffer size every later call may fill.
BE_ERR beInitStream(const BE_CONFIG* pbeConfig, std::uint32_t* dwSamples,
                    std::uint32_t* dwBufferSize, PHBE_STREAM phbeStream);
// Encodes nSamples sample values (interleaved left, right for stereo).
BE_ERR beEncodeChunk(HBE_STREAM hbeStream, std::uint32_t nSamples, const std::int16_t* pSamples,
                     std::uint8_t* pOutput, std::uint32_t* pdwOutput);
// Flushes the last frames; afterwards the stream takes no more samples.
BE_ERR beDeinitStream(HBE_STREAM hbeStream, std::uint8_t* pOutput, std::uint32_t* pdwOutput);
// Releases the stream.
BE_ERR beCloseStream(HBE_STREAM hbeStream);
// Overwrites the placeholder frame at the start of the finished, closed MP3
// file with the final Xing/Info tag. Does nothing when the tag is off.
BE_ERR beWriteInfoTag(HBE_STREAM hbeStream, const char* lpszFileName);
}
