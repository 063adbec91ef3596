#include "FlashCheck.h"
#include "DesktopPrompt.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

using flashcheck::DefaultValue;
using Status = DefaultValue::Status;

namespace {

const QString kPrefix = QStringLiteral("ShockwaveFlash.ShockwaveFlash.");

QString ofLength(int length, QChar last) {
    return QString(length - 1, u'x') + last;
}

DefaultValue read(const QString& text) {
    return {Status::Read, text};
}

} // namespace

TEST(FlashVersionRule, JudgesTheLastCharacterOfAValueThatFitsTheBuffer) {
    struct Case {
        const char* what;
        DefaultValue value;
        bool current;
    };
    const Case cases[] = {
        {".7 is the oldest current", read(kPrefix + "7"), true},
        {".9", read(kPrefix + "9"), true},
        {".6", read(kPrefix + "6"), false},
        {".10 ends in 0", read(kPrefix + "10"), false},
        {"codes above '7' pass, digit or not", read(kPrefix + "A"), true},
        {"78 characters fit with the zero", read(ofLength(78, u'9')), true},
        {"79 characters do not", read(ofLength(79, u'9')), false},
        {"empty value has no last character", read(QString()), false},
        {"e-acute is above 127, so smaller", read(kPrefix + QChar(0xE9)), false},
        {"euro sign is 0x80 in 1252", read(kPrefix + QChar(0x20AC)), false},
        {"fullwidth seven has no 8-bit code", read(kPrefix + QChar(0xFF17)), false},
        // A surrogate pair is one character and one byte: 78 characters, 79 UTF-16 units.
        {"buffer counts 8-bit bytes",
         read(QString(76, u'x') + QString::fromUcs4(U"\U0001F600") + u'9'), true},
        {"key missing", DefaultValue{Status::CannotOpen, kPrefix + "9"}, false},
        {"value unreadable", DefaultValue{Status::ReadFailed, kPrefix + "9"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(flashcheck::flashIsCurrent(c.value), c.current);
    }
}

TEST(FlashVersionRule, EightBitTextIsWindows1252WithASubstituteForTheRest) {
    const QString text = QStringLiteral("a") + QChar(0xE9) + QChar(0x20AC) + QChar(0x2122) +
                         QString::fromUcs4(U"\U0001F600") + QChar(0x4E00) + QChar(0xD800);
    EXPECT_EQ(flashcheck::toAnsiBytes(text), QByteArray("a\xE9\x80\x99\x1A\x1A\x1A"));
}

namespace {

class FixedRoot : public flashcheck::ClassesRoot {
  public:
    explicit FixedRoot(DefaultValue value) : m_value(std::move(value)) {}
    DefaultValue readDefaultValue(const QString& keyPath) const override {
        keys.append(keyPath);
        return m_value;
    }
    mutable QStringList keys;

  private:
    DefaultValue m_value;
};

class RecordingPrompt : public flashcheck::DownloadPrompt {
  public:
    explicit RecordingPrompt(bool answer) : m_answer(answer) {}
    bool askYesNo(const QString& text, const QString& caption) override {
        questions.append({text, caption});
        return m_answer;
    }
    void openAddress(const QUrl& address) override { opened.append(address); }

    QList<QPair<QString, QString>> questions;
    QList<QUrl> opened;

  private:
    bool m_answer;
};

const QString kQuestion = QStringLiteral(
    "You do not have the latest Macromedia Flash player would you like to download it now?");
const QString kCaption = QStringLiteral("Latest Flash Not Found");

} // namespace

TEST(FlashCheckRun, CurrentPlayerEndsWithoutAsking) {
    FixedRoot root(read(kPrefix + "9"));
    RecordingPrompt prompt(true);
    EXPECT_EQ(flashcheck::runFlashCheck(root, prompt), 0);
    EXPECT_EQ(root.keys, QStringList{QStringLiteral("ShockwaveFlash.ShockwaveFlash\\CurVer")});
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_TRUE(prompt.opened.isEmpty());
}

TEST(FlashCheckRun, OldOrMissingPlayerAsksAndOpensTheDownloadPageOnlyOnYes) {
    for (const DefaultValue& value : {read(kPrefix + "6"), DefaultValue{}}) {
        for (bool yes : {true, false}) {
            SCOPED_TRACE(yes ? "Yes" : "No");
            FixedRoot root(value);
            RecordingPrompt prompt(yes);
            EXPECT_EQ(flashcheck::runFlashCheck(root, prompt), 0);
            ASSERT_EQ(prompt.questions.size(), 1);
            EXPECT_EQ(prompt.questions[0].first, kQuestion);
            EXPECT_EQ(prompt.questions[0].second, kCaption);
            if (yes) {
                ASSERT_EQ(prompt.opened.size(), 1);
                EXPECT_EQ(prompt.opened[0].toString(),
                          "http://www.macromedia.com/shockwave/download/"
                          "download.cgi?P1_Prod_Version=ShockwaveFlash");
            } else {
                EXPECT_TRUE(prompt.opened.isEmpty());
            }
        }
    }
}

TEST(FlashDesktopPrompt, AsksWithAnIconlessOwnerlessYesNoBox) {
    for (auto [button, expected] :
         {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        bool inspected = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            inspected = true;
            EXPECT_EQ(box->windowTitle(), kCaption);
            EXPECT_EQ(box->text(), kQuestion);
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            EXPECT_EQ(box->parentWidget(), nullptr);
            box->button(button)->click();
        });
        poll.start(10);
        flashcheck::DesktopPrompt prompt;
        EXPECT_EQ(prompt.askYesNo(kQuestion, kCaption), expected);
        EXPECT_TRUE(inspected);
    }
}
