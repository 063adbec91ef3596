#include "shell/MainUnit1.h"

#include "audio/DspRecorder.h"
#include "audio/LevelMeter.h"
#include "audio/MP3Player.h"
#include "platform/Dialogs.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "publish/FTPSendUnit.h"
#include "shell/About.h"
#include "shell/AlertForms.h"
#include "shell/HintWindow.h"
#include "shell/SettingsIO.h"
#include "shell/SettingsStore.h"
#include "shell/Texts.h"
#include "shell/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QWindow>

namespace {
constexpr int kMainMessageOffset = 130;
// show commands of the stored window placement
constexpr int kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3;
} // namespace

TMainForm1::TMainForm1(QWidget* parent, CaptureBackendFactory capture)
    : QWidget(parent), CaptureFactory(std::move(capture)) {
    setObjectName(QStringLiteral("MainForm1"));
    resize(610, 425);
    setMinimumSize(610, 425);
    Store = std::make_unique<TSettingsStore>(TSettingsStore::DefaultFilePath());
    BuildPages();

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);
    Timer2 = new QTimer(this);
    Timer2->setInterval(500);
    FlatHint1 = new THintWindow(this);
    qApp->installEventFilter(FlatHint1);

    connect(NextBtn[0], &QPushButton::clicked, this, &TMainForm1::NextBtn0Click);
    connect(BackBtn[1], &QPushButton::clicked, this, &TMainForm1::BackBtn1Click);
    connect(NextBtn[1], &QPushButton::clicked, this, &TMainForm1::NextBtn1Click);
    connect(BackBtn[2], &QPushButton::clicked, this, &TMainForm1::BackBtn2Click);
    connect(NextBtn[2], &QPushButton::clicked, this, &TMainForm1::NextBtn2Click);
    connect(BackBtn[3], &QPushButton::clicked, this, &TMainForm1::BackBtn3Click);
    connect(NextBtn[3], &QPushButton::clicked, this, &TMainForm1::NextBtn3Click);
    connect(BackBtn[4], &QPushButton::clicked, this, &TMainForm1::BackBtn4Click);
    connect(NextBtn[4], &QPushButton::clicked, this, &TMainForm1::NextBtn4Click);
    connect(BackBtn[5], &QPushButton::clicked, this, &TMainForm1::BackBtn5Click);
    connect(StartOverBtn, &QPushButton::clicked, this, &TMainForm1::StartOverBtnClick);
    for (int i = 0; i < 5; ++i)
        connect(FinishBtn[i], &QPushButton::clicked, this, &TMainForm1::FinishBtn0Click);
    connect(CloseBtn5, &QPushButton::clicked, this, &TMainForm1::FinishBtn0Click);
    for (int i = 1; i <= 5; ++i)
        connect(HelpBtn[i], &QPushButton::clicked, this, [this, i] { HelpBtnClick(i); });
    connect(Image2, &TImageButton::clicked, this, &TMainForm1::Image2Click);
    connect(AboutBtn, &QPushButton::clicked, this, &TMainForm1::AboutBtnClick);
    WireAudioList();
    connect(LMDSimpleLabel1, &QLabel::linkActivated, this,
            [this] { Launcher::Open(MorePlayersUrl); });

    FormCreate();
}

TMainForm1::~TMainForm1() {
    // The window-state keeper saves the placement as the window goes, but
    // only after a confirmed close: a refused close writes nothing.
    if (Closing && FormStateEnabled)
        SaveWindowState();
    qApp->removeEventFilter(FlatHint1);
}

TSettingsStore& TMainForm1::INIState() {
    return *Store;
}

QString TMainForm1::Msg(const char* key) const {
    return Messages.value(QString::fromLatin1(key));
}

int TMainForm1::ShowMessage(const QString& text, int kind, unsigned buttons) {
    const QPoint p = StandardMessagePos(this, kMainMessageOffset);
    return MessageDlgPos(text, static_cast<TMsgDlgType>(kind), buttons, p.x(), p.y());
}

bool TMainForm1::UploadOk() const {
    return Peers.FTPSendForm && Peers.FTPSendForm->UploadOk;
}

void TMainForm1::SetUploadOk(bool ok) {
    if (Peers.FTPSendForm)
        Peers.FTPSendForm->UploadOk = ok;
}

// --- life cycle -------------------------------------------------------------

