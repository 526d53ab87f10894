// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The network list's key list: reading a ";"-separated list, the typed-number
// check and writing the list back.

#include "dialogs/network_list/network_list_model.h"
#include "fuzz_input.h"
#include "services/next_token.h"

using namespace kxsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const std::u16string reply = in.text(64);
    const std::u16string keys = in.longText(8192);

    std::vector<dialogs::KeyToken> tokens;
    const Status read = dialogs::ReadKeyList(keys, tokens);
    if (!read && (read.number() != errors::Overflow || !tokens.empty())) __builtin_trap();

    // Written back and read again, the list keeps its keys.
    std::vector<dialogs::NetworkEntry> entries;
    for (const auto& t : tokens) entries.push_back({t.name, t.key});
    std::vector<dialogs::KeyToken> again;
    if (!dialogs::ReadKeyList(dialogs::KeyListText(entries), again) || again.size() != tokens.size())
        __builtin_trap();
    for (size_t i = 0; i < tokens.size(); ++i)
        if (again[i].key != tokens[i].key) __builtin_trap();

    // NextToken always shortens the text until it is empty.
    std::u16string rest = keys;
    for (size_t guard = 0; !rest.empty(); ++guard) {
        const size_t before = rest.size();
        services::NextToken(rest, u';');
        if (rest.size() >= before || guard > keys.size()) __builtin_trap();
    }

    dialogs::NetworkLists lists;
    (void)dialogs::IsNumberReply(reply);
    (void)dialogs::InputNetwork(lists, reply);
    if (lists.selected.size() > 1) __builtin_trap();
    return 0;
}
