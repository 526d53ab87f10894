// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A picture handed to a dialog, such as the host's icon.

#include <cstdint>
#include <string>
#include <vector>

#include "kxsimlib/kxsimlib_export.h"

namespace kxsim {

/*!
  \brief An image for a dialog's icon: empty, encoded image bytes (PNG, ICO,
  BMP, JPEG, whatever the toolkit decodes) or the path of an image file.

  An image that cannot be decoded shows as no picture; it is never an error.
*/
class KXSIMLIB_EXPORT Picture {
public:
    enum class Kind { Empty, Bytes, File };

    Picture() = default;
    static Picture fromBytes(std::vector<uint8_t> bytes);
    static Picture fromFile(std::u16string path);

    Kind kind() const { return kind_; }
    bool empty() const { return kind_ == Kind::Empty; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    const std::u16string& path() const { return path_; }

private:
    Kind kind_ = Kind::Empty;
    std::vector<uint8_t> bytes_;
    std::u16string path_;
};

}  // namespace kxsim
