// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/qt_platform.h"

#include "platform/file_descriptor.h"

#include <dirent.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/text_codec.h"

namespace kxsim::platform {
namespace {

// How long a display server may take to accept a connection and greet.
constexpr int kAnswerMillis = 3000;
// How long the whole X check may take: name lookup, connection, greeting and
// xcb_connect's own connection setup together.
constexpr int kXcbCheckMillis = 5000;

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Waits for \a events on \a fd; empty when they came, else why not.
std::string waitFor(int fd, short events) {
    pollfd p{fd, events, 0};
    int n;
    do n = ::poll(&p, 1, kAnswerMillis);
    while (n < 0 && errno == EINTR);
    if (n == 0) return "no answer within " + std::to_string(kAnswerMillis / 1000) + " s";
    if (n < 0) return std::strerror(errno);
    return {};
}

// Connects \a fd without blocking longer than kAnswerMillis; empty on success.
std::string connectWithin(int fd, const sockaddr* addr, socklen_t len) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    if (::connect(fd, addr, len) == 0) return {};
    if (errno != EINPROGRESS) return std::strerror(errno);
    if (std::string why = waitFor(fd, POLLOUT); !why.empty()) return why;
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
    return error ? std::strerror(error) : std::string();
}

// A connected Unix socket at \a path ("\0..." for the abstract namespace), or -1 and \a why.
int connectUnix(const std::string& path, std::string& why) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) {
        why = "the socket path is too long";
        return -1;
    }
    std::memcpy(addr.sun_path, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        why = std::strerror(errno);
        return -1;
    }
    why = connectWithin(fd, reinterpret_cast<sockaddr*>(&addr),
                        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size()));
    if (why.empty()) return fd;
    ::close(fd);
    return -1;
}

int connectTcp(const std::string& host, int port, std::string& why) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (int e = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); e != 0) {
        why = ::gai_strerror(e);
        return -1;
    }
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        why = connectWithin(fd, a->ai_addr, a->ai_addrlen);
        if (!why.empty()) {
            ::close(fd);
            fd = -1;
        }
    }
    ::freeaddrinfo(found);
    return fd;
}

