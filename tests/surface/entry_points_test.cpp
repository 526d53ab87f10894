// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The library loaded as a host loads it: by path, through its four entry points.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "kxsimlib/component.h"
#include "platform/component_registry.h"
#include "platform/text_codec.h"
#include "support/child_process.h"
#include "support/temp_files.h"

using namespace kxsim;

namespace {

using GetClassObject = HResult (*)(const Guid*, const Guid*, void**);
using NoArgs = HResult (*)();

class EntryPoints : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        handle = ::dlopen(KXSIMLIB_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << ::dlerror();
        getClassObject = reinterpret_cast<GetClassObject>(::dlsym(handle, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<NoArgs>(::dlsym(handle, "DllCanUnloadNow"));
        registerServer = reinterpret_cast<NoArgs>(::dlsym(handle, "DllRegisterServer"));
        unregisterServer = reinterpret_cast<NoArgs>(::dlsym(handle, "DllUnregisterServer"));
        ASSERT_TRUE(getClassObject && canUnloadNow && registerServer && unregisterServer);
    }

    static IClassFactory* factory(const Guid& classId) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(getClassObject(&classId, &ids::ClassFactoryInterface, &out), hresult::Ok);
        return static_cast<IClassFactory*>(out);
    }

    // Calls member \a name by name, with one argument when \a arg is not empty.
    static Variant invoke(IDispatchable& object, std::u16string_view name, uint16_t flags, Variant arg = {}) {
        std::vector<Variant> args;
        if (!arg.isEmpty()) args.push_back(arg);
        Variant result;
        DispId id = 0;
        EXPECT_TRUE(object.GetIDsOfNames(name, id));
        EXPECT_TRUE(object.Invoke(id, flags, args, result));
        return result;
    }

    static inline void* handle = nullptr;
    static inline GetClassObject getClassObject = nullptr;
    static inline NoArgs canUnloadNow = nullptr;
    static inline NoArgs registerServer = nullptr;
    static inline NoArgs unregisterServer = nullptr;
};

TEST_F(EntryPoints, FactoriesCreateTheCreatableClassesOnlyAndRefuseWhatIsNotOffered) {
    for (const ClassIdentity& cls : kClasses) {
        SCOPED_TRACE(platform::toUtf8(cls.name));
        void* out = reinterpret_cast<void*>(1);
        const HResult hr = getClassObject(&cls.classId, &ids::ClassFactoryInterface, &out);
        if (!cls.creatable) {
            EXPECT_EQ(hr, hresult::ClassNotAvailable);
            EXPECT_EQ(out, nullptr);
            continue;
        }
        ASSERT_EQ(hr, hresult::Ok);
        auto* f = static_cast<IClassFactory*>(out);
        std::shared_ptr<IDispatchable> object;
        ASSERT_TRUE(f->CreateInstance(object));
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->identity().classId, cls.classId);
        EXPECT_EQ(object->identity().interfaceName, cls.interfaceName);
        f->Release();
    }
    const Guid unknown = *Guid::fromString("{00000000-0000-0000-C000-000000000046}");
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(&unknown, &ids::ClassFactoryInterface, &out), hresult::ClassNotAvailable);
    EXPECT_EQ(getClassObject(&ids::CommonsClass, &ids::DispatchableInterface, &out), hresult::NoInterface);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(getClassObject(nullptr, &ids::ClassFactoryInterface, &out), hresult::Pointer);
    EXPECT_EQ(getClassObject(&ids::CommonsClass, &ids::ClassFactoryInterface, nullptr), hresult::Pointer);
    EXPECT_EQ(canUnloadNow(), hresult::Ok);
}

TEST_F(EntryPoints, CanUnloadOnlyWhenNothingIsAlive) {
    ASSERT_EQ(canUnloadNow(), hresult::Ok);
    IClassFactory* commonsFactory = factory(ids::CommonsClass);
    EXPECT_EQ(canUnloadNow(), hresult::False);  // a factory reference is out

    std::shared_ptr<IDispatchable> commons;
    ASSERT_TRUE(commonsFactory->CreateInstance(commons));
    commonsFactory->LockServer(true);
    commonsFactory->Release();
    commonsFactory->Release();  // one too many changes nothing
    EXPECT_EQ(canUnloadNow(), hresult::False);

    // A CCB received through Commons outlives the Commons that made it.
    invoke(*commons, u"hDC", dispatch::PropertyPut, Variant::fromLong(1));
    std::shared_ptr<IDispatchable> ccb = invoke(*commons, u"PCB", dispatch::PropertyGet).object();
    ASSERT_NE(ccb, nullptr);
    commons.reset();
    EXPECT_EQ(canUnloadNow(), hresult::False);
    EXPECT_EQ(invoke(*ccb, u"xxx", dispatch::Method), Variant::fromInteger(12));
    ccb.reset();
    EXPECT_EQ(canUnloadNow(), hresult::False);  // still locked

    IClassFactory* f = factory(ids::CDialogsClass);
    f->LockServer(false);
    f->LockServer(false);  // an unlock too many changes nothing
    EXPECT_EQ(canUnloadNow(), hresult::False);
    f->Release();
    EXPECT_EQ(canUnloadNow(), hresult::Ok);
}

