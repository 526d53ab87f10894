// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Every way a display can be broken, each tried in a child process: Qt ends
// the process it cannot start in, and such an end must fail the test, not end it.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "platform/form.h"
#include "support/child_process.h"
#include "support/temp_files.h"

using namespace kxsim;

namespace {

// A listening socket at the abstract name libxcb tries first for display
// ":number", as a broken server behaves there.
class FakeDisplay {
public:
    enum Behaviour {
        Silent,           // accepts and never says anything, as a hung server
        Garbage,          // answers with no X greeting
        GreetsThenStalls  // greets the first connection as an X server, then never answers again
    };
    explicit FakeDisplay(Behaviour behaviour) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        for (number_ = 4000 + ::getpid() % 1000 * 3 + behaviour; number_ < 9000; number_ += 3000) {
            sockaddr_un addr{};
            addr.sun_family = AF_UNIX;
            const std::string name = "/tmp/.X11-unix/X" + std::to_string(number_);
            std::memcpy(addr.sun_path + 1, name.data(), name.size());
            if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr),
                       static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())) == 0)
                break;
        }
        ::listen(fd_, 8);
        if (behaviour != Silent) server_ = std::thread([this, behaviour] {
            pollfd p{fd_, POLLIN, 0};
            for (int connections = 0; !stop_;) {
                if (::poll(&p, 1, 50) <= 0) continue;
                const int client = ::accept(fd_, nullptr, nullptr);
                if (client < 0) continue;
                if (behaviour == GreetsThenStalls && connections++ > 0) {
                    held_.push_back(client);
                    continue;
                }
                char request[12];
                (void)!::read(client, request, sizeof request);
                // An X server's refusal: status 0, protocol 11.0, no reason.
                const char refusal[8] = {0, 0, 11, 0, 0, 0, 0, 0};
                const std::string_view reply = behaviour == Garbage ? std::string_view("HTTP/1.0 400 Bad Request\r\n\r\n")
                                                                    : std::string_view(refusal, sizeof refusal);
                (void)!::write(client, reply.data(), reply.size());
                ::close(client);
            }
        });
    }
    ~FakeDisplay() {
        stop_ = true;
        if (server_.joinable()) server_.join();
        for (int client : held_) ::close(client);
        ::close(fd_);
    }
    std::string display() const { return ":" + std::to_string(number_); }

private:
    int fd_ = -1;
    int number_ = 0;
    std::atomic<bool> stop_{false};
    std::thread server_;
    std::vector<int> held_;
};

struct Environment {
    const char* platform;  // QT_QPA_PLATFORM; null: unset
    std::string display;   // DISPLAY; empty: unset
};

void apply(const Environment& e) {
    e.platform ? ::setenv("QT_QPA_PLATFORM", e.platform, 1) : ::unsetenv("QT_QPA_PLATFORM");
    e.display.empty() ? ::unsetenv("DISPLAY") : ::setenv("DISPLAY", e.display.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("WAYLAND_SOCKET");
    ::unsetenv("XDG_SESSION_TYPE");
}

// A dialog call in the child: "number|description", the dialog closed as soon as it shows.
int memberCall(int out) {
    platform::ScopedDisplayObserver closer([](platform::Form& form) {
        QDialog* window = &form.window();
        QTimer::singleShot(0, window, [window] { window->close(); });
    });
    int32_t result = 0;
    const Status s = CDialogs().CloneOptions(result);
    const std::string line =
        std::to_string(s.number()) + "|" + QString::fromStdU16String(s.description()).toStdString();
    (void)!::write(out, line.data(), line.size());
    return 0;
}

bool exists(const char* path) { return std::filesystem::exists(path); }

TEST(QtPlatform, aPlatformThatCannotStartFailsTheCallWith429NamingItAndWhyAndTheHostLivesOn) {
    const FakeDisplay silent(FakeDisplay::Silent), talker(FakeDisplay::Garbage),
        staller(FakeDisplay::GreetsThenStalls);
    const struct {
        const char* name;
        Environment environment;
        int number;            // 0: the dialog showed
        const char* mentions;  // in the description
        bool applies = true;
    } rows[] = {
        {"remote display nobody serves", {"xcb", "localhost:99"}, 429, "localhost:99"},
        {"the default platform on it", {nullptr, "localhost:99"}, 429, "\"xcb\""},
        {"garbage display name", {"xcb", "garbage"}, 429, "\"garbage\" is not an X display name"},
        {"no X server at the socket", {"xcb", ":4999"}, 429, "no X server answers"},
        {"a socket that never answers", {"xcb", silent.display()}, 429, "no answer within"},
        {"a socket that is no X server", {"xcb", talker.display()}, 429, "does not speak the X protocol"},
        {"a server that greets, then stalls", {"xcb", staller.display()}, 429, "stopped answering (no answer within"},
        {"xcb without DISPLAY", {"xcb", ""}, 429, "DISPLAY is not set"},
        {"no such plugin", {"bogus", ""}, 429, "\"bogus\" cannot start: no plugin"},
        {"wayland without a compositor", {"wayland", ""}, 429, "\"wayland\" cannot start"},
        {"eglfs without a graphics card", {"eglfs", ""}, 429, "\"eglfs\" cannot start", !exists("/dev/dri")},
        {"linuxfb without a frame buffer", {"linuxfb", ""}, 429, "/dev/fb0", !exists("/dev/fb0")},
        {"empty platform list", {";", ""}, 429, "names no platform"},
        {"offscreen with options", {"offscreen:foo", ""}, 0, ""},
        {"minimal", {"minimal", ""}, 0, ""},
        {"the first that can start", {"bogus;xcb;offscreen", "garbage"}, 0, ""},
    };
    for (const auto& row : rows) {
        if (!row.applies) continue;
        SCOPED_TRACE(row.name);
        const test::ChildOutput end = test::inChildWithOutput([&](int out) {
            apply(row.environment);
            return memberCall(out);
        }, 20);
        EXPECT_EQ(end.code, 0) << end.output;
        const std::string expected = std::to_string(row.number) + "|";
        EXPECT_EQ(end.output.substr(0, expected.size()), expected) << end.output;
        EXPECT_NE(end.output.find(row.mentions), std::string::npos) << end.output;
    }
}

#ifdef KXSIM_PROGRAM
TEST(QtPlatform, kxsimPrintsTheFailureAndExitsWith3) {
    test::TempFolder folder;
    const std::string png = (folder.path() / "help.png").string();
    const std::vector<std::vector<std::string>> commands = {
        {"clone"}, {"screenshot", folder.path().string()}, {"help", "7105", "--png", png}, {}};
    for (const char* platform : {"xcb", "bogus"}) {
        for (const auto& args : commands) {
            SCOPED_TRACE(std::string(platform) + " " + (args.empty() ? "workbench" : args[0]));
            const test::ChildOutput end = test::inChildWithOutput([&](int out) {
                apply({platform, "garbage"});
                ::dup2(out, STDERR_FILENO);
                std::vector<char*> argv{const_cast<char*>(KXSIM_PROGRAM)};
                for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
                argv.push_back(nullptr);
                ::execv(KXSIM_PROGRAM, argv.data());
                return 127;
            }, 20);
            EXPECT_EQ(end.code, 3) << end.output;
            EXPECT_NE(end.output.find("Qt platform \"" + std::string(platform) + "\" cannot start"), std::string::npos)
                << end.output;
            EXPECT_NE(end.output.find("(error 429)"), std::string::npos) << end.output;
        }
    }
}
#endif

}  // namespace
