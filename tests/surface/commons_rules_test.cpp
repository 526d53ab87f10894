#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "surface/commons_rules.h"

using namespace kxsim::surface;

namespace {

constexpr uint64_t kSignChange = 0x7FFF'FFFFull;  // a 32-bit tick counter turns negative after this
constexpr uint64_t kWrap = 0xFFFF'FFFFull;        // and wraps to 0 after this

struct DelayCase {
    const char* what;
    uint64_t start;
    int32_t millis;
    bool waits;
    uint64_t deadline;
};

TEST(DelayPlan, EndsAfterItsMillisecondsWhereverTheClockStands) {
    const DelayCase cases[] = {
        {"zero waits for the next tick", 5000, 0, true, 5000},
        {"ordinary wait", 5000, 250, true, 5250},
        {"crossing the change of sign", kSignChange - 10, 100, true, kSignChange + 90},
        {"starting at the change of sign", kSignChange, 1, true, kSignChange + 1},
        {"longest count at the change of sign", kSignChange, INT32_MAX, true, kSignChange + INT32_MAX},
        {"crossing the wrap", kWrap - 3, 50, true, kWrap + 47},
        {"after the wrap", kWrap + 1, 20, true, kWrap + 21},
        {"clock at its very end saturates", std::numeric_limits<uint64_t>::max() - 5, 100, true,
         std::numeric_limits<uint64_t>::max()},
        {"negative count does not wait", 5000, -1, false, 5000},
        {"most negative count does not wait", kSignChange, INT32_MIN, false, kSignChange},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DelayPlan plan = planDelay(c.start, c.millis);
        EXPECT_EQ(plan.waits, c.waits);
        if (!c.waits) {
            EXPECT_TRUE(delayOver(plan, c.start));
            continue;
        }
        EXPECT_EQ(plan.deadline, c.deadline);
        EXPECT_FALSE(delayOver(plan, c.start));
        EXPECT_FALSE(delayOver(plan, c.deadline));
        if (c.deadline < std::numeric_limits<uint64_t>::max()) {
            EXPECT_TRUE(delayOver(plan, c.deadline + 1));
        }
    }
}

TEST(OsVersion, MajorTimesHundredPlusMinorOfTheRelease) {
    const struct {
        const char* release;
        int32_t version;
    } cases[] = {
        {"6.1.0-18-amd64", 601},
        {"5.10.0", 510},
        {"4.19.282-1", 419},
        {"6.18", 618},
        {"7", 700},
        {"3.", 300},
        {"10.0-rc1", 1000},
        {"", 0},
        {"linux-6.1", 0},
        {"99999999999.1", 0},
        {"21474836.47", 2147483647},
        {"21474836.48", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(versionNumberOfRelease(c.release), c.version) << c.release;
}

struct TempCase {
    const char* what;
    std::vector<int32_t> draws;
    std::set<std::u16string> taken;
    int32_t triesLeft;
    std::u16string name;
};

TEST(TempName, CountsTheTriesThatWereTaken) {
    const TempCase cases[] = {
        {"first name free", {12345}, {}, 999, u"/d/tmp12345.txt"},
        {"two taken", {11111, 22222, 33333}, {u"/d/tmp11111.txt", u"/d/tmp22222.txt"}, 997, u"/d/tmp33333.txt"},
        {"the same name drawn twice", {11111, 11111, 10000}, {u"/d/tmp11111.txt"}, 997, u"/d/tmp10000.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        size_t next = 0;
        const auto out = searchTempName(
            u"/d/", u".txt", [&] { return c.draws.at(next++); },
            [&](const std::u16string& n) { return c.taken.count(n) > 0; });
        EXPECT_EQ(out.triesLeft, c.triesLeft);
        EXPECT_EQ(out.name, c.name);
        EXPECT_EQ(next, c.draws.size());
    }
}

TEST(TempName, GivesUpAfterAThousandNamesWithTheLastOne) {
    int32_t n = 10000;
    int calls = 0;
    const auto out = searchTempName(
        u"", u"", [&] { return n++; },
        [&](const std::u16string&) {
            ++calls;
            return true;
        });
    EXPECT_EQ(out.triesLeft, 0);
    EXPECT_EQ(out.name, u"tmp10999");
    EXPECT_EQ(calls, 999);  // the thousandth name is not even looked at
}

}  // namespace
