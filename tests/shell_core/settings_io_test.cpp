#include "StoreFixture.h"
#include "shell/SettingsIO.h"

#include <QFileInfo>

namespace {

const QString S = QStringLiteral("Settings");
const QString D = QStringLiteral("Defaults");

struct FormatCase {
    const char* Name;
    std::vector<std::tuple<const char*, const char*, const char*>> Stored; // section, name, text
    int SampleRate, Channels, BitRate;
    int DefSampleRate, DefChannels, DefBitRate;
};

} // namespace

using SettingsIOTest = StoreFolder;

TEST_F(SettingsIOTest, RecordingFormatLoadsDefaultsFirstAndKeepsLowRatesFor11025HzOnly) {
    const FormatCase cases[] = {
        {"nothing stored", {}, 22050, 1, 32, 22050, 1, 32},
        {"16 kbit/s at 22050 Hz",
         {{"Settings", "HZ", "22050"}, {"Settings", "BitRate", "16"}},
         22050,
         1,
         32,
         22050,
         1,
         32},
        {"16 kbit/s at 11025 Hz",
         {{"Settings", "HZ", "11025"}, {"Settings", "BitRate", "16"}},
         11025,
         1,
         16,
         22050,
         1,
         32},
        {"rate from Defaults", {{"Defaults", "HZ", "44100"}}, 44100, 1, 32, 44100, 1, 32},
        {"low default rate at 22050 Hz",
         {{"Defaults", "BitRate", "24"}},
         22050,
         1,
         32,
         22050,
         1,
         24},
        {"low default rate at a default 11025 Hz",
         {{"Defaults", "HZ", "11025"}, {"Defaults", "BitRate", "8"}},
         11025,
         1,
         8,
         11025,
         1,
         8},
        {"stereo", {{"Defaults", "Channels", "2"}}, 22050, 2, 32, 22050, 2, 32},
        {"not a number falls back to the default",
         {{"Defaults", "HZ", "44100"}, {"Settings", "HZ", "fast"}, {"Settings", "Channels", "x"}},
         44100,
         1,
         32,
         44100,
         1,
         32},
        {"values the dialog does not offer are taken as stored",
         {{"Settings", "HZ", "48000"},
          {"Settings", "Channels", "6"},
          {"Settings", "BitRate", "44"}},
         48000,
         6,
         44,
         22050,
         1,
         32},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(Path());
        TSettingsStore store(Path());
        for (const auto& [section, name, text] : c.Stored)
            ASSERT_TRUE(store.WriteString(section, name, text));
        WizardState st;
        st.SampleBits = 8;
        st.MpegVersion = 2;
        LoadRecordingFormat(store, st);
        EXPECT_EQ(st.SampleRate, c.SampleRate);
        EXPECT_EQ(st.Channels, c.Channels);
        EXPECT_EQ(st.BitRate, c.BitRate);
        EXPECT_EQ(st.DefSampleRate, c.DefSampleRate);
        EXPECT_EQ(st.DefChannels, c.DefChannels);
        EXPECT_EQ(st.DefBitRate, c.DefBitRate);
        EXPECT_EQ(st.SampleBits, 16);
        EXPECT_EQ(st.MpegVersion, 1);
    }
}

TEST_F(SettingsIOTest, FoldersDefaultToTheProgramFolder) {
    TSettingsStore store(Path());
    WizardState st;
    LoadFolders(store, st, "/opt/murmelo");
    EXPECT_EQ(st.Mp3Folder, "/opt/murmelo/MP3/");
    EXPECT_EQ(st.GenFolder, "/opt/murmelo/MRL/");
    EXPECT_EQ(st.SwfFolder, "/opt/murmelo/SWF/");

    ASSERT_TRUE(store.WriteString(S, "mp3path", "/home/me/voice/"));
    ASSERT_TRUE(store.WriteString(S, "MRLPath", "/srv/out/"));
    LoadFolders(store, st, "/opt/murmelo/");
    EXPECT_EQ(st.Mp3Folder, "/home/me/voice/");
    EXPECT_EQ(st.GenFolder, "/srv/out/");
    EXPECT_EQ(st.SwfFolder, "/opt/murmelo/SWF/");
}

