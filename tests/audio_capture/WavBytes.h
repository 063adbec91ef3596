#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>

// Little-endian readers for checking WAV files byte by byte.
inline uint32_t U32At(const QByteArray& b, int at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
inline uint16_t U16At(const QByteArray& b, int at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}
inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
