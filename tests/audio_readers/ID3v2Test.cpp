#include "audio/ID3v2.h"
#include "Mp3Bytes.h"

using namespace mp3bytes;

namespace {

class ID3v2Test : public ::testing::Test {
  protected:
    // A tag with the given frames, some zero padding and a little audio after.
    TID3v2 scan(int version, const QByteArray& frames) {
        TID3v2 r;
        const QString path =
            files.write("t.mp3", id3v2Tag(version, frames + zeros(20)) + zeros(300));
        EXPECT_TRUE(r.ScanFile(path));
        EXPECT_TRUE(r.Exists());
        return r;
    }
    TID3v2 scan3(std::initializer_list<std::pair<const char*, QByteArray>> frames) {
        QByteArray body;
        for (const auto& [id, data] : frames)
            body += id3v2Frame(3, id, data);
        return scan(3, body);
    }
    Files files;
};

TEST_F(ID3v2Test, SizeFromHeader) {
    auto header = [](uint8_t version, uint8_t flags, QByteArray size) {
        return QByteArray("ID3") + char(version) + char(0) + char(flags) + size;
    };
    struct Case {
        const char* what;
        QByteArray bytes;
        qint64 size;
    } cases[] = {
        {"00 00 02 01", header(3, 0, QByteArray("\0\0\x02\x01", 4)) + zeros(400), 267},
        {"footer flag", header(3, 0x10, QByteArray("\0\0\x02\x01", 4)) + zeros(400), 277},
        {"size bytes taken whole", header(3, 0, QByteArray("\0\0\0\xFF", 4)) + zeros(400), 265},
        {"beyond the file", header(3, 0, QByteArray("\0\0\x02\x01", 4)) + zeros(256), 0},
        {"exactly the file", header(3, 0, QByteArray("\0\0\x02\x01", 4)) + zeros(257), 267},
        {"version 5 keeps its size", header(5, 0, QByteArray("\0\0\x02\x01", 4)) + zeros(400), 267},
    };
    for (const Case& c : cases) {
        TID3v2 r;
        ASSERT_TRUE(r.ScanFile(files.write("s.mp3", c.bytes))) << c.what;
        EXPECT_TRUE(r.Exists()) << c.what;
        EXPECT_EQ(r.Size(), c.size) << c.what;
    }
}

TEST_F(ID3v2Test, NoTagShortAndMissingFiles) {
    TID3v2 r;
    EXPECT_TRUE(r.ScanFile(files.write("plain.mp3", QByteArray("\xFF\xFB\x90\x64") + zeros(20))));
    EXPECT_FALSE(r.Exists());
    EXPECT_EQ(r.Size(), 0);
    EXPECT_FALSE(r.ScanFile(files.write("nine.mp3", QByteArray("ID3\x03\0\0\0\0\0", 9))));
    EXPECT_FALSE(r.Exists());
    EXPECT_FALSE(r.ScanFile(files.path("missing.mp3")));
}

// The same three texts in each version's frame names.
TEST_F(ID3v2Test, ReadsTextFramesOfEachVersion) {
    struct Case {
        int version;
        const char *title, *artist, *album;
    } cases[] = {
        {2, "TT2", "TP1", "TAL"}, {3, "TIT2", "TPE1", "TALB"}, {4, "TIT2", "TPE1", "TALB"}};
    for (const Case& c : cases) {
        const QByteArray body =
            id3v2Frame(c.version, c.title, latin1("  Title ")) +
            id3v2Frame(c.version, c.artist, utf16(QString::fromUtf8("Дмитрий"))) +
            id3v2Frame(c.version, c.album, latin1("Caf\xE9"));
        const TID3v2 r = scan(c.version, body);
        EXPECT_EQ(r.VersionID(), c.version);
        EXPECT_EQ(r.Title(), "Title") << c.version;
        EXPECT_EQ(r.Artist(), QString::fromUtf8("Дмитрий")) << c.version;
        EXPECT_EQ(r.Album(), QString::fromUtf8("Café")) << c.version;
    }
}

TEST_F(ID3v2Test, Utf16Text) {
    struct Case {
        QByteArray data;
        const char* text;
    } cases[] = {
        {QByteArray("\x01\xFF\xFE\x41\x00\x42\x00\x00\x00", 9), "AB"},
        // no byte-order mark: still little-endian
        {QByteArray("\x01\x41\x00\x42\x00", 5), "AB"},
        // stops at the first zero unit
        {QByteArray("\x01\xFF\xFE\x41\x00\x00\x00\x42\x00", 9), "A"},
        // every unit with low byte FF goes, like the mark
        {QByteArray("\x01\xFF\xFE\x41\x00\xFF\x01\x42\x00", 9), "AB"},
        {QByteArray("\x01\xFF\xFE\x20\x00\x41\x00\x20\x00", 9), "A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scan3({{"TIT2", c.data}}).Title(), c.text) << c.data.toHex().constData();
}

TEST_F(ID3v2Test, OtherEncodingsAndCompressedFramesAreIgnored) {
    const TID3v2 r = scan3({{"TIT2", QByteArray("\x03utf8 title", 11)},
                            {"TIT1", latin1("Group title")},
                            {"TPE1", QByteArray("\x02\x00\x41", 3)}});
    EXPECT_EQ(r.Title(), "Group title");
    EXPECT_EQ(r.Artist(), "");

    QByteArray body = id3v2Frame(3, "TALB", latin1("packed"), 0x80) +
                      id3v2Frame(3, "TCOM", latin1("Composer"), 0x40);
    const TID3v2 c = scan(3, body);
    EXPECT_EQ(c.Album(), "");
    EXPECT_EQ(c.Composer(), "Composer");
}

TEST_F(ID3v2Test, FallbackSlotsFillEmptyMainSlots) {
    const TID3v2 r = scan3({{"TIT1", latin1("Group")},
                            {"TOPE", latin1("Original artist")},
                            {"TOAL", latin1("Original album")},
                            {"TDRC", latin1("2004-05-06")}});
    EXPECT_EQ(r.Title(), "Group");
    EXPECT_EQ(r.Artist(), "Original artist");
    EXPECT_EQ(r.Album(), "Original album");
    EXPECT_EQ(r.Year(), "2004");

    const TID3v2 m = scan3({{"TIT1", latin1("Group")},
                            {"TIT2", latin1("Main")},
                            {"TDRC", latin1("2004")},
                            {"TYER", latin1("1999")}});
    EXPECT_EQ(m.Title(), "Main");
    EXPECT_EQ(m.Year(), "1999");
}

TEST_F(ID3v2Test, DerivedFields) {
    struct Case {
        QByteArray track;
        int number;
        QByteArray genre;
        const char* genreText;
    } cases[] = {
        {"3/12", 3, "(17)Rock", "Rock"}, {"7", 7, "(17)", ""},        {"x/9", 0, "Pop", "Pop"},
        {"", 0, "(1)(2)Jazz", "Jazz"},   {"12a", 0, "Me)tal", "tal"},
    };
    for (const Case& c : cases) {
        const TID3v2 r = scan3({{"TRCK", latin1(c.track)}, {"TCON", latin1(c.genre)}});
        EXPECT_EQ(r.Track(), c.number) << c.track.constData();
        EXPECT_EQ(r.TrackString(), QString::fromLatin1(c.track));
        EXPECT_EQ(r.Genre(), c.genreText) << c.genre.constData();
    }
}

TEST_F(ID3v2Test, CommentAndLinkDropTheirDescription) {
    const QByteArray latinComment = QByteArray("\0engd\0Hello", 11);
    // UTF-16 description "A" (41 00) then separator 00 00: the zero after 41
    // must not be taken for half the separator.
    const QByteArray utf16Comment = QByteArray("\x01"
                                               "eng",
                                               4) +
                                    utf16("A").mid(1) + QByteArray(2, '\0') + utf16("Hi").mid(1);
    const QByteArray link = QByteArray("\0homepage\0http://example.org/", 29);
    struct Case {
        QByteArray data;
        const char* comment;
    } cases[] = {{latinComment, "Hello"},
                 {utf16Comment, "Hi"},
                 {QByteArray("\x01"
                             "eng\xFF\xFE\0\0\xFF\xFEO\0k\0",
                             14),
                  "Ok"}};
    for (const Case& c : cases) {
        const TID3v2 r = scan3({{"COMM", c.data}, {"WXXX", link}});
        EXPECT_EQ(r.Comment(), c.comment) << c.data.toHex().constData();
        EXPECT_EQ(r.Link(), "http://example.org/");
    }
    const TID3v2 v2 = scan(2, id3v2Frame(2, "COM", latinComment) + id3v2Frame(2, "WXX", link));
    EXPECT_EQ(v2.Comment(), "Hello");
    EXPECT_EQ(v2.Link(), "http://example.org/");
}

TEST_F(ID3v2Test, OtherSlots) {
    const TID3v2 r = scan3({{"TCOM", latin1("Composer")},
                            {"TENC", latin1("Encoder")},
                            {"TCOP", latin1("(c) 2004")},
                            {"TLAN", latin1("eng")}});
    EXPECT_EQ(r.Composer(), "Composer");
    EXPECT_EQ(r.Encoder(), "Encoder");
    EXPECT_EQ(r.Copyright(), "(c) 2004");
    EXPECT_EQ(r.Language(), "eng");
}

TEST_F(ID3v2Test, FrameWalk) {
    // A later frame replaces an earlier one; a long frame is cut to its first
    // 500 bytes and the walk goes on after its whole data.
    const TID3v2 r = scan3({{"TIT2", latin1("first")},
                            {"TALB", latin1(QByteArray(700, 'a'))},
                            {"TIT2", latin1("second")},
                            {"TPE1", latin1("after")}});
    EXPECT_EQ(r.Title(), "second");
    EXPECT_EQ(r.Album(), QString(499, u'a'));
    EXPECT_EQ(r.Artist(), "after");

    // A frame name not starting with A-Z (padding, garbage) ends the walk.
    const QByteArray body = id3v2Frame(3, "TIT2", latin1("kept")) +
                            id3v2Frame(3, "tPE1", latin1("lower")) +
                            id3v2Frame(3, "TALB", latin1("never"));
    const TID3v2 s = scan(3, body);
    EXPECT_EQ(s.Title(), "kept");
    EXPECT_EQ(s.Album(), "");

    // Frames past the tag's end are not read.
    QByteArray tag = id3v2Tag(3, id3v2Frame(3, "TIT2", latin1("in")));
    tag += id3v2Frame(3, "TPE1", latin1("out"));
    TID3v2 t;
    ASSERT_TRUE(t.ScanFile(files.write("o.mp3", tag + zeros(100))));
    EXPECT_EQ(t.Title(), "in");
    EXPECT_EQ(t.Artist(), "");
}

TEST_F(ID3v2Test, FramesOfUnknownVersionsAreNotRead) {
    for (int version : {0, 1, 5}) {
        const TID3v2 r = scan(version, id3v2Frame(3, "TIT2", latin1("Title")));
        EXPECT_GT(r.Size(), 0);
        EXPECT_EQ(r.Title(), "") << version;
    }
}

TEST_F(ID3v2Test, TruncatedFrameDataKeepsWhatWasRead) {
    // The tag's own size is fine, but a frame claims more than the file holds.
    QByteArray f = id3v2Frame(3, "TIT2", latin1("Short"));
    f.replace(4, 4, be32(100000));
    TID3v2 r;
    ASSERT_TRUE(r.ScanFile(files.write("c.mp3", id3v2Tag(3, f))));
    EXPECT_EQ(r.Title(), "Short");
}

TEST_F(ID3v2Test, RescanClears) {
    TID3v2 r = scan3({{"TIT2", latin1("Title")}});
    ASSERT_TRUE(r.ScanFile(files.write("plain.mp3", zeros(100))));
    EXPECT_FALSE(r.Exists());
    EXPECT_EQ(r.Title(), "");
    EXPECT_EQ(r.VersionID(), 0);
}

} // namespace
