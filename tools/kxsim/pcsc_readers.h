#pragma once
// The reader names the PC/SC daemon (pcscd) knows, for kxsim reader --pcsc.

#include <cstdint>
#include <string>
#include <string_view>

namespace kxsim::tool {

/// A PC/SC reader multi-string (each name ends with a NUL, an empty name ends
/// the list: "A\0B\0\0") as the reader list of Kartenleser: the names joined by
/// NUL, with no empty entry and no NUL at the end ("A\0B"). Bytes after the
/// list's end are ignored; a list cut off without its final NUL keeps its last
/// name. Names are UTF-8; an invalid byte becomes U+FFFD.
std::u16string readerListFromMultiString(std::string_view multi);

/// What the PC/SC daemon answered.
struct PcscAnswer {
    enum class Kind { Readers, NoService, NoReaders, Failed };
    Kind kind = Kind::Failed;
    std::u16string readers;  ///< with Readers: the NUL-separated names
    uint32_t code = 0;       ///< with Failed: the PC/SC result code
};

/// Asks the daemon for the connected readers.
PcscAnswer askPcscReaders();

/// One line saying why \a answer gave no reader names (empty for Readers).
std::string describe(const PcscAnswer& answer);

}  // namespace kxsim::tool
