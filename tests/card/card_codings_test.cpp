// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The SIM file codings, the SIM commands' answers checked against a scripted
// card, and the operator INI made from the service providers file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArrayList>

#include "gsm_sim.h"
#include "operator_ini.h"
#include "sim_codings.h"
#include "support/child_process.h"
#include "terminal_interaction.h"

#include "scripted_card.h"

using namespace kxsim::card;

namespace {

using test::fromHex;
using test::ScriptedCard;

TEST(card_codings, price_per_unit_in_hundredths_both_ways) {
    const struct { const char* puct; uint16_t eppu; int ex; uint64_t hundredths; bool exact; } cases[] = {
        {"455552005C", 12, -2, 12, true},       // 0.12 EUR
        {"4555521C32", 450, -1, 4500, true},    // 45.0
        {"4555520120", 16, 1, 16000, true},     // 160
        {"455552FFFF", 4095, -7, 0, false},     // 0.0004095: less than half a hundredth
        {"455552077D", 125, -3, 13, false},     // 12.5 hundredths, halves up
        {"4555520000", 0, 0, 0, true},
    };
    for (const auto& c : cases) {
        const Price price = decodePrice(fromHex(c.puct));
        EXPECT_EQ(price.eppu, c.eppu) << c.puct;
        EXPECT_EQ(price.exponent, c.ex) << c.puct;
        EXPECT_EQ(hex(encodePrice(price)), c.puct);
        const Hundredths h = priceInHundredths(price);
        EXPECT_EQ(h.value, c.hundredths) << c.puct;
        EXPECT_EQ(h.exact, c.exact) << c.puct;
    }
    // The coding of a dialog price: the smallest EX that keeps EPPU whole and within 12 bits.
    const struct { uint64_t hundredths; const char* puct; } back[] = {
        {12, "455552005C"}, {4095, "455552FF5F"}, {4100, "455552193A"}, {9990, "4555523E37"}, {4097, nullptr},
    };
    const Bytes eur = fromHex("455552");
    for (const auto& c : back) {
        const auto price = priceOfHundredths(eur, c.hundredths);
        EXPECT_EQ(price ? hex(encodePrice(*price)) : std::string("none"), c.puct ? c.puct : "none") << c.hundredths;
        if (price) {
            EXPECT_EQ(priceInHundredths(*price).value, c.hundredths);
        }
    }
    EXPECT_THROW(decodePrice(fromHex("45555200")), CardError);
}

TEST(card_codings, currency_meter_and_card_number) {
    EXPECT_EQ(currencyText(fromHex("455552")), "EUR");
    EXPECT_EQ(currencyText(fromHex("4402FF")), "D?");
    EXPECT_EQ(hex(*currencyBytes(u"DM")), "444DFF");
    for (std::u16string bad : {u"E$R", u"EURO", u"\u20ac"}) EXPECT_FALSE(currencyBytes(bad));
    EXPECT_EQ(meterUnits(fromHex("FFFFFF")), kMaxMeterUnits);
    EXPECT_EQ(hex(meterBytes(250)), "0000FA");
    EXPECT_THROW(meterUnits(fromHex("0001")), CardError);
    EXPECT_EQ(iccidDigits(fromHex("98942000002143658709")), "89490200001234567890");
    EXPECT_EQ(iccidDigits(fromHex("9894F0")), "89490");
}

TEST(card_codings, network_codes_both_ways) {
    const struct { const char* bytes; const char* key; } cases[] = {
        {"62F210", "26201"}, {"130062", "310260"}, {"330420", "334020"}, {"22F860", "22806"}, {"FFFFFF", ""},
        {"00F110", "00101"}, {"09F141", "90114"}, {"21F354", "12345"},  // test network, international, MCC 123
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plmnKey(fromHex(c.bytes).data()), c.key) << c.bytes;
        if (*c.key) {
            std::string why;
            const auto three = plmnBytes(QString::fromLatin1(c.key).toStdU16String(), why);
            ASSERT_TRUE(three) << why;
            EXPECT_EQ(hex(Bytes(three->begin(), three->end())), c.bytes);
        }
    }
    EXPECT_THROW(plmnKey(fromHex("6AF210").data()), CardError);
    for (std::u16string bad : {u"101", u"2620", u"2620123", u"262a1", u""}) {
        std::string why;
        EXPECT_FALSE(plmnBytes(bad, why));
        EXPECT_NE(why.find("is not a network code"), std::string::npos);
    }
}

