#include "dialogs/network_list/network_list_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>

using namespace kxsim;
using namespace kxsim::dialogs;
using Kind = ListChange::Kind;
using Entries = std::vector<NetworkEntry>;
using Tokens = std::vector<KeyToken>;

namespace {

// A section held in memory: names in file order, values returned uncut so the
// model's own limit shows.
class MemorySection : public NetworkSection {
public:
    std::vector<std::pair<std::u16string, std::u16string>> entries;
    mutable std::vector<size_t> nameBuffers;
    mutable std::vector<size_t> valueBuffers;

    std::vector<std::u16string> keyNames(size_t bufferSize) const override {
        nameBuffers.push_back(bufferSize);
        std::vector<std::u16string> names;
        for (const auto& [name, value] : entries) names.push_back(name);
        return names;
    }
    std::u16string value(std::u16string_view key, std::u16string_view fallback,
                         size_t bufferSize) const override {
        valueBuffers.push_back(bufferSize);
        for (const auto& [name, value] : entries)
            if (name == key) return value;
        return std::u16string(fallback);
    }
};

NetworkLists withSelected(std::initializer_list<int32_t> keys, std::optional<size_t> row = std::nullopt) {
    NetworkLists lists;
    lists.available = {{u"Alpha", 1}, {u"Beta", 2}, {u"Gamma", 3}};
    for (int32_t key : keys) lists.selected.push_back({u"K" + std::u16string(1, char16_t(u'0' + key)), key});
    lists.selectedRow = row;
    return lists;
}

std::vector<int32_t> keysOf(const Entries& entries) {
    std::vector<int32_t> keys;
    for (const auto& e : entries) keys.push_back(e.key);
    return keys;
}

}  // namespace

TEST(network_list_model, reads_key_lists_up_to_the_first_empty_token) {
    const struct {
        std::u16string keys;
        Tokens expected;
    } rows[] = {
        {u"", {}},
        {u"1;2;", {{u"1", 1}, {u"2", 2}}},
        {u"1;2", {{u"1", 1}, {u"2", 2}}},
        {u"1;;2", {{u"1", 1}}},
        {u";1", {}},
        {u"00101", {{u"00101", 101}}},
        {u"12.5;13.5;", {{u"12.5", 12}, {u"13.5", 14}}},
        {u"abc;-7; 4 2 ;", {{u"abc", 0}, {u"-7", -7}, {u" 4 2 ", 42}}},
        {u"&H10;1e3;", {{u"&H10", 16}, {u"1e3", 1000}}},
        {u"2147483647;-2147483648;", {{u"2147483647", INT32_MAX}, {u"-2147483648", INT32_MIN}}},
        {u"7;7;", {{u"7", 7}, {u"7", 7}}},
        {u"1;;99999999999;", {{u"1", 1}}},  // what follows ";;" is never read
    };
    for (const auto& row : rows) {
        Tokens tokens{{u"stale", 9}};
        EXPECT_TRUE(ReadKeyList(row.keys, tokens));
        EXPECT_EQ(tokens, row.expected);
    }
}

TEST(network_list_model, a_token_too_large_for_a_key_fails_with_overflow) {
    for (const std::u16string keys : {u"2147483648;", u"1;-2147483649;", u"1e10", u"1;2;&HFFFFFFFFF;"}) {
        Tokens tokens;
        const Status s = ReadKeyList(keys, tokens);
        EXPECT_EQ(s.number(), 6);
        EXPECT_EQ(s.description(), u"Overflow");
        EXPECT_TRUE(tokens.empty());
    }
}

TEST(network_list_model, writes_each_key_in_decimal_followed_by_a_semicolon) {
    const struct {
        Entries entries;
        std::u16string expected;
    } rows[] = {
        {{}, u""},
        {{{u"A", 12345}, {u"B", 678}}, u"12345;678;"},
        {{{u"? 00101", 101}, {u"", 0}, {u"", -5}}, u"101;0;-5;"},
        {{{u"x", INT32_MIN}, {u"x", INT32_MAX}}, u"-2147483648;2147483647;"},
        {{{u"A", 7}, {u"A", 7}}, u"7;7;"},
    };
    for (const auto& row : rows) EXPECT_EQ(KeyListText(row.entries), row.expected);
}

