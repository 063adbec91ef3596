// Step 1's recording and playback: the Rec / Stop / Play / Pause buttons,
// capture into the temporary WAV file, the level bars, and the conversion
// of a finished recording into an MP3 file.

#include "audio/DspRecorder.h"
#include "audio/LevelChart.h"
#include "audio/LevelMeter.h"
#include "audio/MP3Player.h"
#include "audio/MP3export.h"
#include "audio/SoundCapture.h"
#include "shell/AlertForms.h"
#include "shell/MainUnit1.h"
#include "shell/Widgets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>

void TMainForm1::CreateAudio() {
    Levels = std::make_unique<TLevelMeter>();
    Player = std::make_unique<TMP3Player>();
    TDspRecorder::Hooks hooks;
    // the platform's own errors go to the standard error box
    hooks.ShowError = [this](const QString& text) { ShowException(text); };
    hooks.ShowMessage = [](const QString& text) {
        MessageDlgPos(text, TMsgDlgType::mtCustom, mbOK, -1, -1);
    };
    hooks.OnData = [this](const char* data, int count) { Levels->FeedSpectrum(data, count); };
    hooks.SetSpectrumSize = [this](int rate) { Levels->SetSpectrumSize(rate, State.Channels); };
    Recorder = std::make_unique<TDspRecorder>(
        CaptureFactory ? CaptureFactory : TDspRecorder::BackendFactory(CreateDefaultCaptureBackend),
        std::move(hooks));
    Levels->ResetLevels();
    State.CaptureDevice = Recorder->CaptureDevice;
    connect(Timer1, &QTimer::timeout, this, &TMainForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TMainForm1::Timer2Timer);
    connect(imgRec, &TImageButton::clicked, this, &TMainForm1::imgRecClick);
    connect(imgStop, &TImageButton::clicked, this, &TMainForm1::imgStopClick);
    connect(imgPlay, &TImageButton::clicked, this, &TMainForm1::imgPlayClick);
    connect(imgPause, &TImageButton::clicked, this, &TMainForm1::imgPauseClick);
    Timer1->start();
    Timer2->start();
}

void TMainForm1::ReleaseAudio() {
    StopDSPRecord();
    Timer1->stop();
    Timer2->stop();
    Recorder.reset();
    Levels.reset();
}

void TMainForm1::ShowException(const QString& text) {
    MessageDlgPos(text, TMsgDlgType::mtError, mbOK, -1, -1);
}

bool TMainForm1::PlayerDo(const std::function<void()>& op) {
    if (!Player)
        return false;
    try {
        op();
        return true;
    } catch (const TMediaPlayerError& e) {
        ShowException(e.Text);
    } catch (const std::exception& e) {
        ShowException(QString::fromStdString(e.what()));
    }
    return false;
}

bool TMainForm1::PlayerPlaying() const {
    return Player && Player->Mode() == TMPModes::mpPlaying;
}

void TMainForm1::SetRadiosEnabled(bool enabled) {
    PlayRadio->setEnabled(enabled);
    RecRadio->setEnabled(enabled);
}

void TMainForm1::StartDSPRecord() {
    if (!Recorder)
        return;
    Recorder->TempWavName = State.TempWavName;
    Recorder->SampleRate = State.SampleRate;
    Recorder->SampleBits = State.SampleBits;
    Recorder->Channels = State.Channels;
    Recorder->UnsupportedFormatText = Msg("MainFormUnsuppFormatDlg");
    Recorder->StartDSPRecord();
}

void TMainForm1::StopDSPRecord() {
    if (Recorder)
        Recorder->StopDSPRecord();
}

void TMainForm1::imgRecClick() {
    State.Playing = false;
    SetRadiosEnabled(false);
    MP3Progress->setValue(0);
    if (State.CaptureDevice == -1) {
        ShowMessage(Msg("MainFormNotWaveDlg"), int(TMsgDlgType::mtError), mbOK);
        SetRadiosEnabled(true);
        return;
    }
    if (FnameEdit->text().isEmpty()) {
        ShowMessage(Msg("MainFormProvideFileNameDlg"), int(TMsgDlgType::mtError), mbOK);
        SetRadiosEnabled(true);
        return;
    }
    if (QFileInfo::exists(State.RecFileName)) {
        if (ShowMessage(Msg("MainFormFileExistsReplaceDlg"), int(TMsgDlgType::mtWarning),
                        mbOK | mbCancel) != mrOk) {
            SetRadiosEnabled(true);
            return;
        }
        if (QFile::remove(State.RecFileName)) {
            const QString base = QFileInfo(State.RecFileName).completeBaseName();
            for (QListWidgetItem* it : FilesList->findItems(base, Qt::MatchExactly))
                delete FilesList->takeItem(FilesList->row(it));
        }
    }
    ShowPlayerBtns(QStringLiteral("recording"));
    DisableButtons();
    State.Paused = false;
    if (PlayerPlaying())
        PlayerDo([this] { Player->Stop(); });
    Player->Close(); // no MP3 file stays open while recording
    State.SourceMode = QStringLiteral("rec");
    ShowPlayerBtns(QStringLiteral("recording"));
    StartDSPRecord();
}

