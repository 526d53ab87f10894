// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The leading-number reading on arbitrary text.

#include <cmath>

#include "fuzz_input.h"
#include "services/leading_number.h"

using namespace kxsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const std::u16string text = in.text(4096);
    const double value = services::LeadingNumber(text);
    if (std::isnan(value)) __builtin_trap();
    if (auto n = services::ToLong(value); n && std::fabs(*n - value) > 0.5) __builtin_trap();
    (void)services::ToInteger(value);
    return 0;
}
