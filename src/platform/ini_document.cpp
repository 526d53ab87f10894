#include "platform/ini_document.h"

#include <cstdint>

namespace kxsim::platform {
namespace {

char16_t foldChar(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c + 32;
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

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && (isBlank(s.front()) || s.front() == u'\r')) s.remove_prefix(1);
    while (!s.empty() && (isBlank(s.back()) || s.back() == u'\r')) s.remove_suffix(1);
    return s;
}

std::u16string_view unquote(std::u16string_view v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

std::u16string foldCase(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) c = foldChar(c);
    return out;
}

size_t FoldedHash::operator()(std::u16string_view name) const noexcept {
    uint64_t h = 14695981039346656037ull;  // FNV-1a over the folded characters
    for (char16_t c : name) {
        h = (h ^ foldChar(c)) * 1099511628211ull;
    }
    return static_cast<size_t>(h);
}

bool FoldedEqual::operator()(std::u16string_view a, std::u16string_view b) const noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldChar(a[i]) != foldChar(b[i])) return false;
    return true;
}

IniDocument IniDocument::parse(std::u16string_view text) {
    IniDocument doc;
    Section* current = nullptr;
    bool currentIsFirst = false;  // entries of a repeated section are never looked up
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(u'\n', pos);
        if (end == std::u16string_view::npos) end = text.size();
        const std::u16string_view line = trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line.front() == u';') continue;
        if (line.front() == u'[') {
            size_t close = line.find(u']');
            std::u16string_view name =
                trim(line.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos
                                                                       : close - 1));
            doc.sections_.push_back(Section{std::u16string(name), {}, {}});
            current = &doc.sections_.back();
            currentIsFirst = doc.bySection_.emplace(std::u16string(name), doc.sections_.size() - 1).second;
            continue;
        }
        if (!current || !currentIsFirst) continue;
        const size_t eq = line.find(u'=');
        Entry entry;
        if (eq == std::u16string_view::npos) {
            entry.key = std::u16string(line);
        } else {
            entry.key = std::u16string(trim(line.substr(0, eq)));
            entry.value = std::u16string(unquote(trim(line.substr(eq + 1))));
        }
        current->byKey.emplace(entry.key, current->entries.size());
        current->entries.push_back(std::move(entry));
    }
    return doc;
}

// Asked-for names match as the file's names are read: without surrounding blanks.
const IniDocument::Section* IniDocument::section(std::u16string_view name) const {
    auto it = bySection_.find(trim(name));
    return it == bySection_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::u16string_view> IniDocument::value(std::u16string_view sectionName,
                                                      std::u16string_view key) const {
    const Section* s = section(sectionName);
    if (!s) return std::nullopt;
    const std::u16string_view name = trim(key);
    if (name.empty()) return std::nullopt;  // an empty name never matches
    auto it = s->byKey.find(name);
    if (it == s->byKey.end()) return std::nullopt;
    return std::u16string_view(s->entries[it->second].value);
}

}  // namespace kxsim::platform
