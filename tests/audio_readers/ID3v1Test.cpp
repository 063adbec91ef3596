#include "audio/ID3v1.h"
#include "Mp3Bytes.h"

using namespace mp3bytes;

namespace {

class ID3v1Test : public ::testing::Test {
  protected:
    // Some audio-like bytes in front, as in a real file.
    QString withTag(const QByteArray& tag) { return files.write("t.mp3", zeros(500) + tag); }
    Files files;
};

TEST_F(ID3v1Test, ReadsVersion10Fields) {
    const QByteArray tag =
        id3v1Tag("Title  ", "Artist", "Album\t", "1987", "A comment of thirty characters", 12);
    TID3v1 r;
    ASSERT_TRUE(r.ScanFile(withTag(tag)));
    EXPECT_TRUE(r.Exists());
    EXPECT_EQ(r.VersionID(), 1);
    EXPECT_EQ(r.Title(), "Title");
    EXPECT_EQ(r.Artist(), "Artist");
    EXPECT_EQ(r.Album(), "Album");
    EXPECT_EQ(r.Year(), "1987");
    EXPECT_EQ(r.Comment(), "A comment of thirty characters");
    EXPECT_EQ(r.Track(), 0);
    EXPECT_EQ(r.GenreID(), 12);
}

TEST_F(ID3v1Test, ReadsVersion11TrackAndShortComment) {
    QByteArray tag = id3v1Tag("T", "A", "B", "2001", "", 255);
    tag.replace(97, 28, padded("twenty-eight characters here", 28));
    tag[125] = 0;
    tag[126] = 7;
    TID3v1 r;
    ASSERT_TRUE(r.ScanFile(withTag(tag)));
    EXPECT_EQ(r.VersionID(), 2);
    EXPECT_EQ(r.Track(), 7);
    EXPECT_EQ(r.Comment(), "twenty-eight characters here");
}

// Bytes 125 and 126 decide the version; both are trimmed from a v1.0 comment.
TEST_F(ID3v1Test, VersionFromCommentTail) {
    struct Case {
        char b125, b126;
        int version;
        int track;
        const char* comment;
    } cases[] = {
        {0, 7, 2, 7, "c"},
        {' ', 'x', 2, 'x', "c"},
        {0, 0, 1, 0, "c"},
        {' ', ' ', 1, 0, "c"},
        {'y', 'z', 1, 0,
         "c"
         "                           "
         "yz"},
    };
    for (const Case& c : cases) {
        QByteArray tag = id3v1Tag("T", "A", "B", "2001", padded("c", 30, ' '), 1);
        tag[125] = c.b125;
        tag[126] = c.b126;
        TID3v1 r;
        ASSERT_TRUE(r.ScanFile(withTag(tag)));
        EXPECT_EQ(r.VersionID(), c.version) << int(c.b125) << "," << int(c.b126);
        EXPECT_EQ(r.Track(), c.track) << int(c.b125) << "," << int(c.b126);
        EXPECT_EQ(r.Comment(), c.comment) << int(c.b125) << "," << int(c.b126);
    }
}

TEST_F(ID3v1Test, TextsAreSingleByteLatin1) {
    const QByteArray tag = id3v1Tag("Caf\xE9", "", "", "", "", 0);
    TID3v1 r;
    ASSERT_TRUE(r.ScanFile(withTag(tag)));
    EXPECT_EQ(r.Title(), QString::fromUtf8("Café"));
}

TEST_F(ID3v1Test, NoTagIsTrueAndCleared) {
    TID3v1 r;
    ASSERT_TRUE(r.ScanFile(withTag(id3v1Tag("Old", "", "", "", "", 3))));
    ASSERT_TRUE(r.Exists());
    // "TAG" only counts in the last 128 bytes.
    ASSERT_TRUE(r.ScanFile(files.write("n.mp3", id3v1Tag("X", "", "", "", "", 3) + zeros(1))));
    EXPECT_FALSE(r.Exists());
    EXPECT_EQ(r.Title(), "");
    EXPECT_EQ(r.VersionID(), 1);
    EXPECT_EQ(r.GenreID(), 255);
}

TEST_F(ID3v1Test, FailsOnShortOrMissingFile) {
    TID3v1 r;
    EXPECT_FALSE(r.ScanFile(files.write("short.mp3", zeros(127))));
    EXPECT_FALSE(r.ScanFile(files.path("missing.mp3")));
    // A bare tag is a whole file.
    EXPECT_TRUE(r.ScanFile(files.write("bare.mp3", id3v1Tag("T", "", "", "", "", 0))));
    EXPECT_TRUE(r.Exists());
}

} // namespace
