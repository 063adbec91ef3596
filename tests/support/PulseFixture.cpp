#include "PulseFixture.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace murmelo::test {

namespace {

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string p = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= p.size()) {
        const size_t end = p.find(':', start);
        const std::string dir =
            p.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return {};
}

bool Exited(pid_t pid, int* status) {
    return waitpid(pid, status, WNOHANG) == pid;
}

std::string ReadFile(const std::string& path) {
    std::string out;
    if (FILE* f = std::fopen(path.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, n);
        std::fclose(f);
    }
    return out;
}

} // namespace

bool PulseFixture::Installed() {
    return !FindOnPath("pulseaudio").empty();
}

PulseFixture& PulseFixture::Global() {
    static PulseFixture fixture;
    return fixture;
}

bool ListingTestsOnly() {
    return GTEST_FLAG_GET(list_tests);
}

PulseFixture::~PulseFixture() {
    Stop();
}

int PulseFixture::Pactl(const std::string& args, std::string* output) const {
    const std::string cmd = "PULSE_SERVER='" + server_ + "' pactl " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    std::string out;
    char buf[1024];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int status = pclose(p);
    if (output)
        *output = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool PulseFixture::Start(const PulseOptions& options) {
    Stop();
    options_ = options;
    toneHz_.store(options.ToneHz);
    fed_.store(0);
    error_.clear();

    char tmpl[] = "/tmp/murmelo-pulse-XXXXXX";
    if (!mkdtemp(tmpl)) {
        error_ = std::string("cannot create a runtime folder: ") + std::strerror(errno);
        return false;
    }
    dir_ = tmpl;
    chmod(dir_.c_str(), 0700);
    server_ = "unix:" + dir_ + "/pulse/native";

    const std::string exe = FindOnPath("pulseaudio");
    const std::string source = "module-pipe-source source_name=mic file=" + FifoPath() +
                               " format=s16le rate=" + std::to_string(options.Rate) +
                               " channels=" + std::to_string(options.Channels);
    std::vector<std::string> args = {exe,
                                     "--daemonize=no",
                                     "-n",
                                     "--exit-idle-time=-1",
                                     "--load=module-native-protocol-unix",
                                     "--load=module-null-sink sink_name=out",
                                     "--load=" + source};
    // The server's environment: ours, with its runtime folder pointing at the
    // fresh folder and nothing that would send it to another server's files.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string kv = *e;
        if (kv.rfind("XDG_RUNTIME_DIR=", 0) == 0 || kv.rfind("PULSE_", 0) == 0)
            continue;
        env.push_back(kv);
    }
    env.push_back("XDG_RUNTIME_DIR=" + dir_);
    std::vector<char*> argv, envp;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string log = dir_ + "/server.log";

    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        error_ = std::string("fork failed: ") + std::strerror(errno);
        std::filesystem::remove_all(dir_);
        return false;
    }
    if (pid == 0) {
        // A test that dies must not leave the server behind.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    pid_ = pid;

    // Wait until the server answers and the pipe source has made its fifo.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    bool ready = false;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (Exited(pid_, &status)) {
            pid_ = -1;
            error_ = "pulseaudio exited at start: " + ReadFile(log);
            std::filesystem::remove_all(dir_);
            return false;
        }
        struct stat st {};
        if (stat(FifoPath().c_str(), &st) == 0 && S_ISFIFO(st.st_mode) && Pactl("info") == 0) {
            ready = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!ready) {
        error_ = "pulseaudio did not answer within 15 s: " + ReadFile(log);
        Stop();
        return false;
    }
    fifo_ = open(FifoPath().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fifo_ < 0) {
        error_ = std::string("cannot open the source fifo: ") + std::strerror(errno);
        Stop();
        return false;
    }

    hadPulseServer_ = std::getenv("PULSE_SERVER") != nullptr;
    if (hadPulseServer_)
        savedPulseServer_ = std::getenv("PULSE_SERVER");
    hadRuntimeDir_ = std::getenv("XDG_RUNTIME_DIR") != nullptr;
    if (hadRuntimeDir_)
        savedRuntimeDir_ = std::getenv("XDG_RUNTIME_DIR");
    setenv("PULSE_SERVER", server_.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);

    feeding_.store(true);
    feeder_ = std::thread([this] { Feed(); });
    return true;
}

void PulseFixture::Feed() {
    using clock = std::chrono::steady_clock;
    const int rate = options_.Rate;
    const int channels = options_.Channels;
    const int frames = rate / 50; // 20 ms
    std::vector<int16_t> chunk(size_t(frames) * channels);
    double phase = 0;
    auto next = clock::now();
    while (feeding_.load()) {
        const double hz = toneHz_.load();
        const double step = 2 * M_PI * hz / rate;
        for (int i = 0; i < frames; ++i) {
            const auto v = int16_t(std::lround(options_.Amplitude * 32767 * std::sin(phase)));
            for (int c = 0; c < channels; ++c)
                chunk[size_t(i) * channels + c] = v;
            phase = std::fmod(phase + step, 2 * M_PI);
        }
        const size_t bytes = chunk.size() * sizeof(int16_t);
        const ssize_t n = write(fifo_, chunk.data(), bytes);
        if (n > 0)
            fed_ += n;
        next += std::chrono::milliseconds(20);
        std::this_thread::sleep_until(next);
    }
}

void PulseFixture::Stop() {
    if (feeder_.joinable()) {
        feeding_.store(false);
        feeder_.join();
    }
    if (fifo_ >= 0) {
        close(fifo_);
        fifo_ = -1;
    }
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        bool gone = false;
        while (std::chrono::steady_clock::now() < deadline) {
            if (Exited(pid_, &status)) {
                gone = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (!gone) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
        pid_ = -1;
        if (hadPulseServer_)
            setenv("PULSE_SERVER", savedPulseServer_.c_str(), 1);
        else
            unsetenv("PULSE_SERVER");
        if (hadRuntimeDir_)
            setenv("XDG_RUNTIME_DIR", savedRuntimeDir_.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        dir_.clear();
    }
}

} // namespace murmelo::test
