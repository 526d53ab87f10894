// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What keeps the library loaded: live objects, handed-out class factory
// references and server locks. DllCanUnloadNow answers from these counts.

namespace kxsim::surface {

/// One more (or one less) live object or class factory reference.
void objectCreated();
void objectDestroyed();
/// IClassFactory::LockServer.
void lockServer();
void unlockServer();
/// True while anything above is outstanding.
bool moduleInUse();

}  // namespace kxsim::surface
