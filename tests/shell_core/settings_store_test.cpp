#include "StoreFixture.h"

#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString S = QStringLiteral("Settings");

struct NumberCase {
    const char* Stored;
    int AsInteger; // read with default 99
    bool TrueDef;  // read as boolean with default true
    bool FalseDef; // read as boolean with default false
};

} // namespace

using SettingsStoreTest = StoreFolder;

TEST_F(SettingsStoreTest, IntegersAndBooleansAreReadFromTheirStoredText) {
    const NumberCase cases[] = {
        {"0", 0, false, false},
        {"2", 2, true, true},
        {"-1", -1, true, true},
        {"+5", 5, true, true},
        {"007", 7, true, true},
        {"2147483647", 2147483647, true, true},
        {"yes", 99, true, false},
        {"", 99, true, false},
        {"12abc", 99, true, false},
        {"0x10", 99, true, false},
        {"1.5", 99, true, false},
        {"2147483648", 99, true, false}, // out of range is not a number either
        {"-", 99, true, false},
    };
    TSettingsStore store(Path());
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.Stored);
        ASSERT_TRUE(store.WriteString(S, "V", QString::fromUtf8(c.Stored)));
        EXPECT_EQ(store.ReadInteger(S, "V", 99), c.AsInteger);
        EXPECT_EQ(store.ReadBool(S, "V", true), c.TrueDef);
        EXPECT_EQ(store.ReadBool(S, "V", false), c.FalseDef);
    }
}

TEST_F(SettingsStoreTest, ValuesAreStoredAsTheirTextsUnderTheProductKey) {
    TSettingsStore store(Path());
    ASSERT_TRUE(store.WriteInteger(S, "HZ", -5));
    ASSERT_TRUE(store.WriteBool(S, "PlayBtn", true));
    ASSERT_TRUE(store.WriteBool(S, "AutoStart", false));
    ASSERT_TRUE(store.WriteString(S, "Pass", "open sesame"));
    EXPECT_EQ(store.ReadString(S, "HZ", {}), "-5");
    EXPECT_EQ(store.ReadString(S, "PlayBtn", {}), "1");
    EXPECT_EQ(store.ReadString(S, "AutoStart", {}), "0");

    // readable by a person, and by the format's own rules
    const QByteArray text = FileBytes();
    EXPECT_TRUE(text.contains("[Software\\Vantrel Software\\Murmelo.net\\Settings]\n"
                              "\"HZ\"=\"-5\"\n\"PlayBtn\"=\"1\"\n\"AutoStart\"=\"0\"\n"
                              "\"Pass\"=\"open sesame\"\n"))
        << text.constData();
}

TEST_F(SettingsStoreTest, AbsentFileSectionOrValueGivesTheDefaultAndReadingCreatesNothing) {
    TSettingsStore store(Path());
    EXPECT_FALSE(store.KeyExists());
    EXPECT_EQ(store.ReadString(S, "FTP", "dflt"), "dflt");
    EXPECT_EQ(store.ReadInteger(S, "HZ", 22050), 22050);
    EXPECT_TRUE(store.ReadBool("Alerts", "Upload Complete", true));
    EXPECT_TRUE(store.SubSections("Folders").isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Dir())) << "a read must not create the folder or the file";

    ASSERT_TRUE(store.WriteString(S, "FTP", "ftp.example.com"));
    EXPECT_TRUE(store.KeyExists());
    EXPECT_EQ(store.ReadString(S, "User", "u"), "u");
    EXPECT_EQ(store.ReadString("Defaults", "FTP", "d"), "d");
    EXPECT_FALSE(TSettingsStore(Path(), "Multiple").KeyExists());
}

TEST_F(SettingsStoreTest, NamesMatchWithoutRegardToCase) {
    TSettingsStore store(Path());
    ASSERT_TRUE(store.WriteString(S, "filescopypath", "/a/"));
    EXPECT_EQ(store.ReadString("SETTINGS", "FilesCopyPath", {}), "/a/");

    ASSERT_TRUE(store.WriteString("settings", "FilesCopyPath", "/b/"));
    EXPECT_EQ(store.ReadString(S, "FILESCOPYPATH", {}), "/b/");
    // one value, keeping the spelling it was created with
    EXPECT_EQ(store.ValueNames(S), QStringList{"filescopypath"});
    EXPECT_EQ(TSettingsStore(Path()).SubSections({}), QStringList{"Settings"});
}

