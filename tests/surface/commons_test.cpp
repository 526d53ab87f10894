// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <QTimer>
#include <filesystem>
#include <set>
#include <tuple>

#include "kxsimlib/commons.h"
#include "platform/system_info.h"
#include "support/temp_files.h"
#include "surface/commons_hooks.h"

using namespace kxsim;

namespace {

TEST(CommonsDelay, ReturnsNoEarlierThanAskedAndRunsHostCodeMeanwhile) {
    // A host timer at timerAt must run before Delay returns; a negative count processes events once.
    const struct { int32_t millis; int timerAt; } rows[] = {{0, 0}, {80, 20}, {-5, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.millis);
        Commons commons;
        int runs = 0;
        QTimer::singleShot(row.timerAt, [&] { ++runs; });
        int32_t millis = row.millis;
        const uint64_t start = platform::monotonicMilliseconds();
        ASSERT_TRUE(commons.Delay(millis));
        if (row.millis >= 0) {
            EXPECT_GT(platform::monotonicMilliseconds(), start + static_cast<uint64_t>(row.millis));
        }
        EXPECT_EQ(runs, 1);
        EXPECT_EQ(millis, row.millis);
    }
}

TEST(CommonsVersion, AsksOnceAndCachesUnlessTheNumberIsZero) {
    const struct { std::vector<std::string> answers; std::vector<int32_t> results; int asked; } cases[] = {
        {{"6.1.0-18-amd64", "5.10.0"}, {601, 601, 601}, 1},
        {{"garbage", "", "5.10.0", "6.1"}, {0, 0, 510, 510}, 3},
    };
    for (const auto& c : cases) {
        Commons commons;
        int asked = 0;
        surface::setKernelReleaseSource(commons, [&] { return c.answers.at(static_cast<size_t>(asked++)); });
        for (int32_t expected : c.results) {
            int32_t version = -1;
            ASSERT_TRUE(commons.GetOSVersion(version));
            EXPECT_EQ(version, expected);
        }
        EXPECT_EQ(asked, c.asked);
    }
}

// NewTempFileName in \a folder for ".tmp" names: the name, and the tries left.
std::pair<std::u16string, int32_t> newTempFileName(Commons& commons, const test::TempFolder& folder) {
    const std::u16string given = folder.file("");
    std::u16string path = given, appendix = u".tmp", name;
    int32_t result = -1;
    EXPECT_TRUE(commons.NewTempFileName(path, appendix, 12345, name, result));
    EXPECT_EQ(path, given);
    return {name, result};
}

TEST(CommonsTempName, OrdinaryFilesAreTakenDirectoriesAreNot) {
    test::TempFolder folder;
    folder.write("tmp11111.tmp", "x");
    folder.write("tmp22222.tmp", "");
    std::filesystem::create_directory(folder.path() / "tmp33333.tmp");
    std::filesystem::create_symlink(folder.path() / "tmp11111.tmp", folder.path() / "tmp44444.tmp");
    const struct { std::vector<int32_t> draws; int32_t result; std::string last; } cases[] = {
        {{11111, 22222, 33333}, 997, "tmp33333.tmp"},
        {{44444, 11111, 55555}, 997, "tmp55555.tmp"},
        {{22222, 10000}, 998, "tmp10000.tmp"},
        {{11111, 11111, 10000}, 997, "tmp10000.tmp"},  // the same name drawn twice counts twice
    };
    for (const auto& c : cases) {
        Commons commons;
        size_t next = 0;
        surface::setTempNameDraw(commons, [&] { return c.draws.at(next++); });
        EXPECT_EQ(newTempFileName(commons, folder), std::make_pair(folder.file(c.last), c.result));
    }
}

// A name holding a NUL can name no file: refused, and no output is written.
TEST(CommonsTempName, ANulInPathOrAppendixIsRefused) {
    test::TempFolder folder;
    const std::u16string dir = folder.file("");
    const struct { std::u16string path, appendix; } cases[] = {
        {dir + std::u16string(u"a\0b/", 4), u".tmp"}, {dir, std::u16string(u".t\0mp", 5)},
        {std::u16string(u"\0", 1), u""}};
    for (const auto& c : cases) {
        Commons commons;
        std::u16string path = c.path, appendix = c.appendix, name = u"unchanged";
        int32_t result = -7;
        const Status s = commons.NewTempFileName(path, appendix, 0, name, result);
        EXPECT_EQ(s.number(), 5);
        EXPECT_EQ(std::tie(name, result), std::make_tuple(u"unchanged", -7));
    }
}

TEST(CommonsTempName, CallsInTheSameSecondDrawDifferentNames) {
    test::TempFolder folder;
    Commons commons;
    std::set<std::u16string> names;
    for (int i = 0; i < 5; ++i) names.insert(newTempFileName(commons, folder).first);
    EXPECT_GT(names.size(), 1u);
}

// Reaching every member by name is call_by_name_test's; here the old CCB goes.
TEST(CommonsPcb, HdcPutsANewCcbIntoPcbAndReleasesTheOldOne) {
    Commons commons;
    std::shared_ptr<CCB> first, second;
    int32_t dc = 77;
    ASSERT_TRUE(commons.hDC(dc) && commons.PCB(first) && first);
    std::weak_ptr<CCB> firstAlive = first;
    first.reset();
    ASSERT_TRUE(commons.hDC(dc) && commons.PCB(second) && second);
    EXPECT_TRUE(firstAlive.expired());
    EXPECT_EQ(dc, 77);
}

}  // namespace
