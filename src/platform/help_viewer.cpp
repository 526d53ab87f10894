#include "platform/help_viewer.h"

#include "platform/library_identity.h"

namespace kxsim::platform {
namespace {

// Stands in until a viewer that reads compiled help files is built in:
// it shows nothing.
class SilentHelpViewer : public HelpViewer {
public:
    void showTopic(const std::u16string&, int32_t, QWidget*) override {}
};

HelpViewer* g_override = nullptr;

}  // namespace

HelpViewer& currentHelpViewer() {
    static SilentHelpViewer builtIn;
    return g_override ? *g_override : builtIn;
}

ScopedHelpViewer::ScopedHelpViewer(HelpViewer& viewer) : previous_(g_override) {
    g_override = &viewer;
}

ScopedHelpViewer::~ScopedHelpViewer() { g_override = previous_; }

std::u16string helpFilePath() { return libraryFile(u"kxhelpd.chm"); }

void openHelp(int32_t contextId, QWidget* caller) {
    currentHelpViewer().showTopic(helpFilePath(), contextId, caller);
}

}  // namespace kxsim::platform
