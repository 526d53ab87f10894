// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/chm_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "platform/text_codec.h"
#include "support/temp_files.h"

using namespace kxsim;
using platform::ChmFile;

namespace {

const std::string kHelpFile = KXSIM_BUILT_HELP_FILE;

platform::TopicLookup lookup(const std::string& path, int32_t contextId) {
    ChmFile file;
    const ChmFile::OpenResult opened = file.open(path);
    return platform::lookupTopic(file, opened, contextId);
}

TEST(BuiltHelpFileContents, maps_exactly_the_dialog_numbers_to_their_pages_and_holds_styles_and_pictures) {
    ChmFile file;
    ASSERT_EQ(file.open(kHelpFile), ChmFile::OpenResult::Opened);
    const std::map<int32_t, std::string> topics{{7105, "/call_meter.htm"}, {7108, "/clone_options.htm"},
                                                {7111, "/short_message.htm"}, {7120, "/network_list.htm"},
                                                {8030, "/card_reader.htm"}, {8040, "/magnetic_stripe.htm"},
                                                {8100, "/converter.htm"}};
    std::set<int32_t> numbers, expected;
    for (const auto& [number, target] : file.contextMap()) {
        numbers.insert(number);
        // However the compiler recorded the target, its page is named at the end.
        EXPECT_TRUE(target.ends_with(".htm")) << target;
    }
    for (const auto& [number, topic] : topics) {
        expected.insert(number);
        const platform::TopicLookup found = lookup(kHelpFile, number);
        EXPECT_EQ(found.message, "");
        EXPECT_EQ(found.topic, topic);
        const std::optional<std::string> page = file.read(found.topic);
        ASSERT_TRUE(page.has_value()) << topic;
        // The number is in the page source, not in its text.
        EXPECT_NE(page->find("<meta name=\"context-number\" content=\"" + std::to_string(number) + "\">"), std::string::npos) << topic;
        EXPECT_EQ(page->find("Context number"), std::string::npos) << topic;
    }
    EXPECT_EQ(numbers, expected);
    const auto objects = file.list();
    for (const char* name : {"/index.htm", "/help.css", "/images/WLeser.png", "/#IVB", "/#STRINGS"})
        EXPECT_NE(std::find(objects.begin(), objects.end(), name), objects.end()) << name;
    const std::optional<std::string> picture = file.read("/images/WLeser.png");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->substr(0, 4), "\x89PNG");
    EXPECT_EQ(file.read("/nothere.htm"), std::nullopt);
    EXPECT_EQ(file.read(""), std::nullopt);
}

TEST(HelpLookup, reports_what_keeps_a_topic_from_showing) {
    test::TempFolder folder;
    const std::string dir = folder.path().string();
    const std::string notChm = platform::toUtf8(folder.write("notes.chm", "This is not a compiled help file.\n"));
    const std::string empty = platform::toUtf8(folder.write("empty.chm", ""));

    const auto noTopic = [](int32_t n) {
        return "The help file " + kHelpFile + " has no topic with the context number " + std::to_string(n) + ".";
    };
    struct Case { std::string file; int32_t contextId; std::string message; } cases[] = {
        {kHelpFile, 9999, noTopic(9999)}, {kHelpFile, 0, noTopic(0)}, {kHelpFile, -7105, noTopic(-7105)},
        {dir + "/kxhelpd.chm", 8030, "The help file " + dir + "/kxhelpd.chm was not found."},
        {dir, 8030, "The help file " + dir + " was not found."},
        {notChm, 8030, "The file " + notChm + " is not a compiled help file."},
        {empty, 8030, "The file " + empty + " is not a compiled help file."},
    };
    for (const Case& c : cases) {
        const platform::TopicLookup found = lookup(c.file, c.contextId);
        EXPECT_EQ(found.message, c.message);
        EXPECT_EQ(found.topic, "");
    }
}