// Sends the X connection setup without credentials: any X server answers
// with success, failure or a demand to authenticate, all of which start with
// a status byte and, but for the last, protocol version 11.
std::string x11Greeting(int fd) {
    const unsigned char request[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (::send(fd, request, sizeof request, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof request))
        return std::strerror(errno);
    unsigned char reply[8];
    size_t got = 0;
    while (got < sizeof reply) {
        if (std::string why = waitFor(fd, POLLIN); !why.empty()) return why;
        const ssize_t n = ::recv(fd, reply + got, sizeof reply - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return "the connection was closed without an X greeting";
        got += static_cast<size_t>(n);
    }
    const bool answered = reply[0] == 2 || (reply[0] <= 1 && reply[2] == 11 && reply[3] == 0);
    return answered ? std::string() : "what answers there does not speak the X protocol";
}

// The X check proper; \a stage is told what it waits for, for the message
// when the whole check takes too long.
std::string xcbCheck(const std::string& display, const std::function<void(const char*)>& stage) {
    char* hostPart = nullptr;
    int number = 0, screen = 0;
    if (!xcb_parse_display(display.c_str(), &hostPart, &number, &screen))
        return "DISPLAY " + quoted(display) + " is not an X display name";
    const std::string host = hostPart ? hostPart : "";
    std::free(hostPart);
    const bool local = host.empty() || host == "unix" || display.rfind("unix/", 0) == 0;
    stage("could not be reached");
    std::string why;
    int fd = -1;
    if (local) {
        // Where libxcb looks: the abstract socket first, then the file.
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        fd = connectUnix(std::string(1, '\0') + socket, why);
        if (fd < 0) fd = connectUnix(socket, why);
    } else {
        fd = connectTcp(host, 6000 + number, why);
    }
    if (fd < 0) return "no X server answers at DISPLAY " + quoted(display) + " (" + why + ")";
    const FileDescriptor socket(fd);
    stage("did not answer the connection setup");
    if (std::string greeting = x11Greeting(fd); !greeting.empty())
        return "no X server answers at DISPLAY " + quoted(display) + " (" + greeting + ")";
    // Now the connection Qt will make, with the user's credentials.
    stage("accepted the connection and then stopped answering");
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error)
        return "the X server at DISPLAY " + quoted(display) + " refused the connection (xcb error " +
               std::to_string(error) + ")";
    return {};
}

// One X check on a thread of its own, shared with the callers that wait for it.
struct XcbCheck {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::string reason;
    const char* stage = "did not answer";
};

// The whole X check within kXcbCheckMillis: a server that accepts and then
// stalls anywhere (libxcb waits for ever for the connection setup) costs the
// caller no more. A stalled check is left to end on its own; until it does, a
// later call waits for it rather than starting another, so at most one thread
// and one socket ever wait on such a server.
std::string xcbReason() {
    const std::string display = env("DISPLAY");
    if (display.empty()) return "DISPLAY is not set";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kXcbCheckMillis);
    static std::mutex callers;
    static auto* running = new std::shared_ptr<XcbCheck>();  // never destroyed: a stalled check may outlive main
    const std::lock_guard<std::mutex> one(callers);
    const auto finishedBy = [&](XcbCheck& check) {
        std::unique_lock<std::mutex> lock(check.mutex);
        return check.done.wait_until(lock, deadline, [&] { return check.finished; });
    };
    if (*running && !finishedBy(**running))
        return "the X server at DISPLAY " + quoted(display) + " has not finished an earlier connection";
    auto check = std::make_shared<XcbCheck>();
    *running = check;
    std::thread([check, display] {
        std::string reason = xcbCheck(display, [&](const char* stage) {
            const std::lock_guard<std::mutex> lock(check->mutex);
            check->stage = stage;
        });
        const std::lock_guard<std::mutex> lock(check->mutex);
        check->reason = std::move(reason);
        check->finished = true;
        check->done.notify_all();
    }).detach();
    if (!finishedBy(*check)) {
        const std::lock_guard<std::mutex> lock(check->mutex);
        return "the X server at DISPLAY " + quoted(display) + " " + check->stage + " (no answer within " +
               std::to_string(kXcbCheckMillis / 1000) + " s)";
    }
    running->reset();
    return check->reason;
}

std::string waylandReason() {
    if (const std::string inherited = env("WAYLAND_SOCKET"); !inherited.empty()) {
        struct stat st{};
        const int fd = std::atoi(inherited.c_str());
        if (::fstat(fd, &st) == 0 && S_ISSOCK(st.st_mode)) return {};
        return "WAYLAND_SOCKET " + quoted(inherited) + " is no open socket";
    }
    const std::string name = env("WAYLAND_DISPLAY");
    std::string path = name.empty() ? "wayland-0" : name;
    if (path.front() != '/') {
        const std::string runtime = env("XDG_RUNTIME_DIR");
        if (runtime.empty()) return "XDG_RUNTIME_DIR is not set";
        path = runtime + "/" + path;
    }
    std::string why;
    const int fd = connectUnix(path, why);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    return (name.empty() ? "WAYLAND_DISPLAY is not set and no" : "no") +
           std::string(" Wayland compositor answers at ") + path + " (" + why + ")";
}

// A device a platform draws on must be a character device this process may write.
std::string deviceReason(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return path + " cannot be opened (" + std::strerror(errno) + ")";
    struct stat st{};
    const bool device = ::fstat(fd, &st) == 0 && S_ISCHR(st.st_mode);
    ::close(fd);
    return device ? std::string() : path + " is no device";
}

std::string drmReason() {
    std::string why = "/dev/dri holds no card";
    if (DIR* dir = ::opendir("/dev/dri")) {
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strncmp(entry->d_name, "card", 4) != 0) continue;
            why = deviceReason(std::string("/dev/dri/") + entry->d_name);
            if (why.empty()) break;
        }
        ::closedir(dir);
    } else {
        why = "there is no /dev/dri";
    }
    return why;
}

