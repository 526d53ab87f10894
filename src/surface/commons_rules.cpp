// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "surface/commons_rules.h"

#include <limits>
#include <string>

namespace kxsim::surface {

DelayPlan planDelay(uint64_t startMs, int32_t millisecs) {
    if (millisecs < 0) return {false, startMs};
    const uint64_t span = static_cast<uint64_t>(millisecs);
    const uint64_t last = std::numeric_limits<uint64_t>::max();
    return {true, startMs > last - span ? last : startMs + span};
}

bool delayOver(const DelayPlan& plan, uint64_t nowMs) { return !plan.waits || nowMs > plan.deadline; }

int32_t versionNumberOfRelease(std::string_view release) {
    auto number = [&](size_t& i, int64_t& value) {
        const size_t from = i;
        value = 0;
        while (i < release.size() && release[i] >= '0' && release[i] <= '9') {
            value = value * 10 + (release[i] - '0');
            if (value > std::numeric_limits<int32_t>::max()) return false;
            ++i;
        }
        return i > from;
    };
    size_t i = 0;
    int64_t major = 0, minor = 0;
    if (!number(i, major)) return 0;
    if (i < release.size() && release[i] == '.') {
        ++i;
        if (!number(i, minor)) minor = 0;
    }
    const int64_t version = major * 100 + minor;
    return version > std::numeric_limits<int32_t>::max() ? 0 : static_cast<int32_t>(version);
}

TempNameSearch searchTempName(std::u16string_view path, std::u16string_view appendix,
                              const std::function<int32_t()>& draw,
                              const std::function<bool(const std::u16string&)>& taken) {
    TempNameSearch out{{}, 1000};
    do {
        const std::string digits = std::to_string(draw());
        out.name.assign(path);
        out.name += u"tmp";
        out.name.append(digits.begin(), digits.end());
        out.name += appendix;
        --out.triesLeft;
    } while (out.triesLeft > 0 && taken(out.name));
    return out;
}

}  // namespace kxsim::surface
