#include "audio/WaveFile.h"

#include <QFile>
#include <QFileDevice>
#include <QtEndian>

namespace {

void PutU16(QByteArray& b, int at, quint16 v) {
    qToLittleEndian<quint16>(v, b.data() + at);
}
void PutU32(QByteArray& b, int at, quint32 v) {
    qToLittleEndian<quint32>(v, b.data() + at);
}

// RIFF sizes are 32-bit; the file must stay below 4 GiB to be readable.
constexpr qint64 MaxDataSize = qint64(0xFFFFFFFFu) - (TWaveFileStream::HeaderSize - 8);

} // namespace

TWaveFileStream::TWaveFileStream(const QString& path)
    : device_(std::make_unique<QFile>(path)), name_(path) {}

TWaveFileStream::TWaveFileStream(std::unique_ptr<QIODevice> device, const QString& name)
    : device_(std::move(device)), name_(name) {}

TWaveFileStream::~TWaveFileStream() {
    Finish();
}

void TWaveFileStream::SetPCMFormat(int samplesPerSec, int bitsPerSample, int channels) {
    samplesPerSec_ = samplesPerSec;
    bitsPerSample_ = bitsPerSample;
    channels_ = channels;
}

QByteArray TWaveFileStream::Header(int samplesPerSec, int bitsPerSample, int channels,
                                   quint32 dataSize) {
    QByteArray h(HeaderSize, '\0');
    const int blockAlign = channels * (bitsPerSample / 8);
    memcpy(h.data(), "RIFF", 4);
    PutU32(h, 4, dataSize + HeaderSize - 8);
    memcpy(h.data() + 8, "WAVE", 4);
    memcpy(h.data() + 12, "fmt ", 4);
    PutU32(h, 16, 18);
    PutU16(h, 20, 1);
    PutU16(h, 22, quint16(channels));
    PutU32(h, 24, quint32(samplesPerSec));
    PutU32(h, 28, quint32(blockAlign * samplesPerSec));
    PutU16(h, 32, quint16(blockAlign));
    PutU16(h, 34, quint16(bitsPerSample));
    PutU16(h, 36, 0);
    memcpy(h.data() + 38, "data", 4);
    PutU32(h, 42, dataSize);
    return h;
}

void TWaveFileStream::Open() {
    if (opened_)
        throw TWaveFileError(QStringLiteral("The file %1 is already open.").arg(name_));
    if (!device_->isOpen()) {
        // Unbuffered, so that a write the disk refuses is seen at once and not
        // only when a buffer is flushed at the end.
        if (!device_->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            error_ = device_->errorString();
            throw TWaveFileError(QStringLiteral("Cannot create file %1. %2").arg(name_, error_));
        }
    }
    const QByteArray h = Header(samplesPerSec_, bitsPerSample_, channels_, 0);
    if (device_->write(h) != h.size()) {
        error_ = device_->errorString();
        device_->close();
        throw TWaveFileError(QStringLiteral("Cannot write to file %1. %2").arg(name_, error_));
    }
    opened_ = true;
}

void TWaveFileStream::Write(const char* data, qint64 count) {
    if (!IsOpen() || failed_)
        throw TWaveFileError(QStringLiteral("The file %1 is not open for writing.").arg(name_));
    if (count <= 0)
        return;
    if (dataSize_ + count > MaxDataSize) {
        failed_ = true;
        error_ = QStringLiteral("the recording has reached the largest size a WAV file can hold");
        throw TWaveFileError(
            QStringLiteral("The recording was ended because %1. The part recorded so far is "
                           "kept in %2.")
                .arg(error_, name_));
    }
    const qint64 stored = device_->write(data, count);
    if (stored > 0)
        dataSize_ += stored;
    if (stored != count) {
        failed_ = true;
        error_ = device_->errorString();
        throw TWaveFileError(
            QStringLiteral("The recording could not be written completely to %1 (%2). The "
                           "disk may be full. The recording was ended; the part recorded so far "
                           "is kept.")
                .arg(name_, error_));
    }
}

bool TWaveFileStream::Finish() {
    if (finished_)
        return true;
    finished_ = true;
    if (!opened_) {
        if (device_->isOpen())
            device_->close();
        return true;
    }
    // A torn sample frame at the end of a refused write is not audio; the
    // header counts whole frames only and the file is cut to match.
    const int align = BlockAlign() > 0 ? BlockAlign() : 1;
    const qint64 whole = dataSize_ - dataSize_ % align;
    bool ok = true;
    if (whole != dataSize_) {
        if (auto* f = qobject_cast<QFileDevice*>(device_.get()))
            ok = f->resize(HeaderSize + whole);
        dataSize_ = whole;
    }
    const QByteArray h = Header(samplesPerSec_, bitsPerSample_, channels_, quint32(dataSize_));
    ok = device_->seek(0) && device_->write(h) == h.size() && ok;
    if (!ok && error_.isEmpty())
        error_ = device_->errorString();
    device_->close();
    return ok;
}
