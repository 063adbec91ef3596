#pragma once
// The data every step of the wizard shares. The main window owns one; the
// dialogs read and change it while they are open, and it is written to the
// settings store only when the main window closes.

#include <QString>
#include <QStringList>

struct WizardState {
    // folders (paths end with a separator)
    QString Mp3Folder;
    QString GenFolder;
    QString SwfFolder;

    QString PlayFileName;
    QString RecFileName;
    QString TempWavName;
    QString TemplateFileName;
    QString ImportedName;
    bool SelectAfterImport = false;

    QString SourceMode = QStringLiteral("rec");
    QString CodeMode = QStringLiteral("email");
    bool OwnServerMode = true;

    bool Playing = false;
    bool Paused = false;
    int CaptureDevice = -1;

    // The audio objects (capture stream, WAV writer, level lock, spectrum
    // queue and band levels) belong to the recorder and the level meter that
    // the main window owns.

    bool Generated = false;
    QStringList PageLines, CodeLines, EmailLines, ParamLines;

    // recording format
    int SampleRate = 22050;
    int Channels = 1;
    int BitRate = 32;
    int SampleBits = 16;
    int MpegVersion = 1;
    int DefSampleRate = 22050;
    int DefChannels = 1;
    int DefBitRate = 32;

    // own-server FTP account and the hosted account
    QString FtpHost, FtpUser, FtpPass, FtpFolder, FtpUrl;
    QString HostedUser, HostedPass, HostedFolder, HostedUrl;

    // end-of-play link options
    bool Reseller = false;
    bool RemoveLink = false;
    QString Affiliate;

    // player options
    bool PlayBtn = true;
    bool StopBtn = true;
    bool PauseBtn = true;
    bool AutoStart = false;

    QString ImportPath;
    QString FilesCopyPath;

    // "don't show me this message again" memory of the alert dialogs
    bool AlertFtpSettings = true;
    bool AlertFileSettings = true;
    bool AlertFilesGenerated = true;
    bool AlertRecordingComplete = true;
    bool AlertUploadNotComplete = true;
    bool AlertUploadComplete = true;
    bool AlertMp3FolderChanged = true;
};
