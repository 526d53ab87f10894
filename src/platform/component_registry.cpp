#include "platform/component_registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kxsimlib/component.h"
#include "platform/profile_reader.h"
#include "platform/text_codec.h"

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

bool writeRegistration(const std::string& libraryPath) {
    const fs::path file = registrationFilePath();
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) return false;
    std::string temp = file.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    const std::string content = fileContent(libraryPath);
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool written = done == content.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!written || std::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool removeRegistration() {
    const fs::path file = registrationFilePath();
    std::error_code ec;
    fs::remove(file, ec);
    if (ec) return false;
    fs::remove(file.parent_path(), ec);  // only when empty; a folder with other files stays
    return !fs::exists(file, ec);
}

std::vector<RegisteredClass> readRegistration() {
    const std::u16string file = fromUtf8(registrationFilePath());
    std::vector<RegisteredClass> out;
    if (!isOrdinaryFile(file)) return out;
    auto get = [&](std::u16string_view section, std::u16string_view key) {
        return profileString(file, section, key, u"", 4096);
    };
    for (const std::u16string& name : profileKeyNames(file, u"Classes", 4096)) {
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