void TMainForm1::FormCreate() {
    // First run: no saved placement is applied, the window opens centred.
    if (!INIState().KeyExists())
        FormStateEnabled = false;
    LoadTexts();
    State.Playing = false;
    State.SelectAfterImport = false;
    ShowPlayerBtns(QStringLiteral("rec"));
    LMDSimpleLabel1->setVisible(ShowMorePlayersLink(INIState()));
    State.PageLines.clear();
    State.CodeLines.clear();
    State.EmailLines.clear();
    State.ParamLines.clear();
    RecRadio->setChecked(true);
    RecRadioClick();
    CreateAudio();
}

void TMainForm1::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!ShownOnce) {
        ShownOnce = true;
        FormShow();
    }
}

void TMainForm1::FormShow() {
    const QString exe = ProgramFolder();
    LoadFolders(INIState(), State, exe);
    State.RecFileName = State.Mp3Folder + FnameEdit->text() + ".mp3";
    ImportFiles();
    State.SourceMode = QStringLiteral("rec");
    State.OwnServerMode = true;
    State.CodeMode = QStringLiteral("email");
    PageControl->setCurrentIndex(0);
    for (int i = 1; i < 6; ++i)
        Logo[i]->setPixmap(Logo[0]->pixmap());
    for (int i = 2; i <= 11; ++i)
        imgHelp[i]->CopyPicture(imgHelp[1]);
    imgHelp5ZEP->CopyPicture(imgHelp[1]);
    imgHelp6ZEP->CopyPicture(imgHelp[1]);

    LoadRecordingFormat(INIState(), State);
    LoadAccountsAndOptions(INIState(), State, [this](const QString& name, bool value) {
        // each flag goes to its check box right after it is read
        QCheckBox* box = nullptr;
        if (name.compare("PlayBtn", Qt::CaseInsensitive) == 0)
            box = PlayBtnCheck;
        else if (name.compare("StopBtn", Qt::CaseInsensitive) == 0)
            box = StopBtnCheck;
        else if (name.compare("PauseBtn", Qt::CaseInsensitive) == 0)
            box = PauseBtnCheck;
        else if (name.compare("AutoStart", Qt::CaseInsensitive) == 0)
            box = AutoStartCheck;
        if (box)
            box->setChecked(value);
    });
    FTPEdit->setText(State.FtpHost);
    UserEdit->setText(State.FtpUser);
    PassEdit->setText(State.FtpPass);
    FolderEdit->setText(State.FtpFolder);
    URLEdit->setText(State.FtpUrl);

    // Keep the splash until it has been up for its minimum time.
    if (SplashMayClose) {
        while (!SplashMayClose())
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    if (CloseSplash)
        CloseSplash();
}

void TMainForm1::FormActivate() {
    if (ReadWindowStateWS(INIState()) == 2 && !isMaximized())
        showMaximized();
}

void TMainForm1::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QWidget::changeEvent(e);
}

void TMainForm1::closeEvent(QCloseEvent* e) {
    if (Closing) {
        e->accept();
        return;
    }
    if (!FormClose()) {
        e->ignore();
        return;
    }
    e->accept();
}

bool TMainForm1::FormClose() {
    // A first run still saves where its window was.
    if (!FormStateEnabled)
        FormStateEnabled = true;
    const QString text = Msg("MainFormCloseDlg0") + "\n\r" + Msg("MainFormCloseDlg1");
    if (ShowMessage(text, int(TMsgDlgType::mtConfirmation), mbOK | mbCancel) != mrOk)
        return false;
    if (!SaveSettings(INIState(), State, isMaximized()))
        MessageDlgPos(QStringLiteral("Your settings could not be saved to %1.")
                          .arg(QDir::toNativeSeparators(TSettingsStore::DefaultFilePath())),
                      TMsgDlgType::mtError, mbOK, StandardMessagePos(this, kMainMessageOffset).x(),
                      StandardMessagePos(this, kMainMessageOffset).y());
    State.PageLines.clear();
    State.CodeLines.clear();
    State.EmailLines.clear();
    State.ParamLines.clear();
    ReleaseAudio();
    Closing = true;
    return true;
}

void TMainForm1::RestorePlacement() {
    if (!FormStateEnabled)
        return;
    const auto stored = ParseWindowValue(INIState().ReadString("Main", "Window", QString()));
    if (!stored)
        return;
    QSize desktop(1024, 768);
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        desktop = s->virtualGeometry().size();
    const QRect r = FitOnDesktop(*stored, desktop);
    // left/top place the frame, the extent is the window's own size
    move(r.topLeft());
    resize(r.size().expandedTo(minimumSize()));
}

