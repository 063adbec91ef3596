#include "audio/MP3Player.h"

#include <QAudioSink>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>

#include <mpg123.h>

#include <algorithm>
#include <mutex>

namespace {

QString Mpg123Text(mpg123_handle* h, int err) {
    return QString::fromUtf8(h ? mpg123_strerror(h) : mpg123_plain_strerror(err));
}

} // namespace

// Decoded PCM of one MP3 file, read by the audio sink as it plays.
class TMP3PcmSource : public QIODevice {
  public:
    explicit TMP3PcmSource(const QString& path) {
        static std::once_flag once;
        std::call_once(once, [] { mpg123_init(); });
        int err = MPG123_OK;
        h_ = mpg123_new(nullptr, &err);
        if (!h_)
            throw TMediaPlayerError(QStringLiteral("The MP3 decoder could not be started (%1).")
                                        .arg(Mpg123Text(nullptr, err)));
        // Other files must not pass for MPEG audio: stop looking for a frame
        // soon instead of scanning the whole file for something that syncs.
        mpg123_param(h_, MPG123_RESYNC_LIMIT, 2048, 0);
        mpg123_param(h_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        mpg123_format_none(h_);
        const long* rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            mpg123_format(h_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

        const QString name = QFileInfo(path).fileName();
        if (!QFileInfo(path).isFile())
            Fail(QStringLiteral("Cannot open %1: the file does not exist.").arg(name));
        if (mpg123_open(h_, QFile::encodeName(path).constData()) != MPG123_OK)
            Fail(QStringLiteral("Cannot open %1: %2").arg(name, Mpg123Text(h_, 0)));
        long rate = 0;
        int channels = 0, encoding = 0;
        if (mpg123_getformat(h_, &rate, &channels, &encoding) != MPG123_OK)
            Fail(QStringLiteral("Cannot open %1: it is not an MP3 file (%2).")
                     .arg(name, Mpg123Text(h_, 0)));
        mpg123_format_none(h_);
        mpg123_format(h_, rate, channels, MPG123_ENC_SIGNED_16);
        mpg123_scan(h_);
        const off_t frames = mpg123_length(h_);
        if (frames <= 0)
            Fail(QStringLiteral("Cannot open %1: it holds no MPEG audio.").arg(name));
        rate_ = rate;
        channels_ = channels;
        lengthFrames_ = frames;
        open(QIODevice::ReadOnly);
    }

    ~TMP3PcmSource() override {
        if (h_) {
            mpg123_close(h_);
            mpg123_delete(h_);
        }
    }

    bool isSequential() const override { return true; }
    bool atEnd() const override { return eof_; }
    qint64 bytesAvailable() const override {
        return eof_ ? 0 : 65536 + QIODevice::bytesAvailable();
    }

    long Rate() const { return rate_; }
    int Channels() const { return channels_; }
    qint64 LengthFrames() const { return lengthFrames_; }
    qint64 DecodedFrames() const { return decodedFrames_; }
    bool Eof() const { return eof_; }

    void Rewind() {
        mpg123_seek(h_, 0, SEEK_SET);
        decodedFrames_ = 0;
        eof_ = false;
    }

  protected:
    qint64 readData(char* data, qint64 max) override {
        if (eof_)
            return 0;
        const qint64 frameBytes = 2 * channels_;
        max -= max % frameBytes;
        qint64 total = 0;
        while (total < max) {
            size_t done = 0;
            const int rc = mpg123_read(h_, reinterpret_cast<unsigned char*>(data + total),
                                       size_t(max - total), &done);
            total += qint64(done);
            if (rc == MPG123_NEW_FORMAT || rc == MPG123_OK)
                continue;
            // The end, or damage the decoder cannot get past: play what we have.
            eof_ = true;
            break;
        }
        decodedFrames_ += total / frameBytes;
        return total;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    [[noreturn]] void Fail(const QString& text) {
        mpg123_close(h_);
        mpg123_delete(h_);
        h_ = nullptr;
        throw TMediaPlayerError(text);
    }

    mpg123_handle* h_ = nullptr;
    long rate_ = 0;
    int channels_ = 0;
    qint64 lengthFrames_ = 0;
    qint64 decodedFrames_ = 0;
    bool eof_ = false;
};

TMP3Player::TMP3Player(QObject* parent) : QObject(parent) {}

TMP3Player::~TMP3Player() {
    Close();
}

bool TMP3Player::IsOpen() const {
    return source_ != nullptr;
}

void TMP3Player::Open() {
    Close();
    source_ = std::make_unique<TMP3PcmSource>(FileName);
    format_.setSampleFormat(QAudioFormat::Int16);
    format_.setSampleRate(int(source_->Rate()));
    format_.setChannelCount(source_->Channels());
    startFrame_ = 0;
    atEnd_ = false;
    mode_ = TMPModes::mpStopped;
}

void TMP3Player::DropSink() {
    if (!sink_)
        return;
    sink_->disconnect(this);
    sink_->stop();
    delete sink_;
    sink_ = nullptr;
}

void TMP3Player::Close() {
    DropSink();
    source_.reset();
    startFrame_ = 0;
    atEnd_ = false;
    mode_ = TMPModes::mpNotReady;
}

void TMP3Player::RequireOpen(const char* what) const {
    if (!source_)
        throw TMediaPlayerError(
            QStringLiteral("Cannot %1: no media file is open.").arg(QLatin1String(what)));
}

void TMP3Player::Play() {
    RequireOpen("play");
    if (mode_ == TMPModes::mpPlaying)
        return;
    if (atEnd_)
        Rewind();
    if (sink_ && sink_->state() == QAudio::SuspendedState) {
        sink_->resume();
    } else {
        DropSink();
        startFrame_ = source_->DecodedFrames();
        sink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), format_, this);
        connect(sink_, &QAudioSink::stateChanged, this, &TMP3Player::OnSinkState);
        // A short output buffer: the sound server otherwise waits for seconds
        // of audio before it starts, and Stop would lag behind as much.
        sink_->setBufferSize(format_.bytesForDuration(200000));
        sink_->start(source_.get());
        if (sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError) {
            DropSink();
            throw TMediaPlayerError(
                QStringLiteral("Cannot play %1: the audio output could not be opened.")
                    .arg(QFileInfo(FileName).fileName()));
        }
    }
    mode_ = TMPModes::mpPlaying;
}

void TMP3Player::Stop() {
    RequireOpen("stop");
    if (mode_ == TMPModes::mpPlaying && sink_)
        sink_->suspend();
    if (mode_ != TMPModes::mpNotReady)
        mode_ = TMPModes::mpStopped;
}

void TMP3Player::Pause() {
    RequireOpen("pause");
    if (mode_ == TMPModes::mpPlaying) {
        if (sink_)
            sink_->suspend();
        mode_ = TMPModes::mpPaused;
    }
}

void TMP3Player::Rewind() {
    RequireOpen("rewind");
    DropSink();
    source_->Rewind();
    startFrame_ = 0;
    atEnd_ = false;
    mode_ = TMPModes::mpStopped;
}

TMPModes TMP3Player::Mode() const {
    return mode_;
}

qint64 TMP3Player::Length() const {
    return source_ ? source_->LengthFrames() * 1000 / source_->Rate() : 0;
}

qint64 TMP3Player::Position() const {
    if (!source_)
        return 0;
    if (atEnd_)
        return Length();
    qint64 ms = startFrame_ * 1000 / source_->Rate();
    if (sink_)
        ms += sink_->processedUSecs() / 1000;
    // What was played cannot be ahead of what was decoded.
    return std::min(ms, source_->DecodedFrames() * 1000 / source_->Rate());
}

void TMP3Player::OnSinkState() {
    if (!sink_ || !source_ || sink_->state() != QAudio::IdleState || !source_->Eof())
        return;
    // The decoder ran dry; the output still holds the tail. Let it play out.
    const qint64 left = source_->DecodedFrames() * 1000 / source_->Rate() - Position();
    QTimer::singleShot(std::max<qint64>(left, 0) + 30, this, [this, sink = sink_] {
        if (sink_ == sink && sink_->state() == QAudio::IdleState)
            Finished();
    });
}

void TMP3Player::Finished() {
    DropSink();
    atEnd_ = true;
    mode_ = TMPModes::mpStopped;
    emit PlaybackFinished();
}
