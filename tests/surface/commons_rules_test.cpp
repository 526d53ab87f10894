// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "surface/commons_rules.h"

using namespace kxsim::surface;

namespace {

constexpr uint64_t kSignChange = 0x7FFF'FFFFull;  // a 32-bit tick counter turns negative after this
constexpr uint64_t kWrap = 0xFFFF'FFFFull;        // and wraps to 0 after this

TEST(DelayPlan, EndsAfterItsMillisecondsWhereverTheClockStands) {
    constexpr uint64_t kEnd = std::numeric_limits<uint64_t>::max();
    const struct { uint64_t start; int32_t millis; bool waits; uint64_t deadline; } cases[] = {
        {5000, 0, true, 5000},  // zero waits for the next tick
        {kSignChange - 10, 100, true, kSignChange + 90}, {kSignChange, INT32_MAX, true, kSignChange + INT32_MAX},
        {kWrap - 3, 50, true, kWrap + 47}, {kWrap + 1, 20, true, kWrap + 21},
        {kEnd - 5, 100, true, kEnd},  // a clock at its very end saturates
        {5000, -1, false, 5000}, {kSignChange, INT32_MIN, false, kSignChange},  // negative counts do not wait
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        const DelayPlan plan = planDelay(c.start, c.millis);
        EXPECT_EQ(plan.waits, c.waits);
        EXPECT_NE(delayOver(plan, c.start), c.waits);
        if (!c.waits) continue;
        EXPECT_EQ(plan.deadline, c.deadline);
        EXPECT_FALSE(delayOver(plan, c.deadline));
        if (c.deadline < kEnd) {
            EXPECT_TRUE(delayOver(plan, c.deadline + 1));
        }
    }
}

TEST(OsVersion, MajorTimesHundredPlusMinorOfTheRelease) {
    const struct { const char* release; int32_t version; } cases[] = {
        {"6.1.0-18-amd64", 601}, {"6.18", 618}, {"7", 700}, {"3.", 300}, {"", 0}, {"linux-6.1", 0},
        {"99999999999.1", 0}, {"21474836.47", 2147483647}, {"21474836.48", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(versionNumberOfRelease(c.release), c.version) << c.release;
}

TEST(TempName, GivesUpAfterAThousandNamesWithTheLastOne) {
    int32_t n = 10000;
    int calls = 0;
    const auto out = searchTempName(u"", u"", [&] { return n++; }, [&](const std::u16string&) { return ++calls > 0; });
    EXPECT_EQ(out.triesLeft, 0);
    EXPECT_EQ(out.name, u"tmp10999");
    EXPECT_EQ(calls, 999);  // the thousandth name is not even looked at
}

}  // namespace
