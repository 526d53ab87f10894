// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The mobile profile file made of arbitrary bytes: the short message form's
// validity list read from its section "SMS_VP", as the form reads it.

#include "dialogs/short_message/short_message_model.h"
#include "fuzz_files.h"
#include "platform/text_codec.h"
#include "services/profile.h"

using namespace kxsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzz::PrivateFolder folder;
    const std::u16string file = platform::fromUtf8(
        folder.write("kxmobil.ini", std::string_view(reinterpret_cast<const char*>(data), size)));
    std::vector<std::u16string> values;
    const auto lookup = [&](const std::u16string& key) {
        values.push_back(services::ReadProfile(key, std::u16string(), std::u16string(dialogs::kValiditySection), file));
        return values.back();
    };
    const std::vector<dialogs::ValidityEntry> entries = dialogs::ReadValidityList(lookup);

    // One entry per value up to the first empty one, at most 100.
    if (entries.size() > static_cast<size_t>(dialogs::kMaxValidityEntries)) __builtin_trap();
    if (values.size() != entries.size() + (entries.size() < 100 ? 1 : 0)) __builtin_trap();
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::u16string& value = values[i];
        if (value.empty()) __builtin_trap();
        // The label is the value up to its first comma; the number the part after it.
        const size_t comma = value.find(u',');
        if (entries[i].label != value.substr(0, comma)) __builtin_trap();
        if (comma == std::u16string::npos && entries[i].value != 0) __builtin_trap();
        if (comma != std::u16string::npos) {
            const std::u16string second = value.substr(comma + 1, value.find(u',', comma + 1) - comma - 1);
            if (entries[i].value != dialogs::ParseValidityValue(second).value_or(0)) __builtin_trap();
        }
    }
    return 0;
}
