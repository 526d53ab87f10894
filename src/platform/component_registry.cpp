// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/component_registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <optional>

#include "kxsimlib/component.h"
#include "platform/file_descriptor.h"
#include "platform/ini_document.h"
#include "platform/lock_wait.h"
#include "platform/owned_file.h"
#include "platform/profile_reader.h"
#include "platform/text_codec.h"
#include "platform/whole_file.h"

namespace kxsim::platform {
namespace {

namespace fs = std::filesystem;

std::string dataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = ::getpwuid(::getuid());
        home = pw && pw->pw_dir ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + "/.local/share";
}

std::string text(std::u16string_view s) { return toUtf8(s); }

std::string fileContent(const std::string& libraryPath) {
    std::string out = "; Written by DllRegisterServer of the Kestrix SIM Lib; DllUnregisterServer removes it.\n";
    out += "[TypeLibrary]\nId=" + kTypeLibrary.id.toString() + "\nName=" + text(kTypeLibrary.name) +
           "\nDescription=" + text(kTypeLibrary.description) + "\nVersion=" +
           std::to_string(kTypeLibrary.majorVersion) + "." + std::to_string(kTypeLibrary.minorVersion) +
           "\nLocale=0x" + [] {
               char hex[16];
               std::snprintf(hex, sizeof hex, "%x", kTypeLibrary.locale);
               return std::string(hex);
           }() + "\nLibrary=" + libraryPath + "\n\n[Classes]\n";
    for (const ClassIdentity& c : kClasses) out += text(c.name) + "=" + c.classId.toString() + "\n";
    for (const ClassIdentity& c : kClasses) {
        out += "\n[" + c.classId.toString() + "]\nClass=" + text(c.name) + "\nInterface=" + text(c.interfaceName) +
               "\nInterfaceId=" + c.interfaceId.toString() + "\nCreatable=" + (c.creatable ? "1" : "0") +
               "\nLibrary=" + libraryPath + "\n";
    }
    return out;
}

}  // namespace

std::string registrationFilePath() { return dataHome() + "/kxsimlib/components.ini"; }

namespace {

// Holds the lock file beside the registration file (flock), so concurrent
// register and unregister runs take turns. Unregistering removes the lock
// file with the folder; a run that locked a lock file removed meanwhile
// takes a new one.
class RegistrationLock {
public:
    RegistrationLock(const fs::path& folder, bool create) {
        const std::string lockPath = (folder / kName).string();
        std::optional<LockWait> wait;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::error_code ec;
            if (create) fs::create_directories(folder, ec);
            if (ec) {
                fail("cannot make the folder " + folder.string(), ec.value());
                return;
            }
            fd_.reset(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
            if (fd_.get() < 0 && errno == ENOENT && create) continue;  // the folder went meanwhile
            if (fd_.get() < 0) {
                fail("cannot open " + lockPath, errno);
                return;
            }
            if (struct stat st; ::fstat(fd_.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
                fail(lockPath + " is not an ordinary file", 0);
                return;
            }
            while (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
                if (errno == EINTR) continue;
                if (errno != EWOULDBLOCK) {
                    fail("cannot lock " + lockPath, errno);
                    return;
                }
                if (!wait) wait.emplace(folder.string(), kStoreLockWait);  // made only when another run holds it
                if (!wait->next()) {
                    fail("cannot lock " + lockPath + ": another run has held it for 5 s", 0);
                    return;
                }
            }
            struct stat held, named;
            if (::fstat(fd_.get(), &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
                held.st_dev == named.st_dev)
                return;
            fd_.reset();
        }
        fail("cannot lock " + lockPath, EBUSY);
    }
    RegistrationLock(const RegistrationLock&) = delete;
    RegistrationLock& operator=(const RegistrationLock&) = delete;

    /// Empty while the lock is held.
    const RegistrationError& failure() const { return failure_; }
    static constexpr const char* kName = "components.ini.lock";

private:
    void fail(std::string what, int error) {
        fd_.reset();
        failure_ = RegistrationError{std::move(what), error};
    }

    FileDescriptor fd_;
    RegistrationError failure_;
};

RegistrationError failure(std::string what, int error) { return RegistrationError{std::move(what), error}; }

}  // namespace

std::string RegistrationError::message() const {
    return what.empty() || !error ? what : what + ": " + std::strerror(error);
}

RegistrationError writeRegistration(const std::string& libraryPath) {
    const fs::path file = registrationFilePath();
    const RegistrationLock lock(file.parent_path(), true);
    if (lock.failure()) return lock.failure();
    removeStaleTemporaries(file.string());
    // The file is the settings store's kind: through a link to an ordinary file of the user's own, or refused.
    if (const std::string why = whyNotReplaceable(file.string()); !why.empty()) return failure(file.string() + " " + why, 0);
    if (const int error = replaceWholeFile(file.string(), fileContent(libraryPath)))
        return failure("cannot write " + file.string(), error);
    return {};
}

RegistrationError removeRegistration() {
    const fs::path file = registrationFilePath();
    const fs::path folder = file.parent_path();
    std::error_code ec;
    if (!fs::exists(folder, ec)) return {};
    const RegistrationLock lock(folder, false);
    if (lock.failure().error == ENOENT) return {};  // another run removed the folder meanwhile
    if (lock.failure()) return lock.failure();
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) return failure("cannot remove " + file.string(), errno);
    // The folder goes when nothing but the lock is left in it; a folder with other files stays.
    bool onlyLock = true;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        onlyLock = onlyLock && entry.path().filename() == RegistrationLock::kName;
    if (!ec && onlyLock) {
        ::unlink((folder / RegistrationLock::kName).c_str());
        ::rmdir(folder.c_str());
    }
    return {};
}

std::vector<RegisteredClass> readRegistration() {
    // One state of the file for every entry; a file that is not there or
    // cannot be read holds no classes.
    const auto file = loadIniFile(fromUtf8(registrationFilePath()));
    std::vector<RegisteredClass> out;
    if (!file) return out;
    auto get = [&](std::u16string_view section, std::u16string_view key) {
        return profileString(file.get(), section, key, u"", 4096);
    };
    for (const std::u16string& name : profileKeyNames(file.get(), u"Classes", 4096)) {
        RegisteredClass c;
        c.name = name;
        c.classId = get(u"Classes", name);
        c.interfaceName = get(c.classId, u"Interface");
        c.interfaceId = get(c.classId, u"InterfaceId");
        c.creatable = get(c.classId, u"Creatable") == u"1";
        c.library = get(c.classId, u"Library");
        out.push_back(std::move(c));
    }
    return out;
}

}  // namespace kxsim::platform
