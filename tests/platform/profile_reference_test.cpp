// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Replays the Windows profile reader's answers (tests/data/profile_reference.tsv,
// written by ./kx compat under Wine) against this reader.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/profile_reader.h"
#include "platform/text_codec.h"
#include "support/temp_files.h"

using namespace kxsim::platform;

namespace {

std::string unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, '\t');) out.push_back(f);
    if (!line.empty() && line.back() == '\t') out.emplace_back();
    return out;
}

// A query field: "!" for a null pointer, else "=" and the escaped ANSI bytes.
std::optional<std::u16string> text(const std::string& field) {
    if (field == "!") return std::nullopt;
    return fromWindows1252(unescape(std::string_view(field).substr(1)));
}

// The reader folds the case of every letter, the reference only ASCII ones.
bool namesNonAscii(const std::optional<std::u16string>& name) {
    return name && std::any_of(name->begin(), name->end(), [](char16_t c) { return c >= 0x80; });
}

// Our answer as the Windows reader hands it to an ANSI caller: Windows-1252,
// a character without a byte there as "?".
std::string toAnsi(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        char byte = '?';
        for (int b = 0; b < 256; ++b)
            if (fromWindows1252(std::string(1, char(b)))[0] == c) byte = char(b);
        out += byte;
    }
    return out;
}

}  // namespace

TEST(profile_reference, every_answer_of_the_windows_reader) {
    std::ifstream table(KXSIM_SOURCE_DIR "/tests/data/profile_reference.tsv", std::ios::binary);
    ASSERT_TRUE(table) << "tests/data/profile_reference.tsv";
    kxsim::test::TempFolder dir;
    std::filesystem::create_directory(dir.path() / "folder.ini");
    int compared = 0, differing = 0;
    for (std::string line; std::getline(table, line);) {
        const auto f = fields(line);
        if (f.size() == 3 && f[0] == "F") {
            dir.write(f[1], unescape(f[2]));
            continue;
        }
        if (f.size() != 8 || f[0] != "Q") continue;
        const std::u16string file = dir.file(f[1].substr(1));
        const auto section = text(f[2]), key = text(f[3]), fallback = text(f[4]);
        const size_t size = std::stoul(f[5].substr(1));
        if (namesNonAscii(section) || namesNonAscii(key)) continue;
        const std::string expected = unescape(f[7]);
        const std::string actual = toAnsi(
            !section ? profileSectionList(file, size)
            : !key   ? profileKeyList(file, *section, fallback.value_or(u""), size)
                     : profileString(file, *section, *key, fallback.value_or(u""), size));
        ++compared;
        if (actual != expected && ++differing <= 40)
            ADD_FAILURE() << line << "\n  ours: " << actual;
    }
    EXPECT_GT(compared, 10000);
    EXPECT_EQ(differing, 0) << "of " << compared;
}