TEST_F(SettingsStoreTest, EveryWriteKeepsTheValuesOthersWroteMeanwhile) {
    TSettingsStore main(Path());
    TSettingsStore profiles(Path(), "Multiple\\Ftp");
    ASSERT_TRUE(main.WriteString(S, "FTP", "one"));
    ASSERT_TRUE(profiles.WriteString("Site A", "FTP", "two"));
    // a change made behind the store's back (by hand, or another store object)
    PutFile(FileBytes() +
            "[Software\\Vantrel Software\\Murmelo.net\\Defaults]\n\"HZ\"=\"44100\"\n");
    ASSERT_TRUE(main.WriteString(S, "User", "three"));

    TSettingsStore fresh(Path());
    EXPECT_EQ(fresh.ReadString(S, "FTP", {}), "one");
    EXPECT_EQ(fresh.ReadString(S, "User", {}), "three");
    EXPECT_EQ(fresh.ReadInteger("Defaults", "HZ", 0), 44100);
    EXPECT_EQ(TSettingsStore(Path(), "Multiple").Below("Ftp").ReadString("Site A", "FTP", {}),
              "two");
}

// Profile names are whatever the user types; value names and texts likewise
// must come back exactly.
TEST_F(SettingsStoreTest, AnyNameAndTextRoundTrips) {
    const QString names[] = {
        "Site A",
        "[Settings]",
        "a]b[c",
        "back\\slash",
        "\\",
        "trailing\\",
        "x=y",
        "\"quoted\"",
        "\"",
        "'single'",
        "  leading and trailing  ",
        " ",
        "line\nbreak",
        "cr\rlf\r\n",
        "tab\there",
        "Grüße aus Köln – 東京 😀",
        QString(QChar(0xD800)) + "lone surrogate",
        QString(QChar(0x2028)) + "separator" + QChar(0xFEFF),
        "; not a comment",
        "# nor this",
        "Murmelo Settings Store 1",
        "\\u0041 literally",
        "[Software\\Vantrel Software\\Murmelo.net\\Settings]",
    };
    TSettingsStore folders(Path(), "Multiple\\Folders");
    for (const QString& n : names) {
        ASSERT_TRUE(folders.WriteString(n, "MP3Path", n));
        ASSERT_TRUE(folders.WriteString(S, n, n));
    }

    TSettingsStore fresh(Path(), "Multiple");
    QStringList listed = fresh.SubSections("Folders");
    QStringList expected(std::begin(names), std::end(names));
    expected.append(S);
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
    const TSettingsStore profile = fresh.Below("Folders");
    for (const QString& n : names) {
        SCOPED_TRACE(n.toStdString());
        EXPECT_EQ(profile.ReadString(n, "MP3Path", "missing"), n);
        EXPECT_EQ(profile.ReadString(S, n, "missing"), n);
    }
    // nothing leaked into the real settings
    EXPECT_EQ(TSettingsStore(Path()).ReadString(S, "MP3Path", "none"), "none");

    bool damaged = true;
    ParseStoreText(FileBytes(), &damaged);
    EXPECT_FALSE(damaged) << "the file the store writes must parse cleanly";
}

TEST_F(SettingsStoreTest, EraseSectionRemovesOnlyThatKeyWithEverythingBelow) {
    TSettingsStore folders(Path(), "Multiple\\Folders");
    ASSERT_TRUE(folders.WriteString("a", "HZ", "1"));
    ASSERT_TRUE(folders.WriteString("a\\b", "HZ", "2"));
    ASSERT_TRUE(folders.Below("a").WriteString("deeper", "HZ", "3"));
    ASSERT_TRUE(folders.WriteString("ab", "HZ", "4"));

    ASSERT_TRUE(folders.EraseSection("A"));
    EXPECT_EQ(folders.ReadString("a", "HZ", "gone"), "gone");
    EXPECT_EQ(folders.Below("a").ReadString("deeper", "HZ", "gone"), "gone");
    EXPECT_EQ(folders.ReadString("a\\b", "HZ", {}), "2");
    EXPECT_EQ(folders.ReadString("ab", "HZ", {}), "4");

    EXPECT_TRUE(folders.EraseSection("never existed"));
    EXPECT_TRUE(TSettingsStore(tmp.path() + "/none.reg").EraseSection("x"));
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/none.reg"));
}

TEST_F(SettingsStoreTest, SubSectionsAreListedInRegistryOrder) {
    TSettingsStore ftp(Path(), "Multiple\\Ftp");
    for (const char* n : {"beta", "Alpha", "gamma", "Current Settings", "alpha2"})
        ASSERT_TRUE(ftp.WriteString(n, "FTP", "x"));
    EXPECT_EQ(TSettingsStore(Path(), "Multiple").SubSections("Ftp"),
              (QStringList{"Alpha", "alpha2", "beta", "Current Settings", "gamma"}));
}

