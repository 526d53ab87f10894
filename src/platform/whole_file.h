// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Replacing a file whole: a new file beside it is written, synced and renamed
// over it, so a reader, a crash or a full disk never leaves half a file.

#include <string>
#include <string_view>

namespace kxsim::platform {

/// Writes \a bytes as the file \a path (through a link to the file it names),
/// keeping an existing file's permissions. 0, or the errno of what failed;
/// on failure the file is as it was.
int replaceWholeFile(const std::string& path, std::string_view bytes);

/// The file a replacement of \a path writes, and beside which it puts its
/// temporary: the file a link names, else \a path itself.
std::string replacedFile(const std::string& path);

}  // namespace kxsim::platform
