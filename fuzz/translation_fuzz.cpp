// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The translation lookups on arbitrary keys and sections against a language
// file made of arbitrary bytes, as the thread's language file.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "fuzz_input.h"
#include "platform/text_codec.h"
#include "services/translation.h"
#include "core/module_data.h"

using namespace kxsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const std::u16string section = in.text(16);
    const std::u16string key = in.longText(600);
    const std::string_view bytes = in.rest();

    static const std::string path = "/tmp/kxsim-fuzz-lang-" + std::to_string(::getpid()) + ".ini";
    static const struct Remover {
        ~Remover() { std::remove(path.c_str()); }
    } remover;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    core::languageFile() = platform::fromUtf8(path);

    // A lookup gives at most 511 characters; a key that is not found comes back
    // without its trailing blanks.
    const std::u16string value = services::LookupText(key, section);
    if (value.size() > 511) __builtin_trap();
    const std::u16string translated = services::TranslateText(key);
    if (translated.size() > 511) __builtin_trap();

    // Without a language file every text is its own translation, as a default
    // lands: trailing blanks dropped (one kept of blanks only), then cut to the
    // buffer, then one pair of enclosing quotes removed.
    core::languageFile().clear();
    std::u16string_view text = key;
    while (text.size() > 1 && text.back() == u' ') text.remove_suffix(1);
    const bool quoted = text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
                        text.back() == text.front();
    if (quoted) text.remove_prefix(1);
    std::u16string expected(text.substr(0, 511));
    if (quoted && text.size() <= 512) expected.pop_back();
    if (services::LookupText(key, section) != expected) __builtin_trap();
    return 0;
}
