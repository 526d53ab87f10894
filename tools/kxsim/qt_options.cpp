// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "qt_options.h"

#include <QLoggingCategory>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "surface/tooling.h"

namespace kxsim::tool {
namespace {

// The options QApplication reads, with a value or alone. X11's -display,
// -geometry, -title and -name are left out: kxsim's own options may read so.
constexpr const char* kWithValue[] = {"-style", "-stylesheet", "-platformtheme", "-platformpluginpath", "-plugin",
                                      "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-session", "-platform"};
constexpr const char* kAlone[] = {"-reverse", "-widgetcount"};

bool among(const char* word, const auto& names) {
    for (const char* n : names)
        if (std::strcmp(word, n) == 0) return true;
    return false;
}

}  // namespace

QStringList takeQtOptions(int argc, char** argv) {
    QStringList own;
    std::vector<std::string> qt;
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        const char* equals = std::strchr(word, '=');
        const std::string name = equals ? std::string(word, equals) : std::string(word);
        if (among(name.c_str(), kWithValue) && (equals || i + 1 < argc)) {
            const std::string value = equals ? std::string(equals + 1) : std::string(argv[++i]);
            if (name == "-platform") ::setenv("QT_QPA_PLATFORM", value.c_str(), 1);
            else qt.insert(qt.end(), {name, value});
        } else if (among(word, kAlone)) {
            qt.emplace_back(word);
        } else {
            own << QString::fromLocal8Bit(word);
        }
    }
    tooling::setQtArguments(std::move(qt));
    return own;
}

void quietQtMessages(QStringList& args) {
    if (args.removeAll(QStringLiteral("--verbose")) > 0) return;
    // Rules set here rank below QT_LOGGING_RULES, so the environment still wins.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
}

}  // namespace kxsim::tool
