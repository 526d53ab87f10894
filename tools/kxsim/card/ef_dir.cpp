// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "ef_dir.h"

#include <algorithm>

#include "tlv.h"

namespace kxsim::card {

std::optional<Application> applicationRecord(const Bytes& record) {
    const auto top = parseTlv(record, "an EF DIR record");
    const Tlv* entry = findTlv(top, 0x61);
    if (!entry) return std::nullopt;
    const auto items = parseTlv(entry->value, "an EF DIR record");
    const Tlv* aid = findTlv(items, 0x4F);
    if (!aid || aid->value.empty()) return std::nullopt;
    Application app{aid->value, {}};
    if (const Tlv* label = findTlv(items, 0x50))
        for (uint8_t c : label->value) app.label += c >= 0x20 && c < 0x7F ? char(c) : '?';
    return app;
}

bool isUsim(const Bytes& aid) {
    static const Bytes prefix{0xA0, 0x00, 0x00, 0x00, 0x87, 0x10, 0x02};
    return aid.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), aid.begin());
}

}  // namespace kxsim::card
