// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// System helpers for the host: a wait that keeps the windows alive, the
// operating system's version and free temporary file names.

#include <cstdint>
#include <memory>
#include <string>

#include "kxsimlib/ccb.h"
#include "kxsimlib/component.h"
#include "kxsimlib/kxsimlib_export.h"
#include "kxsimlib/status.h"
#include "kxsimlib/variant.h"

namespace kxsim {

/*!
  \brief System helpers: Delay, GetOSVersion, IsWinNT, NewTempFileName, and
  the PCB field that hDC fills with a new CCB.

  A host may create instances of its own, or use the calling thread's shared
  instance (Commons::shared()). Every member runs on the calling thread.
  Arguments follow the library's convention: by-reference arguments are
  non-const references, the declared result comes back through the final
  out-parameter, and the returned Status tells whether the call succeeded.

  \code
  kxsim::Commons commons;
  std::u16string folder = u"/tmp/", appendix = u".txt", name;
  int32_t tries = 0;
  commons.NewTempFileName(folder, appendix, 0, name, tries);  // 999, "/tmp/tmp48213.txt"
  int32_t wait = 250;
  commons.Delay(wait);   // events of this thread keep running meanwhile
  \endcode
*/
class KXSIMLIB_EXPORT Commons final : public IDispatchable {
public:
    Commons();
    ~Commons() override;

    /// The calling thread's shared instance, created on first use and kept
    /// for the life of the thread; for hosts that call Commons without
    /// creating one.
    static std::shared_ptr<Commons> shared();

    /// Reads the PCB field: the CCB it holds, or null (its start value).
    Status PCB(std::shared_ptr<CCB>& result);
    /// Assigns the PCB field by reference; null empties it.
    Status SetPCB(std::shared_ptr<CCB> Value);

    /// Write-only: puts a new CCB into PCB, releasing the one it held. The
    /// value itself is neither kept nor used.
    Status hDC(int32_t& Value);

    /// Waits \a Millisecs milliseconds, measured with a 64-bit monotonic clock,
    /// while the thread's pending events are processed (when the thread runs a
    /// Qt event dispatcher; otherwise it only waits). Returns no earlier than
    /// asked: the clock must pass the start reading plus \a Millisecs. Any
    /// count up to 2^31 - 1 waits its time, whenever it is called; a negative
    /// count returns after one pass of event processing.
    Status Delay(int32_t& Millisecs);

    /// The version of the operating system as major × 100 + minor. On Linux
    /// this is the running kernel's release ("6.1.0-18-amd64" gives 601). The
    /// number is asked for once per instance and cached; a release that cannot
    /// be read gives 0, and then the next call asks again.
    Status GetOSVersion(int32_t& result);

    /// Whether the operating system is of the Windows NT family: always
    /// Boolean::False (0) on Linux.
    Status IsWinNT(Boolean& result);

    /// A name for a new temporary file that does not exist yet: \a Path, "tmp",
    /// five random digits (10000 to 99998) and \a Appendix, joined as they are
    /// (so \a Path ends with "/" when it names a folder). Up to 1000 names are
    /// tried; only an ordinary file (or a link to one) counts as taken, so a
    /// directory of that name does not. \a TempFileName receives the last name
    /// tried; \a result the tries left: 999 when the first name was free, 0
    /// when the search gave up (and the name may exist). No file is created
    /// and the name is not reserved. \a wUnique has no effect.
    Status NewTempFileName(std::u16string& Path, std::u16string& Appendix, int32_t wUnique,
                           std::u16string& TempFileName, int32_t& result);

    const ClassIdentity& identity() const override;
    const std::vector<MemberInfo>& members() const override;
    Status GetIDsOfNames(std::u16string_view name, DispId& id) const override;
    Status Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) override;

private:
    friend class CommonsPrivate;
    std::unique_ptr<class CommonsPrivate> const d;
};

}  // namespace kxsim
