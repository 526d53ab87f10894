// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// A dialog icon made of arbitrary bytes, handed in as encoded image bytes or
// as the path of a file holding them, shown in an image control.

#include <QApplication>
#include <QLabel>
#include <vector>

#include "fuzz_files.h"
#include "offscreen_app.h"
#include "platform/design.h"

using namespace kxsim;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startOffscreenApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzz::PrivateFolder folder;
    static QLabel* const image = platform::makeImage(nullptr, 32);
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The first byte chooses the way in, so each seed's image bytes start at its second byte.
    if (data[0] & 1) {
        const std::string path = folder.write("icon", bytes);
        platform::showPicture(image, Picture::fromFile(std::u16string(path.begin(), path.end())));
    } else {
        platform::showPicture(image, Picture::fromBytes(std::vector<uint8_t>(bytes.begin(), bytes.end())));
    }
    return 0;
}
