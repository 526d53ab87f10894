#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kxsimlib/commons.h"
#include "support/temp_files.h"
#include "surface/cdialogs_object.h"
#include "surface/commons_hooks.h"
#include "surface/module_data.h"

using namespace kxsim;

namespace {

constexpr uint16_t kCall = dispatch::Method | dispatch::PropertyGet;

Variant L(int32_t v) { return Variant::fromLong(v); }
Variant S(std::u16string v) { return Variant::fromString(std::move(v)); }

struct Invocation {
    Status status;
    std::vector<Variant> args;
    Variant result;
};

Invocation call(IDispatchable& object, std::u16string_view name, uint16_t flags, std::vector<Variant> args) {
    Invocation out{{}, std::move(args), {}};
    DispId id = 0;
    out.status = object.GetIDsOfNames(name, id);
    if (out.status) out.status = object.Invoke(id, flags, out.args, out.result);
    return out;
}

std::vector<std::pair<DispId, std::u16string>> table(const IDispatchable& object) {
    std::vector<std::pair<DispId, std::u16string>> out;
    for (const MemberInfo& m : object.members()) out.emplace_back(m.id, std::u16string(m.name));
    return out;
}

TEST(CallByName, InterfacesListTheirMembersInOrder) {
    Commons commons;
    surface::CDialogsObject dialogs;
    int32_t dc = 0;
    commons.hDC(dc);
    std::shared_ptr<CCB> ccb;
    commons.PCB(ccb);
    using Rows = std::vector<std::pair<DispId, std::u16string>>;
    EXPECT_EQ(table(commons), (Rows{{1, u"PCB"}, {1, u"PCB"}, {2, u"hDC"}, {3, u"Delay"}, {4, u"GetOSVersion"},
                                    {5, u"IsWinNT"}, {6, u"NewTempFileName"}}));
    EXPECT_EQ(table(*ccb), (Rows{{1, u"XXX"}}));
    EXPECT_EQ(table(dialogs), (Rows{{1, u"CloneOptions"}, {2, u"Converter"}, {3, u"Kartenleser"},
                                    {4, u"Language"}, {5, u"MagnetOptions"}, {6, u"SelectMeter"},
                                    {7, u"SelectNetwork"}}));
    EXPECT_EQ(commons.identity().interfaceName, u"_Commons");
    EXPECT_EQ(ccb->identity().interfaceId, ids::CCBInterface);
    EXPECT_EQ(dialogs.identity().classId, ids::CDialogsClass);
}

TEST(CallByName, EveryCommonsAndCcbMemberIsReachable) {
    auto commons = std::make_shared<Commons>();
    surface::setKernelReleaseSource(*commons, [] { return std::string("6.1.0-18-amd64"); });
    test::TempFolder folder;
    const std::u16string dir = folder.file("");

    auto nt = call(*commons, u"iswinnt", kCall, {});
    ASSERT_TRUE(nt.status) << nt.status.number();
    EXPECT_EQ(nt.result, Variant::fromBoolean(Boolean::False));

    auto version = call(*commons, u"GETOSVERSION", kCall, {});
    EXPECT_EQ(version.result, L(601));

    auto delay = call(*commons, u"Delay", dispatch::Method, {S(u" 3 ")});
    ASSERT_TRUE(delay.status);
    EXPECT_EQ(delay.args[0], L(3));  // written back as the parameter's type
    EXPECT_TRUE(delay.result.isEmpty());

    auto temp = call(*commons, u"NewTempFileName", kCall, {S(dir), S(u".txt"), Variant(), Variant()});
    ASSERT_TRUE(temp.status);
    EXPECT_EQ(temp.result, L(999));
    EXPECT_EQ(temp.args[3].type(), Variant::Type::String);
    EXPECT_EQ(temp.args[3].text().substr(0, dir.size() + 3), dir + u"tmp");
    EXPECT_EQ(temp.args[2], Variant());  // by value: left as it was

    auto empty = call(*commons, u"PCB", dispatch::PropertyGet, {});
    ASSERT_TRUE(empty.status);
    EXPECT_EQ(empty.result, Variant::fromObject(nullptr));

    ASSERT_TRUE(call(*commons, u"hDC", dispatch::PropertyPut, {L(5)}).status);
    auto pcb = call(*commons, u"pcb", kCall, {});
    ASSERT_NE(pcb.result.object(), nullptr);
    EXPECT_EQ(pcb.result.object()->identity().name, u"CCB");

    auto xxx = call(*pcb.result.object(), u"XXX", kCall, {});
    ASSERT_TRUE(xxx.status);
    EXPECT_EQ(xxx.result, Variant::fromInteger(12));

    // Assigning by reference: the CCB back, then Nothing.
    auto other = std::make_shared<Commons>();
    ASSERT_TRUE(call(*other, u"PCB", dispatch::PropertyPutRef, {pcb.result}).status);
    std::shared_ptr<CCB> held;
    other->PCB(held);
    EXPECT_EQ(held, pcb.result.object());
    ASSERT_TRUE(call(*other, u"PCB", dispatch::PropertyPutRef, {Variant::fromObject(nullptr)}).status);
    other->PCB(held);
    EXPECT_EQ(held, nullptr);
}

TEST(CallByName, CDialogsMembersAreReachable) {
    surface::CDialogsObject dialogs;
    surface::languageFile().clear();
    ASSERT_TRUE(call(dialogs, u"language", dispatch::PropertyPut, {S(u"/x/kxsim_de.ini")}).status);
    EXPECT_EQ(surface::languageFile(), u"/x/kxsim_de.ini");
    surface::languageFile().clear();
    // Kartenleser is found and its argument checked; a valid call would show the dialog.
    auto reader = call(dialogs, u"Kartenleser", kCall, {Variant::fromObject(nullptr)});
    EXPECT_EQ(reader.status,
              Status::error(13, u"Type mismatch: argument 1 (Readers) of CDialogs.Kartenleser"));
}

TEST(CallByName, WrongCallsFailClearly) {
    Commons commons;
    surface::CDialogsObject dialogs;
    const struct {
        const char* what;
        IDispatchable* object;
        std::u16string name;
        uint16_t flags;
        std::vector<Variant> args;
        Status expected;
    } cases[] = {
        {"unknown name", &commons, u"NewTempName", kCall, {},
         Status::error(438, u"Object doesn't support this property or method: Commons.NewTempName")},
        {"a member of another class", &dialogs, u"Delay", kCall, {L(1)},
         Status::error(438, u"Object doesn't support this property or method: CDialogs.Delay")},
        {"too few arguments", &commons, u"NewTempFileName", kCall, {S(u"/tmp/"), S(u"")},
         Status::error(450, u"Wrong number of arguments or invalid property assignment: "
                            u"Commons.NewTempFileName takes 4 arguments, not 2")},
        {"too many arguments", &commons, u"GetOSVersion", kCall, {L(1)},
         Status::error(450, u"Wrong number of arguments or invalid property assignment: "
                            u"Commons.GetOSVersion takes 0 arguments, not 1")},
        {"one argument", &commons, u"Delay", dispatch::Method, {},
         Status::error(450, u"Wrong number of arguments or invalid property assignment: "
                            u"Commons.Delay takes 1 argument, not 0")},
        {"reading a write-only property", &commons, u"hDC", kCall, {},
         Status::error(438, u"Object doesn't support this property or method: Commons.hDC can only be assigned")},
        {"assigning a function", &commons, u"IsWinNT", dispatch::PropertyPut, {L(1)},
         Status::error(438, u"Object doesn't support this property or method: "
                            u"Commons.IsWinNT cannot be invoked that way")},
        {"text that is no number", &commons, u"Delay", dispatch::Method, {S(u"soon")},
         Status::error(13, u"Type mismatch: argument 1 (Millisecs) of Commons.Delay")},
        {"number out of range", &commons, u"Delay", dispatch::Method, {S(u"3000000000")},
         Status::error(6, u"Overflow: argument 1 (Millisecs) of Commons.Delay")},
        {"object for a number", &commons, u"hDC", dispatch::PropertyPut, {Variant::fromObject(nullptr)},
         Status::error(13, u"Type mismatch: argument 1 (Value) of Commons.hDC")},
        {"a non-CCB object for PCB", &commons, u"PCB", dispatch::PropertyPutRef,
         {Variant::fromObject(std::make_shared<Commons>())},
         Status::error(13, u"Type mismatch: argument 1 (Value) of Commons.PCB")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(call(*c.object, c.name, c.flags, c.args).status, c.expected);
    }
    std::vector<Variant> none;
    Variant result;
    EXPECT_EQ(commons.Invoke(99, kCall, none, result),
              Status::error(438, u"Object doesn't support this property or method: "
                                 u"Commons has no member with dispatch identifier 99"));
}

TEST(CallByName, ArgumentsConvertLikeAScriptingHost) {
    Commons commons;
    test::TempFolder folder;
    const struct {
        Variant appendix;
        Variant unique;
        std::u16string suffix;
    } cases[] = {
        {S(u".log"), S(u"&H1F"), u".log"},
        {L(42), S(u"2.5"), u"42"},
        {Variant::fromBoolean(Boolean::True), Variant::fromBoolean(Boolean::False), u"True"},
        {Variant(), Variant::fromInteger(-3), u""},
    };
    for (const auto& c : cases) {
        auto out = call(commons, u"NewTempFileName", kCall, {S(folder.file("")), c.appendix, c.unique, Variant()});
        ASSERT_TRUE(out.status) << platform::toUtf8(out.status.description());
        const std::u16string& name = out.args[3].text();
        EXPECT_EQ(name.substr(name.size() - c.suffix.size()), c.suffix);
        EXPECT_EQ(name.size(), folder.file("").size() + 8 + c.suffix.size());
        EXPECT_EQ(out.args[1], S(c.suffix));
    }
}

}  // namespace
