// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/library_identity.h"

#include <dlfcn.h>

#include <mutex>

#include "platform/text_codec.h"

namespace kxsim::platform {
namespace {

std::mutex g_mutex;
std::u16string g_folderOverride;

std::u16string loadedFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || !info.dli_fname)
        return u".";
    std::string path = info.dli_fname;
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return u".";
    return fromUtf8(path.substr(0, slash == 0 ? 1 : slash));
}

}  // namespace

std::u16string libraryFolder() {
    {
        std::lock_guard lock(g_mutex);
        if (!g_folderOverride.empty()) return g_folderOverride;
    }
    static const std::u16string folder = loadedFolder();
    return folder;
}

void setLibraryFolder(std::u16string folder) {
    std::lock_guard lock(g_mutex);
    g_folderOverride = std::move(folder);
}

std::u16string libraryFile(std::u16string_view fileName) {
    std::u16string path = libraryFolder();
    if (path.empty() || path.back() != u'/') path += u'/';
    path += fileName;
    return path;
}

}  // namespace kxsim::platform
