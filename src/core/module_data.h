// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The library's module data: one set per thread that uses the library. It lives
// in core so every layer that reads it reaches it without pointing up.

#include <memory>
#include <string>

namespace kxsim::core {

/// The language file path of the calling thread; empty until the host sets it.
std::u16string& languageFile();

/// The calling thread's object of form \a F, created on first use and kept
/// with its variables for the rest of the thread.
template <class F>
F& formObject() {
    thread_local std::unique_ptr<F> form;
    if (!form) form = std::make_unique<F>();
    return *form;
}

}  // namespace kxsim::core
