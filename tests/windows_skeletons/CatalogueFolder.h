#pragma once
// A program folder of the test's own, optionally holding an English.ini, so a
// window created inside the test reads exactly the catalogue the test wrote.

#include "platform/ProgramFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class CatalogueFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        SetProgramFolderForTests(Dir.path());
    }
    void TearDown() override { SetProgramFolderForTests(QString()); }

    void WriteCatalogue(const QByteArray& ini) {
        QFile f(Dir.filePath(QStringLiteral("English.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }

    QTemporaryDir Dir;
};
