#pragma once
// A parsed INI file, read by the rules of the Windows profile reader: one flat
// copy of the decoded text and compact index arrays, so memory follows the
// file's size, not its number of lines.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxsim::platform {

/// Folds letter case for name matching (ASCII, Latin-1, Latin Extended-A, Greek
/// and Cyrillic capitals).
std::u16string foldCase(std::u16string_view text);

class IniDocument {
public:
    /// Parses decoded text. Lines end at CR LF, LF or a lone CR; blanks (and the
    /// DOS end-of-file byte 0x1A) around a line, a name and a value are dropped.
    /// Lines before the first header form the section named "". A line
    /// "[name]" opens a section whose name runs to the line's last "]"; a line
    /// holding "=" is an entry (key before the first "=", value after it);
    /// any other line is an entry without a value. The first section of a
    /// name and the first key of a name in it are the ones read.
    static IniDocument parse(std::u16string text);

    /// True when the file has a section \a name (matched exactly, apart from case).
    bool hasSection(std::u16string_view name) const;
    /// The raw value of \a key in \a section (blanks around both names
    /// ignored), quotes not yet removed, or nothing when either is missing or
    /// the key's first line has no "=".
    std::optional<std::u16string_view> value(std::u16string_view section,
                                             std::u16string_view key) const;
    /// Hands the key names of the first section \a name to \a visit in file
    /// order until it returns false, as the key listing gives them: entries
    /// whose name starts with ";" left out, one written "=value" as an empty
    /// name. False when there is no such section.
    bool visitKeyNames(std::u16string_view section,
                       const std::function<bool(std::u16string_view)>& visit) const;
    /// Hands the name of every section header to \a visit in file order until
    /// it returns false; empty names are left out.
    void visitSectionNames(const std::function<bool(std::u16string_view)>& visit) const;

private:
    struct Range {
        uint32_t begin = 0, size = 0;
    };
    struct Section {
        Range name, body;  // body: the text after the header up to the next header
    };
    struct Entry {
        std::u16string_view key;
        std::optional<std::u16string_view> value;
    };

    std::u16string_view at(Range r) const { return std::u16string_view(text_).substr(r.begin, r.size); }
    const Section* findSection(std::u16string_view name) const;
    void addSection(Range name, uint32_t bodyBegin);
    struct PendingEntry {
        uint64_t hash;
        uint32_t section, lineBegin;
        std::u16string_view key;
    };
    void addEntry(const PendingEntry& entry);
    Entry entryAt(uint32_t lineBegin) const;
    uint32_t sectionOf(uint32_t lineBegin) const;
    uint64_t entryHash(uint32_t lineBegin) const;
    void grow(std::vector<uint32_t>& table, bool entries);
    uint32_t tag(uint64_t hash) const { return static_cast<uint32_t>(hash >> 32) & ~offsetMask_; }

    std::u16string text_;
    std::vector<Section> sections_;      // the first section of each name
    std::vector<uint32_t> sectionSlots_;  // open addressing: index + 1, 0 when free
    // The first entry of each name in those sections, found by open addressing:
    // where its line starts in the text + 1 (0 when free) in the bits of
    // offsetMask_, the rest filled with bits of the key's hash, so most probes
    // that miss never touch the text. Key, value and section are read back
    // from the text, so an entry costs one slot and no more.
    std::vector<uint32_t> entrySlots_;
    uint32_t offsetMask_ = ~0u;
    uint32_t entryCount_ = 0;
};

}  // namespace kxsim::platform
