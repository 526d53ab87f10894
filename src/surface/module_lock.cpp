// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The object count behind DllCanUnloadNow, and the base of every object of the
// library, which keeps it.

#include "surface/module_lock.h"

#include <atomic>

#include "kxsimlib/component.h"

namespace kxsim {
namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

}  // namespace

IDispatchable::IDispatchable() { surface::objectCreated(); }
IDispatchable::~IDispatchable() { surface::objectDestroyed(); }

namespace surface {

void objectCreated() { ++g_objects; }
void objectDestroyed() { --g_objects; }
void lockServer() { ++g_locks; }
void unlockServer() {
    // An unbalanced unlock must not cancel a real lock.
    long n = g_locks.load();
    while (n > 0 && !g_locks.compare_exchange_weak(n, n - 1)) {
    }
}
bool moduleInUse() { return g_objects.load() > 0 || g_locks.load() > 0; }

}  // namespace surface
}  // namespace kxsim
