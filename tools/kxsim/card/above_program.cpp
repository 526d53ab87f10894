// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "above_program.h"

#include <filesystem>

namespace kxsim::tool {

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

}  // namespace kxsim::tool
