#include "platform/ini_document.h"

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

uint64_t foldedHash(std::u16string_view name, uint64_t seed) {
    uint64_t h = 14695981039346656037ull ^ seed;  // FNV-1a over the folded characters
    for (char16_t c : name) h = (h ^ foldChar(c)) * 1099511628211ull;
    return h ^ (h >> 29);
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
    doc.entrySlots_.assign(64, 0);
    doc.addSection(Range{}, 0);  // the lines before the first header
    uint32_t current = 0;
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
        const size_t eq = line.text.find(u'=');
        if (eq == std::u16string_view::npos) return true;  // no entry
        doc.addEntry(current, rangeOf(trim(line.text.substr(0, eq))), rangeOf(trim(line.text.substr(eq + 1))));
        return true;
    });
    if (reading) doc.sections_[current].body.size = static_cast<uint32_t>(all.size()) - doc.sections_[current].body.begin;
    return doc;
}

void IniDocument::grow(std::vector<uint32_t>& table, bool entries) {
    std::vector<uint32_t> bigger(table.size() * 2, 0);
    const size_t mask = bigger.size() - 1;
    for (uint32_t slot : table) {
        if (!slot) continue;
        const uint64_t h = entries ? foldedHash(at(entries_[slot - 1].key), entries_[slot - 1].section)
                                   : foldedHash(at(sections_[slot - 1].name), ~0ull);
        size_t i = h & mask;
        while (bigger[i]) i = (i + 1) & mask;
        bigger[i] = slot;
    }
    table.swap(bigger);
}

void IniDocument::addSection(Range name, uint32_t bodyBegin) {
    sections_.push_back(Section{name, Range{bodyBegin, 0}});
    if (sections_.size() * 2 > sectionSlots_.size()) grow(sectionSlots_, false);
    const size_t mask = sectionSlots_.size() - 1;
    size_t i = foldedHash(at(name), ~0ull) & mask;
    while (sectionSlots_[i]) i = (i + 1) & mask;
    sectionSlots_[i] = static_cast<uint32_t>(sections_.size());
}

void IniDocument::addEntry(uint32_t section, Range key, Range value) {
    const std::u16string_view name = at(key);
    size_t mask = entrySlots_.size() - 1;
    size_t i = foldedHash(name, section) & mask;
    for (; entrySlots_[i]; i = (i + 1) & mask) {
        const Entry& e = entries_[entrySlots_[i] - 1];
        if (e.section == section && sameFolded(at(e.key), name)) return;  // the first one is read
    }
    entries_.push_back(Entry{section, key, value});
    entrySlots_[i] = static_cast<uint32_t>(entries_.size());
    if (entries_.size() * 2 > entrySlots_.size()) grow(entrySlots_, true);
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
    for (size_t i = foldedHash(name, section) & mask; entrySlots_[i]; i = (i + 1) & mask) {
        const Entry& e = entries_[entrySlots_[i] - 1];
        if (e.section == section && sameFolded(at(e.key), name)) return at(e.value);
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
