// wav2mp3 IN.wav OUT.mp3 RATE CHANNELS KBPS
// Converts a 46-byte-header WAV file as the program does after a recording
// and prints every progress position the conversion sets, one per line.
#include "audio/MP3export.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr, "usage: wav2mp3 IN.wav OUT.mp3 RATE CHANNELS KBPS\n"
                         "  RATE 11025, 22050 or 44100; CHANNELS 1 or 2; KBPS bit rate\n");
    return 2;
}

bool number(const QString& text, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value > 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return usage();
    TMp3Format format;
    if (!number(args[3], format.SampleRate) || !number(args[4], format.Channels) ||
        !number(args[5], format.BitRate) || (format.Channels != 1 && format.Channels != 2))
        return usage();

    TMp3Progress progress;
    progress.SetProgress = [](int value) { std::printf("progress %d\n", value); };
    progress.ProcessEvents = [] { QCoreApplication::processEvents(); };
    try {
        ConvertToMp3(args[1], args[2], format, progress);
    } catch (const TMp3ExportError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "wav2mp3: %s\n", e.what());
        return 1;
    }
    return 0;
}
