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

// Room for every line without regrowing, but no more than one slot for four
// characters: a file of one key written many times must not get a table
// larger than its text. Such a file's table still grows if needed.
size_t entryTableSize(std::u16string_view text) {
    size_t lines = 0;
    bool seen = false;
    for (char16_t c : text) {
        if (c == u'\n' || c == u'\r') seen = false;
        else if (!seen && c != u'[' && !isBlank(c)) seen = true, ++lines;
    }
    size_t size = 64;
    while (fullerThanLimit(lines, size) && size * 2 <= text.size() / 4) size *= 2;
    return size;
}

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
    size_t start;
};

// Calls f(line) for each line of text[begin, end); every CR LF, LF and lone CR ends one.
template <class F>
void forEachLine(std::u16string_view text, size_t begin, size_t end, F&& f) {
    size_t pos = begin;
    while (pos < end) {
        size_t stop = pos;
        while (stop < end && text[stop] != u'\n' && text[stop] != u'\r') ++stop;
        if (!f(Line{trim(text.substr(pos, stop - pos)), pos})) return;
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
    const auto rangeOf = [&](std::u16string_view part) {
        return Range{static_cast<uint32_t>(part.data() - all.data()), static_cast<uint32_t>(part.size())};
    };
    doc.sectionSlots_.assign(16, 0);
    doc.entrySlots_.assign(entryTableSize(doc.text_), 0);
    while (doc.offsetMask_ / 2 > doc.text_.size()) doc.offsetMask_ /= 2;  // still above every line start + 1
    doc.addSection(Range{}, 0);  // the lines before the first header
    uint32_t current = 0;
    std::array<PendingEntry, 16> pending;
    size_t queued = 0;
    bool reading = true;  // false in a later section of a name already seen
    forEachLine(all, 0, all.size(), [&](const Line& line) {
        if (line.text.empty()) return true;
        if (auto name = headerName(line.text)) {
            if (reading) doc.sections_[current].body.size = static_cast<uint32_t>(line.start) - doc.sections_[current].body.begin;
            reading = doc.findSection(*name) == nullptr;
            if (reading) {
                doc.addSection(rangeOf(*name), rangeOf(line.text).begin + rangeOf(line.text).size);
                current = static_cast<uint32_t>(doc.sections_.size() - 1);
            }
            return true;
        }
        if (!reading) return true;
        // A line without "=" is an entry without a value: it hides a later
        // entry of its name. Entries wait a few lines in a queue while their
        // slot is fetched into the cache; they are still added in file order.
        const std::u16string_view key = trim(line.text.substr(0, line.text.find(u'=')));
        const uint64_t h = foldedHash(key, current);
        __builtin_prefetch(&doc.entrySlots_[h & (doc.entrySlots_.size() - 1)]);
        PendingEntry& slot = pending[queued++ % pending.size()];
        if (queued > pending.size()) doc.addEntry(slot);
        slot = PendingEntry{h, current, rangeOf(line.text).begin, key};
        return true;
    });
    for (size_t i = queued > pending.size() ? queued - pending.size() : 0; i < queued; ++i)
        doc.addEntry(pending[i % pending.size()]);
    if (reading) doc.sections_[current].body.size = static_cast<uint32_t>(all.size()) - doc.sections_[current].body.begin;
    return doc;
}

// An entry's line starts at lineBegin, blanks dropped: the key runs to the
// first "=", the value from there to the line's end; a line without "=" is
// all key and has no value.
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
    const auto after = std::upper_bound(sections_.begin(), sections_.end(), lineBegin,
                                        [](uint32_t pos, const Section& s) { return pos < s.body.begin; });
    return static_cast<uint32_t>(after - sections_.begin() - 1);
}

uint64_t IniDocument::entryHash(uint32_t lineBegin) const {
    return foldedHash(entryAt(lineBegin).key, sectionOf(lineBegin));
}

void IniDocument::grow(std::vector<uint32_t>& table, bool entries) {
    std::vector<uint32_t> bigger(table.size() * 2, 0);
    const size_t mask = bigger.size() - 1;
    for (uint32_t slot : table) {
        if (!slot) continue;
        const uint64_t h = entries ? entryHash((slot & offsetMask_) - 1) : foldedHash(at(sections_[slot - 1].name), ~0ull);
        size_t i = h & mask;
        while (bigger[i]) i = (i + 1) & mask;
        bigger[i] = slot;
    }
    table.swap(bigger);
}

void IniDocument::addSection(Range name, uint32_t bodyBegin) {
    sections_.push_back(Section{name, Range{bodyBegin, 0}});
    if (fullerThanLimit(sections_.size(), sectionSlots_.size())) grow(sectionSlots_, false);
    const size_t mask = sectionSlots_.size() - 1;
    size_t i = foldedHash(at(name), ~0ull) & mask;
    while (sectionSlots_[i]) i = (i + 1) & mask;
    sectionSlots_[i] = static_cast<uint32_t>(sections_.size());
}

void IniDocument::addEntry(const PendingEntry& entry) {
    const auto [h, section, lineBegin, name] = entry;
    const size_t mask = entrySlots_.size() - 1;
    size_t i = h & mask;
    for (; entrySlots_[i]; i = (i + 1) & mask) {
        const uint32_t slot = entrySlots_[i], other = (slot & offsetMask_) - 1;
        if ((slot & ~offsetMask_) == tag(h) && sameFolded(entryAt(other).key, name) && sectionOf(other) == section)
            return;  // the first one is read
    }
    entrySlots_[i] = (lineBegin + 1) | tag(h);
    if (fullerThanLimit(++entryCount_, entrySlots_.size())) grow(entrySlots_, true);
}

const IniDocument::Section* IniDocument::findSection(std::u16string_view name) const {
    const size_t mask = sectionSlots_.size() - 1;
    for (size_t i = foldedHash(name, ~0ull) & mask; sectionSlots_[i]; i = (i + 1) & mask) {
        const Section& s = sections_[sectionSlots_[i] - 1];
        if (sameFolded(at(s.name), name)) return &s;
    }
    return nullptr;
}

bool IniDocument::hasSection(std::u16string_view name) const { return findSection(name) != nullptr; }

std::optional<std::u16string_view> IniDocument::value(std::u16string_view sectionName,
                                                      std::u16string_view key) const {
    const Section* s = findSection(trim(sectionName));
    if (!s) return std::nullopt;
    const auto section = static_cast<uint32_t>(s - sections_.data());
    const std::u16string_view name = trim(key);
    const size_t mask = entrySlots_.size() - 1;
    const uint64_t h = foldedHash(name, section);
    for (size_t i = h & mask; entrySlots_[i]; i = (i + 1) & mask) {
        const uint32_t slot = entrySlots_[i], lineBegin = (slot & offsetMask_) - 1;
        if ((slot & ~offsetMask_) != tag(h)) continue;
        const Entry e = entryAt(lineBegin);
        if (sameFolded(e.key, name) && sectionOf(lineBegin) == section) return e.value;  // none: no value
    }
    return std::nullopt;
}

bool IniDocument::visitKeyNames(std::u16string_view sectionName,
                                const std::function<bool(std::u16string_view)>& visit) const {
    const Section* s = findSection(sectionName);
    if (!s) return false;
    forEachLine(text_, s->body.begin, s->body.begin + s->body.size, [&](const Line& line) {
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
