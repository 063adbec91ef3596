#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FlashcheckProgram : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(QDir(config.path()).mkpath("flashcheck")); }
    void writeCurVer(const char* value) {
        QFile file(config.filePath("flashcheck/classes.reg"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CLASSES_ROOT\\ShockwaveFlash.ShockwaveFlash\\CurVer]\n@=\"") +
                   value + "\"\n");
    }
    void start(QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
        env.insert("XDG_CONFIG_HOME", config.path());
        process.setProcessEnvironment(env);
        process.start(FLASHCHECK_EXE, {});
        ASSERT_TRUE(process.waitForStarted(10000));
    }
    void TearDown() override {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
    }
    QTemporaryDir config;
    QProcess process;
};

} // namespace

TEST_F(FlashcheckProgram, CurrentPlayerEndsAtOnceWithZeroAndAnOldOneWaitsOnTheQuestion) {
    writeCurVer("ShockwaveFlash.ShockwaveFlash.9");
    start();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);

    // The same program with .10 must stop at the (offscreen) question instead.
    writeCurVer("ShockwaveFlash.ShockwaveFlash.10");
    start();
    EXPECT_FALSE(process.waitForFinished(1500));
}

TEST_F(FlashcheckProgram, WithoutAnyDisplayTheQuestionIsSkippedAndTheExitCodeStaysZero) {
    writeCurVer("ShockwaveFlash.ShockwaveFlash.6");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(name);
    start(env);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
}
