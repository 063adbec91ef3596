// mp3probe FILE...: one block of "key: value" lines per file, then an empty
// line, with what TMPEGaudio and the two tag readers hold after their scans.

#include "audio/ID3v1.h"
#include "audio/ID3v2.h"
#include "audio/MPEGaudio.h"

#include <QString>
#include <cstdio>

namespace {

void line(const char* key, const QString& value) {
    std::printf("%s: %s\n", key, value.toUtf8().constData());
}
void line(const char* key, long long value) {
    std::printf("%s: %lld\n", key, value);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: mp3probe FILE...\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const QString fileName = QString::fromLocal8Bit(argv[i]);
        TMPEGaudio mpeg;
        const bool scanned = mpeg.ScanFile(fileName);
        TID3v2 v2;
        v2.ScanFile(fileName);
        TID3v1 v1;
        v1.ScanFile(fileName);

        line("file", fileName);
        line("scan", scanned ? 1 : 0);
        line("valid", mpeg.IsValid() ? 1 : 0);
        line("bitrate", mpeg.AudioBitRate());
        line("duration", QString::number(mpeg.Duration(), 'f', 3));
        line("vbr", mpeg.VBR().Found ? mpeg.VBR().ID : QStringLiteral("none"));
        line("id3v2.exists", v2.Exists() ? 1 : 0);
        line("id3v2.version", v2.VersionID());
        line("id3v2.size", v2.Size());
        line("id3v2.title", v2.Title());
        line("id3v2.artist", v2.Artist());
        line("id3v2.album", v2.Album());
        line("id3v2.year", v2.Year());
        line("id3v2.track", v2.Track());
        line("id3v2.genre", v2.Genre());
        line("id3v2.comment", v2.Comment());
        line("id3v1.exists", v1.Exists() ? 1 : 0);
        line("id3v1.version", v1.VersionID());
        line("id3v1.title", v1.Title());
        line("id3v1.artist", v1.Artist());
        line("id3v1.album", v1.Album());
        line("id3v1.year", v1.Year());
        line("id3v1.comment", v1.Comment());
        line("id3v1.track", v1.Track());
        line("id3v1.genre", v1.GenreID());
        std::printf("\n");
    }
    return 0;
}
