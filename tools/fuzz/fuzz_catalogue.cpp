#include "FuzzFile.h"
#include "shell/TextCatalogue.h"

// Any bytes make a catalogue; every value found keeps to the reading rule's
// limits, and the file reader agrees with the byte reader.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TTextCatalogue cat = TTextCatalogue::FromBytes(bytes);
    const TTextCatalogue fromFile(fuzzFile(data, size));
    const QString missing = QStringLiteral("\x01missing");
    for (const QString& section : cat.Sections()) {
        for (const QString& key : cat.Keys(section)) {
            const QString v = cat.Read(section, key, missing);
            FUZZ_CHECK(v != missing);
            FUZZ_CHECK(v.size() <= TTextCatalogue::kMaxValueLength);
            FUZZ_CHECK(v.isEmpty() || !v.back().isHighSurrogate()); // no half pairs
            FUZZ_CHECK(!v.contains(u'\n') && !v.contains(u'\r'));
            FUZZ_CHECK(fromFile.Read(section.toUpper(), key.toLower(), missing) == v ||
                       section.toUpper().toCaseFolded() != section.toCaseFolded() ||
                       key.toLower().toCaseFolded() != key.toCaseFolded());
        }
    }
    (void)cat.Text(QStringLiteral("Strings"), QStringLiteral("BackBtn"));
    return 0;
}
