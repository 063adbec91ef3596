#include "FuzzFile.h"
#include "audio/ID3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzzFile(data, size);
    TID3v2 tag;
    const bool scanned = tag.ScanFile(path);
    FUZZ_CHECK(scanned == (size >= 10));
    FUZZ_CHECK(tag.Size() >= 0 && tag.Size() <= static_cast<qint64>(size));
    if (!tag.Exists()) {
        FUZZ_CHECK(tag.Size() == 0 && tag.VersionID() == 0);
        FUZZ_CHECK(tag.Title().isEmpty() && tag.Artist().isEmpty() && tag.Album().isEmpty() &&
                   tag.Comment().isEmpty() && tag.Link().isEmpty() && tag.Track() == 0);
    }
    // Texts are trimmed at both ends.
    for (const QString* s : {&tag.Title(), &tag.Artist(), &tag.Album(), &tag.Composer()}) {
        if (!s->isEmpty())
            FUZZ_CHECK(s->front().unicode() > ' ' && s->back().unicode() > ' ');
    }
    // Each slot holds at most 500 bytes of frame data.
    FUZZ_CHECK(tag.Title().size() <= TID3v2::MaxFrameData);
    FUZZ_CHECK(tag.Year().size() <= TID3v2::MaxFrameData);
    return 0;
}
