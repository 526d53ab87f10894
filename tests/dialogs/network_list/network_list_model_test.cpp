// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/network_list/network_list_model.h"

#include <gtest/gtest.h>


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
    std::vector<std::u16string> keyNames(size_t) const override {
        std::vector<std::u16string> names;
        for (const auto& entry : entries) names.push_back(entry.first);
        return names;
    }
    std::u16string value(std::u16string_view key, std::u16string_view fallback, size_t) const override {
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
    const struct { std::u16string keys; Tokens expected; } rows[] = {
        {u"", {}}, {u";1", {}}, {u"1;2;", {{u"1", 1}, {u"2", 2}}},
        {u"1;;99999999999;", {{u"1", 1}}},  // what follows ";;" is never read
        // A token keeps its text; its key is its leading number (leading_number_test has the rule).
        {u"12.5;abc;", {{u"12.5", 12}, {u"abc", 0}}},
    };
    for (const auto& row : rows) {
        Tokens tokens{{u"stale", 9}};
        EXPECT_TRUE(ReadKeyList(row.keys, tokens));
        EXPECT_EQ(tokens, row.expected);
    }
    for (const std::u16string keys : {u"2147483648;", u"1;-2147483649;"}) {
        Tokens tokens;
        const Status s = ReadKeyList(keys, tokens);
        EXPECT_EQ(s, Status::error(6, u"Overflow"));
        EXPECT_TRUE(tokens.empty());
    }
}

TEST(network_list_model, writes_each_key_in_decimal_followed_by_a_semicolon) {
    const struct { Entries entries; std::u16string expected; } rows[] = {
        {{}, u""},
        {{{u"? 00101", 101}, {u"", 0}, {u"", -5}}, u"101;0;-5;"},
        {{{u"x", INT32_MIN}, {u"x", INT32_MAX}}, u"-2147483648;2147483647;"},
    };
    for (const auto& row : rows) EXPECT_EQ(KeyListText(row.entries), row.expected);
}

TEST(network_list_model, fills_both_lists_from_the_section_and_the_keys) {
    MemorySection section;
    section.entries = {{u"26201", u"Telekom"}, {u"00101", u"Test network"},
                       {u"99999999999", u"Too large"},  // skipped
                       {u"26202", u""}, {u"310260", std::u16string(100, u'x')},
                       {u"", u"after an empty name"}, {u"26203", u"never listed"}};
    NetworkLists lists;
    lists.availableRow = 1;
    lists.selectedRow = 0;
    ASSERT_TRUE(FillNetworkLists(lists, section, u"26202;00101;4711;310260;abc;;26201"));
    const std::u16string cut(79, u'x');
    EXPECT_EQ(lists.available, (Entries{{u"Telekom", 26201}, {u"Test network", 101}, {u"", 26202}, {cut, 310260}}));
    EXPECT_EQ(lists.selected,
              (Entries{{u"", 26202}, {u"Test network", 101}, {u"? 4711", 4711}, {cut, 310260}, {u"? abc", 0}}));
    EXPECT_FALSE(lists.availableRow || lists.selectedRow);
    ASSERT_TRUE(FillNetworkLists(lists, section, u"26201;"));  // a second fill replaces, never appends
    EXPECT_EQ(lists.available.size(), 4u);
    EXPECT_EQ(lists.selected, (Entries{{u"Telekom", 26201}}));
    // A bad token fails the fill and leaves the lists empty.
    EXPECT_EQ(FillNetworkLists(lists, section, u"1;3000000000;").number(), 6);
    EXPECT_TRUE(lists.available.empty() && lists.selected.empty());
    // A missing section shows every token as unknown, the default cut as a value is.
    const std::u16string token = u"0." + std::u16string(100, u'9');
    ASSERT_TRUE(FillNetworkLists(lists, MemorySection(), u"1;" + token));
    EXPECT_TRUE(lists.available.empty());
    EXPECT_EQ(lists.selected, (Entries{{u"? 1", 1}, {(u"? " + token).substr(0, 79), 1}}));
}

