#include "FuzzFile.h"
#include "shell/SettingsStore.h"

// Whatever the file holds, the store reads it without failing, and what it
// writes back parses cleanly and stays the same when read and written again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TStoreKey top = ParseStoreText(bytes);
    const QByteArray written = FormatStoreText(top);
    bool damaged = true;
    const TStoreKey again = ParseStoreText(written, &damaged);
    FUZZ_CHECK(!damaged);
    FUZZ_CHECK(FormatStoreText(again) == written);

    // and through a real file, as the program reads it
    const TSettingsStore store(fuzzFile(data, size), QStringLiteral("Multiple"));
    const QStringList subs = store.SubSections(QStringLiteral("Folders"));
    const TSettingsStore folders = store.Below(QStringLiteral("Folders"));
    // every read parses the whole file again: a few names are enough
    for (const QString& name : subs.mid(0, 4))
        FUZZ_CHECK(folders.ReadInteger(name, QStringLiteral("HZ"), 7) == 7 ||
                   folders.ValueExists(name, QStringLiteral("HZ")));
    return 0;
}
