#pragma once

// The readers take a path, so each input goes through a real file, as the
// program reads it: one temporary file per fuzzing process, rewritten for
// every input.

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

inline QString fuzzFile(const uint8_t* data, size_t size) {
    static int fd = -1;
    static QString path;
    if (fd < 0) {
        const char* dir = std::getenv("TMPDIR");
        QByteArray name = QByteArray(dir && *dir ? dir : "/tmp") + "/murmelo-fuzz-XXXXXX";
        fd = mkstemp(name.data());
        if (fd < 0) {
            std::perror("mkstemp");
            std::abort();
        }
        path = QString::fromLocal8Bit(name);
        // Removed when the process ends; the open descriptor keeps writing.
        std::atexit([] { unlink(path.toLocal8Bit().constData()); });
    }
    if (ftruncate(fd, 0) != 0 ||
        (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))) {
        std::perror("writing the fuzz input");
        std::abort();
    }
    return path;
}

// A broken invariant is a finding: stop with a message libFuzzer keeps.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);         \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
