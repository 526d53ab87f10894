// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/help_viewer.h"

#include "platform/help_window.h"
#include "platform/library_identity.h"
#include "platform/text_codec.h"

namespace kxsim::platform {
namespace {

// The library's own viewer: the topic in the process's one help window, read
// from the compiled help file through its context map.
class ChmHelpViewer : public HelpViewer {
public:
    void showTopic(const std::u16string& helpFile, int32_t contextId, QWidget* caller) override {
        try {
            HelpWindow::obtain().showTopic(toUtf8(helpFile), contextId, caller);
        } catch (...) {
            // Help is a convenience: the asking dialog goes on without it.
        }
    }
};

HelpViewer* g_viewerOverride = nullptr;

}  // namespace

HelpViewer& currentHelpViewer() {
    static ChmHelpViewer builtIn;
    return g_viewerOverride ? *g_viewerOverride : builtIn;
}

ScopedHelpViewer::ScopedHelpViewer(HelpViewer& viewer) : previous_(g_viewerOverride) {
    g_viewerOverride = &viewer;
}

ScopedHelpViewer::~ScopedHelpViewer() { g_viewerOverride = previous_; }

std::u16string helpFilePath() { return libraryFile(u"kxhelpd.chm"); }

void openHelp(int32_t contextId, QWidget* caller) {
    currentHelpViewer().showTopic(helpFilePath(), contextId, caller);
}

}  // namespace kxsim::platform
