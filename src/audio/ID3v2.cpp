#include "audio/ID3v2.h"

#include <QFile>
#include <cstring>

namespace {

// Frame identifiers by slot: ID3v2.3/2.4 names, then ID3v2.2 names.
constexpr const char* FrameIDs4[TID3v2::SlotCount] = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM",
    "TENC", "TCOP", "TLAN", "WXXX", "TDRC", "TOPE", "TIT1", "TOAL"};
constexpr const char* FrameIDs2[TID3v2::SlotCount] = {"TT2", "TP1", "TAL", "TRK", "TYE", "TCO",
                                                      "COM", "TCM", "TEN", "TCR", "TLA", "WXX",
                                                      "TOR", "TOA", "TT1", "TOT"};

enum Slot {
    SlotTitle,
    SlotArtist,
    SlotAlbum,
    SlotTrack,
    SlotYear,
    SlotGenre,
    SlotComment,
    SlotComposer,
    SlotEncoder,
    SlotCopyright,
    SlotLanguage,
    SlotLink,
    SlotYear2,
    SlotArtist2,
    SlotTitle2,
    SlotAlbum2
};

QString trimmed(const QString& s) {
    qsizetype begin = 0, end = s.size();
    while (begin < end && s.at(begin).unicode() <= ' ')
        ++begin;
    while (end > begin && s.at(end - 1).unicode() <= ' ')
        --end;
    return s.mid(begin, end - begin);
}

// Text of a frame's data: the first byte is the text encoding; 1 is UTF-16
// (little-endian; a byte-order mark is dropped), anything else one byte per
// character. The zero fill of the slot is trimmed away.
QString slotText(const QByteArray& data) {
    if (data.isEmpty() || data.at(0) != 1)
        return trimmed(QString::fromLatin1(data));
    QString text;
    const qsizetype pairs = (data.size() - 1) / 2;
    for (qsizetype i = 0; i < pairs; ++i) {
        const auto lo = static_cast<unsigned char>(data.at(1 + 2 * i));
        const auto hi = static_cast<unsigned char>(data.at(2 + 2 * i));
        const char16_t unit = static_cast<char16_t>(lo | (hi << 8));
        if (unit == 0)
            break;
        if (lo == 0xFF)
            continue;
        text.append(QChar(unit));
    }
    return trimmed(text);
}

// Comment and link frames hold encoding, [language,] description, separator,
// text. The separator is one zero byte, or one zero UTF-16 unit for encoding 1;
// the unit is looked for on unit boundaries so that a description's own high
// zero byte does not pass for half of it.
QString describedText(const QByteArray& data, int skip) {
    if (data.isEmpty())
        return QString();
    const char encoding = data.at(0);
    QByteArray rest = data.mid(skip);
    if (encoding == 1) {
        for (qsizetype i = 0; i + 1 < rest.size(); i += 2) {
            if (rest.at(i) == 0 && rest.at(i + 1) == 0) {
                rest = rest.mid(i + 2);
                break;
            }
        }
    } else {
        const qsizetype sep = rest.indexOf('\0');
        if (sep >= 0)
            rest = rest.mid(sep + 1);
    }
    rest.prepend(encoding);
    return slotText(rest);
}

quint32 bigEndian(const unsigned char* p, int count) {
    quint32 v = 0;
    for (int i = 0; i < count; ++i)
        v = (v << 8) | p[i];
    return v;
}

} // namespace

TID3v2::TID3v2() {
    ResetData();
}

void TID3v2::ResetData() {
    FExists = false;
    FVersionID = 0;
    FSize = 0;
    FTitle.clear();
    FArtist.clear();
    FAlbum.clear();
    FTrack = 0;
    FTrackString.clear();
    FYear.clear();
    FGenre.clear();
    FComment.clear();
    FComposer.clear();
    FEncoder.clear();
    FCopyright.clear();
    FLanguage.clear();
    FLink.clear();
}

bool TID3v2::ScanFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        ResetData();
        return false;
    }
    return ScanFile(file);
}

bool TID3v2::ScanFile(QFile& file, qint64 fileLength) {
    ResetData();
    unsigned char header[HeaderSize];
    if ((file.pos() != 0 && !file.seek(0)) ||
        file.read(reinterpret_cast<char*>(header), HeaderSize) != HeaderSize)
        return false;
    if (fileLength < 0)
        fileLength = file.size();
    if (std::memcmp(header, "ID3", 3) != 0)
        return true;

    FExists = true;
    FVersionID = header[3];
    // The size bytes are taken whole, as older writers did not keep them
    // synchsafe.
    qint64 size = (qint64(header[6]) << 21) + (qint64(header[7]) << 14) + (qint64(header[8]) << 7) +
                  header[9] + HeaderSize;
    if (header[5] & 0x10)
        size += HeaderSize; // footer
    FSize = size > fileLength ? 0 : size;

    if (FVersionID >= 2 && FVersionID <= 4 && FSize > 0) {
        Slots frames;
        readFrames(file, fileLength, frames);
        deriveFields(frames);
    }
    return true;
}

