// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/guarded.h"

#include <exception>
#include <new>
#include <string>

#include "platform/text_codec.h"

namespace kxsim::platform {

Status guarded(const std::function<Status()>& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return Status::error(errors::OutOfMemory);
    } catch (const std::exception& e) {
        return Status::error(errors::Internal, u"Internal error: " + fromUtf8(e.what()));
    } catch (...) {
        return Status::error(errors::Internal, u"Internal error");
    }
}

}  // namespace kxsim::platform