TEST(network_list_model, fills_both_lists_from_the_section_and_the_keys) {
    MemorySection section;
    section.entries = {{u"26201", u"Telekom"},
                       {u"00101", u"Test network"},
                       {u"99999999999", u"Too large"},  // skipped
                       {u"26202", u""},
                       {u"310260", std::u16string(100, u'x')},
                       {u"", u"after an empty name"},
                       {u"26203", u"never listed"}};
    NetworkLists lists;
    lists.availableRow = 1;
    lists.selectedRow = 0;
    ASSERT_TRUE(FillNetworkLists(lists, section, u"26202;00101;4711;310260;abc;;26201"));
    EXPECT_EQ(lists.available, (Entries{{u"Telekom", 26201},
                                        {u"Test network", 101},
                                        {u"", 26202},
                                        {std::u16string(79, u'x'), 310260}}));
    EXPECT_EQ(lists.selected, (Entries{{u"", 26202},
                                       {u"Test network", 101},
                                       {u"? 4711", 4711},
                                       {std::u16string(79, u'x'), 310260},
                                       {u"? abc", 0}}));
    EXPECT_FALSE(lists.availableRow);
    EXPECT_FALSE(lists.selectedRow);
    EXPECT_EQ(section.nameBuffers, std::vector<size_t>{20000});
    EXPECT_TRUE(std::all_of(section.valueBuffers.begin(), section.valueBuffers.end(),
                            [](size_t n) { return n == 80; }));

    // A second fill replaces, never appends.
    ASSERT_TRUE(FillNetworkLists(lists, section, u"26201;"));
    EXPECT_EQ(lists.available.size(), 4u);
    EXPECT_EQ(lists.selected, (Entries{{u"Telekom", 26201}}));
}

TEST(network_list_model, a_missing_section_shows_every_token_as_unknown) {
    MemorySection none;
    NetworkLists lists;
    ASSERT_TRUE(FillNetworkLists(lists, none, u"1;" + std::u16string(100, u'9').insert(0, u"0.")));
    EXPECT_TRUE(lists.available.empty());
    ASSERT_EQ(lists.selected.size(), 2u);
    EXPECT_EQ(lists.selected[0], (NetworkEntry{u"? 1", 1}));
    EXPECT_EQ(lists.selected[1].text.size(), 79u);  // the default is cut as a value is
    EXPECT_EQ(lists.selected[1].key, 1);
}

TEST(network_list_model, a_bad_token_fails_the_fill_and_leaves_the_lists_empty) {
    MemorySection section;
    section.entries = {{u"1", u"One"}};
    NetworkLists lists;
    EXPECT_EQ(FillNetworkLists(lists, section, u"1;3000000000;").number(), 6);
    EXPECT_TRUE(lists.available.empty());
    EXPECT_TRUE(lists.selected.empty());
}

