// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The call meter: the host's four texts put into the fields, the window
// opened, then keys released, prices changed and rows cleared in any order.

#include <cmath>

#include "dialogs/call_meter/call_meter_model.h"
#include "fuzz_input.h"

using namespace kxsim;
using dialogs::MeterField;

namespace {

// Every field the model writes holds plain decimal text: an optional "-",
// digits and at most one decimal point, as MeterText gives.
void checkComputed(const std::u16string& text) {
    size_t i = !text.empty() && text[0] == u'-' ? 1 : 0;
    if (i == text.size()) __builtin_trap();
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] == u'.' && !point) {
            point = true;
        } else if (text[i] < u'0' || text[i] > u'9') {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const std::u16string acm = in.text(16), amv = in.text(16), ccu = in.text(8), ppu = in.text(8);

    dialogs::CallMeterFields fields;
    dialogs::PutHostTexts(fields, acm, amv, ccu, ppu);
    if (fields.acm.size() > 8 || fields.amv.size() > 8 || fields.ccu.size() > 3 || fields.ppu.size() > 4)
        __builtin_trap();
    if (!dialogs::OpenCallMeter(fields)) return 0;
    checkComputed(fields.res);
    checkComputed(fields.resb);

    // The user types into the fields; every computed field stays decimal text.
    while (!in.rest().empty()) {
        const uint8_t op = in.byte();
        const auto field = static_cast<MeterField>(op % 8);
        switch (op >> 3 & 3) {
        case 0: {
            const std::u16string typed = in.text(12);
            if (field == MeterField::Res || field == MeterField::Resb) break;  // display only
            if (!dialogs::IsDigitsOnly(field) ||
                dialogs::AcceptsDigitsEdit(fields[field], typed, dialogs::MeterFieldLimit(field)))
                fields[field] = typed;
            dialogs::MeterKeyReleased(fields, field);
            break;
        }
        case 1: dialogs::PriceChanged(fields); break;
        case 2: dialogs::ClearMeterRow(fields, op >> 5); break;
        default: {
            const double v = dialogs::MeterValue(in.text(24));
            if (std::isnan(v)) __builtin_trap();
            const std::u16string text = dialogs::MeterText(v);
            checkComputed(text);
            // Fifteen significant digits keep a value within its last digit.
            if (std::isfinite(v) && std::fabs(dialogs::MeterValue(text) - v) > std::fabs(v) * 1e-14)
                __builtin_trap();
        }
        }
    }
    checkComputed(fields.res);
    checkComputed(fields.resb);
    return 0;
}