TEST(card_sim, select_answers_are_checked) {
    // The first answer: cyclic, 4 records of 3 bytes, read and update CHV1.
    const struct { std::deque<std::string> answers; const char* error; } cases[] = {
        {{"9F0F", "0000000C6F390400114444010203039000"}, nullptr},
        {{"9F0F", "0000000C6F390400114444000203039000"}, "invalidated"},  // file status b1 clear
        {{"9404"}, "EF 6F39 is not on the card"},
        {{"6E00"}, "a UICC without the 2G"},
        {{"9F0F", "0000000C6F39040011449000"}, "announced 15 bytes and gave 10"},
        {{"9F0A", "0000000C6F39040011449000"}, "gives at least 14"},
        {{"9F0F", "0000000C6F390400114444010202039000"}, "unknown structure (02)"},
        {{"9F0F", "0000000C6F390400114444010203059000"}, "no usable record length"},
        {{"90"}, "not even a status word"},
        {{"9000"}, "gave no response data"},
    };
    for (const auto& c : cases) {
        ScriptedCard card;
        card.answers = c.answers;
        SimCard sim(card);
        try {
            const EfInfo info = sim.selectEf(0x6F39);
            if (info.invalidated) throw CardError(CardError::Kind::Card, "invalidated");
            EXPECT_EQ(c.error, nullptr);
            EXPECT_EQ(info.records(), 4u);
            EXPECT_EQ(info.structure, Structure::Cyclic);
            EXPECT_EQ(info.read, 1);
        } catch (const CardError& e) {
            ASSERT_NE(c.error, nullptr) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
    }
}

TEST(card_sim, verify_sends_the_padded_pin_and_wipes_it) {
    const struct { std::string pin; const char* answer; int result; } cases[] = {
        {"1234", "9000", 1}, {"12345678", "9804", 0}, {"9840", "9840", -1}, {"123", nullptr, -1}, {"12a4", nullptr, -1},
    };
    for (const auto& c : cases) {
        ScriptedCard card;
        if (c.answer) card.answers = {c.answer};
        SimCard sim(card);
        std::string pin = c.pin;
        int result = -1;
        try {
            result = sim.verify(2, pin) ? 1 : 0;
        } catch (const CardError&) {
        }
        EXPECT_EQ(result, c.result) << c.pin;
        EXPECT_TRUE(pin.empty()) << c.pin;
        if (c.answer) {
            Bytes padded(8, 0xFF);
            std::copy(c.pin.begin(), c.pin.end(), padded.begin());
            EXPECT_EQ(card.sent.at(0), "A020000208" + hex(padded));
        } else {
            EXPECT_TRUE(card.sent.empty()) << "a malformed PIN went to the card";
        }
    }
}

TEST(card_sim, long_files_move_in_chunks_and_short_reads_are_refused) {
    ScriptedCard card;
    card.answers = {std::string(510, 'A') + "9000", "AAAA9000"};
    SimCard sim(card);
    EXPECT_EQ(sim.readBinary(0, 257).size(), 257u);
    EXPECT_EQ(card.sent, (std::vector<std::string>{"A0B00000FF", "A0B000FF02"}));
    card.answers = {"AA9000"};
    EXPECT_THROW(sim.readBinary(0, 2), CardError);
}

TEST(card_operator_ini, keys_are_mcc_and_mnc_and_the_first_provider_names_a_network) {
    const QByteArray xml =
        "<?xml version=\"1.0\"?><serviceproviders format=\"2.0\"><country code=\"de\">"
        "<provider><name>T-Mobile (Telekom)</name><gsm><network-id mcc=\"262\" mnc=\"01\"/>"
        "<network-id mcc=\"262\" mnc=\"06\"/><apn value=\"x\"><name>Internet</name></apn></gsm></provider>"
        "<provider><name>Congstar</name><gsm><network-id mcc=\"262\" mnc=\"01\"/></gsm></provider>"
        "<provider><name>  Test\n net </name><gsm><network-id mcc=\"001\" mnc=\"01\"/>"
        "<network-id mcc=\"31\" mnc=\"1\"/><network-id mcc=\"310\" mnc=\"260\"/></gsm></provider>"
        "</country></serviceproviders>";
    QString error;
    EXPECT_EQ(operatorIni(xml, error).split('\n').mid(2),
              (QList<QByteArray>{"[Operators]", "00101=Test net", "26201=T-Mobile (Telekom)", "26206=T-Mobile (Telekom)",
                                 "310260=Test net", ""}));
    for (const QByteArray& bad : {QByteArray("<html/>"), QByteArray("<serviceproviders><x>")}) {
        error.clear();
        EXPECT_TRUE(operatorIni(bad, error).isEmpty());
        EXPECT_FALSE(error.isEmpty());
    }
}

}  // namespace

// The PIN prompt names the reader, a name the device chose: it is printed
// escaped, so a hostile reader cannot rewrite what the user reads.
TEST(card_terminal, the_pin_prompt_cannot_drive_the_terminal) {
    const kxsim::test::ChildOutput end = kxsim::test::inChildWithOutput([](int out) {
        int answer[2];
        if (::pipe(answer) != 0 || ::write(answer[1], "1234\n", 5) != 5) return 1;
        ::close(answer[1]);
        ::dup2(answer[0], STDIN_FILENO);
        ::dup2(out, STDERR_FILENO);
        return TerminalInteraction().askPin("PIN of \"Evil\x1b]0;PWNED\x07\x1b[2J\xe2\x80\xae Reader\"") == "1234" ? 0 : 2;
    }, 20);
    EXPECT_EQ(end.code, 0);
    EXPECT_EQ(end.output, "PIN of \"Evil\\x1b]0;PWNED\\x07\\x1b[2J\\u202e Reader\": \n");
}
