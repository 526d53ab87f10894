// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "kxsimlib/picture.h"

#include <utility>

namespace kxsim {

Picture Picture::fromBytes(std::vector<uint8_t> bytes) {
    Picture p;
    p.kind_ = bytes.empty() ? Kind::Empty : Kind::Bytes;
    p.bytes_ = std::move(bytes);
    return p;
}

Picture Picture::fromFile(std::u16string path) {
    Picture p;
    p.kind_ = path.empty() ? Kind::Empty : Kind::File;
    p.path_ = std::move(path);
    return p;
}

}  // namespace kxsim
