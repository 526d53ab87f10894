// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A private folder under /tmp for the files a target writes, made once per
// process and removed when it ends; a file of a name is rewritten in place.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace kxsim::fuzz {

class PrivateFolder {
public:
    PrivateFolder() {
        char pattern[] = "/tmp/kxsim-fuzz-XXXXXX";
        if (!::mkdtemp(pattern)) std::abort();
        path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }

    /// Writes \a bytes as the file \a name in the folder (or below it) and
    /// gives its path.
    std::string write(const std::string& name, std::string_view bytes) const {
        const std::string file = path_ + "/" + name;
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) std::abort();
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) std::abort();
            done += static_cast<size_t>(n);
        }
        ::close(fd);
        return file;
    }

private:
    std::string path_;
};

}  // namespace kxsim::fuzz