void TMainForm1::SaveWindowState() {
    int showCmd = kShowNormal;
    if (isMaximized())
        showCmd = kShowMaximized;
    else if (isMinimized())
        showCmd = kShowMinimized;
    QRect restored;
    if (showCmd == kShowNormal) {
        restored = QRect(pos(), size());
    } else {
        const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
        restored = QRect(normalGeometry().topLeft() - frameOffset, normalGeometry().size());
    }
    INIState().WriteString("Main", "Window", FormatWindowValue(0, showCmd, restored));
}

// --- navigation -------------------------------------------------------------

void TMainForm1::GoToPage(int index) {
    PageControl->setCurrentIndex(index);
}

void TMainForm1::NextBtn0Click() {
    GoToPage(1);
    FnameEdit->setText(ProposeRecordingName());
}

void TMainForm1::BackBtn1Click() {
    GoToPage(0);
}

void TMainForm1::NextBtn1Click() {
    if (!FilesList->currentItem() || !FilesList->currentItem()->isSelected()) {
        ShowMessage(Msg("MainFormSelSoundDlg"), int(TMsgDlgType::mtError), mbOK);
        return;
    }
    GoToPage(2);
}

void TMainForm1::BackBtn2Click() {
    GoToPage(1);
    FnameEdit->setText(ProposeRecordingName());
}

void TMainForm1::NextBtn2Click() {
    if (!swfList->currentItem() || !swfList->currentItem()->isSelected()) {
        ShowMessage(Msg("MainFormSelBtnStyleDlg"), int(TMsgDlgType::mtError), mbOK);
        return;
    }
    GoToPage(3);
}

void TMainForm1::BackBtn3Click() {
    GoToPage(2);
}

void TMainForm1::NextBtn3Click() {
    QListWidgetItem* item = FilesList->currentItem();
    if (!item || !item->isSelected()) {
        ShowMessage(Msg("MainFormSelSoundDlg"), int(TMsgDlgType::mtError), mbOK);
        return;
    }
    if (!State.Generated) {
        ShowMessage(Msg("MainFormGenPlyerDlg"), int(TMsgDlgType::mtError), mbOK);
        return;
    }
    const QString base = State.GenFolder + QString(item->text()).replace(' ', '_');
    for (const char* ext : {".mp3", ".swf", ".htm", ".txt"}) {
        if (!QFileInfo::exists(base + ext)) {
            ShowMessage(Msg("MainFormGenPlyerDlg"), int(TMsgDlgType::mtError), mbOK);
            return;
        }
    }
    GoToPage(4);
}

void TMainForm1::BackBtn4Click() {
    GoToPage(3);
}

void TMainForm1::NextBtn4Click() {
    if (UploadOk() || !State.AlertUploadNotComplete) {
        GoToPage(5);
        return;
    }
    if (Peers.AlertUploadForm &&
        ShowUploadReminder(Peers.AlertUploadForm, State.AlertUploadNotComplete,
                           Msg("MainFormUploadNotCompleteDlg"), this))
        GoToPage(5);
}

void TMainForm1::BackBtn5Click() {
    GoToPage(4);
}

void TMainForm1::StartOverBtnClick() {
    GoToPage(1);
}

void TMainForm1::FinishBtn0Click() {
    close();
}

void TMainForm1::HelpBtnClick(int step) {
    Launcher::OpenHelpTopic(step);
}

void TMainForm1::Image2Click() {
    Launcher::Open(Msg("MainHelpLink"));
}

void TMainForm1::AboutBtnClick() {
    if (!Peers.AboutFrm)
        return;
    CentreOn(Peers.AboutFrm, this);
    ShowAlertModal(Peers.AboutFrm);
}

namespace {
void SetEnabled(std::initializer_list<QWidget*> controls, bool enabled) {
    for (QWidget* w : controls)
        w->setEnabled(enabled);
}
} // namespace

void TMainForm1::DisableButtons() {
    SetEnabled({BackBtn[1], NextBtn[1], ImportBtn, RecOptionsBtn}, false);
}

void TMainForm1::EnableButtons() {
    SetEnabled({BackBtn[1], NextBtn[1], ImportBtn, RecOptionsBtn}, true);
}

void TMainForm1::DisableButtons4() {
    SetEnabled({HelpBtn[4], BackBtn[4], NextBtn[4], FinishBtn[4], UploadBtn}, false);
}

void TMainForm1::EnableButtons4() {
    SetEnabled({HelpBtn[4], BackBtn[4], NextBtn[4], FinishBtn[4], UploadBtn}, true);
}
