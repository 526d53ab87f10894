// Translating a form of 30 controls against a language file of 2,000 entries,
// and one lookup in such a file.

#include <benchmark/benchmark.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "kxsimlib/cdialogs.h"
#include "platform/form.h"
#include "platform/profile_reader.h"
#include "services/translation.h"
#include "support/temp_files.h"

namespace {

class ThirtyControls : public kxsim::platform::Form {
public:
    ThirtyControls() : Form(QStringLiteral("WBench")) {}

protected:
    void build(QDialog& w) override {
        w.setWindowTitle(QStringLiteral("Text 7"));
        for (int i = 0; i < 20; ++i)
            add(new QLabel(QStringLiteral("Text %1").arg(i * 97), &w), QStringLiteral("Label"), i);
        for (int i = 0; i < 10; ++i)
            add(new QPushButton(QStringLiteral("Missing %1").arg(i), &w), QStringLiteral("CBAction"), i);
    }
};

const kxsim::test::TempFolder& folder() {
    static kxsim::test::TempFolder dir;
    return dir;
}

std::u16string languageFile() {
    static const std::u16string path = [] {
        std::string text = "[Label]\n";
        for (int i = 0; i < 2000; ++i)
            text += "Text " + std::to_string(i) + "=Übersetzung " + std::to_string(i) + "\n";
        return folder().write("bench.ini", text);
    }();
    return path;
}

void BM_TranslateForm30Controls(benchmark::State& state) {
    kxsim::CDialogs dialogs;
    std::u16string path = languageFile();
    dialogs.Language(path);
    ThirtyControls form;
    for (auto _ : state) {
        state.PauseTiming();
        form.unload();
        form.window();
        state.ResumeTiming();
        kxsim::tools::TranslateForm(form);
    }
}
BENCHMARK(BM_TranslateForm30Controls)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ProfileLookupUnchangedFile(benchmark::State& state) {
    const std::u16string path = languageFile();
    int i = 0;
    for (auto _ : state) {
        const std::u16string key = u"Text 1" + std::u16string(1, char16_t(u'0' + (i++ % 10)));
        benchmark::DoNotOptimize(kxsim::platform::profileString(path, u"Label", key, key, 512));
    }
}
BENCHMARK(BM_ProfileLookupUnchangedFile)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
