// A dialog opened and closed through Qt's wayland platform, under Debian's
// weston compositor on its headless backend, with no X display: kxsim's
// display check must accept the live WAYLAND_DISPLAY and pick wayland.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/child_process.h"
#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;

// weston on a socket of its own in \a runtime, stopped when this goes.
class Weston {
public:
    explicit Weston(const fs::path& runtime) : socket_(runtime / "kxsim-test") {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
            const std::string log = (runtime / "weston.log").string();
            ::execlp("weston", "weston", "--backend=headless-backend.so", "--socket=kxsim-test", "--idle-time=0",
                     ("--log=" + log).c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 100 && !fs::exists(socket_); ++i) {
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (pid_ > 0 && !fs::exists(socket_)) why_ = "its socket did not appear within 5 s";
        if (pid_ < 0) {
            std::ifstream log(runtime / "weston.log");
            std::stringstream text;
            text << log.rdbuf();
            why_ = "it ended at once (is the weston package installed?) " + text.str().substr(0, 300);
        }
    }
    ~Weston() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    /// Why weston cannot serve here; empty when it runs.
    const std::string& problem() const { return why_; }

private:
    fs::path socket_;
    pid_t pid_ = -1;
    std::string why_;
};

TEST(Wayland, kxsim_opens_and_closes_its_dialogs_through_weston_without_an_x_display) {
    kxsim::test::TempFolder folder;
    const fs::path runtime = folder.path() / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    Weston weston(runtime);
    if (!weston.problem().empty()) GTEST_SKIP() << "weston cannot start here: " << weston.problem();

    const std::string shots = (folder.path() / "shots").string();
    const kxsim::test::ChildOutput end = kxsim::test::inChildWithOutput([&](int out) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        for (const char* name : {"DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_SOCKET", "XDG_SESSION_TYPE"}) ::unsetenv(name);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("WAYLAND_DISPLAY", "kxsim-test", 1);
        ::execl(KXSIM_PROGRAM, KXSIM_PROGRAM, "screenshot", shots.c_str(), static_cast<char*>(nullptr));
        return 127;
    }, 60);
    EXPECT_EQ(end.code, 0) << end.output;
    EXPECT_TRUE(fs::exists(fs::path(shots) / "WAcm.png")) << end.output;
}

}  // namespace
