// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "usim_files.h"

#include <algorithm>
#include <iterator>

#include "plmn_list.h"
#include "tlv.h"

namespace kxsim::card {

namespace {

using Where = UsimCounterpart::Where;

// The cell broadcast language codes of EF LP (coding groups 0000 and 0010) and their ISO 639 letters.
const struct { uint8_t code; char iso[3]; } kLanguages[] = {
    {0x00, "de"}, {0x01, "en"}, {0x02, "it"}, {0x03, "fr"}, {0x04, "es"}, {0x05, "nl"}, {0x06, "sv"},
    {0x07, "da"}, {0x08, "pt"}, {0x09, "fi"}, {0x0A, "no"}, {0x0B, "el"}, {0x0C, "tr"}, {0x0D, "hu"},
    {0x0E, "pl"}, {0x20, "cs"}, {0x21, "he"}, {0x22, "ar"}, {0x23, "ru"}, {0x24, "is"},
};

// A GSM SIM's EF CCP record: the bearer capability (its length byte first) in bytes 1 to 10, 11 to 14 reserved.
constexpr size_t kCcpCapability = 10;

std::optional<std::vector<Bytes>> languages(bool toUsim, const Bytes& source, uint32_t size, std::string& why) {
    Bytes out;
    const size_t step = toUsim ? 1 : 2;
    for (size_t i = 0; i + step <= source.size(); i += step) {
        for (const auto& l : kLanguages) {
            if (toUsim ? source[i] == l.code : (source[i] == uint8_t(l.iso[0]) && source[i + 1] == uint8_t(l.iso[1]))) {
                if (toUsim) out.insert(out.end(), {uint8_t(l.iso[0]), uint8_t(l.iso[1])});
                else out.push_back(l.code);
            }
        }
    }
    if (out.size() > size) {
        why = "the target holds " + std::to_string(size / (toUsim ? 2 : 1)) + " languages, the source names " +
              std::to_string(out.size() / (toUsim ? 2 : 1));
        return std::nullopt;
    }
    out.resize(size, 0xFF);
    return std::vector<Bytes>{out};
}

std::optional<std::vector<Bytes>> capabilities(bool toUsim, const std::vector<Bytes>& source, uint8_t recordLength,
                                               std::string& why) {
    std::vector<Bytes> out;
    for (const Bytes& record : source) {
        Bytes converted;
        if (!record.empty() && record[0] != 0xFF) {
            const size_t used = size_t(record[0]) + 1;
            const size_t capacity = toUsim ? size_t(recordLength) : kCcpCapability;
            if (used > capacity || used > record.size()) {
                why = "a bearer capability of " + std::to_string(used) + " bytes does not fit the target's " +
                      std::to_string(capacity);
                return std::nullopt;
            }
            converted.assign(record.begin(), record.begin() + long(used));
        }
        converted.resize(recordLength, 0xFF);
        out.push_back(std::move(converted));
    }
    return out;
}

}  // namespace

bool serviceAvailable(const Bytes& table, int number) {
    const size_t byte = size_t(number - 1) / 8;
    return number >= 1 && byte < table.size() && (table[byte] & (1 << ((number - 1) % 8)));
}

const UsimCounterpart& usimCounterpart(int bit) {
    static const UsimCounterpart map[] = {
        {0, Where::Phonebook, kPbrAdn, 0, Conversion::None, "ADN"},
        {1, Where::Application, 0x6F3B, service::kFdn, Conversion::None, "FDN"},
        {2, Where::Application, 0x6F40, service::kMsisdn, Conversion::None, "MSISDN"},
        {3, Where::None, 0, 0, Conversion::None,
         "a USIM keeps no EF LND: its dialled numbers (EF OCI) are coded otherwise"},
        {4, Where::Application, 0x6F3C, service::kSms, Conversion::None, "SMS"},
        {5, Where::Phonebook, kPbrExt1, 0, Conversion::None, "EXT1"},
        {6, Where::Application, 0x6F4B, service::kExt2, Conversion::None, "EXT2"},
        {7, Where::Application, kEfCcp2, service::kCcp2, Conversion::Capability, "CCP2"},
        {8, Where::Application, 0x6F42, service::kSmsp, Conversion::None, "SMSP"},
        {9, Where::Application, 0x6F47, service::kSmsr, Conversion::None, "SMSR"},
        {10, Where::Application, kEfPlmnWact, service::kPlmnWact, Conversion::Networks, "PLMNwAcT"},
        {11, Where::Application, 0x6F45, service::kCbmi, Conversion::None, "CBMI"},
        {12, Where::Application, 0x6F7B, 0, Conversion::None, "FPLMN"},
        {13, Where::Application, kEfLi, 0, Conversion::Languages, "LI"},
    };
    return map[std::clamp(bit, 0, int(std::size(map)) - 1)];
}

std::optional<std::vector<Bytes>> convertContent(Conversion conversion, bool toUsim, const std::vector<Bytes>& source,
                                                 uint32_t size, uint8_t recordLength, const Bytes& targetBefore,
                                                 std::string& why) {
    switch (conversion) {
    case Conversion::None: return source;
    case Conversion::Languages: return languages(toUsim, source.at(0), size, why);
    case Conversion::Capability: return capabilities(toUsim, source, recordLength, why);
    case Conversion::Networks: {
        std::vector<std::string> keys;
        for (const PlmnEntry& e : decodePlmnList(source.at(0), toUsim ? 3 : 5)) keys.push_back(e.key);
        const auto before = toUsim ? decodePlmnList(targetBefore, 5) : std::vector<PlmnEntry>{};
        const auto coded = encodePlmnList(keys, before, toUsim ? 5 : 3, size, why);
        if (!coded) return std::nullopt;
        return std::vector<Bytes>{*coded};
    }
    }
    return std::nullopt;
}

std::optional<uint16_t> phonebookFile(const Bytes& pbrRecord, uint8_t tag) {
    for (const Tlv& set : parseTlv(pbrRecord, "an EF PBR record")) {
        if (set.tag != 0xA8 && set.tag != 0xA9 && set.tag != 0xAA) continue;
        for (const Tlv& file : parseTlv(set.value, "an EF PBR record"))
            if (file.tag == tag && file.value.size() >= 2) return uint16_t(file.value[0] << 8 | file.value[1]);
    }
    return std::nullopt;
}

}  // namespace kxsim::card