TEST_F(SettingsIOTest, AccountsAndOptionsTakeTheirDefaultsAndReportEachPlayerFlag) {
    TSettingsStore store(Path());
    std::vector<std::pair<QString, bool>> reported;
    auto record = [&](const QString& n, bool v) { reported.emplace_back(n, v); };

    WizardState st;
    st.FtpHost = "stale";
    st.PlayBtn = st.StopBtn = st.PauseBtn = false;
    st.AutoStart = st.Reseller = st.RemoveLink = true;
    st.AlertUploadComplete = st.AlertMp3FolderChanged = false;
    LoadAccountsAndOptions(store, st, record);
    EXPECT_EQ(st.FtpHost, "");
    EXPECT_TRUE(st.PlayBtn && st.StopBtn && st.PauseBtn);
    EXPECT_FALSE(st.AutoStart || st.Reseller || st.RemoveLink);
    EXPECT_TRUE(st.AlertUploadComplete && st.AlertMp3FolderChanged && st.AlertFtpSettings);
    using R = std::vector<std::pair<QString, bool>>;
    EXPECT_EQ(reported,
              (R{{"PlayBtn", true}, {"StopBtn", true}, {"PauseBtn", true}, {"AutoStart", false}}));

    const std::pair<const char*, const char*> stored[] = {{"FTP", "ftp.example.com"},
                                                          {"User", "me"},
                                                          {"Pass", "pw"},
                                                          {"Folder", "voice"},
                                                          {"URL", "www.example.com/voice"},
                                                          {"UserMRL", "hu"},
                                                          {"PassMRL", "hp"},
                                                          {"URLMRL", "hurl"},
                                                          {"FolderMRL", "hf"},
                                                          {"Affiliate", "aff"},
                                                          {"Reseller", "1"},
                                                          {"Link", "5"},
                                                          {"ImportPath", "/imp/"},
                                                          {"PlayBtn", "0"},
                                                          {"StopBtn", "2"},
                                                          {"PauseBtn", "yes"},
                                                          {"AutoStart", "1"},
                                                          {"FilesCopyPath", "/copy/"}};
    for (const auto& [n, v] : stored)
        ASSERT_TRUE(store.WriteString(S, n, v));
    ASSERT_TRUE(store.WriteBool("Alerts", "Upload Complete", false));
    ASSERT_TRUE(store.WriteString("Alerts", "MP3 Folder Changed", "no"));
    reported.clear();
    LoadAccountsAndOptions(store, st, record);
    EXPECT_EQ(st.FtpHost, "ftp.example.com");
    EXPECT_EQ(st.FtpUser, "me");
    EXPECT_EQ(st.FtpPass, "pw");
    EXPECT_EQ(st.FtpFolder, "voice");
    EXPECT_EQ(st.FtpUrl, "www.example.com/voice");
    EXPECT_EQ(st.HostedUser, "hu");
    EXPECT_EQ(st.HostedPass, "hp");
    EXPECT_EQ(st.HostedUrl, "hurl");
    EXPECT_EQ(st.HostedFolder, "hf");
    EXPECT_EQ(st.Affiliate, "aff");
    EXPECT_TRUE(st.Reseller);
    EXPECT_TRUE(st.RemoveLink);
    EXPECT_EQ(st.ImportPath, "/imp/");
    EXPECT_EQ(st.FilesCopyPath, "/copy/");
    EXPECT_FALSE(st.AlertUploadComplete);
    EXPECT_TRUE(st.AlertMp3FolderChanged) << "not a number: the default";
    EXPECT_EQ(reported,
              (R{{"PlayBtn", false}, {"StopBtn", true}, {"PauseBtn", true}, {"AutoStart", true}}));
}

TEST_F(SettingsIOTest, SavingWritesEveryValueInItsOrderAndLoadsBackTheSameState) {
    WizardState st;
    st.SampleRate = 44100;
    st.Channels = 2;
    st.BitRate = 128;
    st.FtpHost = "ftp.example.com";
    st.FtpUser = "user";
    st.FtpPass = "p=\"w\"\\d";
    st.FtpFolder = "voice";
    st.FtpUrl = "www.example.com/voice/";
    st.HostedUser = "hu";
    st.HostedPass = "hp";
    st.HostedFolder = "hf";
    st.HostedUrl = "hurl";
    st.Affiliate = "aff";
    st.Mp3Folder = "/m/MP3/";
    st.GenFolder = "/m/MRL/";
    st.Reseller = true;
    st.RemoveLink = true;
    st.ImportPath = "/imp/";
    st.PlayBtn = false;
    st.PauseBtn = false;
    st.AutoStart = true;
    st.FilesCopyPath = "/copy/";
    st.AlertFilesGenerated = false;
    st.AlertUploadNotComplete = false;

    TSettingsStore store(Path());
    ASSERT_TRUE(SaveSettings(store, st, true));
    EXPECT_EQ(store.ValueNames(S),
              (QStringList{"HZ",      "Res",     "Channels",  "BitRate",   "WS",
                           "FTP",     "User",    "Pass",      "Folder",    "URL",
                           "UserMRL", "PassMRL", "FolderMRL", "URLMRL",    "Affiliate",
                           "MP3Path", "MRLPath", "Reseller",  "Link",      "ImportPath",
                           "PlayBtn", "StopBtn", "PauseBtn",  "AutoStart", "FilesCopyPath"}));
    EXPECT_EQ(store.ValueNames("Alerts"),
              (QStringList{"FTP Settings", "File Settings", "Files Generated", "Recording Complete",
                           "Upload Not Complete", "Upload Complete", "MP3 Folder Changed"}));
    EXPECT_EQ(store.ReadString(S, "Res", {}), "16");
    EXPECT_EQ(ReadWindowStateWS(store), 2);
    EXPECT_EQ(store.ReadString(S, "PlayBtn", {}), "0");
    EXPECT_EQ(store.ReadString("Alerts", "Files Generated", {}), "0");

    WizardState back;
    LoadFolders(store, back, "/elsewhere/");
    LoadRecordingFormat(store, back);
    LoadAccountsAndOptions(store, back, {});
    EXPECT_EQ(back.SampleRate, 44100);
    EXPECT_EQ(back.Channels, 2);
    EXPECT_EQ(back.BitRate, 128);
    EXPECT_EQ(back.Mp3Folder, st.Mp3Folder);
    EXPECT_EQ(back.GenFolder, st.GenFolder);
    EXPECT_EQ(back.FtpPass, st.FtpPass);
    EXPECT_EQ(back.HostedFolder, "hf");
    EXPECT_EQ(back.HostedUrl, "hurl");
    EXPECT_EQ(back.FilesCopyPath, "/copy/");
    EXPECT_EQ(std::tie(back.Reseller, back.RemoveLink, back.PlayBtn, back.StopBtn, back.PauseBtn,
                       back.AutoStart),
              std::make_tuple(true, true, false, true, false, true));
    EXPECT_EQ(std::tie(back.AlertFtpSettings, back.AlertFileSettings, back.AlertFilesGenerated,
                       back.AlertRecordingComplete, back.AlertUploadNotComplete,
                       back.AlertUploadComplete, back.AlertMp3FolderChanged),
              std::make_tuple(true, true, false, true, false, true, true));

    // emptied texts are written too, and a restored window saves 0
    ASSERT_TRUE(SaveSettings(store, WizardState{}, false));
    EXPECT_EQ(ReadWindowStateWS(store), 0);
    EXPECT_TRUE(store.ValueExists(S, "FTP"));
    EXPECT_EQ(store.ReadString(S, "FTP", "dflt"), "");
    EXPECT_EQ(store.ValueNames(S).size(), 25);
}

