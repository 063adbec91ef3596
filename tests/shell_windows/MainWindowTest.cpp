// The main window offscreen: start-up and shut-down, navigation with its
// guards, the alert and reminder protocols, message positions.

#include "WindowTestSupport.h"

#include "options/OptionsUnit.h"
#include "publish/FTPSendUnit.h"
#include "shell/About.h"
#include "shell/AlertForms.h"
#include "shell/Application.h"
#include "shell/MainUnit1.h"
#include "shell/SettingsStore.h"
#include "shell/SplashUnit.h"
#include "shell/Widgets.h"
#include "web/LinkOptionsUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

namespace {

class MainWindowTest : public WindowTest {
  protected:
    void TearDown() override {
        delete Main;
        WindowTest::TearDown();
    }
    // The main window with its reminder dialog, shown (settings loaded).
    TMainForm1* Open() {
        Main = new TMainForm1;
        Reminder = new TAlertUploadForm(Main);
        Main->Peers.AlertUploadForm = Reminder;
        Main->Peers.FTPSendForm = new TFTPSendForm(Main);
        Main->move(100, 50);
        Main->show();
        return Main;
    }
    QByteArray StoreBytes() const {
        QFile f(SettingsFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    TSettingsStore Store() const { return TSettingsStore(SettingsFile()); }
    void Select(QListWidget* list, const QString& entry) {
        list->setCurrentItem(list->findItems(entry, Qt::MatchExactly).value(0));
    }
    int Page() const { return Main->PageControl->currentIndex(); }
    QString LastMessage() const {
        return Responder.Messages.empty() ? QString() : Responder.Messages.back().Text;
    }

    TMainForm1* Main = nullptr;
    TAlertUploadForm* Reminder = nullptr;
};

const QString kSelectSound = "You have to select a sound before you can go to the next step";
const QString kSelectStyle = "You have to select a button style before you can go to the next step";
const QString kGenerate = "You must generate the player before you can go to the next step";

TEST_F(MainWindowTest, DesignedWindowOnItsWelcomePage) {
    Open();
    EXPECT_EQ(Main->size(), QSize(610, 425));
    EXPECT_EQ(Main->minimumSize(), QSize(610, 425));
    EXPECT_EQ(Main->windowTitle(), "Murmelo.NET");
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(Main->PageControl->count(), 6);
    EXPECT_FALSE(Main->BackBtn[0]->isEnabled());
    // every control later steps need exists under its name
    for (const char* name :
         {"FilesList",     "FnameEdit",     "RecRadio",        "PlayRadio",        "ImportBtn",
          "RecOptionsBtn", "imgPlay",       "imgRecDisabled",  "MP3Progress",      "Chart1",
          "Chart2",        "swfList",       "PlayBtnCheck",    "AutoStartCheck",   "WB2",
          "GenerateBtn",   "PreviewBtn",    "FileSettingsBtn", "GenerateProgress", "WB3",
          "FTPEdit",       "UserEdit",      "PassEdit",        "FolderEdit",       "URLEdit",
          "UploadBtn",     "FTPOptionsBtn", "LMDButton1",      "PlayerCodeBtn",    "EmailCodeBtn",
          "Memo1",         "ClipboardBtn",  "imgHelp1",        "imgHelp11",        "imgHelp5ZEP",
          "imgHelp6ZEP",   "StartOverBtn"})
        EXPECT_NE(Main->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    // defaults of the state after start-up
    EXPECT_EQ(Main->State.SourceMode, "rec");
    EXPECT_EQ(Main->State.CodeMode, "email");
    EXPECT_EQ(Main->State.Mp3Folder, Mp3Dir());
    EXPECT_EQ(Main->State.GenFolder, GenDir());
    EXPECT_EQ(Main->State.TempWavName, Mp3Dir() + "MRL_TMP.WAV");
    EXPECT_EQ(Main->State.RecFileName, Mp3Dir() + "My New File Name.mp3");
    EXPECT_TRUE(Main->PlayBtnCheck->isChecked());
    EXPECT_FALSE(Main->AutoStartCheck->isChecked());
    EXPECT_TRUE(Main->imgPlayDisabled->isVisibleTo(Main->controlsGroup));
    EXPECT_FALSE(Main->imgRecDisabled->isVisibleTo(Main->controlsGroup));
}

TEST_F(MainWindowTest, CatalogueRewordsEveryNavigationButtonAndJoinsParts) {
    WriteCatalogue("[strings]\nbackbtn = \"  Zurueck \"\nNextBtn=Weiter\n"
                   "Step0AddContentLbl0=A\nStep0AddContentLbl1=B\n"
                   "[RecOptionsForm]\nCloseBtn=wrong section\n");
    Open();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Main->BackBtn[i]->text(), "  Zurueck ");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Main->NextBtn[i]->text(), "Weiter");
        EXPECT_EQ(Main->FinishBtn[i]->text(), "Close");
    }
    EXPECT_EQ(Main->LMDLabel4->text(), "A\nB");
    // hint parts are two carriage returns apart: a blank line between them
    EXPECT_TRUE(Main->imgHelp[1]->toolTip().contains("here.\n\nWe recommend"));
    EXPECT_EQ(Main->LMDLabel12->text(), "Generate & Preview");
}

TEST_F(MainWindowTest, NextGuardsShowTheirMessageAtTheStandardPosition) {
    Open();
    Main->NextBtn0Click();
    ASSERT_EQ(Page(), 1);
    Main->NextBtn1Click();
    ASSERT_EQ(Responder.Messages.size(), 1u);
    const TMessageCall& m = Responder.Messages[0];
    EXPECT_EQ(m.Text, kSelectSound);
    EXPECT_EQ(m.Kind, TMsgDlgType::mtError);
    EXPECT_EQ(m.Buttons, unsigned(mbOK));
    const QRect f = Main->frameGeometry();
    EXPECT_EQ(m.X, f.left() + f.width() / 2 - 130);
    EXPECT_EQ(m.Y, f.top() + f.height() / 2 - 30);
    EXPECT_EQ(Page(), 1);

    // page 2 needs a player, page 3 a sound, a generated and complete set
    Main->PageControl->setCurrentIndex(2);
    Main->NextBtn2Click();
    EXPECT_EQ(LastMessage(), kSelectStyle);
    EXPECT_EQ(Page(), 2);
    Main->swfList->addItem("Classic");
    Select(Main->swfList, "Classic");
    Main->NextBtn2Click();
    EXPECT_EQ(Page(), 3);

    Main->NextBtn3Click();
    EXPECT_EQ(LastMessage(), kSelectSound);
    Touch(Mp3Dir() + "My voice.mp3");
    Main->ImportFiles();
    Select(Main->FilesList, "My voice");
    Main->NextBtn3Click();
    EXPECT_EQ(LastMessage(), kGenerate);
    Main->State.Generated = true;
    for (const char* ext : {".mp3", ".swf", ".htm"})
        Touch(GenDir() + "My_voice" + ext);
    const size_t before = Responder.Messages.size();
    Main->NextBtn3Click(); // the .txt is missing
    EXPECT_EQ(Responder.Messages.size(), before + 1);
    EXPECT_EQ(LastMessage(), kGenerate);
    EXPECT_EQ(Page(), 3);
    Touch(GenDir() + "My_voice.txt"); // the e-mail page is not required
    Main->NextBtn3Click();
    EXPECT_EQ(Page(), 4);
    EXPECT_EQ(Responder.Messages.size(), before + 1);
}

TEST_F(MainWindowTest, BackStartOverAndNameProposal) {
    Touch(Mp3Dir() + "My New File Name.mp3");
    Touch(Mp3Dir() + "My New File Name 1.mp3");
    Open();
    Main->NextBtn0Click();
    EXPECT_EQ(Main->FnameEdit->text(), "My New File Name 2");
    EXPECT_EQ(Main->State.RecFileName, Mp3Dir() + "My New File Name 2.mp3");
    Main->BackBtn1Click();
    EXPECT_EQ(Page(), 0);
    Main->PageControl->setCurrentIndex(2);
    Main->FnameEdit->setText("typed");
    Main->BackBtn2Click();
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Main->FnameEdit->text(), "My New File Name 2");
    // Start Over changes nothing but the page
    Main->FnameEdit->setText("kept");
    Main->State.Generated = true;
    Main->PageControl->setCurrentIndex(5);
    Main->StartOverBtnClick();
    EXPECT_EQ(Page(), 1);
    EXPECT_EQ(Main->FnameEdit->text(), "kept");
    EXPECT_TRUE(Main->State.Generated);
    for (auto [handler, from, to] : {std::tuple{&TMainForm1::BackBtn3Click, 3, 2},
                                     {&TMainForm1::BackBtn4Click, 4, 3},
                                     {&TMainForm1::BackBtn5Click, 5, 4}}) {
        Main->PageControl->setCurrentIndex(from);
        (Main->*handler)();
        EXPECT_EQ(Page(), to);
    }
    EXPECT_TRUE(Responder.Messages.empty());
}

