#pragma once
// A parsed INI file: sections of key = value entries, looked up without regard
// to letter case, as the suite's profile files are read.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kxsim::platform {

/// Folds letter case for name matching (ASCII, Latin-1, Greek and Cyrillic capitals).
std::u16string foldCase(std::u16string_view text);

/// Hash and equality of names without regard to letter case, so a name is
/// looked up as it is asked for, without a folded copy.
struct FoldedHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view name) const noexcept;
};
struct FoldedEqual {
    using is_transparent = void;
    bool operator()(std::u16string_view a, std::u16string_view b) const noexcept;
};
using FoldedIndex = std::unordered_map<std::u16string, size_t, FoldedHash, FoldedEqual>;

class IniDocument {
public:
    struct Entry {
        std::u16string key;
        std::u16string value;
    };
    struct Section {
        std::u16string name;
        std::vector<Entry> entries;                       // file order, duplicates kept
        FoldedIndex byKey;  // key -> first entry
    };

    /// Parses decoded text. Rules: lines end at LF (a CR before it is dropped);
    /// leading blanks and tabs are ignored; ";" at the start makes a comment;
    /// "[name]" opens a section; "key = value" is an entry, blanks around key and
    /// value dropped and one pair of enclosing quotes removed from the value; a
    /// line without "=" is a key with an empty value. Lines before the first
    /// section belong to no section and are never found. Of two sections with the
    /// same name the first is used.
    static IniDocument parse(std::u16string_view text);

    /// The section \a name (blanks around it ignored), or null.
    const Section* section(std::u16string_view name) const;
    /// The value of \a key in \a section, or nothing when either is missing;
    /// blanks around the names are ignored.
    std::optional<std::u16string_view> value(std::u16string_view section,
                                             std::u16string_view key) const;

private:
    std::vector<Section> sections_;
    FoldedIndex bySection_;  // name -> first section
};

}  // namespace kxsim::platform
