#include "audio/ID3v1.h"

#include <QFile>

namespace {

// Fields are padded with zeros or blanks; everything up to the blank is
// dropped at the end.
QString fieldText(const char* data, int size) {
    while (size > 0 && static_cast<unsigned char>(data[size - 1]) <= ' ')
        --size;
    return QString::fromLatin1(data, size);
}

} // namespace

TID3v1::TID3v1() {
    ResetData();
}

void TID3v1::ResetData() {
    FExists = false;
    FVersionID = 1;
    FTitle.clear();
    FArtist.clear();
    FAlbum.clear();
    FYear.clear();
    FComment.clear();
    FTrack = 0;
    FGenreID = 255;
}

bool TID3v1::ScanFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        ResetData();
        return false;
    }
    return ScanFile(file);
}

bool TID3v1::ScanFile(QFile& file, qint64 fileLength) {
    ResetData();
    char tag[TagSize];
    const qint64 length = fileLength < 0 ? file.size() : fileLength;
    if (length < TagSize || !file.seek(length - TagSize))
        return false;
    if (file.read(tag, TagSize) != TagSize)
        return false;
    if (tag[0] != 'T' || tag[1] != 'A' || tag[2] != 'G')
        return true;

    FExists = true;
    const char b125 = tag[125], b126 = tag[126];
    FVersionID = ((b125 == 0 && b126 != 0) || (b125 == ' ' && b126 != ' ')) ? 2 : 1;
    FTitle = fieldText(tag + 3, 30);
    FArtist = fieldText(tag + 33, 30);
    FAlbum = fieldText(tag + 63, 30);
    FYear = fieldText(tag + 93, 4);
    FComment = fieldText(tag + 97, FVersionID == 2 ? 28 : 30);
    if (FVersionID == 2)
        FTrack = static_cast<uint8_t>(b126);
    FGenreID = static_cast<uint8_t>(tag[127]);
    return true;
}