TEST_F(SettingsStoreTest, DamagedLinesAreSkippedAndTheRestIsKept) {
    static const char text[] =
        "Murmelo Settings Store 1\r\n"
        "[Software\\Vantrel Software\\Murmelo.net\\Settings]\r\n"
        "\"FTP\"=\"good\"\r\n"
        "\"User\"=\"unterminated\r\n"
        "\"Pass\"=\"bad \\q escape\"\n"
        "\"Folder\"=\"short \\u12\"\n"
        "\"URL\"=\"x\" trailing junk\n"
        "garbage line\n"
        "\x00\x01\xff\xfe binary\n"
        "[Software\\Vantrel Software\\Murmelo.net\\Defaults\n" // broken key line
        "\"HZ\"=\"11025\"\n"                                   // must not land in Settings
        "[Software\\\\Murmelo.net]\n"
        "[Software\\Vantrel Software\\Murmelo.net\\Alerts]\n"
        "  \"Upload Complete\" = \"0\"  \n"
        "\"FTP Settings\"=\"0"; // cut off mid-line
    PutFile(QByteArray(text, sizeof(text) - 1));
    TSettingsStore store(Path());
    EXPECT_TRUE(store.KeyExists());
    EXPECT_EQ(store.ReadString(S, "FTP", {}), "good");
    for (const char* n : {"User", "Pass", "Folder", "URL", "HZ"})
        EXPECT_EQ(store.ReadString(S, n, "dflt"), "dflt") << n;
    EXPECT_EQ(store.ReadInteger("Defaults", "HZ", 22050), 22050);
    EXPECT_FALSE(store.ReadBool("Alerts", "Upload Complete", true));
    EXPECT_TRUE(store.ReadBool("Alerts", "FTP Settings", true));

    // a write over it keeps the good values and leaves a clean file
    ASSERT_TRUE(store.WriteString(S, "User", "me"));
    bool damaged = true;
    ParseStoreText(FileBytes(), &damaged);
    EXPECT_FALSE(damaged);
    EXPECT_EQ(store.ReadString(S, "FTP", {}), "good");
    EXPECT_FALSE(store.ReadBool("Alerts", "Upload Complete", true));
}

TEST_F(SettingsStoreTest, AFileThatIsNotAStoreReadsAsDefaults) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) >> 3));
    PutFile(junk);
    TSettingsStore store(Path());
    EXPECT_FALSE(store.KeyExists());
    EXPECT_EQ(store.ReadInteger(S, "HZ", 22050), 22050);
    EXPECT_TRUE(store.SubSections({}).isEmpty());
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeReadIsNeverReplaced) {
    // something at the store's place that is not a readable file
    ASSERT_TRUE(QDir().mkpath(Path()));
    TSettingsStore store(Path());
    EXPECT_EQ(store.ReadString(S, "FTP", "d"), "d");
    EXPECT_FALSE(store.WriteString(S, "FTP", "x"));
    EXPECT_FALSE(store.EraseSection(S));
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

namespace {
// Lowers the file size limit for one scope, so that writing the store fails
// half-way like on a full disk.
struct FileSizeLimit {
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN); // get EFBIG instead of a signal
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};
} // namespace

TEST_F(SettingsStoreTest, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
    TSettingsStore store(Path());
    ASSERT_TRUE(store.WriteString(S, "FTP", "ftp.example.com"));
    ASSERT_TRUE(store.WriteString(S, "Pass", "secret"));
    const QByteArray before = FileBytes();
    {
        FileSizeLimit limit(before.size() + 64);
        EXPECT_FALSE(store.WriteString(S, "Affiliate", QString(20000, u'x')));
    }
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(FolderEntries(), QStringList{"Murmelo.net.reg"});
    EXPECT_EQ(store.ReadString(S, "Pass", {}), "secret");
}

TEST_F(SettingsStoreTest, TheStoreIsReadableByItsOwnerOnly) {
    const mode_t oldMask = ::umask(022);
    TSettingsStore store(Path());
    ASSERT_TRUE(store.WriteString(S, "Pass", "secret"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(Path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(Dir()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u) << "the folder made for the store";

    // a file someone opened up is closed again by the next write
    ASSERT_EQ(::chmod(QFile::encodeName(Path()).constData(), 0644), 0);
    ASSERT_TRUE(store.WriteString(S, "Pass", "other"));
    ASSERT_EQ(::stat(QFile::encodeName(Path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    ::umask(oldMask);
}

TEST(SettingsStorePath, LivesInTheUsersConfigFolder) {
    QTemporaryDir home;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    EXPECT_EQ(TSettingsStore::DefaultFilePath(), home.path() + "/Vantrel Software/Murmelo.net.reg");
    if (old.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", old);
}
