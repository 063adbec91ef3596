#pragma once
// The wizard's main window: six pages (welcome and five steps) with hidden
// tabs, the shared wizard state and the navigation between the pages. The
// work done on each page lives in the handlers of its own source file.

#include "platform/Dialogs.h"
#include "shell/TextCatalogue.h"
#include "shell/WizardState.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTimer;
class TImageButton;
class THelpImage;
class TEffectLabel;
class TSettingsStore;
class TAlertUploadForm;
class TMessageForm;
class TMessageOKCancelForm;
class TMessageCloseForm;
class TAboutFrm;
class TSampleBrowser;
class TFTPSendForm;
class TOptionsForm;
class TLinkOptionsForm;
class THintWindow;
class TLevelChart;
class TLevelMeter;
class TDspRecorder;
class TMP3Player;
class ICaptureBackend;

class TMainForm1 : public QWidget {
    Q_OBJECT
  public:
    // The capture back end is the desktop's default device unless a test
    // hands in another.
    using CaptureBackendFactory = std::function<std::unique_ptr<ICaptureBackend>()>;
    explicit TMainForm1(QWidget* parent = nullptr, CaptureBackendFactory capture = {});
    ~TMainForm1() override;

    // the shared wizard state
    WizardState State;

    // The windows created after this one; start-up hands them over.
    struct TPeers {
        QPointer<TFTPSendForm> FTPSendForm;
        QPointer<TOptionsForm> OptionsForm;
        QPointer<TLinkOptionsForm> LinkOptionsForm;
        QPointer<TMessageForm> MessageForm;
        QPointer<TAlertUploadForm> AlertUploadForm;
        QPointer<TMessageOKCancelForm> MessageOKCancelForm;
        QPointer<TAboutFrm> AboutFrm;
        QPointer<TMessageCloseForm> MessageCloseForm;
    } Peers;

    // Outcome of the most recent upload, kept by the upload window.
    bool UploadOk() const;
    void SetUploadOk(bool ok);

    // life cycle
    void FormCreate();
    void FormShow();
    void FormActivate();
    // Returns false when the user refused to close.
    bool FormClose();

    // navigation
    void NextBtn0Click();
    void BackBtn1Click();
    void NextBtn1Click();
    void BackBtn2Click();
    void NextBtn2Click();
    void BackBtn3Click();
    void NextBtn3Click();
    void BackBtn4Click();
    void NextBtn4Click();
    void BackBtn5Click();
    void StartOverBtnClick();
    void FinishBtn0Click();
    void HelpBtnClick(int step);
    void Image2Click();
    void AboutBtnClick();
    void DisableButtons();
    void EnableButtons();
    void DisableButtons4();
    void EnableButtons4();

    // audio source (the page 1 list)
    QString ProposeRecordingName() const;
    void FnameEditChange();
    void RecRadioClick();
    void PlayRadioClick();
    void ImportFiles();
    void FilesListClick();
    bool FilesListKeyDown(int key);
    void DeleteMP3();
    void ImportBtnClick();
    bool CheckMp3File(const QString& fileName);
    TOpenFilesCall OpenDialog;

    // recording and playback
    void ShowPlayerBtns(const QString& appearance);
    void imgRecClick();
    void imgStopClick();
    void imgPlayClick();
    void imgPauseClick();
    void Timer1Timer();
    void Timer2Timer();
    void StartDSPRecord();
    void StopDSPRecord();
    std::unique_ptr<TMP3Player> Player;
    std::unique_ptr<TLevelMeter> Levels;
    std::unique_ptr<TDspRecorder> Recorder;
    // the application's standard error box (centred, error kind, OK)
    void ShowException(const QString& text);

    // Shows a standard box at this window's standard position.
    int ShowMessage(const QString& text, int kind, unsigned buttons);
    QString Msg(const char* key) const; // a message text of the window

    // The window-state keeper: off on the first run.
    bool FormStateEnabled = true;
    TSettingsStore& INIState();
    // Applies the saved position and size (when the keeper is on).
    void RestorePlacement();

    // controls ------------------------------------------------------------
    QStackedWidget* PageControl = nullptr;
    QWidget *Step0 = nullptr, *Step1 = nullptr, *Step2 = nullptr, *Step3 = nullptr,
            *Step4 = nullptr, *Step5 = nullptr;
    QLabel* Logo[6] = {};
    // navigation buttons (index = page); null where a page has none
    QPushButton* BackBtn[6] = {};
    QPushButton* NextBtn[5] = {};
    QPushButton* FinishBtn[5] = {};
    QPushButton* HelpBtn[6] = {}; // 1..5
    QPushButton* CloseBtn5 = nullptr;
    QPushButton* StartOverBtn = nullptr;
    QPushButton* AboutBtn = nullptr;

