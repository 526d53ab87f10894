// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// A compiled help file made of arbitrary bytes: its objects, its context map
// and the topic lookup of every number the map holds and of the dialogs' own.

#include "fuzz_files.h"
#include "platform/chm_file.h"

using namespace kxsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzz::PrivateFolder folder;
    const std::string path =
        folder.write("help.chm", std::string_view(reinterpret_cast<const char*>(data), size));

    platform::ChmFile file;
    const platform::ChmFile::OpenResult opened = file.open(path);
    if (opened == platform::ChmFile::OpenResult::Missing) __builtin_trap();

    // A few objects read whole, as the help window loads pages and pictures.
    size_t read = 0;
    for (const std::string& object : file.list()) {
        if (!file.contains(object)) continue;  // a listed name the file cannot resolve
        if (read++ < 8) (void)file.read(object);
    }

    const auto map = file.contextMap();
    for (const int32_t number : {7105, 8030, 0, -1}) {
        const platform::TopicLookup found = platform::lookupTopic(file, opened, number);
        if (found.found() != (found.topic.size() > 0)) __builtin_trap();
        if (found.found() && !map.count(number)) __builtin_trap();
    }
    size_t looked = 0;
    for (const auto& [number, target] : map) {
        if (looked++ == 16) break;
        const platform::TopicLookup found = platform::lookupTopic(file, opened, number);
        const std::optional<std::string> topic = file.topicPath(number);
        if (found.found() != topic.has_value() || (topic && *topic != found.topic)) __builtin_trap();
        // A topic found is an object of the file, perhaps with an anchor.
        if (topic && !file.contains(topic->substr(0, topic->find('#')))) __builtin_trap();
    }
    return 0;
}
