// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The rules of Commons that need no operating system: the end of a wait, the
// version number of a kernel release, and the search for a free temporary name.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kxsim::surface {

/// When a wait of Delay is over, in readings of a 64-bit millisecond clock.
/// A 64-bit reading never wraps, so a wait that a 32-bit tick counter would
/// see cross its change of sign (after about 24.8 days) or its wrap (49.7
/// days) ends after its milliseconds like any other.
struct DelayPlan {
    bool waits;         ///< false for a negative count: one pass of events, no wait
    uint64_t deadline;  ///< the wait is over once the clock has passed this reading
};

DelayPlan planDelay(uint64_t startMs, int32_t millisecs);
/// True when the clock reading \a nowMs has passed the plan's deadline.
bool delayOver(const DelayPlan& plan, uint64_t nowMs);

/// major × 100 + minor of a kernel release such as "6.1.0-18-amd64" (601);
/// 0 when the release does not start with a number or the number does not fit.
int32_t versionNumberOfRelease(std::string_view release);

/// The outcome of a temporary name search.
struct TempNameSearch {
    std::u16string name;  ///< the last name formed
    int32_t triesLeft;    ///< 999 when the first name was free, 0 when all 1000 were taken
};

/// Forms up to 1000 names \a path + "tmp" + draw() + \a appendix until one is
/// not \a taken. \a draw gives numbers from 10000 to 99998.
TempNameSearch searchTempName(std::u16string_view path, std::u16string_view appendix,
                              const std::function<int32_t()>& draw,
                              const std::function<bool(const std::u16string&)>& taken);

}  // namespace kxsim::surface
