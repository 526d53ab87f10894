// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
//
// What a broken or hostile card and reader hand kxsim's card access: the
// reader list of the PC/SC daemon, and every answer of a card (each answer
// the fuzzer's bytes, status word last) to the SIM commands, with the file
// codings applied to what was read. Every fault must be a CardError.

#include <algorithm>

#include "fuzz_input.h"
#include "gsm_sim.h"
#include "pcsc.h"
#include "sim_codings.h"

namespace {

using namespace kxsim::card;

// A card whose every answer is the next piece of the input.
class ScriptedCard : public Transport {
public:
    explicit ScriptedCard(kxsim::fuzz::Input& in) : in_(in) {}
    Bytes transmit(const Bytes&) override {
        const std::string_view answer = in_.longPiece(300);
        return Bytes(answer.begin(), answer.end());
    }
    Bytes verifyOnKeypad(const Bytes& command) override { return transmit(command); }

private:
    kxsim::fuzz::Input& in_;
};

template <class F>
void attempt(F&& f) {
    try {
        f();
    } catch (const CardError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kxsim::fuzz::Input in(data, size);
    (void)kartenleserList(splitReaderList(in.piece(200)));

    ScriptedCard card(in);
    SimCard sim(card);
    attempt([&] { (void)sim.selectDir(0x3F00); });
    attempt([&] {
        const EfInfo ef = sim.selectPath({0x7F20}, 0x6F39);
        (void)accessName(ef.read);
        if (ef.structure == Structure::Transparent)
            (void)sim.readBinary(0, std::min<uint32_t>(ef.size, 256));
        else if (ef.records())
            (void)sim.readRecord(1, ef.recordLength);
    });
    attempt([&] { (void)meterUnits(sim.readBinary(0, 3)); });
    attempt([&] {
        const Price price = decodePrice(sim.readBinary(0, 5));
        (void)currencyText(price.currency);
        (void)priceInHundredths(price);
    });
    attempt([&] { (void)iccidDigits(sim.readBinary(0, 10)); });
    attempt([&] {
        const Bytes record = sim.readRecord(1, 3);
        if (record.size() >= 3) (void)plmnKey(record.data());
    });
    attempt([&] { sim.updateBinary(0, Bytes{1, 2, 3}); });
    attempt([&] { sim.updateCyclic(Bytes{0, 0, 1}); });
    attempt([&] {
        std::string pin = "1234";
        (void)sim.verify(1, pin);
    });
    attempt([&] { (void)sim.verifyOnKeypad(2); });
    (void)statusText(static_cast<uint16_t>(in.byte() << 8 | in.byte()));
    return 0;
}
