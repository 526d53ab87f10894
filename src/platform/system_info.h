// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What Commons asks the operating system: a millisecond clock and the kernel's
// release. (Whether a file is an ordinary one: platform::isOrdinaryFile.)

#include <cstdint>
#include <string>

namespace kxsim::platform {

/// Milliseconds of the monotonic clock, 64 bits wide: never wraps, never goes back.
uint64_t monotonicMilliseconds();

/// The running kernel's release ("6.1.0-18-amd64"); empty when it cannot be read.
std::string kernelRelease();

}  // namespace kxsim::platform
