// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// A dialog opened and closed through Qt's wayland platform under weston's
// headless backend, with no X display: kxsim must accept the live
// WAYLAND_DISPLAY and pick wayland.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/child_process.h"
#include "support/temp_files.h"

namespace fs = std::filesystem;

TEST(Wayland, kxsim_opens_and_closes_its_dialogs_through_weston_without_an_x_display) {
    kxsim::test::TempFolder folder;
    const fs::path runtime = folder.path(), shots = folder.path() / "shots";
    fs::permissions(runtime, fs::perms::owner_all);
    const pid_t weston = ::fork();
    if (weston == 0) {
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::execlp("weston", "weston", "--backend=headless-backend.so", "--socket=kx-test", "--idle-time=0",
                 "--log=/dev/null", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    bool ended = false;
    for (int i = 0; i < 100 && !fs::exists(runtime / "kx-test") && !ended; ++i) {
        ended = ::waitpid(weston, nullptr, WNOHANG) == weston;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!fs::exists(runtime / "kx-test")) {
        if (!ended) ::kill(weston, SIGKILL), ::waitpid(weston, nullptr, 0);
        GTEST_SKIP() << "weston cannot start here (no weston, or its headless backend fails)";
    }
    const kxsim::test::ChildOutput end = kxsim::test::inChildWithOutput([&](int out) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_SOCKET", "XDG_SESSION_TYPE"}) ::unsetenv(name);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("WAYLAND_DISPLAY", "kx-test", 1);
        ::execl(KXSIM_PROGRAM, KXSIM_PROGRAM, "screenshot", shots.c_str(), static_cast<char*>(nullptr));
        return 127;
    }, 60);
    ::kill(weston, SIGTERM);
    ::waitpid(weston, nullptr, 0);
    EXPECT_EQ(end.code, 0) << end.output;
    EXPECT_TRUE(fs::exists(shots / "WAcm.png")) << end.output;
}
