// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "file_control.h"

#include <algorithm>

namespace kxsim::card {

namespace {

constexpr Access kAlways = 0, kAdmin = 4, kNever = 15;
constexpr uint8_t kAmRead = 0x01, kAmUpdate = 0x02;


// One security condition byte of the compact form: 00 always, FF never,
// user authentication (b5) the PIN; the rest needs the issuer's keys.
Access compactLevel(uint8_t sc) {
    if (sc == 0x00) return kAlways;
    if (sc == 0xFF) return kNever;
    return (sc & 0x10) ? 1 : kAdmin;
}

// The level of one security condition data object of the expanded form.
Access conditionLevel(const Tlv& sc) {
    switch (sc.tag) {
    case 0x90: return kAlways;
    case 0x97: return kNever;
    case 0x9E: return sc.value.empty() ? kNever : compactLevel(sc.value[0]);
    case 0xA4: {
        const auto crt = parseTlv(sc.value, "a control reference template");
        const Tlv* key = findTlv(crt, 0x83);
        return key && !key->value.empty() ? keyLevel(key->value[0]) : kAdmin;
    }
    case 0xA0:    // any one of the conditions inside
    case 0xAF: {  // all of them
        const auto inner = parseTlv(sc.value, "a security condition template");
        if (inner.empty()) return kNever;
        Access level = sc.tag == 0xA0 ? kNever : kAlways;
        for (const Tlv& c : inner)
            level = sc.tag == 0xA0 ? std::min(level, conditionLevel(c)) : std::max(level, conditionLevel(c));
        return level;
    }
    default: return kAdmin;  // secure messaging and the like: not for a user
    }
}

std::vector<KeyStatus> pinStatus(const Bytes& template_) {
    std::vector<KeyStatus> keys;
    Bytes enabledBits;
    bool universalNext = false;
    for (const Tlv& t : parseTlv(template_, "the PIN status template")) {
        if (t.tag == 0x90) enabledBits = t.value;
        if (t.tag == 0x95) universalNext = !t.value.empty() && (t.value[0] & 0x08);
        if (t.tag == 0x83 && !t.value.empty()) {
            const size_t i = keys.size();
            const bool enabled = i / 8 < enabledBits.size() && (enabledBits[i / 8] & (0x80 >> (i % 8)));
            keys.push_back({t.value[0], enabled, universalNext});
            universalNext = false;
        }
    }
    return keys;
}

}  // namespace

Access keyLevel(uint8_t key) {
    if ((key >= 0x01 && key <= 0x08) || key == 0x11) return 1;
    if (key >= 0x81 && key <= 0x88) return 2;
    return kAdmin;
}

AccessLevels expandedAccess(const Bytes& rule) {
    AccessLevels levels;
    uint8_t mode = 0;  // the access mode the conditions that follow belong to
    for (const Tlv& t : parseTlv(rule, "an access rule")) {
        if (t.tag == 0x80) {
            mode = t.value.empty() || (t.value[0] & 0x80) ? 0 : t.value[0];
            continue;
        }
        if (t.tag > 0x80 && t.tag <= 0x8F) {  // an access mode by command header: not READ or UPDATE here
            mode = 0;
            continue;
        }
        const Access level = conditionLevel(t);  // conditions after one mode: any one of them
        if (mode & kAmRead) levels.read = std::min(levels.read, level);
        if (mode & kAmUpdate) levels.update = std::min(levels.update, level);
    }
    return levels;
}

AccessLevels compactAccess(const Bytes& rule) {
    AccessLevels levels;
    if (rule.empty() || (rule[0] & 0x80)) return levels;
    // One condition byte per access mode bit, from b7 down to b1.
    size_t at = 1;
    for (int bit = 6; bit >= 0; --bit) {
        if (!(rule[0] & (1 << bit))) continue;
        if (at >= rule.size()) throw malformedAnswer("the compact security attributes are cut off (" + hex(rule) + ")");
        if (bit == 0) levels.read = compactLevel(rule[at]);
        if (bit == 1) levels.update = compactLevel(rule[at]);
        ++at;
    }
    return levels;
}

FileControl parseFcp(const Bytes& fcp, const std::string& file) {
    const auto outer = parseTlv(fcp, "the file control parameters");
    const Tlv* body = findTlv(outer, 0x62);
    if (!body) throw malformedAnswer("SELECT " + file + ": the card gave no file control parameters (62) but " + hex(fcp));
    const auto items = parseTlv(body->value, "the file control parameters");
    const Tlv* descriptor = findTlv(items, 0x82);
    if (!descriptor || descriptor->value.empty())
        throw malformedAnswer("SELECT " + file + ": the file control parameters hold no file descriptor (82)");
    FileControl fc;
    const uint8_t kind = descriptor->value[0];
    fc.directory = (kind & 0x3F) == 0x38;  // 39 is an EF of BER-TLV objects
    if (const Tlv* id = findTlv(items, 0x83); id && id->value.size() == 2) fc.ef.id = uint16_t(id->value[0] << 8 | id->value[1]);
    if (const Tlv* name = findTlv(items, 0x84)) fc.aid = name->value;
    if (const Tlv* life = findTlv(items, 0x8A); life && !life->value.empty()) fc.lifeCycle = life->value[0];
    if (const Tlv* s = findTlv(items, 0x8C)) fc.security = {Security::Form::Compact, s->value};
    if (const Tlv* s = findTlv(items, 0xAB)) fc.security = {Security::Form::Expanded, s->value};
    if (const Tlv* s = findTlv(items, 0x8B)) {
        // File ID and record, or file ID and pairs of security environment and record: SE 01 (PIN enabled) first.
        if (s->value.size() < 3) throw malformedAnswer("SELECT " + file + ": the security attribute reference is cut off");
        fc.security.form = Security::Form::Referenced;
        fc.security.arr = uint16_t(s->value[0] << 8 | s->value[1]);
        fc.security.record = s->value.size() == 3 ? s->value[2] : s->value[3];
        for (size_t i = 2; i + 1 < s->value.size(); i += 2)
            if (s->value[i] == 0x01) fc.security.record = s->value[i + 1];
    }
    if (const Tlv* pins = findTlv(items, 0xC6)) fc.pins = pinStatus(pins->value);
    if (fc.directory) return fc;

    switch ((kind & 0x38) == 0x38 ? 0 : kind & 0x07) {  // 39: BER-TLV objects, not records or bytes
    case 1: fc.ef.structure = Structure::Transparent; break;
    case 2: fc.ef.structure = Structure::Linear; break;
    case 6: fc.ef.structure = Structure::Cyclic; break;
    default: throw malformedAnswer(file + " has a structure this tool does not read (file descriptor " + hex({kind}) + ")");
    }
    uint32_t size = 0;
    if (const Tlv* s = findTlv(items, 0x80))
        for (uint8_t b : s->value) size = size << 8 | b;
    if (fc.ef.structure != Structure::Transparent) {
        const Bytes& d = descriptor->value;
        if (d.size() < 5 || d[2] != 0 || d[3] == 0 || d[4] == 0)
            throw malformedAnswer(file + ": the card gives no usable record length and count");
        fc.ef.recordLength = d[3];
        size = uint32_t(d[3]) * d[4];
    }
    fc.ef.size = size;
    fc.ef.invalidated = fc.deactivated();
    return fc;
}

}  // namespace kxsim::card