TEST(network_list_model, add_appends_a_copy_of_the_available_entry_up_to_the_maximum) {
    const struct {
        const char* name; std::initializer_list<int32_t> selected; std::optional<size_t> availableRow;
        int32_t max; ListChange change; std::vector<int32_t> after;
    } rows[] = {
        {"appends", {1}, 2, 5, {Kind::Appended, 1, 1}, {1, 3}},
        {"duplicates allowed", {2}, 1, 5, {Kind::Appended, 1, 1}, {2, 2}},
        {"last free place", {1, 2}, 0, 3, {Kind::Appended, 2, 2}, {1, 2, 1}},
        {"no selection", {1}, std::nullopt, 5, {}, {1}},
        {"full", {1, 2}, 0, 2, {Kind::Full}, {1, 2}},
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
}

TEST(network_list_model, remove_higher_and_lower_act_on_the_selected_entry_within_bounds) {
    using Op = ListChange (*)(NetworkLists&);
    const Op remove = RemoveNetwork, higher = MoveNetworkHigher, lower = MoveNetworkLower;
    const auto none = std::nullopt;
    const struct {
        Op op; std::optional<size_t> row; ListChange change; std::vector<int32_t> after; std::optional<size_t> rowAfter;
    } rows[] = {
        {remove, 1, {Kind::Removed, 1, 1}, {1, 3}, none}, {remove, none, {}, {1, 2, 3}, none},
        {higher, 2, {Kind::Moved, 2, 1}, {1, 3, 2}, 1},   {higher, 1, {Kind::Moved, 1, 0}, {2, 1, 3}, 0},
        {higher, 0, {}, {1, 2, 3}, 0},                     {higher, none, {}, {1, 2, 3}, none},
        {lower, 0, {Kind::Moved, 0, 1}, {2, 1, 3}, 1},    {lower, 1, {Kind::Moved, 1, 2}, {1, 3, 2}, 2},
        {lower, 2, {}, {1, 2, 3}, 2},                      {lower, none, {}, {1, 2, 3}, none},
    };
    for (const auto& row : rows) {
        NetworkLists lists = withSelected({1, 2, 3}, row.row);
        EXPECT_EQ(row.op(lists), row.change) << (&row - rows);
        EXPECT_EQ(keysOf(lists.selected), row.after) << (&row - rows);
        EXPECT_EQ(lists.selectedRow, row.rowAfter) << (&row - rows);
    }
    NetworkLists lists = withSelected({1, 2}, 0);
    MoveNetworkLower(lists);
    EXPECT_EQ(lists.selected, (Entries{{u"K2", 2}, {u"K1", 1}}));  // text travels with its key
}

TEST(network_list_model, input_appends_a_typed_number_as_typed) {
    const struct { std::u16string reply; std::optional<int32_t> key; } rows[] = {
        {u"13.5", 14}, {u" 42 ", 42}, {u"\t-7", -7}, {u"+26201", 26201}, {u"1e3", 1000}, {u"2D2", 200},
        {u".5", 0}, {u"5.", 5},
        // The key stops at a group separator and reads nothing after a currency sign.
        {u"1,234", 1}, {u"$5", 0}, {u"-$5", 0}, {u"5$", 5},
        {u"", {}}, {u"   ", {}}, {u"12abc", {}}, {u"4 2", {}}, {u"1e", {}}, {u".", {}}, {u"-", {}}, {u",5", {}},
        {u"&H10", {}}, {u"$5$", {}}, {u"2147483648", {}}, {u"1e400", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.reply.begin(), row.reply.end()));
        NetworkLists lists = withSelected({1, 2}, 1), expected = lists;
        if (row.key) expected.selected.push_back({u"? " + row.reply, *row.key});
        EXPECT_EQ(InputNetwork(lists, row.reply), (row.key ? ListChange{Kind::Appended, 2, 2} : ListChange{}));
        EXPECT_EQ(lists.selected, expected.selected);
        EXPECT_EQ(lists.selectedRow, std::optional<size_t>(1));
    }
}

TEST(network_list_model, input_follows_the_number_format_it_is_given) {
    const NumberFormat german{u".", u"€"}, none{u"", u""};
    EXPECT_TRUE(IsNumberReply(u"1.234.567", german) && IsNumberReply(u"5€", german) && IsNumberReply(u"1234", none));
    EXPECT_FALSE(IsNumberReply(u"€ 5", german) || IsNumberReply(u"$5", german) || IsNumberReply(u"1,5", german));
    EXPECT_FALSE(IsNumberReply(u"1,234", none));
}
