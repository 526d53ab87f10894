// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/owned_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

#include "platform/whole_file.h"

namespace kxsim::platform {
namespace {

// The six characters mkstemp puts in place of "XXXXXX".
bool temporarySuffix(std::string_view s) {
    return s.size() == 6 && std::all_of(s.begin(), s.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

}  // namespace

std::string whyNotReplaceable(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return {};  // nothing there (also a dangling link): made anew
    if (!S_ISREG(st.st_mode)) return "is not an ordinary file";
    if (st.st_uid != ::geteuid()) return "belongs to another user";
    if (!(st.st_mode & S_IWUSR)) return "is read-only";
    return {};
}

void removeStaleTemporaries(const std::string& path) {
    const std::string target = replacedFile(path);
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, std::max<size_t>(slash, 1));
    const std::string prefix = target.substr(slash == std::string::npos ? 0 : slash + 1) + ".";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const time_t staleBefore = ::time(nullptr) - kStaleTemporaryAge.count();
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix ||
            !temporarySuffix(name.substr(prefix.size())))
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == ::geteuid() && st.st_mtime < staleBefore)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace kxsim::platform
