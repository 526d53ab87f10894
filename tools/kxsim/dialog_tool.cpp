#include "dialog_tool.h"

#include <filesystem>

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
