// Inputs kept from fuzzing (and the fuzzers' seeds) are scanned by every
// reader; each must come back with consistent results.

#include "audio/MPEGaudio.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace {

QStringList inputs() {
    QStringList files;
    for (const char* dir : {MURMELO_READER_REGRESSIONS, MURMELO_READER_SEEDS}) {
        QDirIterator it(QString::fromUtf8(dir), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    files.sort();
    return files;
}

TEST(ReaderRegressions, KeptInputsScanConsistently) {
    const QStringList files = inputs();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const qint64 size = QFileInfo(path).size();
        TMPEGaudio r;
        const bool scanned = r.ScanFile(path);
        if (!r.Frame().Found) {
            EXPECT_FALSE(r.IsValid());
            EXPECT_EQ(r.Duration(), 0);
            EXPECT_FALSE(r.ID3v2().Exists());
            EXPECT_FALSE(r.ID3v1().Exists());
        } else {
            EXPECT_LE(r.Frame().Position, TMPEGaudio::MaxFramePosition);
            EXPECT_TRUE(TMPEGaudio::IsFrameHeader(r.Frame().Data));
            EXPECT_TRUE(std::isfinite(r.Duration()));
            if (!scanned) {
                EXPECT_FALSE(r.VBR().Found);
            }
        }
        TID3v2 v2;
        EXPECT_EQ(v2.ScanFile(path), size >= 10);
        EXPECT_LE(v2.Size(), size);
        TID3v1 v1;
        EXPECT_EQ(v1.ScanFile(path), size >= 128);
    }
}

} // namespace