TEST(network_list_model, add_appends_a_copy_of_the_available_entry_up_to_the_maximum) {
    const struct {
        const char* name;
        std::initializer_list<int32_t> selected;
        std::optional<size_t> availableRow;
        int32_t max;
        ListChange change;
        std::vector<int32_t> after;
    } rows[] = {
        {"appends", {1}, 2, 5, {Kind::Appended, 1, 1}, {1, 3}},
        {"duplicates allowed", {2}, 1, 5, {Kind::Appended, 1, 1}, {2, 2}},
        {"into an empty list", {}, 0, 1, {Kind::Appended, 0, 0}, {1}},
        {"last free place", {1, 2}, 0, 3, {Kind::Appended, 2, 2}, {1, 2, 1}},
        {"no selection", {1}, std::nullopt, 5, {}, {1}},
        {"full", {1, 2}, 0, 2, {Kind::Full}, {1, 2}},
        {"more than the maximum", {1, 2, 3}, 0, 2, {Kind::Full}, {1, 2, 3}},
        {"max 0", {}, 0, 0, {Kind::Full}, {}},
        {"max 0 without a selection", {}, std::nullopt, 0, {Kind::Full}, {}},
        {"negative max", {}, 0, -1, {Kind::Full}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        NetworkLists lists = withSelected(row.selected, 0);
        lists.availableRow = row.availableRow;
        EXPECT_EQ(AddNetwork(lists, row.max), row.change);
        EXPECT_EQ(keysOf(lists.selected), row.after);
        EXPECT_EQ(lists.available.size(), 3u);
        EXPECT_EQ(lists.selectedRow, std::optional<size_t>(0));  // the Selected list's selection stays
    }
    NetworkLists lists = withSelected({});
    lists.availableRow = 1;
    AddNetwork(lists, 5);
    EXPECT_EQ(lists.selected, (Entries{{u"Beta", 2}}));
}

TEST(network_list_model, remove_higher_and_lower_act_on_the_selected_entry_within_bounds) {
    using Op = ListChange (*)(NetworkLists&);
    const struct {
        const char* name;
        Op op;
        std::initializer_list<int32_t> before;
        std::optional<size_t> row;
        ListChange change;
        std::vector<int32_t> after;
        std::optional<size_t> rowAfter;
    } rows[] = {
        {"remove", RemoveNetwork, {1, 2, 3}, 1, {Kind::Removed, 1, 1}, {1, 3}, std::nullopt},
        {"remove the last", RemoveNetwork, {1}, 0, {Kind::Removed, 0, 0}, {}, std::nullopt},
        {"remove without selection", RemoveNetwork, {1, 2}, std::nullopt, {}, {1, 2}, std::nullopt},
        {"higher", MoveNetworkHigher, {1, 2, 3}, 2, {Kind::Moved, 2, 1}, {1, 3, 2}, 1},
        {"higher to the top", MoveNetworkHigher, {1, 2, 3}, 1, {Kind::Moved, 1, 0}, {2, 1, 3}, 0},
        {"higher on the top", MoveNetworkHigher, {1, 2, 3}, 0, {}, {1, 2, 3}, 0},
        {"higher without selection", MoveNetworkHigher, {1, 2}, std::nullopt, {}, {1, 2}, std::nullopt},
        {"lower", MoveNetworkLower, {1, 2, 3}, 0, {Kind::Moved, 0, 1}, {2, 1, 3}, 1},
        {"lower to the bottom", MoveNetworkLower, {1, 2, 3}, 1, {Kind::Moved, 1, 2}, {1, 3, 2}, 2},
        {"lower on the bottom", MoveNetworkLower, {1, 2, 3}, 2, {}, {1, 2, 3}, 2},
        {"lower on a single entry", MoveNetworkLower, {1}, 0, {}, {1}, 0},
        {"lower without selection", MoveNetworkLower, {1, 2}, std::nullopt, {}, {1, 2}, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        NetworkLists lists = withSelected(row.before, row.row);
        EXPECT_EQ(row.op(lists), row.change);
        EXPECT_EQ(keysOf(lists.selected), row.after);
        EXPECT_EQ(lists.selectedRow, row.rowAfter);
    }
    NetworkLists lists = withSelected({1, 2}, 0);
    MoveNetworkLower(lists);
    EXPECT_EQ(lists.selected, (Entries{{u"K2", 2}, {u"K1", 1}}));  // text travels with its key
}

TEST(network_list_model, input_appends_a_typed_number_as_typed) {
    const struct {
        std::u16string reply;
        std::optional<NetworkEntry> appended;
    } rows[] = {
        {u"12.5", NetworkEntry{u"? 12.5", 12}},
        {u"13.5", NetworkEntry{u"? 13.5", 14}},
        {u" 42 ", NetworkEntry{u"?  42 ", 42}},
        {u"\t-7", NetworkEntry{u"? \t-7", -7}},
        {u"+26201", NetworkEntry{u"? +26201", 26201}},
        {u"00101", NetworkEntry{u"? 00101", 101}},
        {u"1e3", NetworkEntry{u"? 1e3", 1000}},
        {u"2D2", NetworkEntry{u"? 2D2", 200}},
        {u".5", NetworkEntry{u"? .5", 0}},
        {u"5.", NetworkEntry{u"? 5.", 5}},
        {u"1,234", NetworkEntry{u"? 1,234", 1}},  // the key stops at the group separator
        {u"$5", NetworkEntry{u"? $5", 0}},        // and reads nothing after a currency sign
        {u"-$5", NetworkEntry{u"? -$5", 0}},
        {u"5$", NetworkEntry{u"? 5$", 5}},
        {u"2147483647", NetworkEntry{u"? 2147483647", INT32_MAX}},
        {u"-2147483648", NetworkEntry{u"? -2147483648", INT32_MIN}},
        {u"", std::nullopt},
        {u"   ", std::nullopt},
        {u"abc", std::nullopt},
        {u"12abc", std::nullopt},
        {u"4 2", std::nullopt},
        {u"1e", std::nullopt},
        {u".", std::nullopt},
        {u"-", std::nullopt},
        {u",5", std::nullopt},
        {u"&H10", std::nullopt},
        {u"$5$", std::nullopt},
        {u"2147483648", std::nullopt},  // reads as a number but does not fit a key
        {u"-99999999999", std::nullopt},
        {u"1e400", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.reply.begin(), row.reply.end()));
        NetworkLists lists = withSelected({1, 2, 3}, 1);
        const ListChange change = InputNetwork(lists, row.reply);
        if (row.appended) {
            EXPECT_EQ(change, (ListChange{Kind::Appended, 3, 3}));
            ASSERT_EQ(lists.selected.size(), 4u);
            EXPECT_EQ(lists.selected.back(), *row.appended);
        } else {
            EXPECT_EQ(change, ListChange{});
            EXPECT_EQ(lists.selected.size(), 3u);
        }
        EXPECT_EQ(lists.selectedRow, std::optional<size_t>(1));
    }
}

TEST(network_list_model, input_follows_the_number_format_it_is_given) {
    const NumberFormat german{u".", u"€"};
    EXPECT_TRUE(IsNumberReply(u"1.234.567", german));
    EXPECT_TRUE(IsNumberReply(u"€ 5", german) == false);  // no blank inside
    EXPECT_TRUE(IsNumberReply(u"5€", german));
    EXPECT_FALSE(IsNumberReply(u"$5", german));
    EXPECT_FALSE(IsNumberReply(u"1,5", german));
    const NumberFormat none{u"", u""};
    EXPECT_FALSE(IsNumberReply(u"1,234", none));
    EXPECT_TRUE(IsNumberReply(u"1234", none));
}