TEST_F(SettingsIOTest, SavingReportsAStoreThatCannotBeWritten) {
    // the store's folder would have to be made inside a plain file
    QFile blocker(tmp.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TSettingsStore store(tmp.path() + "/file/Vantrel Software/Murmelo.net.reg");
    EXPECT_FALSE(SaveSettings(store, WizardState{}, false));
    EXPECT_TRUE(QFileInfo(tmp.path() + "/file").isFile());
}

TEST_F(SettingsIOTest, MorePlayersLinkShowsOnlyForExactlyOne) {
    TSettingsStore store(Path());
    EXPECT_FALSE(ShowMorePlayersLink(store));
    const std::pair<const char*, bool> cases[] = {{"1", true},     {"0", false},  {"yes", false},
                                                  {"true", false}, {" 1", false}, {"01", false}};
    for (const auto& [text, shown] : cases) {
        ASSERT_TRUE(store.WriteString(S, "ShowMorePlayersLink", text));
        EXPECT_EQ(ShowMorePlayersLink(store), shown) << text;
    }
}

TEST(WindowValue, OnlyASevenPartValueMarked200IsApplied) {
    struct Case {
        const char* Text;
        std::optional<QRect> Rect;
    };
    const Case cases[] = {
        {"200,0,1,10,20,630,445", QRect(10, 20, 620, 425)},
        {"200,2,3,-100,-5,510,420", QRect(-100, -5, 610, 425)},
        {"200,junk,here,10,20,630,445", QRect(10, 20, 620, 425)}, // parts 2 and 3 are not applied
        {"200,0,1,10,20,630", std::nullopt},
        {"200,0,1,10,20,630,445,1", std::nullopt},
        {"100,0,1,10,20,630,445", std::nullopt},
        {" 200,0,1,10,20,630,445", std::nullopt},
        {"200,0,1,ten,20,630,445", std::nullopt},
        {"200,0,1,10,20,630,", std::nullopt},
        {"200,0,1,630,20,10,445", std::nullopt}, // right left of left
        {"200,0,1,10,20,10,445", std::nullopt},  // no width
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseWindowValue(c.Text), c.Rect) << c.Text;

    const QRect r(-7, 33, 700, 500);
    EXPECT_EQ(FormatWindowValue(2, 1, r), "200,2,1,-7,33,693,533");
    EXPECT_EQ(ParseWindowValue(FormatWindowValue(0, 1, r)), r);
}

TEST(WindowValue, ARectangleBeyondTheDesktopIsMovedBack) {
    const QSize desk(1920, 1080);
    struct Case {
        QRect In, Out;
    };
    const Case cases[] = {
        {{100, 100, 610, 425}, {100, 100, 610, 425}},
        {{1310, 655, 610, 425}, {1310, 655, 610, 425}}, // ends exactly at the edges
        {{1500, 100, 610, 425}, {1310, 100, 610, 425}},
        {{100, 900, 610, 425}, {100, 655, 610, 425}},
        {{5000, 3000, 610, 425}, {1310, 655, 610, 425}},
        {{100, 100, 2000, 425}, {0, 100, 2000, 425}}, // wider: the left edge stays reachable
        {{-3000, -40, 610, 425}, {0, 0, 610, 425}},   // left on a screen that is gone
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitOnDesktop(c.In, desk), c.Out) << c.In.x() << "," << c.In.y();
}
