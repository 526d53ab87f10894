// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A parsed INI file, read by the rules of the Windows profile reader: one flat
// copy of the decoded text and compact index arrays, so memory follows the
// file's size, not its number of lines.

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
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
    struct Entry {
        std::u16string_view key;
        std::optional<std::u16string_view> value;
    };
    // A header or entry line met in parsing, not yet taken into the tables.
    struct PendingLine {
        uint64_t hash;
        std::u16string_view name;  // the section's or the key's
        uint32_t begin, end;       // the line's place in the text (end: headers only)
        uint32_t section;          // a header's number, or an entry's section, if the header's name is new
        bool header;
    };
    static constexpr uint32_t kNoSection = ~0u;

    // Section numbers are places in sections_; 0 is the section of the lines before any header.
    uint32_t findSection(std::u16string_view name) const;
    std::u16string_view sectionName(uint32_t section) const;
    size_t bodyBegin(uint32_t section) const;
    // The slot of the section called \a name: its own, or the free one it would take.
    size_t sectionSlot(std::u16string_view name, uint64_t hash) const;
    void takeLine(const PendingLine& line);
    void addEntry(uint64_t hash, uint32_t section, uint32_t lineBegin, std::u16string_view key);
    Entry entryAt(uint32_t lineBegin) const;
    std::u16string_view keyAt(uint32_t lineBegin) const;
    uint32_t sectionOf(uint32_t lineBegin) const;
    uint64_t entryHash(uint32_t lineBegin) const;
    void growSections();
    void growEntries();

    std::u16string text_;
    // Where the header line of the first section of each name starts, in file
    // order: 4 bytes a section, its name and body read back from the text.
    std::vector<uint32_t> sections_;
    // Where the name ends of each header line too long to read again.
    struct LongHeader {
        uint32_t section, nameEnd;
    };
    std::vector<LongHeader> longHeaders_;
    // Both tables are found by open addressing. A slot holds a section number
    // + 1 (0 when free) in the bits of sectionMask_, or where an entry's line
    // starts in the text + 1 in the bits of offsetMask_; the other bits are
    // bits of the name's hash, so most probes that miss never touch the text.
    // Key, value and section are read back from the text, so an entry costs
    // one slot and no more.
    // Tables are sized from counts of lines that may be headers or entries;
    // their memory is the system's zeroed pages, so the slots of lines that
    // repeat a name are never touched and cost nothing.
    class Slots {
    public:
        explicit Slots(size_t size = 0)
            : data_(static_cast<uint32_t*>(std::calloc(size ? size : 1, sizeof(uint32_t)))), size_(size) {
            if (!data_) throw std::bad_alloc();
        }
        size_t size() const { return size_; }
        uint32_t& operator[](size_t i) { return data_.get()[i]; }
        uint32_t operator[](size_t i) const { return data_.get()[i]; }
        const uint32_t* begin() const { return data_.get(); }
        const uint32_t* end() const { return data_.get() + size_; }

    private:
        struct Free {
            void operator()(uint32_t* p) const { std::free(p); }
        };
        std::unique_ptr<uint32_t, Free> data_;
        size_t size_;
    };
    Slots sectionSlots_;
    Slots entrySlots_;
    uint32_t sectionMask_ = ~0u;
    uint32_t offsetMask_ = ~0u;
    uint32_t entryCount_ = 0;
    // While parsing: the section entries go to, false in a later section of a
    // name already seen; headers taken into the tables so far.
    uint32_t current_ = 0;
    bool reading_ = true;
    size_t headersTaken_ = 0;
};

}  // namespace kxsim::platform
