// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// A UICC's answers as the USIM code reads them (FCP, access rules, EF DIR),
// the class 00 exchange against a scripted card, the network lists with
// access technologies and the conversions a clone between a GSM SIM and a
// USIM makes.

#include <gtest/gtest.h>


#include "ef_dir.h"
#include "file_control.h"
#include "plmn_list.h"
#include "usim_app.h"
#include "usim_files.h"

#include "scripted_card.h"

using namespace kxsim::card;

namespace {

using test::fromHex;
using test::ScriptedCard;

TEST(usim_codings, file_control_parameters) {
    const struct { const char* fcp; bool dir; Structure structure; uint32_t size; uint8_t record; bool invalidated; const char* error; } cases[] = {
        {"621482024121830260078A01058B036F060280020009", false, Structure::Transparent, 9, 0, false, nullptr},
        {"6217820542210014058302603B8A01058B036F060380020064", false, Structure::Linear, 100, 20, false, nullptr},
        {"62158205462100030383026F398A01048C010380020009", false, Structure::Cyclic, 9, 3, true, nullptr},
        {"62168202782183027FFF8A0105C6099001C0830101830181", true, Structure::Transparent, 0, 0, false, nullptr},
        {"6F0482024121", false, Structure::Transparent, 0, 0, false, "no file control parameters"},
        {"620483026F60", false, Structure::Transparent, 0, 0, false, "no file descriptor"},
        {"62088202392183026F", false, Structure::Transparent, 0, 0, false, "malformed"},  // runs past the end
        {"62088202392183026F60", false, Structure::Transparent, 0, 0, false, "structure this tool does not read"},
        {"620A82044221000083026F60", false, Structure::Transparent, 0, 0, false, "no usable record length"},
    };
    for (const auto& c : cases) {
        try {
            const FileControl fc = parseFcp(fromHex(c.fcp), "EF X");
            EXPECT_EQ(c.error, nullptr) << c.fcp;
            EXPECT_EQ(fc.directory, c.dir) << c.fcp;
            EXPECT_EQ(fc.ef.invalidated, c.invalidated) << c.fcp;
            if (!c.dir) {
                EXPECT_EQ(fc.ef.structure, c.structure) << c.fcp;
                EXPECT_EQ(fc.ef.size, c.size) << c.fcp;
                EXPECT_EQ(fc.ef.recordLength, c.record) << c.fcp;
            } else {
                ASSERT_EQ(fc.pins.size(), 2u);
                EXPECT_TRUE(fc.pins[0].key == 0x01 && fc.pins[0].enabled) << c.fcp;
                EXPECT_TRUE(fc.pins[1].key == 0x81 && fc.pins[1].enabled) << c.fcp;
            }
        } catch (const CardError& e) {
            ASSERT_NE(c.error, nullptr) << c.fcp << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
    }
}

TEST(usim_codings, access_rules_give_the_levels_of_read_and_update) {
    const struct { const char* rule; bool compact; Access read, update; } cases[] = {
        {"8001019000800102A40683010A950108", false, 0, 4},                  // always / ADM
        {"800103A406830101950108", false, 1, 1},                            // PIN for both
        {"800101A406830101950108800102A406830181950108", false, 1, 2},      // PIN / PIN2
        {"800103A010A406830101950108A406830111950108", false, 1, 1},        // PIN or universal PIN
        {"800103AF10A406830101950108A406830181950108", false, 2, 2},        // PIN and PIN2
        {"8001019700", false, 15, 15},                                      // never; update not named
        {"8401A49000", false, 15, 15},                                      // a command header mode only
        {"031000", true, 0, 1},                                             // compact: update PIN (b2 first), read always
        {"0310FF", true, 15, 1},
        {"0100", true, 0, 15},
    };
    for (const auto& c : cases) {
        const AccessLevels l = c.compact ? compactAccess(fromHex(c.rule)) : expandedAccess(fromHex(c.rule));
        EXPECT_EQ(l.read, c.read) << c.rule;
        EXPECT_EQ(l.update, c.update) << c.rule;
    }
    EXPECT_THROW(compactAccess(fromHex("03")), CardError);
}

TEST(usim_codings, ef_dir_names_the_usim) {
    const struct { const char* record; const char* aid; bool usim; } cases[] = {
        {"61144F0CA0000000871002FF49FF0589500455534D49FFFF", "A0000000871002FF49FF0589", true},
        {"610B4F07A0000000871004FFFF", "A0000000871004", false},  // ISIM
        {"FFFFFFFFFFFF", nullptr, false},
        {"610450025349", nullptr, false},  // a label, no AID
    };
    for (const auto& c : cases) {
        const auto app = applicationRecord(fromHex(c.record));
        EXPECT_EQ(app ? hex(app->aid) : std::string(), c.aid ? c.aid : "") << c.record;
        EXPECT_EQ(app && isUsim(app->aid), c.usim) << c.record;
    }
}

constexpr char kAid[] = "A0000000871002FF49FF0589";
constexpr const char* kAdf = test::kUsimAdf;
constexpr char kSelectAdf[] = "00A404040CA0000000871002FF49FF0589";

TEST(usim_app, opening_selecting_reading_and_the_tries_left) {
    enum class Step { Select, Read, Tries };
    const struct { const char* what; Step step; std::deque<std::string> then; const char* result; std::vector<std::string> sent; } cases[] = {
        {"61xx answered by GET RESPONSE, a referenced rule read from EF ARR", Step::Select,
         {"6126", kAdf, "6116", "62148202412183026F388A01058B036F060480020006" "9000", "610D", "620B8205422100200483026F069000",
          "800101A406830101950108800102A40683010A950108FFFFFFFFFFFFFFFFFFFF9000", "6126", kAdf, "6116",
          "62148202412183026F388A01058B036F060480020006" "9000"},
         "read 1 update 4",
         {kSelectAdf, "00C0000026", "00A40004026F38", "00C0000016", "00A40004026F06", "00C000000D", "00B2040420",
          kSelectAdf, "00C0000026", "00A40004026F38", "00C0000016"}},
        {"6Cxx: the same command again with the length the card names", Step::Read,
         {"6126", kAdf, "6114", "62128202412183026F388A0105AB0580010190009000", "6C06", "073E180000029000"},
         "073E18000002", {kSelectAdf, "00C0000026", "00A40004026F38", "00C0000014", "00B0000006", "00B0000006"}},
        {"an invalidated file: 6283, its FCP fetched", Step::Select,
         {"6126", kAdf, "6283", "6C14", "62128202412183026F388A0104AB0580010190009000"}, "invalidated",
         {kSelectAdf, "00C0000026", "00A40004026F38", "00C0000000", "00C0000014"}},
        {"a file not there", Step::Select, {"6126", kAdf, "6A82"}, "EF 6F38 is not on the card", {}},
        {"the tries left from VERIFY without a PIN", Step::Tries, {"6126", kAdf, "63C2"}, "tries 2",
         {kSelectAdf, "00C0000026", "00200001"}},
    };
    for (const auto& c : cases) {
        ScriptedCard card;
        card.answers = test::usimOpening();
        card.answers.insert(card.answers.end(), c.then.begin(), c.then.end());
        std::string result;
        try {
            UsimApp usim(card);
            EXPECT_EQ(hex(usim.aid()), kAid);
            card.sent.clear();
            if (c.step == Step::Tries) {
                result = "tries " + std::to_string(usim.codeState(1).tries);
            } else {
                const EfInfo info = usim.selectPath({kApplicationDir}, 0x6F38);
                result = info.invalidated ? "invalidated"
                                          : "read " + std::to_string(info.read) + " update " + std::to_string(info.update);
                if (c.step == Step::Read) result = hex(usim.readBinary(0, 6));
            }
        } catch (const CardError& e) {
            result = e.what();
        }
        EXPECT_NE(result.find(c.result), std::string::npos) << c.what << ": " << result;
        if (!c.sent.empty()) {
            EXPECT_EQ(card.sent, c.sent) << c.what;
        }
    }
}

TEST(usim_codings, network_lists_keep_access_technologies_and_leading_zeros) {
    const Bytes card = fromHex("62F210400062F220808000F110C880FFFFFFFFFF");
    const std::vector<PlmnEntry> before = decodePlmnList(card, 5);
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(before[2].key, "00101");
    std::vector<std::string> known;
    for (const auto& e : before) known.push_back(e.key);
    // The dialog hands numbers back: 00101 as 101.
    const struct { const char16_t* token; const char* key; } back[] = {
        {u"101", "00101"}, {u"26202", "26202"}, {u"310260", "310260"}, {u"90114", "90114"}, {u"101x", nullptr}, {u"1010", nullptr},
    };
    for (const auto& b : back) {
        std::string why;
        const auto key = cardKey(b.token, known, why);
        EXPECT_EQ(key.value_or("none"), b.key ? b.key : "none");
    }
    std::string why;
    // Telekom dropped, 001-01 kept first, T-Mobile US added: kept entries keep their bytes, the new one gets C8 80.
    const auto coded = encodePlmnList({"00101", "26202", "310260"}, before, 5, 20, why);
    ASSERT_TRUE(coded) << why;
    EXPECT_EQ(hex(*coded), "00F110C88062F2208080130062C880FFFFFFFFFF");
    EXPECT_FALSE(encodePlmnList({"26201", "26202", "26203", "26204", "26205"}, before, 5, 20, why));
    EXPECT_NE(why.find("do not fit"), std::string::npos);
}

TEST(usim_codings, clone_conversions_between_gsm_and_usim) {
    const struct { Conversion conversion; bool toUsim; std::vector<const char*> source; uint32_t size; uint8_t record; const char* before; std::vector<const char*> result; } cases[] = {
        {Conversion::Networks, true, {"62F210130062FFFFFF"}, 15, 0, "130062400062F2308080FFFFFFFFFF", {"62F210C8801300624000FFFFFFFFFF"}},  // 310-260 keeps its E-UTRAN
        {Conversion::Networks, false, {"62F2104000FFFFFFFFFF"}, 6, 0, "", {"62F210FFFFFF"}},
        {Conversion::Networks, true, {"62F21062F22062F230"}, 10, 0, "", {}},  // three do not fit in two
        {Conversion::Languages, true, {"0001FF"}, 6, 0, "", {"6465656EFFFF"}},
        {Conversion::Languages, false, {"6465787823FF"}, 3, 0, "", {"00FFFF"}},  // "xx" has no code
        {Conversion::Capability, true, {"03A08800FFFFFFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFFFFFFFFFFFFFF"}, 0, 15, "",
         {"03A08800FFFFFFFFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"}},
        {Conversion::Capability, false, {"0BA0880011223344556677889900"}, 0, 14, "", {}},  // 12 bytes do not fit 10
    };
    for (const auto& c : cases) {
        std::vector<Bytes> source;
        for (const char* s : c.source) source.push_back(fromHex(s));
        std::string why;
        const auto out = convertContent(c.conversion, c.toUsim, source, c.size, c.record, fromHex(c.before), why);
        std::vector<std::string> got;
        if (out)
            for (const Bytes& b : *out) got.push_back(hex(b));
        EXPECT_EQ(got, std::vector<std::string>(c.result.begin(), c.result.end())) << c.source[0] << " " << why;
        EXPECT_EQ(!out, !why.empty() && c.result.empty()) << c.source[0];
    }
    EXPECT_EQ(phonebookFile(fromHex("A808C0024F3AC2024F4AFFFF"), kPbrExt1).value_or(0), 0x4F4A);
    EXPECT_FALSE(phonebookFile(fromHex("A804C0024F3AFF"), kPbrExt1));
    EXPECT_TRUE(serviceAvailable(fromHex("077E18000002"), service::kOplmnWact));
    EXPECT_FALSE(serviceAvailable(fromHex("077E18000002"), 41));
}

}  // namespace
