// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kxsimlib/commons.h"
#include "support/temp_files.h"
#include "surface/cdialogs_object.h"
#include "surface/commons_hooks.h"
#include "core/module_data.h"

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

TEST(CallByName, EveryCommonsAndCcbMemberIsReachable) {
    auto commons = std::make_shared<Commons>();
    surface::setKernelReleaseSource(*commons, [] { return std::string("6.1.0-18-amd64"); });
    EXPECT_EQ(call(*commons, u"iswinnt", kCall, {}).result, Variant::fromBoolean(Boolean::False));
    EXPECT_EQ(call(*commons, u"GETOSVERSION", kCall, {}).result, L(601));
    auto delay = call(*commons, u"Delay", dispatch::Method, {S(u" 3 ")});
    ASSERT_TRUE(delay.status);
    EXPECT_EQ(delay.args[0], L(3));  // written back as the parameter's type
    EXPECT_TRUE(delay.result.isEmpty());

    EXPECT_EQ(call(*commons, u"PCB", dispatch::PropertyGet, {}).result, Variant::fromObject(nullptr));
    ASSERT_TRUE(call(*commons, u"hDC", dispatch::PropertyPut, {L(5)}).status);
    auto pcb = call(*commons, u"pcb", kCall, {});
    ASSERT_NE(pcb.result.object(), nullptr);
    EXPECT_EQ(call(*pcb.result.object(), u"XXX", kCall, {}).result, Variant::fromInteger(12));

    // Assigning by reference: the CCB, then Nothing.
    auto other = std::make_shared<Commons>();
    std::shared_ptr<CCB> held;
    for (const Variant& value : {pcb.result, Variant::fromObject(nullptr)}) {
        ASSERT_TRUE(call(*other, u"PCB", dispatch::PropertyPutRef, {value}).status);
        other->PCB(held);
        EXPECT_EQ(held, value.object());
    }
}

TEST(CallByName, CDialogsMembersAreReachable) {
    surface::CDialogsObject dialogs;
    core::languageFile().clear();
    ASSERT_TRUE(call(dialogs, u"language", dispatch::PropertyPut, {S(u"/x/kxsim_de.ini")}).status);
    EXPECT_EQ(core::languageFile(), u"/x/kxsim_de.ini");
    core::languageFile().clear();
    // Kartenleser is found and its argument checked; a valid call would show the dialog.
    EXPECT_EQ(call(dialogs, u"Kartenleser", kCall, {Variant::fromObject(nullptr)}).status,
              Status::error(13, u"Type mismatch: argument 1 (Readers) of CDialogs.Kartenleser"));
}

TEST(CallByName, WrongCallsFailClearly) {
    Commons commons;
    surface::CDialogsObject dialogs;
    const std::map<int32_t, std::u16string> lead{{6, u"Overflow: "}, {13, u"Type mismatch: "},
                                                 {438, u"Object doesn't support this property or method: "},
                                                 {450, u"Wrong number of arguments or invalid property assignment: "}};
    const struct {
        IDispatchable* object;
        std::u16string name;
        uint16_t flags;
        std::vector<Variant> args;
        int32_t number;
        std::u16string detail;  // after the number's own description
    } cases[] = {
        {&commons, u"NewTempName", kCall, {}, 438, u"Commons.NewTempName"},
        {&dialogs, u"Delay", kCall, {L(1)}, 438, u"CDialogs.Delay"},  // a member of another class
        {&commons, u"NewTempFileName", kCall, {S(u"/tmp/"), S(u"")}, 450, u"Commons.NewTempFileName takes 4 arguments, not 2"},
        {&commons, u"Delay", dispatch::Method, {}, 450, u"Commons.Delay takes 1 argument, not 0"},
        {&commons, u"hDC", kCall, {}, 438, u"Commons.hDC can only be assigned"},
        {&commons, u"IsWinNT", dispatch::PropertyPut, {L(1)}, 438, u"Commons.IsWinNT cannot be invoked that way"},
        {&commons, u"Delay", dispatch::Method, {S(u"soon")}, 13, u"argument 1 (Millisecs) of Commons.Delay"},
        {&commons, u"Delay", dispatch::Method, {S(u"3000000000")}, 6, u"argument 1 (Millisecs) of Commons.Delay"},
        {&commons, u"hDC", dispatch::PropertyPut, {Variant::fromObject(nullptr)}, 13, u"argument 1 (Value) of Commons.hDC"},
        {&commons, u"PCB", dispatch::PropertyPutRef, {Variant::fromObject(std::make_shared<Commons>())},
         13, u"argument 1 (Value) of Commons.PCB"},  // not a CCB
    };
    for (const auto& c : cases) {
        EXPECT_EQ(call(*c.object, c.name, c.flags, c.args).status, Status::error(c.number, lead.at(c.number) + c.detail))
            << platform::toUtf8(c.detail);
    }
    std::vector<Variant> none;
    Variant result;
    EXPECT_EQ(commons.Invoke(99, kCall, none, result),
              Status::error(438, lead.at(438) + u"Commons has no member with dispatch identifier 99"));
}

TEST(CallByName, ArgumentsConvertLikeAScriptingHost) {
    Commons commons;
    test::TempFolder folder;
    const struct { Variant appendix, unique; std::u16string suffix; } cases[] = {
        {S(u".log"), S(u"&H1F"), u".log"}, {L(42), S(u"2.5"), u"42"}, {Variant(), Variant::fromInteger(-3), u""},
        {Variant::fromBoolean(Boolean::True), Variant::fromBoolean(Boolean::False), u"True"},
    };
    for (const auto& c : cases) {
        auto out = call(commons, u"NewTempFileName", kCall, {S(folder.file("")), c.appendix, c.unique, Variant()});
        ASSERT_TRUE(out.status) << platform::toUtf8(out.status.description());
        const std::u16string& name = out.args[3].text();
        EXPECT_EQ(name.substr(name.size() - c.suffix.size()), c.suffix);
        EXPECT_EQ(name.size(), folder.file("").size() + 8 + c.suffix.size());
        EXPECT_EQ(out.result, L(999));
        EXPECT_EQ(out.args[1], S(c.suffix));  // by reference: written back as the parameter's type
        EXPECT_EQ(out.args[2], c.unique);     // by value: left as it was
    }
}

}  // namespace
