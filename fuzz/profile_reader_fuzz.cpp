// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The INI reader on arbitrary file bytes and arbitrary queries.

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "fuzz_input.h"
#include "platform/ini_document.h"
#include "platform/profile_reader.h"
#include "platform/text_codec.h"

using namespace kxsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const std::u16string section = in.text(16);
    const std::u16string key = in.text(16);
    const std::u16string fallback = in.text(16);
    const size_t buffer = in.byte();
    // Every third input is UTF-16 text, little or big endian by its byte order mark.
    static constexpr std::string_view kMarks[] = {"", "\xFF\xFE", "\xFE\xFF"};
    const std::string bytes = std::string(kMarks[in.byte() % 3]) + std::string(in.rest());

    // Through the parser directly.
    const auto doc = platform::IniDocument::parse(platform::decodeTextFile(bytes));
    if (auto value = doc.value(section, key)) (void)value->size();
    doc.visitKeyNames(section, [](std::u16string_view name) { return !name.empty(); });
    doc.visitSectionNames([](std::u16string_view name) { return !name.empty(); });

    // And through the file reader, as the dialogs use it.
    static const std::string path = "/tmp/kxsim-fuzz-" + std::to_string(::getpid()) + ".ini";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const std::u16string file = platform::fromUtf8(path);
    const std::u16string value = platform::profileString(file, section, key, fallback, buffer);
    if (buffer > 0 && value.size() > buffer - 1) __builtin_trap();
    size_t packed = 0;
    for (const auto& name : platform::profileKeyNames(file, section, buffer)) packed += name.size() + 1;
    if (packed + 1 > buffer && packed > 0) __builtin_trap();
    if (platform::profileSectionList(file, buffer).size() + 1 > std::max<size_t>(buffer, 1)) __builtin_trap();
    return 0;
}
