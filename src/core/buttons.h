// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The indices of the command buttons every dialog shares; a member reports
// the one that closed its form.

#include <cstdint>

namespace kxsim::buttons {

inline constexpr int32_t kNone = 0;     ///< no button yet (also: the close box of a form without Cancel)
inline constexpr int32_t kOk = 1;
inline constexpr int32_t kCancel = 2;   ///< also what the close box counts as
inline constexpr int32_t kHelp = 112;

}  // namespace kxsim::buttons
