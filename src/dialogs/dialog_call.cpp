#include "dialogs/dialog_call.h"

#include <exception>
#include <new>
#include <string>

#include "platform/qt_bootstrap.h"
#include "platform/text_codec.h"

namespace kxsim::dialogs {

Status guarded(const std::function<Status()>& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return Status::error(errors::OutOfMemory);
    } catch (const std::exception& e) {
        return Status::error(errors::Internal, u"Internal error: " + platform::fromUtf8(e.what()));
    } catch (...) {
        return Status::error(errors::Internal, u"Internal error");
    }
}

Status dialogCall(const std::function<Status()>& body) {
    return guarded([&] {
        if (Status s = platform::ensureGuiThread(); !s) return s;
        return body();
    });
}

}  // namespace kxsim::dialogs
