// Step 1 offscreen: the list of the MP3 folder, choosing, deleting and
// importing files, the player buttons, and the controller's refusals and
// its Stop path on a prepared recording.

#include "WindowTestSupport.h"

#include "audio/MP3Player.h"
#include "audio/WaveFile.h"
#include "publish/FTPSendUnit.h"
#include "shell/AlertForms.h"
#include "shell/MainUnit1.h"
#include "shell/Widgets.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cmath>

namespace {

// A real MP3 file, made once by the lame encoder from a sox tone.
const QString& ToneMp3() {
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        const QString wav = dir.path() + "/tone.wav";
        path = dir.path() + "/tone.mp3";
        QProcess::execute("sox", {"-n", "-r", "22050", "-c", "1", "-b", "16", wav, "synth", "0.5",
                                  "sine", "440"});
        QProcess::execute("lame", {"--quiet", wav, path});
    }
    return path;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Step1Test : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(QFile::exists(ToneMp3())) << "lame and sox make the test file";
        Source.reset(new QTemporaryDir);
    }
    void TearDown() override {
        delete Main;
        WindowTest::TearDown();
    }
    void Open() {
        Main = new TMainForm1;
        Main->Peers.FTPSendForm = new TFTPSendForm(Main);
        Main->Peers.MessageForm = new TMessageForm(Main);
        Main->show();
    }
    void CopyTone(const QString& to) {
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::remove(to);
        ASSERT_TRUE(QFile::copy(ToneMp3(), to));
    }
    QStringList Entries() const {
        QStringList l;
        for (int i = 0; i < Main->FilesList->count(); ++i)
            l << Main->FilesList->item(i)->text();
        return l;
    }
    QString Selected() const {
        auto* it = Main->FilesList->currentItem();
        return it && it->isSelected() ? it->text() : QString();
    }
    void Choose(const QString& entry) {
        Main->FilesList->setCurrentItem(
            Main->FilesList->findItems(entry, Qt::MatchExactly).value(0));
        Main->FilesListClick();
    }
    // Play, Pause, Stop, Rec: true where the button is active
    std::array<bool, 4> Appearance() const {
        return {!Main->imgPlayDisabled->isVisibleTo(Main->controlsGroup),
                !Main->imgPauseDisabled->isVisibleTo(Main->controlsGroup),
                !Main->imgStopDisabled->isVisibleTo(Main->controlsGroup),
                !Main->imgRecDisabled->isVisibleTo(Main->controlsGroup)};
    }

    TMainForm1* Main = nullptr;
    std::unique_ptr<QTemporaryDir> Source;
};

TEST_F(Step1Test, ListsMp3FilesWithoutExtensionSorted) {
    for (const char* name :
         {"b.mp3", "A.MP3", "c.mp3.mp3", ".hidden.mp3", "note.wav", "MRL_TMP.WAV"})
        Touch(Mp3Dir() + name);
    QDir().mkpath(Mp3Dir() + "folder.mp3");
    Open();
    EXPECT_EQ(Entries(), (QStringList{".hidden", "A", "b", "c.mp3"}));
    EXPECT_EQ(Selected(), "");
    EXPECT_EQ(Main->State.TempWavName, Mp3Dir() + "MRL_TMP.WAV");
}

TEST_F(Step1Test, PlayerButtonAppearances) {
    Open();
    const std::pair<const char*, std::array<bool, 4>> table[] = {
        {"none", {false, false, false, false}},     {"rec", {false, false, false, true}},
        {"recording", {false, false, true, false}}, {"play", {true, false, false, false}},
        {"playing", {false, true, true, false}},    {"pause", {true, true, true, false}},
        {"play-rec", {true, false, false, true}},
    };
    for (const auto& [name, active] : table) {
        Main->ShowPlayerBtns(name);
        EXPECT_EQ(Appearance(), active) << name;
        EXPECT_EQ(Main->PlayLabel->style3D(),
                  active[0] ? TEffectLabel::tdExtrude : TEffectLabel::tdSunken);
    }
    Main->ShowPlayerBtns("pause");
    Main->ShowPlayerBtns("unknown"); // changes nothing
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{true, true, true, false}));
}

