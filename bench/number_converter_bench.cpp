// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// One conversion of the number converter, as each change of its input runs it
// (target: well under 50 µs per update).

#include <benchmark/benchmark.h>

#include <string>

#include "dialogs/number_converter/number_converter_model.h"

namespace {

void convert(benchmark::State& state, std::u16string input) {
    for (auto _ : state) {
        auto fields = kxsim::dialogs::ConvertNumber(input);
        benchmark::DoNotOptimize(fields);
    }
}

BENCHMARK_CAPTURE(convert, decimal_max, std::u16string(u"2147483647"));
BENCHMARK_CAPTURE(convert, decimal_negative, std::u16string(u"-2147483648"));
BENCHMARK_CAPTURE(convert, hexadecimal, std::u16string(u"h 80 00 00 00"));
BENCHMARK_CAPTURE(convert, type_mismatch, std::u16string(u"12abc"));
// A pasted text of 32767 characters, the most a plain text box would take.
BENCHMARK_CAPTURE(convert, long_hexadecimal, u"h" + std::u16string(32766, u'0'));
BENCHMARK_CAPTURE(convert, long_decimal, std::u16string(32766, u'0') + u"1");
BENCHMARK_CAPTURE(convert, long_blanks, std::u16string(32766, u' ') + u"1");
BENCHMARK_CAPTURE(convert, long_hexadecimal_blanks, u"h" + std::u16string(32765, u' ') + u"1");

}  // namespace
