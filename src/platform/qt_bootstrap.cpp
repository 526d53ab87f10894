#include "platform/qt_bootstrap.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kxsim::platform {
namespace {

Status failure(const char16_t* text) { return Status::error(errors::CantCreateObject, text); }

bool canConnectUnix(const std::string& path, bool abstract) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof addr.sun_path) {
        ::close(fd);
        return false;
    }
    std::memcpy(addr.sun_path + offset, path.data(), path.size());
    const socklen_t len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0;
    ::close(fd);
    return ok;
}

// The X server of a local display (":N" or "unix:N") must answer on its socket;
// Qt's xcb plugin would otherwise end the whole process.
bool x11DisplayReachable(const std::string& display) {
    std::string rest = display;
    if (rest.rfind("unix:", 0) == 0) rest = rest.substr(4);
    if (rest.empty() || rest.front() != ':') return true;  // remote display: let Qt try
    const std::string number = rest.substr(1, rest.find('.') - 1);
    const std::string socket = "/tmp/.X11-unix/X" + number;
    return canConnectUnix(socket, false) || canConnectUnix(socket, true);
}

bool waylandReachable(const std::string& name) {
    if (!name.empty() && name.front() == '/') return canConnectUnix(name, false);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && canConnectUnix(std::string(runtime) + "/" + name, false);
}

Status checkDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string requested = platform ? platform : "";
    if (requested.rfind("offscreen", 0) == 0 || requested.rfind("minimal", 0) == 0 ||
        requested.rfind("vnc", 0) == 0)
        return {};
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool wantsWayland = requested.rfind("wayland", 0) == 0;
    if (wayland && *wayland && (wantsWayland || requested.empty()) && waylandReachable(wayland))
        return {};
    if (display && *display && !wantsWayland) {
        if (x11DisplayReachable(display)) return {};
        return failure(u"The X display named by DISPLAY cannot be opened; "
                       u"start an X server or set QT_QPA_PLATFORM=offscreen");
    }
    return failure(u"No display: set DISPLAY or WAYLAND_DISPLAY, "
                   u"or QT_QPA_PLATFORM=offscreen to run without one");
}

}  // namespace

Status ensureGuiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        if (Status s = checkDisplay(); !s) return s;
        // Made once for the process and kept: the host may create dialogs until it exits.
        static int argc = 1;
        static char name[] = "kxsimlib";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    if (!qobject_cast<QApplication*>(app))
        return failure(u"The host runs a QCoreApplication; dialogs need a QApplication");
    if (QThread::currentThread() != app->thread())
        return failure(u"Dialogs can only be shown on the thread that runs the Qt application");
    return {};
}

}  // namespace kxsim::platform
