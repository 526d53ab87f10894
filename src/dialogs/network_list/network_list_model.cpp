// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/network_list/network_list_model.h"

#include "services/leading_number.h"
#include "services/next_token.h"

namespace kxsim::dialogs {
namespace {

std::u16string displayText(std::u16string text) {
    if (text.size() > kDisplayLimit) text.resize(kDisplayLimit);
    return text;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Reads a typed number from its start: the grammar of IsNumberReply.
class ReplyReader {
public:
    ReplyReader(std::u16string_view text, const NumberFormat& format) : text_(text), format_(format) {}

    bool readsAsNumber() {
        bool currency = take(format_.currencySymbol);
        if (peek() == u'+' || peek() == u'-') ++pos_;
        if (!currency) currency = take(format_.currencySymbol);
        if (!mantissa()) return false;
        if (peek() == u'E' || peek() == u'e' || peek() == u'D' || peek() == u'd') {
            ++pos_;
            if (peek() == u'+' || peek() == u'-') ++pos_;
            if (!digits()) return false;
        }
        if (!currency) take(format_.currencySymbol);
        return pos_ == text_.size();
    }

private:
    char16_t peek() const { return pos_ < text_.size() ? text_[pos_] : u'\0'; }
    bool take(std::u16string_view what) {
        if (what.empty() || text_.substr(pos_, what.size()) != what) return false;
        pos_ += what.size();
        return true;
    }
    bool digits() {
        const size_t start = pos_;
        while (isDigit(peek())) ++pos_;
        return pos_ > start;
    }
    // Digits with group separators after the first one, then an optional decimal part.
    bool mantissa() {
        bool any = digits();
        while (any && take(format_.groupSeparator)) digits();
        if (peek() == u'.') {
            ++pos_;
            any = digits() || any;
        }
        return any;
    }

    std::u16string_view text_;
    const NumberFormat& format_;
    size_t pos_ = 0;
};

}  // namespace

std::optional<int32_t> NumericKey(std::u16string_view text) { return services::LongOfText(text); }

Status ReadKeyList(const std::u16string& keys, std::vector<KeyToken>& tokens) {
    tokens.clear();
    std::u16string rest = keys;
    for (std::u16string name = services::NextToken(rest, u';'); !name.empty();
         name = services::NextToken(rest, u';')) {
        const std::optional<int32_t> key = NumericKey(name);
        if (!key) {
            tokens.clear();
            return Status::error(errors::Overflow);
        }
        tokens.push_back(KeyToken{std::move(name), *key});
    }
    return {};
}

std::u16string KeyListText(const std::vector<NetworkEntry>& entries) {
    std::u16string out;
    for (const NetworkEntry& entry : entries) {
        const std::string digits = std::to_string(entry.key);
        out.append(digits.begin(), digits.end());
        out += u';';
    }
    return out;
}

Status FillNetworkLists(NetworkLists& lists, const NetworkSection& section,
                        const std::u16string& selectedKeys) {
    lists = NetworkLists();
    std::vector<KeyToken> tokens;
    if (Status s = ReadKeyList(selectedKeys, tokens); !s) return s;
    FillNetworkLists(lists, section, tokens);
    return {};
}

void FillNetworkLists(NetworkLists& lists, const NetworkSection& section, const std::vector<KeyToken>& selected) {
    lists = NetworkLists();
    // The key name list ends at the first empty name.
    for (const std::u16string& name : section.keyNames(kKeyNameBuffer)) {
        if (name.empty()) break;
        // A name whose number does not fit cannot be handed back; it is left out.
        if (const std::optional<int32_t> key = NumericKey(name))
            lists.available.push_back(NetworkEntry{displayText(section.value(name, u"", kValueBuffer)), *key});
    }
    for (const KeyToken& token : selected) {
        lists.selected.push_back(
            NetworkEntry{displayText(section.value(token.name, u"? " + token.name, kValueBuffer)), token.key});
    }
}

ListChange AddNetwork(NetworkLists& lists, int32_t maxSelect) {
    if (maxSelect <= 0 || lists.selected.size() >= static_cast<size_t>(maxSelect))
        return {ListChange::Kind::Full};
    if (!lists.availableRow || *lists.availableRow >= lists.available.size()) return {};
    lists.selected.push_back(lists.available[*lists.availableRow]);
    const size_t at = lists.selected.size() - 1;
    return {ListChange::Kind::Appended, at, at};
}

ListChange RemoveNetwork(NetworkLists& lists) {
    if (!lists.selectedRow || *lists.selectedRow >= lists.selected.size()) return {};
    const size_t at = *lists.selectedRow;
    lists.selected.erase(lists.selected.begin() + static_cast<ptrdiff_t>(at));
    lists.selectedRow.reset();
    return {ListChange::Kind::Removed, at, at};
}

namespace {

ListChange moveSelected(NetworkLists& lists, size_t from, size_t to) {
    NetworkEntry entry = std::move(lists.selected[from]);
    lists.selected.erase(lists.selected.begin() + static_cast<ptrdiff_t>(from));
    lists.selected.insert(lists.selected.begin() + static_cast<ptrdiff_t>(to), std::move(entry));
    lists.selectedRow = to;
    return {ListChange::Kind::Moved, from, to};
}

}  // namespace

ListChange MoveNetworkHigher(NetworkLists& lists) {
    if (!lists.selectedRow || *lists.selectedRow < 1 || *lists.selectedRow >= lists.selected.size())
        return {};
    return moveSelected(lists, *lists.selectedRow, *lists.selectedRow - 1);
}

ListChange MoveNetworkLower(NetworkLists& lists) {
    if (!lists.selectedRow || *lists.selectedRow + 1 >= lists.selected.size()) return {};
    return moveSelected(lists, *lists.selectedRow, *lists.selectedRow + 1);
}

bool IsNumberReply(std::u16string_view reply, const NumberFormat& format) {
    while (!reply.empty() && isBlank(reply.front())) reply.remove_prefix(1);
    while (!reply.empty() && isBlank(reply.back())) reply.remove_suffix(1);
    return !reply.empty() && ReplyReader(reply, format).readsAsNumber();
}

ListChange InputNetwork(NetworkLists& lists, std::u16string_view reply, const NumberFormat& format) {
    if (reply.empty() || !IsNumberReply(reply, format)) return {};
    // A number too large for a key is refused like any other non-number.
    const std::optional<int32_t> key = NumericKey(reply);
    if (!key) return {};
    lists.selected.push_back(NetworkEntry{u"? " + std::u16string(reply), *key});
    const size_t at = lists.selected.size() - 1;
    return {ListChange::Kind::Appended, at, at};
}

}  // namespace kxsim::dialogs
