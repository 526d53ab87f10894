#include "platform/qt_bootstrap.h"

#include <QApplication>
#include <QThread>
#include <string>

#include "platform/qt_platform.h"

namespace kxsim::platform {
namespace {

Status failure(const char16_t* text) { return Status::error(errors::CantCreateObject, text); }

}  // namespace

Status ensureGuiThread() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        // Qt ends the process when its platform cannot start, so the
        // platform is chosen and checked first and then named to Qt.
        static std::string platform;
        if (Status s = choosePlatform(platform); !s) return s;
        // Made once for the process and kept: the host may create dialogs until it exits.
        static int argc = 3;
        static char name[] = "kxsimlib";
        static char option[] = "-platform";
        static char* argv[] = {name, option, platform.data(), nullptr};
        app = new QApplication(argc, argv);
    }
    if (!qobject_cast<QApplication*>(app))
        return failure(u"The host runs a QCoreApplication; dialogs need a QApplication");
    if (QThread::currentThread() != app->thread())
        return failure(u"Dialogs can only be shown on the thread that runs the Qt application");
    return {};
}

}  // namespace kxsim::platform
