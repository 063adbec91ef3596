#pragma once

#include <QIODevice>
#include <QString>

#include <memory>
#include <stdexcept>

// Writer of the temporary capture file: a 46-byte RIFF/WAVE header (an 18-byte
// "fmt " block with a zero extra-size field) followed by 16-bit PCM samples.
// The RIFF size and the data size are filled in when the writer is finished
// or destroyed; until then the file is incomplete.

// Raised with a text the user can read when the file cannot be created or a
// write does not store everything it was given (a full disk, for instance).
class TWaveFileError : public std::runtime_error {
  public:
    explicit TWaveFileError(const QString& text)
        : std::runtime_error(text.toStdString()), Text(text) {}
    QString Text;
};

class TWaveFileStream {
  public:
    static constexpr int HeaderSize = 46;

    // Creates or replaces the file at path (nothing is written before Open).
    explicit TWaveFileStream(const QString& path);
    // Writes to an already created device; used where the file is not a plain
    // file. The device is opened for writing by Open if it is not open yet.
    TWaveFileStream(std::unique_ptr<QIODevice> device, const QString& name);
    ~TWaveFileStream();

    TWaveFileStream(const TWaveFileStream&) = delete;
    TWaveFileStream& operator=(const TWaveFileStream&) = delete;

    void SetPCMFormat(int samplesPerSec, int bitsPerSample, int channels);

    // Writes the header with a data size of 0. Throws TWaveFileError.
    void Open();

    // Appends samples. Throws TWaveFileError when the writer is not open or the
    // device stores fewer bytes than given; the bytes stored up to then stay in
    // the file and are counted when the header is completed. After a failed
    // write the writer accepts no more samples.
    void Write(const char* data, qint64 count);

    // Completes the header and closes the file; safe to call more than once.
    // Returns false when the header could not be written.
    bool Finish();

    bool IsOpen() const { return opened_ && !finished_; }
    qint64 DataSize() const { return dataSize_; }
    QString Name() const { return name_; }
    QString ErrorString() const { return error_; }

    int SamplesPerSec() const { return samplesPerSec_; }
    int BitsPerSample() const { return bitsPerSample_; }
    int Channels() const { return channels_; }
    int BlockAlign() const { return channels_ * (bitsPerSample_ / 8); }
    int AvgBytesPerSec() const { return BlockAlign() * samplesPerSec_; }

    // The 46 header bytes for a given format and data size.
    static QByteArray Header(int samplesPerSec, int bitsPerSample, int channels, quint32 dataSize);

  private:
    std::unique_ptr<QIODevice> device_;
    QString name_;
    QString error_;
    int samplesPerSec_ = 22050;
    int bitsPerSample_ = 16;
    int channels_ = 1;
    qint64 dataSize_ = 0;
    bool opened_ = false;
    bool failed_ = false;
    bool finished_ = false;
};
