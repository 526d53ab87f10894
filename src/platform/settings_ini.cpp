// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/settings_ini.h"

#include <algorithm>

#include "platform/text_codec.h"

namespace kxsim::platform {
namespace {

bool isSpaceOrTab(char16_t c) { return c == u' ' || c == u'\t'; }
bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isAsciiAlnum(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool isGeneral(std::string_view name) {
    constexpr std::string_view kGeneral = "general";
    if (name.size() != kGeneral.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if ((name[i] | 0x20) != kGeneral[i]) return false;
    return true;
}

// Reads \a digits hex digits at \a at; -1 when they are not all there.
int hexNumber(std::u16string_view in, size_t at, size_t digits) {
    if (at + digits > in.size()) return -1;
    int value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int d = hexValue(in[at + i]);
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

std::u16string decodeKey(std::string_view raw) {
    const std::u16string in = fromUtf8(raw);
    std::u16string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == u'\\') {
            out += u'/';
        } else if (in[i] == u'%' && i + 1 < in.size() && in[i + 1] == u'U' && hexNumber(in, i + 2, 4) >= 0) {
            out += static_cast<char16_t>(hexNumber(in, i + 2, 4));
            i += 5;
        } else if (in[i] == u'%' && hexNumber(in, i + 1, 2) >= 0) {
            out += static_cast<char16_t>(hexNumber(in, i + 1, 2));
            i += 2;
        } else {
            out += in[i];
        }
    }
    return out;
}

// One escape after a backslash at in[i]; moves i to its last character.
void decodeEscape(std::u16string_view in, size_t& i, std::u16string& out) {
    const char16_t e = in[++i];
    switch (e) {
    case u'a': out += u'\a'; return;
    case u'b': out += u'\b'; return;
    case u'f': out += u'\f'; return;
    case u'n': out += u'\n'; return;
    case u'r': out += u'\r'; return;
    case u't': out += u'\t'; return;
    case u'v': out += u'\v'; return;
    case u'x': {
        unsigned value = 0;
        size_t n = 0;
        while (n < 4 && i + 1 < in.size() && hexValue(in[i + 1]) >= 0) value = value * 16 + hexValue(in[++i]), ++n;
        out += n ? static_cast<char16_t>(value) : u'x';
        return;
    }
    default:
        if (e >= u'0' && e <= u'7') {
            unsigned value = e - u'0';
            for (int n = 1; n < 3 && i + 1 < in.size() && in[i + 1] >= u'0' && in[i + 1] <= u'7'; ++n)
                value = value * 8 + (in[++i] - u'0');
            out += static_cast<char16_t>(value);
        } else {
            out += e;  // \" \\ \' \? \; \, and anything else stand for themselves
        }
    }
}

std::optional<std::u16string> decodeValue(std::string_view raw) {
    const std::u16string in = fromUtf8(raw);
    std::u16string out;
    size_t significant = 0;  // blanks outside quotes at the end are dropped
    bool quoted = false;
    bool started = false;
    for (size_t i = 0; i < in.size(); ++i) {
        const char16_t c = in[i];
        if (!started && !quoted && isSpaceOrTab(c)) continue;
        started = true;
        if (c == u'"') {
            quoted = !quoted;
        } else if (c == u'\\') {
            if (i + 1 == in.size()) break;  // a line continuation, which the store never writes
            decodeEscape(in, i, out);
        } else if (!quoted && c == u';') {
            break;  // a comment
        } else if (!quoted && c == u',') {
            return std::nullopt;  // a list, not text
        } else if (c == u'\r' && i + 1 == in.size()) {
            break;
        } else {
            out += c;
            if (!quoted && isSpaceOrTab(c)) continue;
        }
        significant = out.size();
    }
    out.resize(significant);
    if (!out.empty() && out[0] == u'@') {
        // QSettings writes a text holding a NUL as @String(...).
        constexpr std::u16string_view kString = u"@String(";
        if (out.starts_with(kString) && out.back() == u')') return out.substr(kString.size(), out.size() - kString.size() - 1);
        if (out.size() < 2 || out[1] != u'@') return std::nullopt;  // a typed value
        out.erase(0, 1);
    }
    return out;
}

std::string encodeKey(std::u16string_view key) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char16_t c : key) {
        if (isAsciiAlnum(c) || c == u'_' || c == u'-' || c == u'.') {
            out += static_cast<char>(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 15];
        }
    }
    return out;
}

std::string hexEscape(char16_t c) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), kHex[c & 15]);
        c = static_cast<char16_t>(c >> 4);
    } while (c);
    return "\\x" + digits;
}