TEST_F(EntryPoints, RegistrationRoundTrip) {
    test::TempFolder home;
    ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    const std::filesystem::path file = home.path() / "kxsimlib" / "components.ini";
    ASSERT_EQ(platform::registrationFilePath(), file.string());

    ASSERT_EQ(registerServer(), hresult::Ok);
    ASSERT_EQ(registerServer(), hresult::Ok);  // again: replaced, not doubled
    const auto classes = platform::readRegistration();
    ASSERT_EQ(classes.size(), kClasses.size());
    const std::u16string library = platform::fromUtf8(std::filesystem::path(KXSIMLIB_FILE).string());
    for (size_t i = 0; i < kClasses.size(); ++i) {
        const auto& c = classes[i];
        EXPECT_EQ(std::tie(c.name, c.interfaceName, c.creatable, c.library),
                  std::tie(kClasses[i].name, kClasses[i].interfaceName, kClasses[i].creatable, library)) << i;
        EXPECT_EQ(Guid::fromString(platform::toUtf8(c.classId)), kClasses[i].classId) << i;
        EXPECT_EQ(Guid::fromString(platform::toUtf8(c.interfaceId)), kClasses[i].interfaceId) << i;
    }

    ASSERT_EQ(unregisterServer(), hresult::Ok);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
    EXPECT_TRUE(platform::readRegistration().empty());
    EXPECT_EQ(unregisterServer(), hresult::Ok);  // nothing left to remove

    // A folder holding something else stays.
    ASSERT_EQ(registerServer(), hresult::Ok);
    std::ofstream(file.parent_path() / "notes.txt") << "mine";
    ASSERT_EQ(unregisterServer(), hresult::Ok);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(std::filesystem::exists(file.parent_path() / "notes.txt"));

    // A data folder that cannot be made: the failure is reported.
    ::setenv("XDG_DATA_HOME", (home.path() / "notes-file").c_str(), 1);
    std::ofstream(home.path() / "notes-file") << "x";
    EXPECT_EQ(registerServer(), hresult::RegisterClassFailed);
    EXPECT_EQ(platform::writeRegistration("/lib/x.so").message(),
              "cannot make the folder " + (home.path() / "notes-file" / "kxsimlib").string() + ": Not a directory");
    ::unsetenv("XDG_DATA_HOME");
}

// Register and unregister from many processes at once: every run succeeds and
// the file is left whole or absent, with no temporary file beside it.
TEST(ComponentRegistry, ConcurrentRunsTakeTurns) {
    test::TempFolder home;
    ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    constexpr int kProcesses = 8, kRuns = 25;
    const auto failedRuns = test::inChildren(kProcesses, [](int p) {
        int failures = 0;
        for (int i = 0; i < kRuns; ++i) {
            const auto error = (p + i) % 2 ? platform::removeRegistration()
                                           : platform::writeRegistration("/lib/libkxsimlib.so.31");
            if (error) std::fprintf(stderr, "%s\n", error.message().c_str());
            failures += bool(error);
        }
        return failures;
    });
    EXPECT_EQ(failedRuns, std::vector<int>(kProcesses, 0));
    const size_t listed = platform::readRegistration().size();
    EXPECT_TRUE(listed == 0 || listed == kClasses.size()) << listed;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(home.path() / "kxsimlib", ec))
        EXPECT_TRUE(entry.path().filename() == "components.ini" || entry.path().filename() == "components.ini.lock")
            << entry.path();
    ::unsetenv("XDG_DATA_HOME");
}

TEST(Guid, TextRoundTrip) {
    const struct { const char* text; bool valid; } cases[] = {
        {"{E51D9852-6501-408B-A27C-852AF6ABF6BD}", true}, {"e51d9852-6501-408b-a27c-852af6abf6bd", true},
        {"{E51D9852-6501-408B-A27C-852AF6ABF6B}", false}, {"{E51D9852+6501-408B-A27C-852AF6ABF6BD}", false},
        {"{E51D9852-6501-408B-A27C-852AF6ABF6BG}", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Guid::fromString(c.text), c.valid ? std::optional(ids::CDialogsClass) : std::nullopt) << c.text;
    EXPECT_EQ(ids::CDialogsClass.toString(), "{E51D9852-6501-408B-A27C-852AF6ABF6BD}");
}

}  // namespace
