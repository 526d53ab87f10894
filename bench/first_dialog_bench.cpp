// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The very first dialog of a process, QApplication start included: each
// iteration starts first_dialog_probe afresh and times it from the start of
// the process to the window shown. Target: under 100 ms.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string probePath() {
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "first_dialog_probe";
    return (std::filesystem::path(std::string(self, static_cast<size_t>(n))).parent_path() / "first_dialog_probe")
        .string();
}

void BM_FirstDialogOfAProcess(benchmark::State& state) {
    // Private settings and runtime folders, and no display but the offscreen one.
    char home[] = "/tmp/kxsim-bench-XXXXXX";
    if (!::mkdtemp(home)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ::setenv("XDG_CONFIG_HOME", home, 1);
    ::setenv("XDG_RUNTIME_DIR", home, 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string probe = probePath();
    std::vector<double> inProcess, whole;
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) {
            state.SkipWithError("no pipe");
            break;
        }
        const std::string fd = std::to_string(fds[1]);
        char* argv[] = {const_cast<char*>(probe.c_str()), const_cast<char*>(fd.c_str()), nullptr};
        const auto start = Clock::now();
        pid_t pid = 0;
        if (::posix_spawn(&pid, probe.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start first_dialog_probe");
            break;
        }
        ::close(fds[1]);
        std::string report;
        char buf[64];
        ssize_t n;
        // The probe writes one line at the moment its window is shown.
        while (report.find('\n') == std::string::npos && (n = ::read(fds[0], buf, sizeof buf)) > 0)
            report.append(buf, static_cast<size_t>(n));
        const auto shown = Clock::now();
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (report.empty() || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("first_dialog_probe failed");
            break;
        }
        const double seconds = std::chrono::duration<double>(shown - start).count();
        state.SetIterationTime(seconds);
        whole.push_back(seconds);
        inProcess.push_back(std::stod(report) * 1e-9);
    }
    std::filesystem::remove_all(home);
    const auto median = [](std::vector<double> v) {
        if (v.empty()) return 0.0;
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2] * 1e3;
    };
    state.counters["median_ms"] = median(whole);
    state.counters["from_main_ms"] = median(inProcess);
}
BENCHMARK(BM_FirstDialogOfAProcess)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

}  // namespace
