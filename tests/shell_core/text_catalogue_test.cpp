#include "shell/TextCatalogue.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const char kFixture[] = "Orphan=before any section\n"
                        "[Strings]\n"
                        "Plain=Hello\n"
                        "Empty=\n"
                        "Blanks=   padded value   \n"
                        "Tabs=\t tabbed \t\n"
                        "Quoted=\"  keep blanks  \"\n"
                        "Single='  single  '\n"
                        "  QuotedPadded  =   \" inner \"   \n"
                        "QuotedEmpty=\"\"\n"
                        "LoneQuote=\"\n"
                        "OpenQuote=\"half\n"
                        "Mixed=\"mixed'\n"
                        "Doubled=\"\"twice\"\"\n"
                        "Inner=say \"hi\" now\n"
                        "Equals=a=b=c\n"
                        "Spaced Key = v\n"
                        "NoEqualsSign\n"
                        "; Commented=out\n"
                        "[RecOptionsForm]\n"
                        "NextBtn=wrong window\n"
                        "[strings]\n"
                        "Plain=a later duplicate\n"
                        "Later=second block of the same section\n"
                        "[  Padded Section  ]\n"
                        "K=v\n";

} // namespace

TEST(TextCatalogueReader, FollowsTheProfileStringRule) {
    const TTextCatalogue cat = TTextCatalogue::FromBytes(kFixture);
    struct Case {
        const char* Section;
        const char* Key;
        const char* Expected; // the default is always "DEF"
    };
    const Case cases[] = {
        {"Strings", "Plain", "Hello"},
        {"STRINGS", "pLAIN", "Hello"},
        {"Strings", "Missing", "DEF"},
        {"Nowhere", "Plain", "DEF"},
        {"Strings", "Empty", ""},
        {"Strings", "Blanks", "padded value"},
        {"Strings", "Tabs", "tabbed"},
        {"Strings", "Quoted", "  keep blanks  "},
        {"Strings", "Single", "  single  "},
        {"Strings", "QuotedPadded", " inner "},
        {"Strings", "QuotedEmpty", ""},
        {"Strings", "LoneQuote", "\""},
        {"Strings", "OpenQuote", "\"half"},
        {"Strings", "Mixed", "\"mixed'"},
        {"Strings", "Doubled", "\"twice\""}, // one pair only
        {"Strings", "Inner", "say \"hi\" now"},
        {"Strings", "Equals", "a=b=c"},
        {"Strings", "Spaced Key", "v"},
        {"Strings", "NoEqualsSign", "DEF"},
        {"Strings", "Orphan", "DEF"},
        {"Strings", "; Commented", "DEF"},
        {"Strings", "NextBtn", "DEF"}, // given only in another window's section
        {"RecOptionsForm", "NextBtn", "wrong window"},
        {"Strings", "Later", "second block of the same section"},
        {"Padded Section", "K", "v"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cat.Read(c.Section, c.Key, "DEF"), Utf8(c.Expected)) << c.Section << "/" << c.Key;
}

TEST(TextCatalogueReader, LongValuesAreCutAt2047Characters) {
    const QByteArray a3000(3000, 'a');
    const QByteArray b2047(2047, 'b');
    const QByteArray text = "[S]\nLong=" + a3000 + "\nQuotedLong=\"" + a3000 +
                            "\"\nExact=" + b2047 + "\nPadded=   " + b2047 + "   \n";
    const TTextCatalogue cat = TTextCatalogue::FromBytes(text);
    EXPECT_EQ(cat.Read("S", "Long", {}), QString(2047, u'a'));
    EXPECT_EQ(cat.Read("S", "QuotedLong", {}), QString(2047, u'a'));
    EXPECT_EQ(cat.Read("S", "Exact", {}), QString(2047, u'b'));
    EXPECT_EQ(cat.Read("S", "Padded", {}), QString(2047, u'b'));

    // a cut never leaves half of a character made of two UTF-16 units
    const QByteArray emoji = "\xF0\x9F\x98\x80";
    const TTextCatalogue pairs =
        TTextCatalogue::FromBytes("[S]\nE=" + QByteArray(2046, 'x') + emoji);
    EXPECT_EQ(pairs.Read("S", "E", {}), QString(2046, u'x'));
}

TEST(TextCatalogueReader, AcceptsEveryLineEnding) {
    const TTextCatalogue cat = TTextCatalogue::FromBytes("[S]\r\nA=1\r\nB=2\rC=3\nD=4");
    EXPECT_EQ(cat.Read("S", "A", {}), "1");
    EXPECT_EQ(cat.Read("S", "B", {}), "2");
    EXPECT_EQ(cat.Read("S", "C", {}), "3");
    EXPECT_EQ(cat.Read("S", "D", {}), "4");
}

TEST(TextCatalogueReader, ReadsUtf8AndOtherwiseWindows1252) {
    struct Case {
        QByteArray Bytes;
        const char* Expected;
    };
    const Case cases[] = {
        {"[S]\nV=Gr\xC3\xBC\xC3\x9F"
         "e \xE2\x82\xAC",
         "Grüße €"},
        {"\xEF\xBB\xBF[S]\nV=bom", "bom"}, // the mark does not hide the first section
        {"[S]\nV=Gr\xFC\xDF"
         "e \x80 \x93q\x94 \x85",
         "Grüße € “q” …"},
        // one byte that is not UTF-8 makes the whole file 8-bit
        {"[S]\nV=\xC3\xA9 \xE9", "Ã© é"},
        {"[S]\nV=\xED\xA0\x80", "í\u00A0€"}, // an encoded surrogate is not UTF-8
        {"[S]\nV=\xC0\xAF", "À¯"},           // nor an overlong form
        {"[S]\nV=\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TTextCatalogue::FromBytes(c.Bytes).Read("S", "V", "DEF"), Utf8(c.Expected))
            << c.Expected;
}

TEST(TextCatalogueTexts, BuiltInTextsApplyWhereTheFileIsSilent) {
    QTemporaryDir dir;
    const TTextCatalogue none(dir.path() + "/English.ini");
    EXPECT_EQ(none.Text("Strings", "BackBtn"), "<< Back");
    EXPECT_EQ(none.Text("strings", "backbtn"), "<< Back");
    EXPECT_EQ(none.Text("FTPUploadForm", "CancelBtn"), "Cancel");
    EXPECT_EQ(none.Text("Strings", "NoSuchKey"), "");

    // one key, two windows, two designed captions; a file entry labels both
    EXPECT_EQ(none.Text("MessageOKCancelForm", "OkButton"), "Continue");
    EXPECT_EQ(none.Text("MessageOKCancelForm", "OkButton", "TMessageOKCancelForm"), "Continue");
    EXPECT_EQ(none.Text("MessageOKCancelForm", "OkButton", "TMessageCloseForm"), "OK");

    QFile f(dir.path() + "/English.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[MessageOKCancelForm]\nOkButton=Go\n[Strings]\nBackBtn=Zur\xC3\xBC"
            "ck\n"
            "MainFormFileNotExistsDlg0=File \n");
    f.close();
    const TTextCatalogue cat(f.fileName());
    EXPECT_EQ(cat.Text("Strings", "BackBtn"), "Zurück");
    EXPECT_EQ(cat.Text("MessageOKCancelForm", "OkButton", "TMessageCloseForm"), "Go");
    EXPECT_EQ(cat.Text("MessageOKCancelForm", "OkButton", "TMessageOKCancelForm"), "Go");
    // unquoted, the trailing blank of the built-in text is lost
    EXPECT_EQ(cat.Text("Strings", "MainFormFileNotExistsDlg0"), "File");
    EXPECT_EQ(none.Text("Strings", "MainFormFileNotExistsDlg0"), "File ");
}

TEST(TextCatalogueTexts, EveryKeyOfAWindowIsListedOnce) {
    QSet<QString> seen;
    for (const TCatalogueEntry& e : CatalogueDefaults()) {
        const QString id = Utf8(e.Window) + "/" + Utf8(e.Section) + "/" + Utf8(e.Key).toLower();
        EXPECT_FALSE(seen.contains(id)) << id.toStdString();
        seen.insert(id);
        EXPECT_TRUE(*e.Key && *e.Section && *e.Window);
    }
}

// The shipped catalogue and the built-in texts must say the same, key by key.
// A key is left out of the file on purpose when one INI line cannot carry its
// text (a line break) or when two windows read it with different defaults.
void ExpectCatalogueMatchesDefaults(const QString& path) {
    SCOPED_TRACE(path.toStdString());
    ASSERT_TRUE(QFile::exists(path));
    const TTextCatalogue cat(path);

    std::map<std::pair<QString, QString>, QSet<QString>> defaults; // folded section/key -> texts
    std::map<std::pair<QString, QString>, const TCatalogueEntry*> first;
    for (const TCatalogueEntry& e : CatalogueDefaults()) {
        const auto id = std::make_pair(Utf8(e.Section).toLower(), Utf8(e.Key).toLower());
        defaults[id].insert(Utf8(e.Default));
        first.emplace(id, &e);
    }
    for (const auto& [id, texts] : defaults) {
        const TCatalogueEntry& e = *first.at(id);
        const QString text = *texts.begin();
        const bool oneLine = !text.contains(u'\r') && !text.contains(u'\n');
        if (texts.size() == 1 && oneLine)
            EXPECT_EQ(cat.Read(e.Section, e.Key, "<absent>"), text) << e.Section << "/" << e.Key;
        else
            EXPECT_FALSE(cat.HasEntry(e.Section, e.Key))
                << e.Section << "/" << e.Key << " must be left to the built-in texts";
    }
    for (const QString& section : cat.Sections())
        for (const QString& key : cat.Keys(section))
            EXPECT_TRUE(defaults.count({section.toLower(), key.toLower()}))
                << "no built-in text for " << section.toStdString() << "/" << key.toStdString();
}

TEST(ShippedCatalogue, AgreesWithTheBuiltInTexts) {
    const QString source = QStringLiteral(MURMELO_SOURCE_DIR "/assets/English.ini");
    ExpectCatalogueMatchesDefaults(source);

    const QString binDir = qEnvironmentVariable("MURMELO_BIN_DIR");
    if (!binDir.isEmpty() && QFile::exists(binDir + "/English.ini")) {
        EXPECT_EQ(ReadAll(binDir + "/English.ini"), ReadAll(source))
            << "the program folder holds a stale catalogue";
    }
}
