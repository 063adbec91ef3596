#pragma once

#include <QAudioFormat>
#include <QObject>
#include <QString>

#include <memory>
#include <stdexcept>

class QAudioSink;
class TMP3PcmSource;

// The player's modes, named after the media player modes the controls read.
enum class TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };

// Raised by the player with a text that can be shown to the user as it is.
class TMediaPlayerError : public std::runtime_error {
  public:
    explicit TMediaPlayerError(const QString& text)
        : std::runtime_error(text.toStdString()), Text(text) {}
    QString Text;
};

// Plays an MP3 file on the default audio output: libmpg123 decodes, a Qt
// audio sink plays. Stop keeps the position; Rewind goes back to the start;
// a file played to its end reports mpStopped and plays again from the start.
class TMP3Player : public QObject {
    Q_OBJECT
  public:
    explicit TMP3Player(QObject* parent = nullptr);
    ~TMP3Player() override;

    QString FileName;

    // Opens FileName; throws TMediaPlayerError when it is not playable MPEG audio.
    void Open();
    void Close();
    // Throw TMediaPlayerError when no file is open.
    void Play();
    void Stop();
    void Pause();
    void Rewind();

    TMPModes Mode() const;
    bool IsOpen() const;
    // Position and length in milliseconds (0 when nothing is open).
    qint64 Position() const;
    qint64 Length() const;
    QAudioFormat Format() const { return format_; }

  signals:
    // The file has been played to its end (the mode is mpStopped by then).
    void PlaybackFinished();

  private:
    void RequireOpen(const char* what) const;
    void OnSinkState();
    void Finished();
    void DropSink();

    std::unique_ptr<TMP3PcmSource> source_;
    QAudioSink* sink_ = nullptr;
    QAudioFormat format_;
    TMPModes mode_ = TMPModes::mpNotReady;
    qint64 startFrame_ = 0; // decoder frame where the current sink started
    bool atEnd_ = false;
};
