// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Call by name: arbitrary member names, invocation flags and argument lists
// against Commons, CCB and CDialogs. A dialog that opens is closed at once
// (offscreen), and Delay waits at most a few milliseconds.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cctype>
#include <memory>
#include <vector>

#include "fuzz_input.h"
#include "offscreen_app.h"
#include "kxsimlib/commons.h"
#include "surface/cdialogs_object.h"
#include "surface/dispatch_table.h"

using namespace kxsim;

namespace {

std::shared_ptr<Commons> commons;
std::shared_ptr<CCB> ccb;
std::unique_ptr<surface::CDialogsObject> dialogs;
QTimer* closer = nullptr;

Variant argument(fuzz::Input& in) {
    const uint8_t kind = in.byte();
    switch (kind % 8) {
    case 0: return Variant();
    case 1: return Variant::fromInteger(static_cast<int16_t>(in.byte() << 8 | in.byte()));
    case 2: {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | in.byte();
        return Variant::fromLong(static_cast<int32_t>(v));
    }
    case 3: return Variant::fromBoolean(kind & 8 ? Boolean::True : Boolean::False);
    case 4: return Variant::fromObject(kind & 8 ? std::static_pointer_cast<IDispatchable>(commons) : ccb);
    case 5: return Variant::fromObject(nullptr);
    default: return Variant::fromString(in.text(24));
    }
}

// The name as listed with its letters' case changed by \a mask, or text of the input.
std::u16string memberName(fuzz::Input& in, const IDispatchable& object) {
    const uint8_t how = in.byte();
    const auto& members = object.members();
    if (how & 1 || members.empty()) return in.text(20);
    std::u16string name(members[(how >> 1) % members.size()].name);
    uint32_t mask = in.byte();
    for (char16_t& c : name) {
        if (mask & 1 && c < 128) c = static_cast<char16_t>(std::toupper(c) == c ? std::tolower(c) : std::toupper(c));
        mask >>= 1;
    }
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startOffscreenApplication(argc, argv);
    commons = std::make_shared<Commons>();
    int32_t dc = 0;
    if (!commons->hDC(dc) || !commons->PCB(ccb) || !ccb) std::abort();
    dialogs = std::make_unique<surface::CDialogsObject>();
    // Inside a dialog's modal loop: close whatever modal window is up.
    closer = new QTimer;
    closer->setInterval(0);
    QObject::connect(closer, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    IDispatchable* const objects[] = {commons.get(), ccb.get(), dialogs.get()};
    IDispatchable& object = *objects[in.byte() % 3];
    const std::u16string name = memberName(in, object);
    const auto flags = static_cast<uint16_t>(in.byte() % 16);
    std::vector<Variant> args(in.byte() % 10);
    for (Variant& a : args) a = argument(in);

    DispId id = 0;
    if (!object.GetIDsOfNames(name, id)) return 0;
    bool listed = false;
    for (const MemberInfo& m : object.members()) listed |= m.id == id;
    if (!listed) __builtin_trap();

    // Delay waits its time: only short waits here.
    if (&object == commons.get() && id == 3 && !args.empty()) {
        int32_t wait = 0;
        if (surface::coerce(args.front(), wait) == 0 && wait > 5) return 0;
    }
    Variant result;
    closer->start();
    (void)object.Invoke(id, flags, args, result);
    closer->stop();
    return 0;
}
