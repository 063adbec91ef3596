#pragma once

#include <QString>
#include <cstdint>

class QFile;

// Reader of the 128-byte ID3v1 / ID3v1.1 tag at the end of an MP3 file.
// It never raises: a false ScanFile means the file could not be read.
class TID3v1 {
  public:
    static constexpr int TagSize = 128;

    TID3v1();

    // Clears, then reads the last 128 bytes of the file. True when they could
    // be read (whether or not they hold a tag), false otherwise.
    bool ScanFile(const QString& fileName);
    // The same on a file already open for reading (its position moves);
    // fileLength saves asking the file for its size again.
    bool ScanFile(QFile& file, qint64 fileLength = -1);
    void ResetData();

    bool Exists() const { return FExists; }
    // 1 = ID3v1.0, 2 = ID3v1.1
    uint8_t VersionID() const { return FVersionID; }
    const QString& Title() const { return FTitle; }
    const QString& Artist() const { return FArtist; }
    const QString& Album() const { return FAlbum; }
    const QString& Year() const { return FYear; }
    const QString& Comment() const { return FComment; }
    uint8_t Track() const { return FTrack; }
    uint8_t GenreID() const { return FGenreID; }

  private:
    bool FExists;
    uint8_t FVersionID;
    QString FTitle, FArtist, FAlbum, FYear, FComment;
    uint8_t FTrack;
    uint8_t FGenreID;
};