std::string framebufferReason(const std::vector<std::string>& options) {
    if (!env("QT_QPA_FB_DRM").empty()) return drmReason();
    std::string device = "/dev/fb0";
    for (const std::string& option : options)
        if (option.rfind("fb=", 0) == 0) device = option.substr(3);
    return deviceReason(device);
}

// Why platform \a name (with \a options) cannot start here; empty when it can
// as far as can be told without starting it.
std::string startReason(const QString& name, const std::vector<std::string>& options) {
    if (name == u"xcb") return xcbReason();
    if (name.startsWith(u"wayland")) return waylandReason();
    if (name == u"linuxfb") return framebufferReason(options);
    if (name == u"eglfs" || name == u"minimalegl" || name == u"vkkhrdisplay") return drmReason();
    return {};  // offscreen, minimal, vnc and the like need nothing outside the process
}

QStringList pluginFolders() {
    QStringList folders;
    if (const QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"); !own.isEmpty()) folders << own;
    for (const QString& path : qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts))
        folders << path + QStringLiteral("/platforms");
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
    return folders;
}

// The platform plugins Qt would find, by key (lower case): the file, or empty for a static plugin.
std::map<QString, QString> platformPlugins(const QStringList& folders) {
    std::map<QString, QString> plugins;
    auto addKeys = [&](const QJsonObject& meta, const QString& file) {
        if (!meta.value(QStringLiteral("IID")).toString().contains(u"QPlatformIntegrationFactoryInterface")) return;
        const QJsonArray keys = meta.value(QStringLiteral("MetaData")).toObject().value(QStringLiteral("Keys")).toArray();
        for (const auto& key : keys) plugins.emplace(key.toString().toLower(), file);
    };
    for (const QStaticPlugin& plugin : QPluginLoader::staticPlugins()) addKeys(plugin.metaData(), QString());
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& entry : dir.entryList(QDir::Files)) {
            const QString file = dir.filePath(entry);
            if (QLibrary::isLibrary(file)) addKeys(QPluginLoader(file).metaData(), file);
        }
    }
    return plugins;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

// The platforms to try: QT_QPA_PLATFORM's entries, or the desktop's own.
std::vector<std::string> candidates() {
    const std::string requested = env("QT_QPA_PLATFORM");
    if (!requested.empty()) return split(requested, ';');
    if (env("XDG_SESSION_TYPE") == "wayland") return {"wayland", "xcb"};
    return {"xcb", "wayland"};
}

}  // namespace

Status choosePlatform(std::string& chosen) {
    const QStringList folders = pluginFolders();
    const std::map<QString, QString> plugins = platformPlugins(folders);
    std::string reasons;
    for (const std::string& entry : candidates()) {
        if (entry.empty()) continue;
        std::vector<std::string> options = split(entry, ':');
        const QString name = QString::fromStdString(options.front()).toLower();
        options.erase(options.begin());
        std::string why;
        const auto plugin = plugins.find(name);
        if (plugin == plugins.end()) {
            why = "no plugin for it in " + folders.join(QStringLiteral(", ")).toStdString();
        } else if (why = startReason(name, options); why.empty() && !plugin->second.isEmpty()) {
            // A plugin whose libraries are missing would end the process inside Qt.
            QPluginLoader loader(plugin->second);
            if (!loader.load()) why = "its plugin cannot be loaded: " + loader.errorString().toStdString();
        }
        if (why.empty()) {
            chosen = entry;
            return {};
        }
        reasons += (reasons.empty() ? "" : "; ") + ("Qt platform " + quoted(entry) + " cannot start: " + why);
    }
    if (reasons.empty()) reasons = "QT_QPA_PLATFORM names no platform";
    return Status::error(errors::CantCreateObject,
                         fromUtf8(reasons + "; set QT_QPA_PLATFORM=offscreen to run without a display"));
}

}  // namespace kxsim::platform
