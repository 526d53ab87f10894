// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Every dialog from the member call to its window shown and fully initialised
// (built, translated, filled from the settings), after a first call has loaded
// what a process loads once. The window is closed with its close box as soon as
// it is up; closing is not timed. Target: median under 5 ms.

#include <benchmark/benchmark.h>

#include <QDialog>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "surface/tooling.h"

namespace {

using Clock = std::chrono::steady_clock;

void showDialog(benchmark::State& state, const std::function<void(kxsim::CDialogs&)>& call) {
    kxsim::CDialogs dialogs;
    std::u16string language = KXSIM_SOURCE_DIR u"/lang/kxsim_de.ini";
    dialogs.Language(language);
    Clock::time_point start;
    Clock::duration shownAfter{};
    bool shown = false;
    auto guard = kxsim::tooling::observeDisplayedDialogs([&](QDialog& window) {
        shownAfter = Clock::now() - start;
        shown = true;
        QTimer::singleShot(0, &window, [&window] { window.close(); });
    });
    call(dialogs);  // the first call of the process is the first-dialog benchmark's
    std::vector<double> samples;
    for (auto _ : state) {
        shown = false;
        start = Clock::now();
        call(dialogs);
        if (!shown) {
            state.SkipWithError("the dialog was not shown");
            break;
        }
        const double seconds = std::chrono::duration<double>(shownAfter).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
    }
    if (samples.empty()) return;
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    state.counters["median_ms"] = samples[samples.size() / 2] * 1e3;
}

// A parameter's sample from its member's description; the network list reads
// the sample file and the German language file of the source tree.
kxsim::tooling::Argument sample(const kxsim::ParamDescription& param) {
    using kxsim::ParamKind;
    if (param.name == u"InitFile") return std::u16string(KXSIM_SOURCE_DIR u"/samples/networks.ini");
    if (param.name == u"Language") return std::u16string(KXSIM_SOURCE_DIR u"/lang/kxsim_de.ini");
    const QString text = QStringView(param.sample).toString();
    switch (param.kind) {
    case ParamKind::Number: return text.toInt();
    case ParamKind::Picture: return kxsim::Picture();
    case ParamKind::NameList: return QString(text).replace(u'\n', u'\0').toStdU16String();
    default: return text.toStdU16String();
    }
}

// Every member that shows a window, called with its samples.
[[maybe_unused]] const bool registered = [] {
    for (const kxsim::MemberDescription* member : kxsim::tooling::cdialogsMembers()) {
        if (member->form.empty()) continue;
        const std::string name = "BM_" + QStringView(member->name).toString().toStdString();
        benchmark::RegisterBenchmark(name.c_str(), [member](benchmark::State& state) {
            showDialog(state, [member](kxsim::CDialogs& d) {
                std::vector<kxsim::tooling::Argument> args;
                for (const kxsim::ParamDescription& p : member->params) args.push_back(sample(p));
                kxsim::tooling::Argument result;
                kxsim::tooling::callMember(d, *member, args, result);
            });
        })->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// The short message form, which no member shows on its own.
void BM_ShortMessageForm(benchmark::State& state) {
    showDialog(state, [](kxsim::CDialogs&) {
        kxsim::tooling::ShortMessageContents contents;
        int32_t action = 0;
        kxsim::tooling::showShortMessageForm(contents, action);
    });
}
BENCHMARK(BM_ShortMessageForm)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
