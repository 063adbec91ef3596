#include "FuzzFile.h"
#include "audio/ID3v1.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzzFile(data, size);
    TID3v1 tag;
    const bool scanned = tag.ScanFile(path);
    FUZZ_CHECK(scanned == (size >= 128));
    const bool hasTag = size >= 128 && std::memcmp(data + size - 128, "TAG", 3) == 0;
    FUZZ_CHECK(tag.Exists() == hasTag);
    if (!hasTag)
        FUZZ_CHECK(tag.VersionID() == 1 && tag.GenreID() == 255 && tag.Title().isEmpty());
    FUZZ_CHECK(tag.Title().size() <= 30 && tag.Year().size() <= 4);
    FUZZ_CHECK(tag.Comment().size() <= (tag.VersionID() == 2 ? 28 : 30));
    if (tag.VersionID() == 1)
        FUZZ_CHECK(tag.Track() == 0);
    return 0;
}
