// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What the tests replace in a Commons object: where GetOSVersion reads the
// kernel release, and the numbers NewTempFileName draws.

#include <cstdint>
#include <functional>
#include <string>

namespace kxsim {
class Commons;
}

namespace kxsim::surface {

void setKernelReleaseSource(Commons& commons, std::function<std::string()> source);
void setTempNameDraw(Commons& commons, std::function<int32_t()> draw);

}  // namespace kxsim::surface
