// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/ini_document.h"

#include <algorithm>
#include <array>

namespace kxsim::platform {
namespace {

char16_t foldChar(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? c + 32 : c;
    if (c < 0xC0) return c;
    if (c <= 0xDE && c != 0xD7) return c + 32;                       // Latin-1 capitals
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;        // Greek capitals
    if (c >= 0x410 && c <= 0x42F) return c + 32;                      // Cyrillic capitals
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x178 && c != 0x17F) {
        // Latin Extended-A pairs: capital and small letters alternate.
        const bool evenCapital = (c < 0x139) || (c > 0x148 && c < 0x179);
        if (evenCapital ? (c % 2 == 0) : (c % 2 == 1)) return c + 1;
    }
    return c;
}

// The blanks the Windows reader trims: the C white space and the DOS
// end-of-file byte, which old editors leave at the end of a file.
bool isBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A; }

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameFolded(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldChar(a[i]) != foldChar(b[i])) return false;
    return true;
}

// Open addressing keeps probes short while a table is at most 70% full.
bool fullerThanLimit(size_t count, size_t slots) { return count * 10 > slots * 7; }

// The lines that may be entries (every line: one without "=" is an entry
// without a value) and headers (starting with "["), counted before parsing so
// that neither table has to grow. A "[" line may be either; it counts as both.
struct LineCounts {
    size_t entries = 0, headers = 0;
};

LineCounts countLines(std::u16string_view text) {
    LineCounts counts;
    bool atStart = true;
    for (char16_t c : text) {
        if (c == u'\n' || c == u'\r') {
            atStart = true;
            continue;
        }
        if (atStart && !isBlank(c)) atStart = false, ++counts.entries, counts.headers += c == u'[';
    }
    return counts;
}

// Room for \a lines without regrowing, but no more than one slot for four
// characters: a file of one name written many times must not get a table
// larger than its text. Such a file's table still grows if needed. The entry
// table's size is a power of two, the section table's exactly what it needs.
size_t entryTableSize(size_t lines, std::u16string_view text) {
    size_t size = 64;
    while (fullerThanLimit(lines, size) && size * 2 <= text.size() / 4) size *= 2;
    return size;
}

size_t sectionTableSize(size_t lines, std::u16string_view text) {
    return std::max<size_t>(16, std::min(lines * 10 / 7 + 1, text.size() / 4));
}

// The slot a hash picks in a section table of \a size slots: its low 32 bits scaled.
size_t sectionHome(uint64_t hash, size_t size) { return static_cast<size_t>((hash & 0xFFFFFFFFu) * size >> 32); }

// The smallest mask of low bits that holds every value up to \a largest.
uint32_t maskFor(size_t largest) {
    uint32_t mask = ~0u;
    while (mask / 2 >= std::max<size_t>(largest, 1)) mask /= 2;
    return mask;
}

// A header line longer than this has where its name ends noted at parsing,
// so that comparing its name never reads the rest of the line again.
constexpr size_t kShortHeader = 64;

uint32_t tag(uint64_t hash, uint32_t mask) { return static_cast<uint32_t>(hash >> 32) & ~mask; }

uint64_t foldedHash(std::u16string_view name, uint64_t seed) {
    uint64_t h = 14695981039346656037ull ^ seed;  // FNV-1a over the folded characters
    for (char16_t c : name) h = (h ^ foldChar(c)) * 1099511628211ull;
    h ^= h >> 33;  // mixed so the low bits, which pick the slot, take in every character
    h *= 0xff51afd7ed558ccdull;
    return h ^ (h >> 33);
}

// One line of the text: blanks around it dropped; its start in the text.
struct Line {
    std::u16string_view text;
    size_t start, end;  // where the line starts and ends in the text, blanks included
};