TEST_F(MainWindowTest, UploadReminderProtocol) {
    Open();
    Main->PageControl->setCurrentIndex(4);
    const QString text = "Upload was not complete.You will need to upload these files to a server "
                         "in order for them to stream properly. ";
    // "Enter my ftp info now": stay
    Responder.AlertActions.push_back([](QDialog* d) {
        static_cast<TAlertUploadForm*>(d)->FtpInfoButton->click();
        return d->result();
    });
    Main->NextBtn4Click();
    ASSERT_EQ(Responder.Alerts.size(), 1u);
    EXPECT_EQ(Responder.Alerts[0].ClassName, "TAlertUploadForm");
    EXPECT_EQ(Responder.Alerts[0].Text, text);
    EXPECT_EQ(Page(), 4);
    // "Continue without uploading now": on to page 5
    Responder.AlertActions.push_back([](QDialog* d) {
        static_cast<TAlertUploadForm*>(d)->ContinueButton->click();
        return d->result();
    });
    Main->NextBtn4Click();
    EXPECT_EQ(Page(), 5);
    // closed by its close box later: the previous choice still counts
    Main->PageControl->setCurrentIndex(4);
    Responder.AlertActions.push_back([](QDialog*) { return int(mrCancel); });
    Main->NextBtn4Click();
    EXPECT_EQ(Page(), 5);
    EXPECT_TRUE(Main->State.AlertUploadNotComplete);
    // ticking "do not remind again" turns it off whatever closed it
    Main->PageControl->setCurrentIndex(4);
    Responder.AlertActions.push_back([](QDialog* d) {
        auto* r = static_cast<TAlertUploadForm*>(d);
        EXPECT_FALSE(r->RemindCheckBox->isChecked()) << "unticked at every showing";
        r->RemindCheckBox->setChecked(true);
        r->FtpInfoButton->click();
        return d->result();
    });
    Main->NextBtn4Click();
    EXPECT_EQ(Page(), 4);
    EXPECT_FALSE(Main->State.AlertUploadNotComplete);
    Main->NextBtn4Click();
    EXPECT_EQ(Page(), 5);
    EXPECT_EQ(Responder.Alerts.size(), 4u);
    // a good upload skips the reminder
    Main->State.AlertUploadNotComplete = true;
    Main->SetUploadOk(true);
    Main->PageControl->setCurrentIndex(4);
    Main->NextBtn4Click();
    EXPECT_EQ(Page(), 5);
    EXPECT_EQ(Responder.Alerts.size(), 4u);
}