namespace {

// Reads the frame area through one window, so that a tag of many small
// frames costs one read instead of two per frame; large frames are skipped.
class TagWindow {
  public:
    TagWindow(QFile& file, qint64 fileLength, qint64 tagSize)
        : file_(file), length_(fileLength), tagSize_(tagSize) {}

    // Up to n bytes at offset (fewer at the end of the file), or -1 on a
    // read or seek error.
    qint64 read(qint64 offset, qint64 n, char* out) {
        n = std::max<qint64>(0, std::min(n, length_ - offset));
        if (n == 0)
            return 0;
        if (offset < start_ || offset + n > start_ + buffer_.size()) {
            const qint64 want = std::max(n, std::min<qint64>(Window, tagSize_ - offset));
            buffer_.resize(want);
            if (file_.pos() != offset && !file_.seek(offset))
                return -1;
            const qint64 got = file_.read(buffer_.data(), want);
            if (got < 0)
                return -1;
            buffer_.resize(got);
            start_ = offset;
            n = std::min(n, got);
        }
        std::memcpy(out, buffer_.constData() + (offset - start_), size_t(n));
        return n;
    }

  private:
    static constexpr qint64 Window = 4096;
    QFile& file_;
    const qint64 length_, tagSize_;
    QByteArray buffer_;
    qint64 start_ = 0;
};

} // namespace

void TID3v2::readFrames(QFile& file, qint64 fileLength, Slots& frames) const {
    const bool v2 = FVersionID == 2;
    const int headerSize = v2 ? 6 : 10;
    const int idSize = v2 ? 3 : 4;
    const auto& ids = v2 ? FrameIDs2 : FrameIDs4;
    TagWindow window(file, fileLength, FSize);

    qint64 pos = HeaderSize;
    while (pos < FSize && pos < fileLength) {
        char fh[10] = {};
        if (window.read(pos, headerSize, fh) != headerSize)
            return;
        if (fh[0] < 'A' || fh[0] > 'Z')
            return;
        const auto* u = reinterpret_cast<const unsigned char*>(fh);
        const qint64 dataSize = v2 ? bigEndian(u + 3, 3) : bigEndian(u + 4, 4);
        const qint64 dataStart = pos + headerSize;

        QByteArray data(MaxFrameData, '\0');
        if (window.read(dataStart, std::min<qint64>(dataSize, MaxFrameData), data.data()) < 0)
            return;
        const bool compressed = !v2 && (u[9] & 0x80);
        if (!compressed && (data.at(0) == 0 || data.at(0) == 1)) {
            for (int slot = 0; slot < SlotCount; ++slot) {
                if (std::memcmp(fh, ids[slot], idSize) == 0) {
                    frames[slot] = data;
                    break;
                }
            }
        }
        pos = dataStart + dataSize;
    }
}

void TID3v2::deriveFields(const Slots& frames) {
    auto text = [&frames](int slot) { return slotText(frames[slot]); };
    auto either = [&text](int slot, int fallback) {
        QString s = text(slot);
        return s.isEmpty() ? text(fallback) : s;
    };
    FTitle = either(SlotTitle, SlotTitle2);
    FArtist = either(SlotArtist, SlotArtist2);
    FAlbum = either(SlotAlbum, SlotAlbum2);

    FTrackString = text(SlotTrack);
    const qsizetype slash = FTrackString.indexOf(u'/');
    bool ok = false;
    FTrack = (slash >= 0 ? FTrackString.left(slash) : FTrackString).toInt(&ok);
    if (!ok)
        FTrack = 0;

    FYear = text(SlotYear);
    if (FYear.isEmpty())
        FYear = text(SlotYear2).left(4);

    FGenre = text(SlotGenre);
    const qsizetype paren = FGenre.lastIndexOf(u')');
    if (paren >= 0)
        FGenre = FGenre.mid(paren + 1);

    FComment = describedText(frames[SlotComment], 4);
    FComposer = text(SlotComposer);
    FEncoder = text(SlotEncoder);
    FCopyright = text(SlotCopyright);
    FLanguage = text(SlotLanguage);
    FLink = describedText(frames[SlotLink], 1);
}
