// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/system_info.h"

#include <sys/utsname.h>
#include <time.h>

namespace kxsim::platform {

uint64_t monotonicMilliseconds() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1'000'000u;
}

std::string kernelRelease() {
    utsname names{};
    if (::uname(&names) != 0) return {};
    return names.release;
}

}  // namespace kxsim::platform
