#pragma once

// Byte builders for the reader tests: MPEG frame headers and frames, ID3v2
// frames and tags, ID3v1 tags, and a scratch folder to put them in files.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

namespace mp3bytes {

// Field values as they appear in the header bits.
struct Header {
    int version = 3;    // 0 = MPEG 2.5, 2 = MPEG 2, 3 = MPEG 1
    int layer = 1;      // 1 = III, 2 = II, 3 = I
    int bitRate = 9;    // index: MPEG 1 Layer III 128 kbit/s
    int sampleRate = 0; // index: 44100 Hz for MPEG 1
    bool padding = false;
    int mode = 0; // 3 = mono
    int emphasis = 0;

    QByteArray bytes() const {
        QByteArray b(4, '\0');
        b[0] = char(0xFF);
        b[1] = char(0xE0 | (version << 3) | (layer << 1) | 1); // 1: no CRC
        b[2] = char((bitRate << 4) | (sampleRate << 2) | (padding ? 2 : 0));
        b[3] = char((mode << 6) | emphasis);
        return b;
    }
    Header with(void (*change)(Header&)) const {
        Header h = *this;
        change(h);
        return h;
    }
};

// A frame of `length` bytes: the header, then `body` (placed right after the
// header), then zeros.
inline QByteArray frame(const Header& h, int length, const QByteArray& body = {}) {
    QByteArray f = h.bytes() + body;
    f.append(QByteArray(length - f.size(), '\0'));
    return f;
}

inline QByteArray frames(const Header& h, int length, int count) {
    QByteArray s;
    for (int i = 0; i < count; ++i)
        s += frame(h, length);
    return s;
}

inline QByteArray be32(uint32_t v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char(v >> (24 - 8 * i));
    return b;
}

inline QByteArray zeros(int n) {
    return QByteArray(n, '\0');
}

// An ID3v2 frame: 3-character identifier for version 2, 4 for 3 and 4; the
// size field is plain big-endian in every version.
inline QByteArray id3v2Frame(int version, const QByteArray& id, const QByteArray& data,
                             uint8_t flags2 = 0) {
    QByteArray f = id;
    const uint32_t n = uint32_t(data.size());
    if (version == 2) {
        f += char(n >> 16);
        f += char(n >> 8);
        f += char(n);
    } else {
        f += be32(n);
        f += char(0);
        f += char(flags2);
    }
    return f + data;
}

// Encoding byte 0 plus Latin-1 text.
inline QByteArray latin1(const QByteArray& text) {
    return QByteArray(1, '\0') + text;
}

// Encoding byte 1, byte-order mark FF FE, UTF-16LE text.
inline QByteArray utf16(const QString& text) {
    QByteArray d("\x01\xFF\xFE", 3);
    for (QChar c : text) {
        d += char(c.unicode() & 0xFF);
        d += char(c.unicode() >> 8);
    }
    return d;
}

// A tag holding `body` (frames and padding); the header's size field counts
// the body, each byte below 128 as written by ID3v2 writers.
inline QByteArray id3v2Tag(int version, const QByteArray& body, uint8_t flags = 0) {
    QByteArray t("ID3");
    t += char(version);
    t += char(0);
    t += char(flags);
    const uint32_t n = uint32_t(body.size());
    t += char((n >> 21) & 0x7F);
    t += char((n >> 14) & 0x7F);
    t += char((n >> 7) & 0x7F);
    t += char(n & 0x7F);
    return t + body;
}

inline QByteArray padded(const QByteArray& s, int n, char fill = '\0') {
    QByteArray b = s.left(n);
    b.append(QByteArray(n - b.size(), fill));
    return b;
}

inline QByteArray id3v1Tag(const QByteArray& title, const QByteArray& artist,
                           const QByteArray& album, const QByteArray& year,
                           const QByteArray& comment30, uint8_t genre) {
    QByteArray t = "TAG" + padded(title, 30) + padded(artist, 30) + padded(album, 30) +
                   padded(year, 4) + padded(comment30, 30);
    t += char(genre);
    return t;
}

// Scratch folder for the files of one test.
class Files {
  public:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        EXPECT_EQ(f.write(bytes), bytes.size());
        return path;
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

} // namespace mp3bytes