TEST_F(Step1Test, ChoosingAFileOpensItAndForgetsTheGeneratedSet) {
    CopyTone(Mp3Dir() + "Hello world.mp3");
    Touch(Mp3Dir() + "broken.mp3", QByteArray(4000, 'z'));
    Open();
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{false, false, false, true}));
    Main->PlayRadio->click();
    EXPECT_EQ(Main->State.SourceMode, "play");
    EXPECT_TRUE(Main->FilesList->isVisibleTo(Main->sourceGroup));
    EXPECT_FALSE(Main->FnameEdit->isVisibleTo(Main->sourceGroup));
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{false, false, false, false}))
        << "nothing selected";

    Main->State.Generated = true;
    Main->SetUploadOk(true);
    Main->GenerateProgress->setValue(100);
    Choose("Hello world");
    EXPECT_EQ(Main->State.PlayFileName, Mp3Dir() + "Hello world.mp3");
    EXPECT_EQ(Main->Player->FileName, Mp3Dir() + "Hello world.mp3");
    EXPECT_TRUE(Main->Player->IsOpen());
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{true, false, false, false}));
    EXPECT_FALSE(Main->State.Generated);
    EXPECT_FALSE(Main->UploadOk());
    EXPECT_EQ(Main->GenerateProgress->value(), 0);
    EXPECT_TRUE(Responder.Messages.empty());

    // a file the player cannot open: its error, and the rest is left alone
    Main->State.Generated = true;
    Choose("broken");
    ASSERT_EQ(Responder.Messages.size(), 1u);
    EXPECT_EQ(Responder.Messages[0].Kind, TMsgDlgType::mtError);
    EXPECT_TRUE(Main->State.Generated);

    Main->RecRadio->click();
    EXPECT_EQ(Main->State.SourceMode, "rec");
    EXPECT_FALSE(Main->FilesList->isVisibleTo(Main->sourceGroup));
    EXPECT_FALSE(Main->Player->IsOpen());
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{false, false, false, true}));
}

TEST_F(Step1Test, DeleteAsksFirstAndRemovesOnlyWhatWasDeleted) {
    CopyTone(Mp3Dir() + "keep.mp3");
    CopyTone(Mp3Dir() + "gone.mp3");
    Open();
    Main->PlayRadio->click();
    Choose("gone");
    Main->State.Generated = true;
    Responder.MessageAnswers = {mrCancel};
    Main->FilesListKeyDown(Qt::Key_Delete);
    ASSERT_EQ(Responder.Messages.size(), 1u);
    EXPECT_EQ(Responder.Messages[0].Text, "Delete File. Are you sure?");
    EXPECT_EQ(Responder.Messages[0].Kind, TMsgDlgType::mtWarning);
    EXPECT_EQ(Responder.Messages[0].Buttons, unsigned(mbOK | mbCancel));
    EXPECT_TRUE(QFile::exists(Mp3Dir() + "gone.mp3"));
    EXPECT_TRUE(Main->State.Generated);

    Main->FilesListKeyDown(Qt::Key_Delete); // answered OK
    EXPECT_FALSE(QFile::exists(Mp3Dir() + "gone.mp3"));
    EXPECT_EQ(Entries(), QStringList{"keep"});
    EXPECT_FALSE(Main->State.Generated);
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{false, false, false, false}));
}

TEST_F(Step1Test, ImportValidatesCopiesAndSelectsTheLastCopied) {
    CopyTone(Source->path() + "/one.mp3");
    Touch(Source->path() + "/fake.mp3", QByteArray(8000, 'q'));
    CopyTone(Source->path() + "/two.mp3");
    Open();
    Main->State.ImportPath = "/somewhere/";
    Responder.FileAnswers.push_back(
        {Source->path() + "/one.mp3", Source->path() + "/fake.mp3", Source->path() + "/two.mp3"});
    Main->ImportBtnClick();
    ASSERT_EQ(Responder.FileDialogs.size(), 1u);
    EXPECT_EQ(Responder.FileDialogs[0].Title, "Import .MP3 files");
    EXPECT_EQ(Responder.FileDialogs[0].InitialDir, "/somewhere/");
    EXPECT_TRUE(Responder.FileDialogs[0].MultiSelect);
    ASSERT_EQ(Responder.Messages.size(), 1u);
    EXPECT_EQ(Responder.Messages[0].Text, "\rSelected file in not mp3. Please select correct one!");
    EXPECT_EQ(Responder.Messages[0].Kind, TMsgDlgType::mtError);
    EXPECT_EQ(Entries(), (QStringList{"one", "two"}));
    EXPECT_EQ(Selected(), "two");
    EXPECT_EQ(Main->State.ImportPath, Source->path() + "/");
    EXPECT_FALSE(QFile::exists(Mp3Dir() + "fake.mp3"));
}

