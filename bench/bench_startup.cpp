// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time and peak memory of the program's window against plain Qt
// windows of the same size, each started alternately RUNS times: on the
// offscreen platform, and in an X server (a private Xvfb) when there is one.
// The time runs from the start of the process to the window shown with the
// event loop idle, as the program reports it; the memory is the peak resident
// size. Each program keeps one home across its runs, so after the first run
// (not counted) the window starts as a user sees it every day: with its
// settings and rate file in place. Prints medians and the ratios to the floor:
// one label and one line edit.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    double ms;
    double mb;
};

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

Sample runOnce(const std::string &program, const std::string &home, const char *display) {
    int out[2];
    if (pipe(out) != 0) std::exit(2);
    const long long start = monotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/c").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/d").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        if (display) {
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            setenv("DISPLAY", display, 1);
        } else {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char text[64] = {};
    const ssize_t got = read(out[0], text, sizeof text - 1);
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", program.c_str());
        std::exit(1);
    }
    return {double(std::atoll(text) - start) / 1e6, double(usage.ru_maxrss) / 1024.0};
}

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void measure(const std::string &dir, int runs, const char *display, const char *title) {
    constexpr int kPrograms = 4;
    const char *names[kPrograms] = {"window", "bare", "label", "field"};
    std::string homes[kPrograms];
    for (int p = 0; p < kPrograms; ++p) {
        char home[] = "/tmp/dolgomer-bench.XXXXXX";
        if (!mkdtemp(home)) std::exit(2);
        homes[p] = home;
        runOnce(dir + "startup_probe_" + names[p], homes[p], display); // first run, warm cache
    }
    std::vector<double> ms[kPrograms], mb[kPrograms];
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < kPrograms; ++p) {
            const Sample s = runOnce(dir + "startup_probe_" + names[p], homes[p], display);
            ms[p].push_back(s.ms);
            mb[p].push_back(s.mb);
        }
    }
    for (const std::string &home : homes)
        std::filesystem::remove_all(home);
    std::printf("%s, median of %d, to shown and idle:\n", title, runs);
    const char *what[kPrograms] = {"the window", "a bare Qt window of its size", "  with one label",
                                   "  with a label and a line edit (floor)"};
    for (int p = 0; p < kPrograms; ++p)
        std::printf("  %-40s %6.1f ms %6.1f MB\n", what[p], medianOf(ms[p]), medianOf(mb[p]));
    std::printf("  window / floor: %.2f time, %.2f memory (goals 1.3, 1.2)\n",
                medianOf(ms[0]) / medianOf(ms[3]), medianOf(mb[0]) / medianOf(mb[3]));
}

// A private X server for the runs, or nothing when Xvfb is not installed.
pid_t startXvfb(std::string &display) {
    int n = 120;
    struct stat st {};
    while (stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) == 0 ||
           stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) == 0)
        ++n;
    display = ":" + std::to_string(n);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stderr)) _exit(127);
        execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char *>(nullptr));
        _exit(127);
    }
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    for (int i = 0; i < 100; ++i) {
        if (stat(socket.c_str(), &st) == 0) return pid;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return 0; // no Xvfb
        usleep(50000);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    std::string dir = argv[0];
    dir = dir.substr(0, dir.find_last_of('/') + 1);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    measure(dir, runs, nullptr, "Offscreen");
    std::string display;
    if (const pid_t xvfb = startXvfb(display)) {
        measure(dir, runs, display.c_str(), ("In an X server (Xvfb " + display + ")").c_str());
        kill(xvfb, SIGTERM);
        waitpid(xvfb, nullptr, 0);
    } else {
        std::printf("In an X server: not measured, Xvfb is not installed\n");
    }
    return 0;
}
