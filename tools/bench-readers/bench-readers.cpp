// bench-readers DIR [PASSES]: scans every .mp3/.mp2 file of DIR with our
// reader (TMPEGaudio::ScanFile, which runs both tag readers too), with all
// that mp3probe runs per file (the reader plus both tag readers on their own),
// and with TagLib's MPEG file properties, in one process, and prints the time
// per file of each and the ratios. The fastest pass of each counts, which
// keeps other load on the machine out of the figures as far as possible.

#include "audio/ID3v1.h"
#include "audio/ID3v2.h"
#include "audio/MPEGaudio.h"

#include <QDir>
#include <QFileInfo>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Result {
    int bitRate = 0;
    double duration = 0;
};

struct Timing {
    double wall = 1e300, cpu = 1e300; // seconds, best pass
};

double cpuNow() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

Result reader(const QString& path) {
    TMPEGaudio mpeg;
    mpeg.ScanFile(path);
    return {mpeg.AudioBitRate(), mpeg.Duration()};
}

Result probe(const QString& path) {
    TMPEGaudio mpeg;
    mpeg.ScanFile(path);
    TID3v2 v2;
    v2.ScanFile(path);
    TID3v1 v1;
    v1.ScanFile(path);
    return {mpeg.AudioBitRate(), mpeg.Duration()};
}

Result taglib(const std::string& path) {
    TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Average);
    const TagLib::MPEG::Properties* p = file.audioProperties();
    if (!p)
        return {};
    return {p->bitrate(), p->lengthInMilliseconds() / 1000.0};
}

void timePass(Timing& t, const std::function<void()>& pass) {
    const auto w0 = std::chrono::steady_clock::now();
    const double c0 = cpuNow();
    pass();
    const double cpu = cpuNow() - c0;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
    t.wall = std::min(t.wall, wall);
    t.cpu = std::min(t.cpu, cpu);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench-readers DIR [PASSES]\n");
        return 2;
    }
    const int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QDir dir(QString::fromLocal8Bit(argv[1]));
    const QFileInfoList infos =
        dir.entryInfoList({"*.mp3", "*.mp2", "*.MP3"}, QDir::Files, QDir::Name);
    if (infos.isEmpty()) {
        std::fprintf(stderr, "bench-readers: no MP3 files in %s\n", argv[1]);
        return 1;
    }
    std::vector<QString> paths;
    std::vector<std::string> nativePaths;
    qint64 bytes = 0;
    for (const QFileInfo& fi : infos) {
        paths.push_back(fi.filePath());
        nativePaths.push_back(fi.filePath().toStdString());
        bytes += fi.size();
    }
    const size_t n = paths.size();

    std::vector<Result> a(n), b(n), c(n);
    Timing ta, tp, tb;
    // One untimed pass each warms the page cache; then they alternate.
    for (size_t i = 0; i < n; ++i) {
        a[i] = reader(paths[i]);
        c[i] = probe(paths[i]);
        b[i] = taglib(nativePaths[i]);
    }
    for (int p = 0; p < passes; ++p) {
        timePass(ta, [&] {
            for (size_t i = 0; i < n; ++i)
                a[i] = reader(paths[i]);
        });
        timePass(tp, [&] {
            for (size_t i = 0; i < n; ++i)
                c[i] = probe(paths[i]);
        });
        timePass(tb, [&] {
            for (size_t i = 0; i < n; ++i)
                b[i] = taglib(nativePaths[i]);
        });
    }

    int sameRate = 0, sameLength = 0;
    for (size_t i = 0; i < n; ++i) {
        sameRate += std::abs(a[i].bitRate - b[i].bitRate) <= 1;
        sameLength += std::abs(a[i].duration - b[i].duration) <= 0.1;
    }
    auto row = [n](const char* what, const Timing& t) {
        std::printf("%-34s %9.1f us/file wall, %9.1f us/file cpu\n", what, t.wall / n * 1e6,
                    t.cpu / n * 1e6);
    };
    std::printf("files: %zu (%.1f MB), passes: %d (best pass counts)\n", n, bytes / 1048576.0,
                passes);
    row("TMPEGaudio::ScanFile", ta);
    row("mp3probe readers (MPEG + 2 tags)", tp);
    row("TagLib MPEG::File (Average)", tb);
    std::printf("ratio TagLib / TMPEGaudio:        %.1fx wall, %.1fx cpu\n", tb.wall / ta.wall,
                tb.cpu / ta.cpu);
    std::printf("ratio TagLib / mp3probe readers:  %.1fx wall, %.1fx cpu\n", tb.wall / tp.wall,
                tb.cpu / tp.cpu);
    std::printf("agreement with TagLib: bit rate within 1 kbit/s %d/%zu, duration within 0.1 s "
                "%d/%zu\n",
                sameRate, n, sameLength, n);
    return 0;
}
