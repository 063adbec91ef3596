#include "ClassesRoot.h"
#include "FlashCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using flashcheck::DefaultValue;
using Status = DefaultValue::Status;

namespace {

// What regedit writes: UTF-16LE with a BOM.
QByteArray utf16leWithBom(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

class ClassesRegFile : public ::testing::Test {
  protected:
    DefaultValue lookup(const QByteArray& contents) {
        const QString path = dir.filePath("classes.reg");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();
        return flashcheck::RegFileClassesRoot(path).readDefaultValue(
            QLatin1String(flashcheck::kCurVerKey));
    }
    QTemporaryDir dir;
};

void expectValue(const DefaultValue& value, Status status, const QString& text = {}) {
    EXPECT_EQ(int(value.status), int(status));
    if (status == Status::Read) {
        EXPECT_EQ(value.text, text);
    }
}

} // namespace

TEST_F(ClassesRegFile, ReadsTheDefaultValueOfTheKeyInEveryEncodingRegeditWrites) {
    const QString regedit5 =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash]\r\n"
                       "@=\"Shockwave Flash Object\"\r\n\r\n"
                       "[hkey_classes_root\\shockwaveflash.SHOCKWAVEFLASH\\curver]\r\n"
                       "\"Other\"=\"x.1\"\r\n"
                       "@=\"ShockwaveFlash.ShockwaveFlash.9\"\r\n\r\n"
                       "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer\\Sub]\r\n"
                       "@=\"x.1\"\r\n");
    expectValue(lookup(utf16leWithBom(regedit5)), Status::Read, "ShockwaveFlash.ShockwaveFlash.9");

    // Hand-written: no header, UTF-8 with a BOM, escapes, a comment, blanks around '='.
    expectValue(lookup("\xEF\xBB\xBF; installed by hand\n"
                       "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n"
                       "@ = \"C:\\\\Flash \\\"\xC3\xA9\\\".7\"  \n"),
                Status::Read, QStringLiteral("C:\\Flash \"") + QChar(0xE9) + "\".7");

    // REGEDIT4 files are ANSI: 0xE9 and 0x80 are 1252 characters, not broken UTF-8.
    expectValue(lookup("REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]"
                       "\r\n@=\"Flash\xE9\x80\"\r\n"),
                Status::Read, QStringLiteral("Flash") + QChar(0xE9) + QChar(0x20AC));

    // A key given again later overrides, as an import would.
    expectValue(lookup("[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n@=\"a.6\"\n"
                       "[HKEY_CLASSES_ROOT\\Other]\n@=\"b.9\"\n"
                       "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n@=\"c.8\"\n"),
                Status::Read, "c.8");
}

TEST_F(ClassesRegFile, MissingKeyOrDefaultValueCannotBeOpened) {
    const char* const files[] = {
        // only the parent, a child and a longer name carry values
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash]\n@=\"a.9\"\n"
        "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer\\Sub]\n@=\"b.9\"\n"
        "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVerX]\n@=\"c.9\"\n"
        "[HKEY_LOCAL_MACHINE\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n@=\"d.9\"\n",
        // the key without a default value
        "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n\"@\"=\"e.9\"\n",
        // deleted again further down
        "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n@=\"f.9\"\n"
        "[-HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n",
        "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n@=\"g.9\"\n@=-\n",
        "",
    };
    for (const char* contents : files) {
        SCOPED_TRACE(contents);
        expectValue(lookup(contents), Status::CannotOpen);
    }
    // A file of binary noise is no registry export.
    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 7919) >> 3));
    expectValue(lookup(noise), Status::CannotOpen);
}

TEST_F(ClassesRegFile, MalformedDefaultValueOfTheKeyIsUnreadable) {
    const char* const values[] = {
        "@=\"ShockwaveFlash.ShockwaveFlash.9\n",     // no closing quote
        "@=\"ShockwaveFlash\\ShockwaveFlash.9\"\n",  // unknown escape
        "@=\"ShockwaveFlash.ShockwaveFlash.9\\\"\n", // escaped closing quote
        "@=\"ShockwaveFlash.ShockwaveFlash.9\" x\n", // junk after the value
        "@=dword:00000009\n",                        // not a string
        "@=hex(1):39,00,00,00\n",
        "@\n",
    };
    for (const char* value : values) {
        SCOPED_TRACE(value);
        expectValue(
            lookup(QByteArray("[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n") +
                   value),
            Status::ReadFailed);
    }
}

TEST_F(ClassesRegFile, ValuesAfterABrokenKeyLineDoNotBelongToTheKeyBeforeIt) {
    expectValue(lookup("[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n@=\"a.6\"\n"
                       "[HKEY_CLASSES_ROOT\\Other\n@=\"b.9\"\n"),
                Status::Read, "a.6");
}

TEST(ClassesRegFileSource, AbsentFileOrFolderInItsPlaceCannotBeOpened) {
    QTemporaryDir dir;
    const QString key = QLatin1String(flashcheck::kCurVerKey);
    EXPECT_EQ(int(flashcheck::RegFileClassesRoot(dir.filePath("classes.reg"))
                      .readDefaultValue(key)
                      .status),
              int(Status::CannotOpen));
    ASSERT_TRUE(QDir(dir.path()).mkdir("classes.reg"));
    EXPECT_EQ(int(flashcheck::RegFileClassesRoot(dir.filePath("classes.reg"))
                      .readDefaultValue(key)
                      .status),
              int(Status::CannotOpen));
}

TEST(ClassesRegFileSource, LivesInTheUsersConfigFolder) {
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(flashcheck::RegFileClassesRoot::defaultFilePath(),
              dir.path() + "/flashcheck/classes.reg");
    qputenv("XDG_CONFIG_HOME", saved);
}
