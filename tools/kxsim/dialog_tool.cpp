#include "dialog_tool.h"

#include <filesystem>

#include "command.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim::tool {

std::vector<DialogTool>& dialogTools() {
    static std::vector<DialogTool> tools;
    return tools;
}

ToolRegistration::ToolRegistration(DialogTool tool) { dialogTools().push_back(std::move(tool)); }

Inputs sampleInputs(const DialogTool& tool) {
    Inputs inputs;
    for (const Field& f : tool.fields)
        if (!f.sample.isNull())
            inputs[f.option] = f.repeated ? f.sample.split(QLatin1Char('\n')) : QStringList{f.sample};
    return inputs;
}

QString value(const Inputs& inputs, const QString& option, const QString& fallback) {
    const auto it = inputs.find(option);
    return it == inputs.end() || it->isEmpty() ? fallback : it->first();
}

Outcome outcome(const Status& status, const JsonLine& outputs, Ending ending) {
    return Outcome{status, outputs.text(), ending};
}

Outcome failure(const Status& status) { return Outcome{status, QString()}; }

Outcome problem(const QString& why) { return Outcome{Status(), QString(), Ending::Unknown, why}; }

int exitCode(const Outcome& out) {
    if (!out.problem.isEmpty()) return 2;
    if (!out.status) return 3;
    return out.ending == Ending::Cancelled ? 1 : 0;
}

int report(const Outcome& out) {
    if (!out.problem.isEmpty()) {
        printErr(QStringLiteral("kxsim: %1\n").arg(out.problem));
    } else if (!out.status) {
        printErr(QStringLiteral("kxsim: %1 (error %2)\n")
                     .arg(QString::fromStdU16String(out.status.description()))
                     .arg(out.status.number()));
    }
    if (out.problem.isEmpty() && !out.json.isEmpty()) printOut(out.json + QLatin1Char('\n'));
    return exitCode(out);
}

namespace {
QString& lastLanguage() {
    static QString file;
    return file;
}
}  // namespace

QString findAboveProgram(const QStringList& relativePaths) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path dir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    for (int up = 0; !ec && up < 5 && !dir.empty(); ++up, dir = dir.parent_path()) {
        for (const QString& relative : relativePaths) {
            std::error_code missing;  // a miss must not end the walk up
            const fs::path candidate = dir / relative.toStdString();
            if (fs::is_regular_file(candidate, missing)) return QString::fromStdString(candidate.string());
        }
        if (dir == dir.parent_path()) break;
    }
    return {};
}

void applyLanguage(const QString& file) {
    lastLanguage() = file;
    CDialogs dialogs;
    std::u16string path = file.toStdU16String();
    dialogs.Language(path);
}

QString appliedLanguage() { return lastLanguage(); }

}  // namespace kxsim::tool