void TMainForm1::imgStopClick() {
    SetRadiosEnabled(true);
    EnableButtons();
    State.Paused = false;
    if (State.SourceMode == QLatin1String("play") || State.Playing) {
        State.Playing = false;
        PlayerDo([this] {
            Player->Stop();
            Player->Rewind();
        });
        ShowPlayerBtns(QStringLiteral("play"));
    } else {
        StopDSPRecord();
        ShowPlayerBtns(QStringLiteral("play"));
        if (!QFileInfo::exists(State.TempWavName)) {
            QString text = Msg("MainFormRecProblemDlg0") + Msg("MainFormRecProblemDlg1");
            if (!QDir(State.Mp3Folder).exists())
                text += QStringLiteral("\r\n\r\n") + Msg("MainFormMp3DirNotExistsDlg");
            ShowMessage(text, int(TMsgDlgType::mtError), mbOK);
            ShowPlayerBtns(QStringLiteral("none"));
            EnableButtons();
            return;
        }
        try {
            ConvertToMp3(State.TempWavName, State.RecFileName,
                         {State.SampleRate, State.Channels, State.BitRate, State.MpegVersion},
                         {[this](int v) { MP3Progress->setValue(v); },
                          [] { QCoreApplication::processEvents(); }});
        } catch (const TMp3ExportError& e) {
            // the WAV file stays, so the recording can still be converted
            ShowException(e.text());
            return;
        }
        QFile::remove(State.TempWavName);
        const QString base = QFileInfo(State.RecFileName).completeBaseName();
        FilesList->addItem(base);
        const auto found = FilesList->findItems(base, Qt::MatchExactly);
        if (!found.isEmpty())
            FilesList->setCurrentItem(found.first());
        PlayRadioClick();
        PlayRadio->setChecked(true);
        if (Peers.MessageForm)
            ShowAlert(Peers.MessageForm, State.AlertRecordingComplete,
                      Msg("MainFormRecCompleteDlg"), this);
    }
    Chart1->Clear();
    Chart2->Clear();
}

void TMainForm1::imgPlayClick() {
    State.Paused = false;
    DisableButtons();
    ShowPlayerBtns(QStringLiteral("playing"));
    PlayerDo([this] { Player->Play(); });
    State.Playing = true;
}

void TMainForm1::imgPauseClick() {
    if (!State.Playing)
        return;
    if (State.Paused) {
        State.Paused = false;
        DisableButtons();
        PlayerDo([this] { Player->Play(); });
        ShowPlayerBtns(QStringLiteral("playing"));
    } else {
        State.Paused = true;
        PlayerDo([this] { Player->Stop(); }); // keeps the position
        ShowPlayerBtns(QStringLiteral("pause"));
    }
}

void TMainForm1::Timer2Timer() {
    if (Player && Player->Mode() == TMPModes::mpStopped && !State.Paused && State.Playing)
        imgStopClick();
}

void TMainForm1::Timer1Timer() {
    if (!Levels)
        return;
    if (Levels->Timer1Timer(Recorder && Recorder->Recording())) {
        Chart1->SetBarValues(Levels->LeftBars());
        Chart2->SetBarValues(Levels->RightBars());
    }
}

void TMainForm1::ShowPlayerBtns(const QString& appearance) {
    // Play, Pause, Stop, Rec: which are active in each appearance
    struct Row {
        const char* Name;
        bool Active[4];
    };
    static const Row kTable[] = {
        {"none", {false, false, false, false}},     {"rec", {false, false, false, true}},
        {"recording", {false, false, true, false}}, {"play", {true, false, false, false}},
        {"playing", {false, true, true, false}},    {"pause", {true, true, true, false}},
        {"play-rec", {true, false, false, true}},
    };
    const Row* row = nullptr;
    for (const Row& r : kTable)
        if (appearance == QLatin1String(r.Name))
            row = &r;
    if (!row)
        return;
    TImageButton* imgs[4] = {imgPlay, imgPause, imgStop, imgRec};
    QLabel* twins[4] = {imgPlayDisabled, imgPauseDisabled, imgStopDisabled, imgRecDisabled};
    TEffectLabel* caps[4] = {PlayLabel, PauseLabel, StopLabel, RecLabel};
    for (int i = 0; i < 4; ++i) {
        twins[i]->setVisible(!row->Active[i]);
        // a covered button is out of the keyboard's reach as well
        imgs[i]->setEnabled(row->Active[i]);
        caps[i]->setStyle3D(row->Active[i] ? TEffectLabel::tdExtrude : TEffectLabel::tdSunken);
    }
}
