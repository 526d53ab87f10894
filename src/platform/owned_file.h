// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Which file a store may replace, and what writers killed in the middle of a
// replacement left beside it. Both stores (the settings and the component
// registration) follow the same rules.

#include <chrono>
#include <string>

namespace kxsim::platform {

/// Why the file at \a path (through a link, to the file it names) may not be
/// replaced, or empty when it may: it is missing, or an ordinary file of this
/// user's that the user may write. Anything else stays as it is, with its
/// owner and mode: "is not an ordinary file", "belongs to another user",
/// "is read-only".
std::string whyNotReplaceable(const std::string& path);

/// A temporary younger than this may be a live writer's.
inline constexpr std::chrono::seconds kStaleTemporaryAge{30};

/// Removes the temporaries a replacement of \a path makes ("<file>.XXXXXX",
/// beside the file a link names) that killed writers left: only ordinary
/// files of this user's, named exactly so, unchanged for kStaleTemporaryAge.
/// Called holding the store's lock, under which alone a writer has a
/// temporary; the age keeps even a writer that ignores the lock safe.
void removeStaleTemporaries(const std::string& path);

}  // namespace kxsim::platform
