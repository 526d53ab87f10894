#include "platform/chm_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
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

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TopicCase {
    int32_t contextId;
    const char* topic;
};

class BuiltHelpFile : public ::testing::TestWithParam<TopicCase> {};

TEST_P(BuiltHelpFile, resolves_the_dialogs_context_number_to_its_page) {
    const auto& c = GetParam();
    const platform::TopicLookup found = lookup(kHelpFile, c.contextId);
    EXPECT_EQ(found.message, "");
    EXPECT_EQ(found.topic, c.topic);
    ChmFile file;
    ASSERT_EQ(file.open(kHelpFile), ChmFile::OpenResult::Opened);
    const std::optional<std::string> page = file.read(found.topic);
    ASSERT_TRUE(page.has_value());
    EXPECT_NE(page->find("Context number " + std::to_string(c.contextId)), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, BuiltHelpFile,
                         ::testing::Values(TopicCase{7105, "/call_meter.htm"}, TopicCase{7108, "/clone_options.htm"},
                                           TopicCase{7111, "/short_message.htm"}, TopicCase{7120, "/network_list.htm"},
                                           TopicCase{8030, "/card_reader.htm"}, TopicCase{8040, "/magnetic_stripe.htm"},
                                           TopicCase{8100, "/converter.htm"}));

TEST(BuiltHelpFileContents, maps_exactly_the_dialog_numbers_and_holds_pages_styles_and_pictures) {
    ChmFile file;
    ASSERT_EQ(file.open(kHelpFile), ChmFile::OpenResult::Opened);
    const auto map = file.contextMap();
    std::set<int32_t> numbers;
    for (const auto& [number, target] : map) {
        numbers.insert(number);
        // However the compiler recorded the target, its page is named at the end.
        EXPECT_TRUE(target.ends_with(".htm")) << target;
    }
    EXPECT_EQ(numbers, (std::set<int32_t>{7105, 7108, 7111, 7120, 8030, 8040, 8100}));
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
    const std::string truncated = platform::toUtf8(folder.write("cut.chm", bytesOf(kHelpFile).substr(0, 120)));

    struct Case {
        std::string file;
        int32_t contextId;
        std::string message;
    } cases[] = {
        {kHelpFile, 9999, "The help file " + kHelpFile + " has no topic with the context number 9999."},
        {kHelpFile, 0, "The help file " + kHelpFile + " has no topic with the context number 0."},
        {kHelpFile, -7105, "The help file " + kHelpFile + " has no topic with the context number -7105."},
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
    // A file cut short opens or not, but never yields a topic.
    EXPECT_FALSE(lookup(truncated, 8030).found());
}

TEST(TopicTarget, names_the_page_inside_the_help_file) {
    const std::set<std::string> objects{"/a.htm", "/images/b.htm", "/stage/c.htm"};
    const auto exists = [&objects](const std::string& p) { return objects.count(p) > 0; };
    struct Case {
        const char* target;
        const char* path;
    } cases[] = {
        {"a.htm", "/a.htm"},
        {"/a.htm", "/a.htm"},
        {"images/b.htm", "/images/b.htm"},
        {"images\\b.htm", "/images/b.htm"},
        {"a.htm#fields", "/a.htm#fields"},
        {"ms-its:kxhelpd.chm::/a.htm", "/a.htm"},
        // Absolute paths of the folder the file was compiled in.
        {"/home/ann/build/help/stage/a.htm", "/a.htm"},
        {"/home/ann/build/help/stage/images/b.htm", "/images/b.htm"},
        {"C:\\Help\\Source\\a.htm", "/a.htm"},
        // The longest tail that names an object wins.
        {"/home/ann/stage/c.htm", "/stage/c.htm"},
        {"/home/ann/missing.htm", ""},
        {"", ""},
        {"#top", ""},
        {"/home/ann/", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::resolveTopicTarget(c.target, exists), c.path) << c.target;
}

}  // namespace
