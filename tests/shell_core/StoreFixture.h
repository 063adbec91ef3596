#pragma once
// A store file in a fresh folder of its own, so a test sees every file that
// appears beside it.

#include "shell/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class StoreFolder : public ::testing::Test {
  protected:
    QTemporaryDir tmp;
    QString Dir() const { return tmp.path() + QLatin1String("/Vantrel Software"); }
    QString Path() const { return Dir() + QLatin1String("/Murmelo.net.reg"); }

    void PutFile(const QByteArray& bytes) {
        QDir().mkpath(Dir());
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray FileBytes() const {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList FolderEntries() const {
        return QDir(Dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};