TEST_F(Step1Test, ReplaceQuestionAnswers) {
    // three files already in the MP3 folder with other content
    const QByteArray old = ReadAll(ToneMp3()) + "old";
    for (const char* n : {"a", "b", "c"}) {
        CopyTone(Source->path() + QString("/%1.mp3").arg(n));
        Touch(Mp3Dir() + QString("%1.mp3").arg(n), old);
    }
    const QStringList all = {Source->path() + "/a.mp3", Source->path() + "/b.mp3",
                             Source->path() + "/c.mp3"};
    const QByteArray fresh = ReadAll(ToneMp3());
    struct Case {
        const char* Name;
        std::deque<int> Answers;
        size_t Questions;
        std::array<bool, 3> Replaced;
        bool Refreshed;
    } cases[] = {
        {"yes, no, yes", {mrYes, mrNo, mrYes}, 3, {true, false, true}, true},
        {"yes to all", {mrYesToAll}, 1, {true, true, true}, true},
        {"no to all", {mrNoToAll}, 1, {false, false, false}, true},
        {"yes then cancel", {mrYes, mrCancel}, 2, {true, false, false}, false},
    };
    Open();
    for (const Case& c : cases) {
        for (const char* n : {"a", "b", "c"})
            Touch(Mp3Dir() + QString("%1.mp3").arg(n), old);
        Main->FilesList->clear();
        Responder.Messages.clear();
        Responder.MessageAnswers = c.Answers;
        Responder.FileAnswers.push_back(all);
        Main->ImportBtnClick();
        EXPECT_EQ(Responder.Messages.size(), c.Questions) << c.Name;
        if (!Responder.Messages.empty()) {
            EXPECT_EQ(Responder.Messages[0].Text, "File Exists. Replace?");
            EXPECT_EQ(Responder.Messages[0].Buttons,
                      unsigned(mbYes | mbNo | mbCancel | mbNoToAll | mbYesToAll));
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(ReadAll(Mp3Dir() + QString("%1.mp3").arg(QChar('a' + i))),
                      c.Replaced[i] ? fresh : old)
                << c.Name << " file " << i;
        EXPECT_EQ(Main->FilesList->count() > 0, c.Refreshed) << c.Name;
    }
    EXPECT_FALSE(QFile::exists(Mp3Dir() + "a.mp3.part"));
}

TEST_F(Step1Test, RecordingRefusals) {
    CopyTone(Mp3Dir() + "taken.mp3");
    Open();
    Main->State.CaptureDevice = -1;
    Main->imgRecClick();
    ASSERT_EQ(Responder.Messages.size(), 1u);
    EXPECT_EQ(Responder.Messages.back().Text, "There are not Wave In Devices");
    EXPECT_TRUE(Main->RecRadio->isEnabled() && Main->PlayRadio->isEnabled());

    Main->State.CaptureDevice = 0;
    Main->FnameEdit->clear();
    Main->imgRecClick();
    EXPECT_EQ(Responder.Messages.back().Text, "Must provide a file name");
    EXPECT_EQ(Responder.Messages.back().Kind, TMsgDlgType::mtError);

    Main->ImportFiles();
    Main->FnameEdit->setText("taken");
    Responder.MessageAnswers = {mrCancel};
    Main->imgRecClick();
    EXPECT_EQ(Responder.Messages.back().Text, "File Exists. Replace?");
    EXPECT_EQ(Responder.Messages.back().Kind, TMsgDlgType::mtWarning);
    EXPECT_EQ(Responder.Messages.back().Buttons, unsigned(mbOK | mbCancel));
    EXPECT_TRUE(QFile::exists(Mp3Dir() + "taken.mp3"));
    EXPECT_EQ(Entries(), QStringList{"taken"});
    EXPECT_TRUE(Main->RecRadio->isEnabled());
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{false, false, false, true}));
}

