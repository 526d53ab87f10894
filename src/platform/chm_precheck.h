// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The structure of a compiled help file, checked before chmlib sees it.
// chmlib trusts the file's headers, directory and compression tables: it
// divides by their values, sizes buffers after them and follows their chunk
// numbers, so a damaged file can crash or hang it. Plain C++; no Qt.

#include <string>

namespace kxsim::platform {

/// True when the file at \a path (UTF-8) holds together well enough for chmlib
/// to open it and read any of its objects: headers and directory chunks lie
/// inside the file, every directory entry is whole, index chunks name chunks
/// of the directory without cycles, and compressed content has a usable LZX
/// control block and reset table. False for anything else, unreadable files
/// included.
bool chmStructureIsSound(const std::string& path);

}  // namespace kxsim::platform