    // page 0
    QLabel *LMDLabel5 = nullptr, *LMDLabel6 = nullptr, *LMDLabel4 = nullptr, *LMDLabel33 = nullptr,
           *LMDLabel34 = nullptr;
    TImageButton* Image2 = nullptr;
    // page 1
    QLabel *LMDLabel2 = nullptr, *LMDLabel3 = nullptr, *LMDLabel1 = nullptr;
    QGroupBox* sourceGroup = nullptr;
    QRadioButton *RecRadio = nullptr, *PlayRadio = nullptr;
    QListWidget* FilesList = nullptr;
    QLabel* FnameLabel = nullptr;
    QLineEdit* FnameEdit = nullptr;
    QPushButton *ImportBtn = nullptr, *RecOptionsBtn = nullptr;
    QGroupBox* controlsGroup = nullptr;
    TImageButton *imgPlay = nullptr, *imgPause = nullptr, *imgStop = nullptr, *imgRec = nullptr;
    QLabel *imgPlayDisabled = nullptr, *imgPauseDisabled = nullptr, *imgStopDisabled = nullptr,
           *imgRecDisabled = nullptr;
    TEffectLabel *PlayLabel = nullptr, *PauseLabel = nullptr, *StopLabel = nullptr,
                 *RecLabel = nullptr;
    QWidget *LeftChanPanel = nullptr, *RightChanPanel = nullptr;
    TLevelChart *Chart1 = nullptr, *Chart2 = nullptr;
    QGroupBox* encodeGroup = nullptr;
    QProgressBar* MP3Progress = nullptr;
    // page 2
    QLabel *LMDLabel14 = nullptr, *LMDLabel15 = nullptr, *LMDLabel13 = nullptr;
    QGroupBox *swfGroup = nullptr, *buttonsGroup = nullptr, *sampleGroup = nullptr;
    QListWidget* swfList = nullptr;
    QCheckBox *PlayBtnCheck = nullptr, *PauseBtnCheck = nullptr, *StopBtnCheck = nullptr,
              *AutoStartCheck = nullptr;
    QLabel* LMDSimpleLabel1 = nullptr;
    QString MorePlayersUrl;
    TSampleBrowser* WB2 = nullptr;
    // page 3
    QLabel *LMDLabel12 = nullptr, *LMDLabel16 = nullptr, *LMDLabel19 = nullptr;
    QGroupBox *mainGroup3 = nullptr, *LMDGroupBox12 = nullptr;
    QPushButton *FileSettingsBtn = nullptr, *GenerateBtn = nullptr, *PreviewBtn = nullptr;
    QProgressBar* GenerateProgress = nullptr;
    TSampleBrowser* WB3 = nullptr;
    // page 4
    QLabel *LMDLabel21 = nullptr, *LMDLabel20 = nullptr;
    QPushButton *FTPOptionsBtn = nullptr, *UploadBtn = nullptr, *LMDButton1 = nullptr;
    QLabel *FTPLabel = nullptr, *HTTPLabel = nullptr, *Label4 = nullptr, *LMDLabel24 = nullptr,
           *PassLabel = nullptr, *Label7 = nullptr, *Label8 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr;
    QLineEdit *FTPEdit = nullptr, *UserEdit = nullptr, *PassEdit = nullptr, *FolderEdit = nullptr,
              *URLEdit = nullptr;
    QLabel* RightLabelFTP = nullptr;
    // page 5
    QLabel *LMDLabel18 = nullptr, *LMDLabel17 = nullptr, *EmailLabel = nullptr,
           *PlayerLabel = nullptr;
    QPushButton *ClipboardBtn = nullptr, *PlayerCodeBtn = nullptr, *EmailCodeBtn = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    // help pictures imgHelp1..imgHelp11 (index = number), and the two of the
    // hosted account
    THelpImage* imgHelp[12] = {};
    THelpImage *imgHelp5ZEP = nullptr, *imgHelp6ZEP = nullptr;

    QTimer* Timer1 = nullptr; // level display, 50 ms
    QTimer* Timer2 = nullptr; // end of playback, 500 ms
    THintWindow* FlatHint1 = nullptr;

    // Set by start-up: closes the splash once it may close.
    std::function<bool()> SplashMayClose;
    std::function<void()> CloseSplash;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void BuildPages();
    void BuildStep0();
    void BuildStep1();
    void BuildStep2();
    void BuildStep3();
    void BuildStep4();
    void BuildStep5();
    QWidget* NewPage(int index, QLabel*& title, QLabel** subtitle, QLabel** counter);
    void BuildBottomBar(int index);
    void LoadTexts();
    void SaveWindowState();
    void GoToPage(int index);
    void CreateAudio();
    void ReleaseAudio();
    void WireAudioList();
    // runs a player operation, showing its error; false when it failed
    bool PlayerDo(const std::function<void()>& op);
    bool PlayerPlaying() const;
    void SetRadiosEnabled(bool enabled);
    CaptureBackendFactory CaptureFactory;

    // controls that follow the window's right or bottom edge, with their
    // distance from it, and those that stretch across it
    std::vector<std::pair<QWidget*, int>> AnchoredRight, AnchoredBottom;
    std::vector<QWidget*> Stretched;
    std::unique_ptr<TSettingsStore> Store;
    QHash<QString, QString> Messages; // message texts, read once at creation
    bool ShownOnce = false;
    bool Closing = false;
};
