#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

class QFile;

// Reader of the ID3v2 tag at the start of an MP3 file (versions 2.2, 2.3 and
// 2.4). Its size lets the MPEG reader skip the tag. It never raises: a false
// ScanFile means the file could not be read.
class TID3v2 {
  public:
    static constexpr int HeaderSize = 10;
    static constexpr int MaxFrameData = 500;
    static constexpr int SlotCount = 16;

    TID3v2();

    // Clears, then reads the tag header and, for versions 2 to 4, the text
    // frames. True when the header bytes could be read (tag or not).
    bool ScanFile(const QString& fileName);
    // The same on a file already open for reading (its position moves);
    // fileLength saves asking the file for its size again.
    bool ScanFile(QFile& file, qint64 fileLength = -1);
    void ResetData();

    bool Exists() const { return FExists; }
    uint8_t VersionID() const { return FVersionID; }
    // Whole tag in bytes (header, frames and footer); 0 without a usable tag.
    qint64 Size() const { return FSize; }
    const QString& Title() const { return FTitle; }
    const QString& Artist() const { return FArtist; }
    const QString& Album() const { return FAlbum; }
    int Track() const { return FTrack; }
    const QString& TrackString() const { return FTrackString; }
    const QString& Year() const { return FYear; }
    const QString& Genre() const { return FGenre; }
    const QString& Comment() const { return FComment; }
    const QString& Composer() const { return FComposer; }
    const QString& Encoder() const { return FEncoder; }
    const QString& Copyright() const { return FCopyright; }
    const QString& Language() const { return FLanguage; }
    const QString& Link() const { return FLink; }

  private:
    using Slots = std::array<QByteArray, SlotCount>;
    void readFrames(QFile& file, qint64 fileLength, Slots& frames) const;
    void deriveFields(const Slots& frames);

    bool FExists;
    uint8_t FVersionID;
    qint64 FSize;
    QString FTitle, FArtist, FAlbum;
    int FTrack;
    QString FTrackString, FYear, FGenre, FComment, FComposer, FEncoder, FCopyright, FLanguage,
        FLink;
};
