// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "kxsimlib/commons.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "platform/guarded.h"
#include "platform/profile_reader.h"
#include "platform/system_info.h"
#include "surface/commons_hooks.h"
#include "surface/commons_rules.h"
#include "surface/dispatch_table.h"

namespace kxsim {

class CommonsPrivate {
public:
    static CommonsPrivate& of(Commons& c) { return *c.d; }

    std::shared_ptr<CCB> pcb;
    int32_t osVersion = 0;
    std::function<std::string()> kernelRelease = platform::kernelRelease;
    std::function<int32_t()> draw;  // null: a generator seeded afresh on every search
};

namespace {

const surface::DispatchTable<Commons>& commonsTable() {
    static const surface::DispatchTable<Commons> t(
        u"Commons",
        {
            surface::propertyGet<&Commons::PCB>(1, u"PCB"),
            surface::propertyPutRef<&Commons::SetPCB>(1, u"PCB", {u"Value"}),
            surface::propertyPut<&Commons::hDC>(2, u"hDC", {u"Value"}),
            surface::procedure<&Commons::Delay>(3, u"Delay", {u"Millisecs"}),
            surface::function<&Commons::GetOSVersion>(4, u"GetOSVersion", {}),
            surface::function<&Commons::IsWinNT>(5, u"IsWinNT", {}),
            surface::function<&Commons::NewTempFileName>(6, u"NewTempFileName",
                                                         {u"Path", u"Appendix", u"wUnique", u"TempFileName"}),
        });
    return t;
}

// A generator seeded from the system's entropy and the monotonic clock in
// nanoseconds, so two searches started in the same second draw different names.
std::function<int32_t()> seededDraw() {
    uint32_t entropy = 0;
    try {
        entropy = std::random_device()();
    } catch (...) {
        // No entropy source: the clock and the call count still differ.
    }
    thread_local uint32_t calls = 0;
    const auto nanos = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{entropy, static_cast<uint32_t>(nanos), static_cast<uint32_t>(nanos >> 32), ++calls};
    auto engine = std::make_shared<std::mt19937>(seed);
    return [engine] { return std::uniform_int_distribution<int32_t>(10000, 99998)(*engine); };
}

// Whether this thread runs a Qt event dispatcher whose events a wait must keep processing.
bool threadHasEvents() {
    return QCoreApplication::instance() && QAbstractEventDispatcher::instance(QThread::currentThread());
}

}  // namespace

Commons::Commons() : d(std::make_unique<CommonsPrivate>()) {}
Commons::~Commons() = default;

std::shared_ptr<Commons> Commons::shared() {
    thread_local std::shared_ptr<Commons> instance = std::make_shared<Commons>();
    return instance;
}

Status Commons::PCB(std::shared_ptr<CCB>& result) {
    result = d->pcb;
    return {};
}

Status Commons::SetPCB(std::shared_ptr<CCB> Value) {
    d->pcb = std::move(Value);
    return {};
}

Status Commons::hDC(int32_t& /*Value*/) {
    return platform::guarded([&] {
        d->pcb = std::shared_ptr<CCB>(new CCB());
        return Status();
    });
}

Status Commons::Delay(int32_t& Millisecs) {
    return platform::guarded([&] {
        const surface::DelayPlan plan = surface::planDelay(platform::monotonicMilliseconds(), Millisecs);
        const bool events = threadHasEvents();
        for (;;) {
            if (events) QCoreApplication::processEvents(QEventLoop::AllEvents);
            const uint64_t now = platform::monotonicMilliseconds();
            if (surface::delayOver(plan, now)) return Status();
            // Sleep until an event arrives or the deadline passes, instead of spinning.
            const auto remaining = std::chrono::milliseconds(std::min<uint64_t>(plan.deadline - now + 1, 60'000));
            if (events) {
                QTimer wake;
                wake.setSingleShot(true);
                wake.setTimerType(Qt::PreciseTimer);
                wake.start(remaining);
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            } else {
                std::this_thread::sleep_for(remaining);
            }
        }
    });
}

Status Commons::GetOSVersion(int32_t& result) {
    return platform::guarded([&] {
        if (d->osVersion == 0) d->osVersion = surface::versionNumberOfRelease(d->kernelRelease());
        result = d->osVersion;
        return Status();
    });
}

Status Commons::IsWinNT(Boolean& result) {
    result = Boolean::False;
    return {};
}

Status Commons::NewTempFileName(std::u16string& Path, std::u16string& Appendix, int32_t /*wUnique*/,
                                std::u16string& TempFileName, int32_t& result) {
    return platform::guarded([&] {
        // The system ends a name at a NUL: such a name could not be the file checked.
        if (Path.find(u'\0') != std::u16string::npos || Appendix.find(u'\0') != std::u16string::npos)
            return Status::error(errors::InvalidCall);
        const auto search = surface::searchTempName(Path, Appendix, d->draw ? d->draw : seededDraw(),
                                                    [](const std::u16string& name) {
                                                        return platform::isOrdinaryFile(name);
                                                    });
        TempFileName = search.name;
        result = search.triesLeft;
        return Status();
    });
}

const ClassIdentity& Commons::identity() const { return kClasses[1]; }
const std::vector<MemberInfo>& Commons::members() const { return commonsTable().members(); }

Status Commons::GetIDsOfNames(std::u16string_view name, DispId& id) const {
    return platform::guarded([&] { return commonsTable().idOfName(name, id); });
}

Status Commons::Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) {
    return platform::guarded([&] { return commonsTable().invoke(*this, id, flags, args, result); });
}

namespace surface {

void setKernelReleaseSource(Commons& commons, std::function<std::string()> source) {
    CommonsPrivate::of(commons).kernelRelease = std::move(source);
}

void setTempNameDraw(Commons& commons, std::function<int32_t()> draw) {
    CommonsPrivate::of(commons).draw = std::move(draw);
}

}  // namespace surface
}  // namespace kxsim
