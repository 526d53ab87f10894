// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// NewTempFileName with arbitrary Path and Appendix, drawing its numbers from
// the input, in a folder where some of the names are taken.

#include <sys/stat.h>

#include <vector>

#include "fuzz_files.h"
#include "fuzz_input.h"
#include "kxsimlib/commons.h"
#include "surface/commons_hooks.h"

using namespace kxsim;

namespace {

// The files tmp10000 to tmp10007 exist, and a folder tmp10008, which does not
// count as taken.
const fuzz::PrivateFolder& folder() {
    static const fuzz::PrivateFolder f;
    static const bool filled = [] {
        for (int n = 10000; n < 10008; ++n) f.write("tmp" + std::to_string(n), "x");
        f.write("tmp10008/x", "");
        return true;
    }();
    (void)filled;
    return f;
}

bool isOrdinaryFile(const std::u16string& name) {
    struct stat st{};
    const std::string bytes(name.begin(), name.end());  // names formed here are ASCII
    return ::stat(bytes.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const uint8_t mode = in.byte();
    std::u16string path = in.text(32);
    std::u16string appendix = in.text(16);
    // Half the calls search the folder with names taken, the other half anywhere.
    const std::string base = folder().path() + "/";
    if (mode & 1) path = std::u16string(base.begin(), base.end()) + path;

    std::vector<int32_t> draws;
    for (std::string_view rest = in.rest(); draws.size() < 16 && !rest.empty(); rest.remove_prefix(1))
        draws.push_back(10000 + static_cast<uint8_t>(rest.front()) % 12);
    Commons commons;
    if (mode & 2 && !draws.empty())
        surface::setTempNameDraw(commons, [draws, i = size_t(0)]() mutable { return draws[i++ % draws.size()]; });

    const std::u16string pathIn = path, appendixIn = appendix;
    std::u16string name;
    int32_t tries = -1;
    const Status s = commons.NewTempFileName(path, appendix, mode, name, tries);
    if (path != pathIn || appendix != appendixIn) __builtin_trap();
    if (!s) {
        if (s.number() != 5) __builtin_trap();  // a name that can name no file
        return 0;
    }
    // Path, "tmp", five digits, Appendix; a free name when tries are left.
    if (tries < 0 || tries > 999) __builtin_trap();
    if (name.size() != path.size() + 8 + appendix.size() || name.compare(0, path.size(), path) != 0 ||
        name.compare(path.size(), 3, u"tmp") != 0 || name.compare(path.size() + 8, appendix.size(), appendix) != 0)
        __builtin_trap();
    for (size_t i = path.size() + 3; i < path.size() + 8; ++i)
        if (name[i] < u'0' || name[i] > u'9') __builtin_trap();
    if (tries > 0 && (mode & 1) && appendix.empty() && path.size() == base.size() && isOrdinaryFile(name))
        __builtin_trap();
    return 0;
}