// Calls f(line) for each line of text[begin, end); every CR LF, LF and lone CR ends one.
template <class F>
void forEachLine(std::u16string_view text, size_t begin, size_t end, F&& f) {
    size_t pos = begin;
    while (pos < end) {
        size_t stop = pos;
        while (stop < end && text[stop] != u'\n' && text[stop] != u'\r') ++stop;
        if (!f(Line{trim(text.substr(pos, stop - pos)), pos, stop})) return;
        pos = stop + 1;
        if (stop + 1 < end && text[stop] == u'\r' && text[stop + 1] == u'\n') ++pos;
    }
}

// The name of a header line "[name]...": up to the line's last "]".
std::optional<std::u16string_view> headerName(std::u16string_view line) {
    if (line.empty() || line.front() != u'[') return std::nullopt;
    const size_t close = line.rfind(u']');
    if (close == std::u16string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

}  // namespace

std::u16string foldCase(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = foldChar(c);
    return out;
}

IniDocument IniDocument::parse(std::u16string text) {
    IniDocument doc;
    doc.text_ = std::move(text);
    const std::u16string_view all(doc.text_);
    const LineCounts counts = countLines(all);
    doc.sections_.reserve(counts.headers + 1);  // reserved, not touched: costs memory only as sections come
    doc.sectionSlots_ = Slots(sectionTableSize(counts.headers + 1, all));
    doc.sectionMask_ = maskFor(counts.headers + 1);
    doc.entrySlots_ = Slots(entryTableSize(counts.entries, all));
    doc.offsetMask_ = maskFor(all.size());
    doc.sections_.push_back(0);  // section 0: the lines before any header
    const uint64_t noName = foldedHash(u"", ~0ull);
    doc.sectionSlots_[doc.sectionSlot(u"", noName)] = 1 | tag(noName, doc.sectionMask_);

    // Lines wait a few places in a queue while their slot is fetched into the
    // cache; they are still taken in file order. Until a header is taken, its
    // section's number is guessed as if its name were new: entries under a
    // header that turns out to repeat a name are skipped anyway.
    std::array<PendingLine, 16> queue;
    size_t queued = 0, headersQueued = 0;
    uint32_t guessed = 0;
    // The line is written into its place field by field: built on the stack
    // and copied whole, its halves were read back before their stores had
    // landed, which stalled every line for tens of cycles.
    const auto enqueue = [&](uint64_t hash, std::u16string_view name, uint32_t begin, uint32_t end, bool header,
                             const uint32_t* slot) {
        __builtin_prefetch(slot);
        PendingLine& place = queue[queued++ % queue.size()];
        if (queued > queue.size()) doc.takeLine(place);
        place.hash = hash;
        place.name = name;
        place.begin = begin;
        place.end = end;
        place.section = guessed;
        place.header = header;
    };
    forEachLine(all, 0, all.size(), [&](const Line& line) {
        if (line.text.empty()) return true;
        const auto begin = static_cast<uint32_t>(line.text.data() - all.data());
        if (auto name = headerName(line.text)) {
            const uint64_t h = foldedHash(*name, ~0ull);
            guessed = static_cast<uint32_t>(doc.sections_.size() + (headersQueued++ - doc.headersTaken_));
            enqueue(h, *name, begin, static_cast<uint32_t>(line.end), true,
                    &doc.sectionSlots_[sectionHome(h, doc.sectionSlots_.size())]);
            return true;
        }
        // A line without "=" is an entry without a value: it hides a later
        // entry of its name.
        const std::u16string_view key = trim(line.text.substr(0, line.text.find(u'=')));
        const uint64_t h = foldedHash(key, guessed);
        enqueue(h, key, begin, 0, false, &doc.entrySlots_[h & (doc.entrySlots_.size() - 1)]);
        return true;
    });
    for (size_t i = queued > queue.size() ? queued - queue.size() : 0; i < queued; ++i) doc.takeLine(queue[i % queue.size()]);
    doc.sections_.shrink_to_fit();
    doc.longHeaders_.shrink_to_fit();
    return doc;
}

void IniDocument::takeLine(const PendingLine& line) {
    if (line.header) {
        ++headersTaken_;
        const size_t slot = sectionSlot(line.name, line.hash);
        reading_ = sectionSlots_[slot] == 0;  // only the first section of a name is read
        if (!reading_) return;
        current_ = static_cast<uint32_t>(sections_.size());
        sections_.push_back(line.begin);
        if (line.end - line.begin > kShortHeader)
            longHeaders_.push_back({current_, static_cast<uint32_t>(line.name.data() + line.name.size() - text_.data())});
        sectionSlots_[slot] = (current_ + 1) | tag(line.hash, sectionMask_);
        if (fullerThanLimit(sections_.size(), sectionSlots_.size())) growSections();
        return;
    }
    if (!reading_) return;
    const uint64_t h = line.section == current_ ? line.hash : foldedHash(line.name, current_);
    addEntry(h, current_, line.begin, line.name);
}

// A header line starts at sections_[section] and runs to the end of its line.
std::u16string_view IniDocument::sectionName(uint32_t section) const {
    if (section == 0) return {};
    const std::u16string_view all(text_);
    const size_t begin = sections_[section], limit = std::min(all.size(), begin + kShortHeader + 1);
    size_t end = begin;
    while (end < limit && all[end] != u'\n' && all[end] != u'\r') ++end;
    if (end - begin > kShortHeader) {
        const auto noted = std::lower_bound(longHeaders_.begin(), longHeaders_.end(), LongHeader{section, 0},
                                            [](const LongHeader& a, const LongHeader& b) { return a.section < b.section; });
        return trim(all.substr(begin + 1, noted->nameEnd - begin - 1));
    }
    return *headerName(trim(all.substr(begin, end - begin)));
}

size_t IniDocument::bodyBegin(uint32_t section) const {
    if (section == 0) return 0;
    const std::u16string_view all(text_);
    size_t end = sections_[section];
    while (end < all.size() && all[end] != u'\n' && all[end] != u'\r') ++end;
    return end;
}

size_t IniDocument::sectionSlot(std::u16string_view name, uint64_t h) const {
    const size_t size = sectionSlots_.size();
    size_t i = sectionHome(h, size);
    for (; sectionSlots_[i]; i = i + 1 == size ? 0 : i + 1) {
        const uint32_t slot = sectionSlots_[i];
        if ((slot & ~sectionMask_) == tag(h, sectionMask_) && sameFolded(sectionName((slot & sectionMask_) - 1), name))
            break;
    }
    return i;
}

// An entry's line starts at lineBegin, blanks dropped: the key runs to the
// first "=" or the line's end. The key alone is read without the value,
// which may be long.
std::u16string_view IniDocument::keyAt(uint32_t lineBegin) const {
    const std::u16string_view all(text_);
    size_t end = lineBegin;
    while (end < all.size() && all[end] != u'=' && all[end] != u'\n' && all[end] != u'\r') ++end;
    return trim(all.substr(lineBegin, end - lineBegin));
}

// The key as keyAt reads it; the value from the first "=" to the line's end,
// none for a line without "=".

IniDocument::Entry IniDocument::entryAt(uint32_t lineBegin) const {
    const std::u16string_view all(text_);
    size_t eq = lineBegin;
    while (eq < all.size() && all[eq] != u'=' && all[eq] != u'\n' && all[eq] != u'\r') ++eq;
    if (eq == all.size() || all[eq] != u'=') return Entry{trim(all.substr(lineBegin, eq - lineBegin)), std::nullopt};
    size_t stop = eq + 1;
    while (stop < all.size() && all[stop] != u'\n' && all[stop] != u'\r') ++stop;
    return Entry{trim(all.substr(lineBegin, eq - lineBegin)), trim(all.substr(eq + 1, stop - eq - 1))};
}

// Sections are kept in file order and an entry is only indexed in the first
// section of a name, so its section is the last one starting before it.
uint32_t IniDocument::sectionOf(uint32_t lineBegin) const {
    const auto after = std::upper_bound(sections_.begin(), sections_.end(), lineBegin);
    return static_cast<uint32_t>(after - sections_.begin() - 1);
}

uint64_t IniDocument::entryHash(uint32_t lineBegin) const {
    return foldedHash(keyAt(lineBegin), sectionOf(lineBegin));
}

// Both tables grow to twice their size, the sections in file order, so
// their names are read from the text front to back.
void IniDocument::growSections() {
    Slots bigger(sectionSlots_.size() * 2);
    for (uint32_t section = 0; section < sections_.size(); ++section) {
        const uint64_t h = foldedHash(sectionName(section), ~0ull);
        size_t i = sectionHome(h, bigger.size());
        while (bigger[i]) i = i + 1 == bigger.size() ? 0 : i + 1;
        bigger[i] = (section + 1) | tag(h, sectionMask_);
    }
    sectionSlots_ = std::move(bigger);
}

void IniDocument::growEntries() {
    Slots bigger(entrySlots_.size() * 2);
    const size_t mask = bigger.size() - 1;
    for (uint32_t slot : entrySlots_) {
        if (!slot) continue;
        size_t i = entryHash((slot & offsetMask_) - 1) & mask;
        while (bigger[i]) i = (i + 1) & mask;
        bigger[i] = slot;
    }
    entrySlots_ = std::move(bigger);
}

void IniDocument::addEntry(uint64_t h, uint32_t section, uint32_t lineBegin, std::u16string_view name) {
    const size_t mask = entrySlots_.size() - 1;
    size_t i = h & mask;
    for (; entrySlots_[i]; i = (i + 1) & mask) {
        const uint32_t slot = entrySlots_[i], other = (slot & offsetMask_) - 1;
        if ((slot & ~offsetMask_) == tag(h, offsetMask_) && sameFolded(keyAt(other), name) &&
            sectionOf(other) == section)
            return;  // the first one is read
    }
    entrySlots_[i] = (lineBegin + 1) | tag(h, offsetMask_);
    if (fullerThanLimit(++entryCount_, entrySlots_.size())) growEntries();
}

uint32_t IniDocument::findSection(std::u16string_view name) const {
    const uint32_t slot = sectionSlots_[sectionSlot(name, foldedHash(name, ~0ull))];
    return slot ? (slot & sectionMask_) - 1 : kNoSection;
}

bool IniDocument::hasSection(std::u16string_view name) const { return findSection(name) != kNoSection; }

std::optional<std::u16string_view> IniDocument::value(std::u16string_view sectionName,
                                                      std::u16string_view key) const {
    const uint32_t section = findSection(trim(sectionName));
    if (section == kNoSection) return std::nullopt;
    const std::u16string_view name = trim(key);
    const size_t mask = entrySlots_.size() - 1;
    const uint64_t h = foldedHash(name, section);
    for (size_t i = h & mask; entrySlots_[i]; i = (i + 1) & mask) {
        const uint32_t slot = entrySlots_[i], lineBegin = (slot & offsetMask_) - 1;
        if ((slot & ~offsetMask_) != tag(h, offsetMask_)) continue;
        const Entry e = entryAt(lineBegin);
        if (sameFolded(e.key, name) && sectionOf(lineBegin) == section) return e.value;  // none: no value
    }
    return std::nullopt;
}

bool IniDocument::visitKeyNames(std::u16string_view sectionName,
                                const std::function<bool(std::u16string_view)>& visit) const {
    const uint32_t section = findSection(sectionName);
    if (section == kNoSection) return false;
    // The body runs to the next header of any name.
    forEachLine(text_, bodyBegin(section), text_.size(), [&](const Line& line) {
        if (headerName(line.text)) return false;
        const size_t eq = line.text.find(u'=');
        if (eq == std::u16string_view::npos || line.text.front() == u';') return true;
        return visit(trim(line.text.substr(0, eq)));
    });
    return true;
}

void IniDocument::visitSectionNames(const std::function<bool(std::u16string_view)>& visit) const {
    forEachLine(text_, 0, text_.size(), [&](const Line& line) {
        const auto name = headerName(line.text);
        return !name || name->empty() || visit(*name);
    });
}

}  // namespace kxsim::platform