TEST_F(MainWindowTest, CloseCancelWritesNothingOkSavesEverything) {
    {
        TSettingsStore s = Store();
        s.WriteString("Settings", "FTP", "ftp.before.example");
        s.WriteString("Main", "Window", "200,0,1,10,20,620,445");
    }
    const QByteArray before = StoreBytes();
    Open();
    Main->State.FtpHost = "ftp.after.example";
    Main->State.AlertFilesGenerated = false;
    Responder.MessageAnswers.push_back(mrCancel);
    EXPECT_FALSE(Main->close());
    EXPECT_TRUE(Main->isVisible());
    ASSERT_EQ(Responder.Messages.size(), 1u);
    EXPECT_EQ(Responder.Messages[0].Text, "Are you sure you want to close the application?\n\r"
                                          "All your previous work will be saved.");
    EXPECT_EQ(Responder.Messages[0].Kind, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(Responder.Messages[0].Buttons, unsigned(mbOK | mbCancel));
    delete Main; // a refused close leaves even the window position alone
    Main = nullptr;
    EXPECT_EQ(StoreBytes(), before);

    Open();
    Main->State.FtpHost = "ftp.after.example";
    Main->State.AlertFilesGenerated = false;
    Main->State.SampleRate = 44100;
    Main->move(123, 77);
    EXPECT_TRUE(Main->close());
    delete Main;
    Main = nullptr;
    const TSettingsStore s = Store();
    EXPECT_EQ(s.ReadString("Settings", "FTP", ""), "ftp.after.example");
    EXPECT_EQ(s.ReadString("Alerts", "Files Generated", ""), "0");
    EXPECT_EQ(s.ReadString("Alerts", "Upload Complete", ""), "1");
    EXPECT_EQ(s.ReadString("Settings", "HZ", ""), "44100");
    EXPECT_EQ(s.ReadString("Settings", "Res", ""), "16");
    EXPECT_EQ(s.ReadString("Settings", "WS", ""), "0");
    EXPECT_TRUE(s.ReadString("Main", "Window", "").startsWith("200,"));
}

TEST_F(MainWindowTest, FirstRunCentresThenSavesItsPlacement) {
    Open();
    EXPECT_FALSE(Main->FormStateEnabled);
    Main->move(140, 90);
    EXPECT_TRUE(Main->close());
    EXPECT_TRUE(Main->FormStateEnabled);
    delete Main;
    Main = nullptr;
    const QStringList parts = Store().ReadString("Main", "Window", "").split(',');
    ASSERT_EQ(parts.size(), 7);
    EXPECT_EQ(parts[0], "200");
    EXPECT_EQ(parts[3].toInt(), 140);
    EXPECT_EQ(parts[4].toInt(), 90);
    EXPECT_EQ(parts[5].toInt() - parts[3].toInt(), 610);

    // second start: the key exists, the placement is applied
    Main = new TMainForm1;
    EXPECT_TRUE(Main->FormStateEnabled);
    Main->RestorePlacement();
    EXPECT_EQ(Main->pos(), QPoint(140, 90));
}

TEST_F(MainWindowTest, SettingsLoadedAtShowAndStoredMaximiseRule) {
    {
        TSettingsStore s = Store();
        s.WriteString("settings", "playbtn", "0");
        s.WriteString("Settings", "AutoStart", "2");
        s.WriteString("Settings", "FTP", "ftp.example.net");
        s.WriteString("Settings", "BitRate", "16");
        s.WriteString("Defaults", "HZ", "44100");
        s.WriteString("Settings", "WS", "2");
        s.WriteString("Settings", "ShowMorePlayersLink", "1");
    }
    Open();
    EXPECT_FALSE(Main->PlayBtnCheck->isChecked());
    EXPECT_TRUE(Main->AutoStartCheck->isChecked());
    EXPECT_EQ(Main->FTPEdit->text(), "ftp.example.net");
    EXPECT_EQ(Main->State.SampleRate, 44100);
    EXPECT_EQ(Main->State.BitRate, 32);
    EXPECT_TRUE(Main->LMDSimpleLabel1->isVisibleTo(Main->Step2));
    Main->showNormal();
    Main->FormActivate();
    EXPECT_TRUE(Main->isMaximized());
}

TEST_F(MainWindowTest, HelpTourAndLocks) {
    Open();
    for (int step = 1; step <= 5; ++step)
        Main->HelpBtn[step]->click();
    ASSERT_EQ(Launches.size(), 5u);
    for (int step = 1; step <= 5; ++step) {
        EXPECT_EQ(Launches[step - 1].Target, ProgramDir() + QString("help/step%1.htm").arg(step));
        EXPECT_EQ(Launches[step - 1].Kind, Launcher::Kind::HelpTopic);
    }
    Main->Image2Click();
    EXPECT_TRUE(Launches.back().Target.endsWith("/mrl/help/"));
    EXPECT_EQ(Launches.back().Kind, Launcher::Kind::Address);

    Main->DisableButtons();
    for (QWidget* w : std::initializer_list<QWidget*>{Main->BackBtn[1], Main->NextBtn[1],
                                                      Main->ImportBtn, Main->RecOptionsBtn})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(Main->FinishBtn[1]->isEnabled());
    EXPECT_TRUE(Main->HelpBtn[1]->isEnabled());
    Main->EnableButtons();
    EXPECT_TRUE(Main->NextBtn[1]->isEnabled());
    Main->DisableButtons4();
    for (QPushButton* b : {Main->HelpBtn[4], Main->BackBtn[4], Main->NextBtn[4], Main->FinishBtn[4],
                           Main->UploadBtn})
        EXPECT_FALSE(b->isEnabled());
    Main->EnableButtons4();
    EXPECT_TRUE(Main->UploadBtn->isEnabled());
}

TEST_F(MainWindowTest, AlertProtocol) {
    Open();
    TMessageOKCancelForm okCancel(Main);
    TMessageCloseForm closeForm(Main);
    bool flag = false;
    EXPECT_EQ(ShowAlert(&okCancel, flag, "advice", Main), int(mrOk)); // off: as if Continue
    EXPECT_TRUE(Responder.Alerts.empty());

    flag = true;
    okCancel.NotShowCheckBox->setChecked(true); // cleared again when shown
    Responder.AlertActions.push_back([](QDialog* d) {
        auto* f = static_cast<TMessageOKCancelForm*>(d);
        EXPECT_FALSE(f->NotShowCheckBox->isChecked());
        EXPECT_EQ(f->OkButton->text(), "Continue");
        f->NotShowCheckBox->setChecked(true);
        f->Button1->click();
        return d->result();
    });
    EXPECT_EQ(ShowAlert(&okCancel, flag, "advice", Main), int(mrCancel));
    EXPECT_FALSE(flag) << "ticked and cancelled still turns the alert off";
    EXPECT_EQ(Responder.Alerts.back().Text, "advice");

    // the Continue dialog reads the same section but says OK by default
    EXPECT_EQ(closeForm.OkButton->text(), "OK");
    EXPECT_EQ(closeForm.size(), QSize(411, 240));
    EXPECT_FALSE(closeForm.windowFlags() & Qt::WindowCloseButtonHint);

    ResetAlerts(Main->State);
    EXPECT_TRUE(Main->State.AlertUploadNotComplete && Main->State.AlertMp3FolderChanged &&
                Main->State.AlertFtpSettings);
}

TEST(StandardPositionTest, CentreMovedByOffsetHalvesTruncated) {
    struct Case {
        QRect Frame;
        int Offset;
        QPoint Expected;
    } cases[] = {
        {{100, 50, 610, 425}, 130, {100 + 305 - 130, 50 + 212 - 30}},
        {{0, 0, 611, 427}, 100, {305 - 100, 213 - 30}},
        {{-500, 10, 300, 40}, 130, {-500 + 150 - 130, 10 + 20 - 30}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StandardMessagePos(c.Frame, c.Offset), c.Expected);
}

TEST_F(MainWindowTest, StartUpCreatesEveryWindowAndKeepsTheSplash) {
    QElapsedTimer clock;
    clock.start();
    Main = ExecuteApplication(400);
    const auto& w = Main->Peers;
    for (QWidget* win : std::initializer_list<QWidget*>{
             w.FTPSendForm.data(), w.OptionsForm.data(), w.LinkOptionsForm.data(),
             w.MessageForm.data(), w.AlertUploadForm.data(), w.MessageOKCancelForm.data(),
             w.AboutFrm.data(), w.MessageCloseForm.data()})
        ASSERT_NE(win, nullptr);
    EXPECT_EQ(w.AboutFrm->size(), QSize(435, 297));
    EXPECT_EQ(w.AboutFrm->OKBtn0->text(), "OK");
    EXPECT_EQ(w.AboutFrm->windowTitle(), "About");
    EXPECT_FALSE(w.LinkOptionsForm->Logo->pixmap().isNull()) << "takes the main window's logo";
    bool splashSeen = false;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<TSplashForm*>(top)) {
            splashSeen = s->isVisible();
            EXPECT_EQ(s->size(), QSize(400, 210));
        }
    EXPECT_TRUE(splashSeen);
    Main->show(); // the show handler waits for the splash's minimum time
    EXPECT_GE(clock.elapsed(), 400);
    QCoreApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<TSplashForm*>(top)) {
            EXPECT_FALSE(top->isVisible());
        }
    }
    // About from the welcome page, centred on the main window
    Main->AboutBtnClick();
    ASSERT_FALSE(Responder.Alerts.empty());
    EXPECT_EQ(Responder.Alerts.back().ClassName, "TAboutFrm");
}

} // namespace