// The built help file with one value changed: chmlib would divide by zero, read
// past a buffer or loop forever on each of them.
TEST(HelpLookup, refuses_a_damaged_help_file_before_chmlib_reads_it) {
    std::ifstream in(kHelpFile, std::ios::binary);
    const std::string good{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto put = [](std::string& bytes, size_t at, uint64_t value, size_t width) {
        for (size_t i = 0; i < width; ++i) bytes[at + i] = char(value >> (8 * i) & 0xff);
    };
    const auto get32 = [&good](size_t at) {
        uint32_t value = 0;
        for (size_t i = 4; i-- > 0;) value = value << 8 | uint8_t(good[at + i]);
        return value;
    };
    // The control data and the reset table (version 2, table at 0x28) are stored uncompressed.
    const size_t control = good.find("LZXC") - 4;
    size_t resetTable = 0;
    while (resetTable + 0x28 < good.size() && !(get32(resetTable) == 2 && get32(resetTable + 0x0c) == 0x28))
        ++resetTable;
    const size_t listing = get32(0x48) + 0x54;  // the first directory chunk
    ASSERT_EQ(good.substr(control + 4, 4), "LZXC");
    ASSERT_EQ(get32(resetTable + 0x20), 0x8000u);
    ASSERT_EQ(good.substr(listing, 4), "PMGL");

    struct Case { const char* what; std::function<void(std::string&)> damage; } cases[] = {
        {"window size 0", [&](std::string& b) { put(b, control + 0x10, 0, 4); }},
        {"window size 1, unscaled", [&](std::string& b) { put(b, control + 8, 1, 4); put(b, control + 0x10, 1, 4); }},
        {"no windows per reset", [&](std::string& b) { put(b, control + 0x14, 0, 4); }},
        {"reset table block length 0", [&](std::string& b) { put(b, resetTable + 0x20, 0, 8); }},
        {"header cut short", [](std::string& b) { b.resize(0x50); }},
        {"directory cut short", [](std::string& b) { b.resize(200); }},
        {"directory past the end", [&](std::string& b) { put(b, 0x48, b.size() + 1000, 8); }},
        {"listing chunk followed by itself", [&](std::string& b) { put(b, listing + 0x10, 0, 4); }},
        {"entries running into the free space", [&](std::string& b) { put(b, listing + 4, 0, 4); }},
    };
    const test::TempFolder folder;
    for (const Case& c : cases) {
        std::string bytes = good;
        c.damage(bytes);
        const std::string path = platform::toUtf8(folder.write("damaged.chm", bytes));
        EXPECT_EQ(lookup(path, 8030).message, "The help file " + path + " is damaged and cannot be read.") << c.what;
    }
}

TEST(TopicTarget, names_the_page_inside_the_help_file) {
    const std::set<std::string> objects{"/a.htm", "/images/b.htm", "/stage/c.htm"};
    const auto exists = [&objects](const std::string& p) { return objects.count(p) > 0; };
    struct Case { const char* target; const char* path; } cases[] = {
        {"a.htm", "/a.htm"}, {"/a.htm", "/a.htm"}, {"images/b.htm", "/images/b.htm"}, {"images\\b.htm", "/images/b.htm"},
        {"a.htm#fields", "/a.htm#fields"}, {"ms-its:kxhelpd.chm::/a.htm", "/a.htm"},
        // Absolute paths of the folder the file was compiled in.
        {"/home/ann/build/help/stage/a.htm", "/a.htm"}, {"/home/ann/build/help/stage/images/b.htm", "/images/b.htm"},
        {"C:\\Help\\Source\\a.htm", "/a.htm"},
        // The longest tail that names an object wins.
        {"/home/ann/stage/c.htm", "/stage/c.htm"},
        {"/home/ann/missing.htm", ""}, {"", ""}, {"#top", ""}, {"/home/ann/", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::resolveTopicTarget(c.target, exists), c.path) << c.target;
}

}  // namespace
