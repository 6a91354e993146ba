// Start-up time and peak memory of the program's window against a bare Qt
// window of the same size, started alternately RUNS times each on the
// offscreen platform. Each program keeps one home across its runs, so after
// the first run (not counted) the window starts as a user sees it every day:
// with its settings and rate file in place. Prints medians and the ratios.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample {
    double ms;
    long maxRssKb;
};

Sample runOnce(const std::string &program, const char *home) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", (std::string(home) + "/c").c_str(), 1);
        setenv("XDG_DATA_HOME", (std::string(home) + "/d").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home, 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", program.c_str());
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(), usage.ru_maxrss};
}

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    std::string dir = argv[0];
    dir = dir.substr(0, dir.find_last_of('/') + 1);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    constexpr int kPrograms = 4;
    const std::string programs[kPrograms] = {
        dir + "startup_probe_window", dir + "startup_probe_bare", dir + "startup_probe_label",
        dir + "startup_probe_field"};
    char homes[kPrograms][32] = {"/tmp/dolgomer-bench.XXXXXX", "/tmp/dolgomer-bench.XXXXXX",
                                 "/tmp/dolgomer-bench.XXXXXX", "/tmp/dolgomer-bench.XXXXXX"};
    for (int p = 0; p < kPrograms; ++p) {
        if (!mkdtemp(homes[p])) return 2;
        runOnce(programs[p], homes[p]); // the first run, and a warm file cache
    }
    std::vector<double> ms[kPrograms], rss[kPrograms];
    for (int i = 0; i < runs; ++i) {
        for (int p = 0; p < kPrograms; ++p) {
            const Sample s = runOnce(programs[p], homes[p]);
            ms[p].push_back(s.ms);
            rss[p].push_back(double(s.maxRssKb) / 1024.0);
        }
    }
    for (auto &home : homes)
        std::system((std::string("rm -rf ") + home).c_str());
    const double msWindow = medianOf(ms[0]), msBare = medianOf(ms[1]);
    const double mbWindow = medianOf(rss[0]), mbBare = medianOf(rss[1]);
    std::printf("start-up to idle (median of %d)   window %7.1f ms   bare %7.1f ms   ratio %.2f\n",
                runs, msWindow, msBare, msWindow / msBare);
    std::printf("peak memory (median)              window %7.1f MB   bare %7.1f MB   ratio %.2f\n",
                mbWindow, mbBare, mbWindow / mbBare);
    // What any window with text pays for its fonts, for comparison.
    const double msLabel = medianOf(ms[2]), mbLabel = medianOf(rss[2]);
    std::printf("bare window with one label        %7.1f ms  %7.1f MB   window/that: %.2f time, "
                "%.2f memory\n",
                msLabel, mbLabel, msWindow / msLabel, mbWindow / mbLabel);
    // The floor the window is measured against: one label and one line edit.
    const double msField = medianOf(ms[3]), mbField = medianOf(rss[3]);
    std::printf("floor: label and line edit        %7.1f ms  %7.1f MB   window/floor: %.2f time, "
                "%.2f memory (goals 1.3, 1.2)\n",
                msField, mbField, msWindow / msField, mbWindow / mbField);
    return 0;
}
