// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "plmn_list.h"

#include "sim_codings.h"

namespace kxsim::card {

namespace {
std::string withoutLeadingZeros(std::string_view digits) {
    const size_t first = digits.find_first_not_of('0');
    return std::string(first == std::string_view::npos ? "0" : digits.substr(first));
}
}  // namespace

std::vector<PlmnEntry> decodePlmnList(const Bytes& content, size_t entrySize) {
    std::vector<PlmnEntry> entries;
    for (size_t i = 0; i + entrySize <= content.size(); i += entrySize) {
        std::string key = plmnKey(&content[i]);
        if (key.empty()) continue;
        const uint16_t act = entrySize == 5 ? uint16_t(content[i + 3] << 8 | content[i + 4]) : 0;
        entries.push_back({std::move(key), act});
    }
    return entries;
}

std::string actText(uint16_t act) {
    static const struct { uint16_t bit; const char* name; } names[] = {
        {0x8000, "UTRAN"}, {0x4000, "E-UTRAN"}, {0x0800, "NG-RAN"}, {0x0080, "GSM"}, {0x0040, "GSM COMPACT"},
        {0x0020, "cdma2000 HRPD"}, {0x0010, "cdma2000 1xRTT"},
    };
    std::string text;
    for (const auto& n : names)
        if (act & n.bit) text += (text.empty() ? "" : ", ") + std::string(n.name);
    return text.empty() ? "none" : text;
}

std::optional<std::string> cardKey(std::u16string_view token, const std::vector<std::string>& known, std::string& why) {
    std::string digits;
    for (char16_t c : token) digits += c >= u'0' && c <= u'9' ? char(c) : '?';
    if (digits.find('?') == std::string::npos && !digits.empty()) {
        const std::string number = withoutLeadingZeros(digits);
        for (const std::string& key : known)
            if (withoutLeadingZeros(key) == number) return key;
    }
    if (plmnBytes(token, why)) return digits;
    return std::nullopt;
}

std::optional<Bytes> encodePlmnList(const std::vector<std::string>& keys, const std::vector<PlmnEntry>& before,
                                    size_t entrySize, size_t size, std::string& why) {
    Bytes coded;
    std::vector<bool> taken(before.size(), false);
    for (const std::string& key : keys) {
        const auto three = plmnBytes(std::u16string(key.begin(), key.end()), why);
        if (!three) return std::nullopt;
        coded.insert(coded.end(), three->begin(), three->end());
        if (entrySize != 5) continue;
        uint16_t act = kDefaultAct;
        for (size_t i = 0; i < before.size(); ++i)
            if (!taken[i] && before[i].key == key) {
                act = before[i].act;
                taken[i] = true;
                break;
            }
        coded.push_back(uint8_t(act >> 8));
        coded.push_back(uint8_t(act));
    }
    if (coded.size() > size) {
        why = std::to_string(keys.size()) + " networks do not fit: the file holds " + std::to_string(size / entrySize);
        return std::nullopt;
    }
    coded.resize(size, 0xFF);
    return coded;
}

}  // namespace kxsim::card