TEST_F(Step1Test, StopWithoutRecordingFileExplainsTheProblem) {
    Open();
    const QString problem = "There was a problem recording your audio. Be sure you're not using "
                            "the Wave In Audio with another program.";
    Main->imgStopClick();
    ASSERT_EQ(Responder.Messages.size(), 1u);
    EXPECT_EQ(Responder.Messages[0].Text, problem);
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{false, false, false, false}));
    QDir(Mp3Dir()).removeRecursively();
    Main->imgStopClick();
    EXPECT_EQ(Responder.Messages.back().Text, problem + "\r\n\r\nMP3 Directory doesn't exists");
}

// Writes a finished recording where the recorder leaves it.
void WriteRecording(const QString& path, int rate, int channels, double seconds) {
    TWaveFileStream w(path);
    w.SetPCMFormat(rate, 16, channels);
    w.Open();
    std::vector<int16_t> pcm(size_t(rate * seconds) * channels);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = int16_t(8000 * std::sin(2 * M_PI * 500 * double(i / channels) / rate));
    w.Write(reinterpret_cast<const char*>(pcm.data()), qint64(pcm.size() * 2));
}

TEST_F(Step1Test, StopConvertsTheRecordingListsItAndAlertsOnce) {
    Open();
    Main->FnameEdit->setText("Fresh take");
    WriteRecording(Main->State.TempWavName, 22050, 1, 1.0);
    std::vector<int> progress;
    QObject::connect(Main->MP3Progress, &QProgressBar::valueChanged,
                     [&progress](int v) { progress.push_back(v); });
    Main->imgStopClick();
    EXPECT_TRUE(QFile::exists(Mp3Dir() + "Fresh take.mp3"));
    EXPECT_FALSE(QFile::exists(Main->State.TempWavName));
    EXPECT_EQ(Selected(), "Fresh take");
    EXPECT_TRUE(Main->PlayRadio->isChecked());
    EXPECT_EQ(Main->State.SourceMode, "play");
    EXPECT_TRUE(Main->Player->IsOpen());
    EXPECT_NE(std::find(progress.begin(), progress.end(), 100), progress.end());
    EXPECT_EQ(Main->MP3Progress->value(), 0);
    ASSERT_EQ(Responder.Alerts.size(), 1u);
    EXPECT_EQ(Responder.Alerts[0].ClassName, "TMessageForm");
    EXPECT_EQ(Responder.Alerts[0].Text,
              "Recording Complete! click play to listen, or click on next to continue. ");

    // ticking the box silences the alert for later recordings
    Main->RecRadio->click();
    Main->FnameEdit->setText("Second take");
    WriteRecording(Main->State.TempWavName, 22050, 1, 0.3);
    Responder.AlertActions.push_back([](QDialog* d) {
        static_cast<TMessageForm*>(d)->NotShowCheckBox->setChecked(true);
        return int(mrOk);
    });
    Main->imgStopClick();
    EXPECT_FALSE(Main->State.AlertRecordingComplete);
    Main->RecRadio->click();
    Main->FnameEdit->setText("Third take");
    WriteRecording(Main->State.TempWavName, 22050, 1, 0.3);
    Main->imgStopClick();
    EXPECT_EQ(Responder.Alerts.size(), 2u);
    EXPECT_EQ(Entries(), (QStringList{"Fresh take", "Second take", "Third take"}));
}

TEST_F(Step1Test, FailedConversionKeepsTheRecording) {
    Open();
    Main->FnameEdit->setText("Lost?");
    Touch(Main->State.TempWavName, QByteArray(20, '\0')); // shorter than a header
    Main->imgStopClick();
    ASSERT_EQ(Responder.Messages.size(), 1u);
    EXPECT_EQ(Responder.Messages[0].Text, "Read Error");
    EXPECT_EQ(Responder.Messages[0].Kind, TMsgDlgType::mtError);
    EXPECT_TRUE(QFile::exists(Main->State.TempWavName));
    EXPECT_TRUE(Responder.Alerts.empty());
    EXPECT_EQ(Main->FilesList->count(), 0);
    EXPECT_EQ(Appearance(), (std::array<bool, 4>{true, false, false, false}));
    EXPECT_TRUE(Main->NextBtn[1]->isEnabled() && Main->RecRadio->isEnabled());
}

} // namespace
