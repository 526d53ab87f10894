// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The four entry points hosts find the library's classes through.

#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "kxsimlib/commons.h"
#include "kxsimlib/component.h"
#include "platform/component_registry.h"
#include "platform/guarded.h"
#include "platform/library_identity.h"
#include "platform/text_codec.h"
#include "surface/cdialogs_object.h"
#include "surface/module_lock.h"

namespace kxsim::surface {
namespace {

// The class object of one creatable class. It lives as long as the library;
// its references and locks only count towards DllCanUnloadNow.
class ClassFactory final : public IClassFactory {
public:
    using Make = std::shared_ptr<IDispatchable> (*)();
    explicit ClassFactory(Make make) : make_(make) {}

    uint32_t AddRef() override {
        objectCreated();
        return ++refs_;
    }
    uint32_t Release() override {
        uint32_t n = refs_.load();
        while (n > 0 && !refs_.compare_exchange_weak(n, n - 1)) {
        }
        if (n == 0) return 0;  // a Release too many changes nothing
        objectDestroyed();
        return n - 1;
    }
    Status CreateInstance(std::shared_ptr<IDispatchable>& object) override {
        return platform::guarded([&] {
            object = make_();
            return Status();
        });
    }
    void LockServer(bool lock) override { lock ? lockServer() : unlockServer(); }

private:
    Make make_;
    std::atomic<uint32_t> refs_{0};
};

ClassFactory& factoryFor(const Guid& classId, bool& found) {
    static ClassFactory dialogs([]() -> std::shared_ptr<IDispatchable> { return std::make_shared<CDialogsObject>(); });
    static ClassFactory commons([]() -> std::shared_ptr<IDispatchable> { return std::make_shared<Commons>(); });
    found = classId == ids::CDialogsClass || classId == ids::CommonsClass;
    return classId == ids::CommonsClass ? commons : dialogs;
}

// The path of the loaded library file: its folder as the library knows it,
// and the file's own name.
std::string libraryPath() {
    std::string name = "libkxsimlib.so";
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&libraryPath), &info) != 0 && info.dli_fname) {
        name = info.dli_fname;
        if (const auto slash = name.rfind('/'); slash != std::string::npos) name = name.substr(slash + 1);
    }
    return platform::toUtf8(platform::libraryFile(platform::fromUtf8(name)));
}

thread_local std::string t_registrationFailure;

// Keeps what failed for registrationFailure(); errno carries the system's reason too.
HResult noteRegistration(const platform::RegistrationError& error) {
    t_registrationFailure = error.message();
    if (!error) return hresult::Ok;
    errno = error.error;
    return hresult::RegisterClassFailed;
}

}  // namespace
}  // namespace kxsim::surface

std::string kxsim::registrationFailure() { return surface::t_registrationFailure; }

using namespace kxsim;

extern "C" {

HResult DllGetClassObject(const Guid* classId, const Guid* interfaceId, void** object) {
    if (!object) return hresult::Pointer;
    *object = nullptr;
    if (!classId || !interfaceId) return hresult::Pointer;
    bool found = false;
    auto& factory = surface::factoryFor(*classId, found);
    if (!found) return hresult::ClassNotAvailable;
    if (*interfaceId != ids::ClassFactoryInterface) return hresult::NoInterface;
    factory.AddRef();
    *object = static_cast<IClassFactory*>(&factory);
    return hresult::Ok;
}

HResult DllCanUnloadNow() { return surface::moduleInUse() ? hresult::False : hresult::Ok; }

HResult DllRegisterServer() {
    try {
        return surface::noteRegistration(platform::writeRegistration(surface::libraryPath()));
    } catch (...) {
        return hresult::Fail;
    }
}

HResult DllUnregisterServer() {
    try {
        return surface::noteRegistration(platform::removeRegistration());
    } catch (...) {
        return hresult::Fail;
    }
}

}