std::string encodeValue(std::u16string_view text) {
    std::u16string s(text);
    if (!s.empty() && s[0] == u'@') s.insert(s.begin(), u'@');
    std::string out;
    bool needsQuotes = false;
    bool escapeNextIfHexDigit = false;  // "\x1" then "f" would read as "\x1f"
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == u';' || c == u',' || c == u'=') needsQuotes = true;
        if (escapeNextIfHexDigit && hexValue(c) >= 0) {
            out += hexEscape(c);
            continue;
        }
        escapeNextIfHexDigit = false;
        switch (c) {
        case u'\0': out += "\\0"; escapeNextIfHexDigit = true; break;
        case u'\a': out += "\\a"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        case u'\v': out += "\\v"; break;
        case u'"':
        case u'\\':
            out += '\\';
            out += static_cast<char>(c);
            break;
        default:
            if (c <= 0x1F) {
                out += hexEscape(c);
                escapeNextIfHexDigit = true;
            } else if (isHighSurrogate(c) && i + 1 < s.size() && isLowSurrogate(s[i + 1])) {
                out += toUtf8(std::u16string_view(s).substr(i, 2));
                ++i;
            } else {
                out += toUtf8(std::u16string_view(s).substr(i, 1));
            }
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) out = '"' + out + '"';
    return out;
}

// Where the entries of the [General] group lie in a file.
struct GeneralScan {
    size_t matchBegin = std::string_view::npos;  // the key's last entry line
    size_t matchEnd = 0;                         // ... without its line end
    size_t groupEnd = std::string_view::npos;    // past the last line with content of a [General] section
    std::optional<std::u16string> value;
};

// Calls \a entry(begin, end, key, rawValue) for each entry line of the
// [General] group in file order (end excludes the line end) and \a group(next)
// for each line that extends the group (a [General] header, or an entry
// after one), next being where the line after it begins.
template <typename Entry, typename Group>
void walkGeneral(std::string_view bytes, Entry&& entry, Group&& group) {
    bool inGeneral = true;  // keys before the first section belong to [General]
    bool generalHeader = false;
    for (size_t begin = 0; begin < bytes.size();) {
        size_t end = bytes.find('\n', begin);
        const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = trimmed(bytes.substr(begin, end - begin));
        if (!line.empty() && line[0] == '[') {
            const size_t close = line.rfind(']');
            inGeneral = isGeneral(line.substr(1, close == std::string_view::npos || close == 0 ? line.size() - 1 : close - 1));
            generalHeader = generalHeader || inGeneral;
            if (inGeneral) group(next);
        } else if (inGeneral && !line.empty() && line[0] != ';' && line[0] != '#') {
            if (generalHeader) group(next);
            const size_t eq = line.find('=');
            if (eq != std::string_view::npos) entry(begin, end, decodeKey(trimmed(line.substr(0, eq))), line.substr(eq + 1));
        }
        begin = next;
    }
}

GeneralScan scan(std::string_view bytes, std::u16string_view key) {
    GeneralScan result;
    walkGeneral(
        bytes,
        [&](size_t begin, size_t end, const std::u16string& name, std::string_view raw) {
            if (name != key) return;
            result.matchBegin = begin;
            result.matchEnd = end;
            result.value = decodeValue(raw);
        },
        [&](size_t next) { result.groupEnd = next; });
    return result;
}

}  // namespace

std::optional<std::u16string> settingsText(std::string_view bytes, std::u16string_view key) {
    return scan(bytes, key).value;
}

std::map<std::u16string, std::u16string> settingsTexts(std::string_view bytes,
                                                      std::initializer_list<std::u16string_view> keys) {
    // The last entry of a key wins, also when it is no text: the key is then absent.
    std::map<std::u16string, std::string_view> last;
    walkGeneral(
        bytes,
        [&](size_t, size_t, const std::u16string& name, std::string_view raw) {
            if (std::find(keys.begin(), keys.end(), name) != keys.end()) last[name] = raw;
        },
        [](size_t) {});
    std::map<std::u16string, std::u16string> texts;
    for (auto& [name, raw] : last)
        if (std::optional<std::u16string> text = decodeValue(raw)) texts.emplace_hint(texts.end(), name, std::move(*text));
    return texts;
}

bool isStorableSetting(std::u16string_view key, std::u16string_view text) {
    if (key.empty() || key.find_first_of(u"/\\") != std::u16string_view::npos) return false;
    for (std::u16string_view s : {key, text}) {
        for (size_t i = 0; i < s.size(); ++i) {
            if (isHighSurrogate(s[i]) && i + 1 < s.size() && isLowSurrogate(s[i + 1])) {
                ++i;
            } else if (isHighSurrogate(s[i]) || isLowSurrogate(s[i])) {
                return false;
            }
        }
    }
    return true;
}

std::string withSetting(std::string_view bytes, std::u16string_view key, std::u16string_view text) {
    const std::string entry = encodeKey(key) + '=' + encodeValue(text);
    const GeneralScan found = scan(bytes, key);
    std::string out(bytes);
    if (found.matchBegin != std::string_view::npos) {
        // Keeps a CR that ended the line.
        size_t end = found.matchEnd;
        if (end > found.matchBegin && bytes[end - 1] == '\r') --end;
        return out.replace(found.matchBegin, end - found.matchBegin, entry);
    }
    if (found.groupEnd != std::string_view::npos) {
        const bool lineEnded = found.groupEnd > 0 && bytes[found.groupEnd - 1] == '\n';
        return out.insert(found.groupEnd, lineEnded ? entry + '\n' : '\n' + entry + '\n');
    }
    return "[General]\n" + entry + '\n' + (bytes.empty() ? "" : "\n") + out;
}

}  // namespace kxsim::platform
