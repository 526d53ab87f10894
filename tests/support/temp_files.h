// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Files for a test in a folder of its own, removed with it.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace kxsim::test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kxsim-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// Writes \a bytes to \a name and returns its path as the library takes paths.
    std::u16string write(const std::string& name, std::string_view bytes) const {
        std::ofstream(path_ / name, std::ios::binary | std::ios::trunc).write(bytes.data(),
                                                                            static_cast<std::streamsize>(bytes.size()));
        return file(name);
    }
    std::u16string file(const std::string& name) const {
        return platform::fromUtf8((path_ / name).string());
    }

private:
    std::filesystem::path path_;
};

}  // namespace kxsim::test
