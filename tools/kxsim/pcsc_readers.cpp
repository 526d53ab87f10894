#include "pcsc_readers.h"

#include <winscard.h>

#include <cstdio>

#include "surface/tooling.h"

namespace kxsim::tool {

std::u16string readerListFromMultiString(std::string_view multi) {
    std::u16string list;
    size_t start = 0;
    while (start < multi.size()) {
        size_t end = multi.find('\0', start);
        if (end == std::string_view::npos) end = multi.size();
        if (end == start) break;  // the empty name that ends the list
        if (!list.empty()) list += u'\0';
        list += tooling::fromUtf8(multi.substr(start, end - start));
        start = end + 1;
    }
    return list;
}

namespace {

// Releases the context on every way out.
struct Context {
    SCARDCONTEXT handle = 0;
    bool established = false;
    ~Context() {
        if (established) SCardReleaseContext(handle);
    }
};

PcscAnswer failure(LONG code) {
    PcscAnswer answer;
    const auto result = static_cast<uint32_t>(code);
    if (result == static_cast<uint32_t>(SCARD_E_NO_SERVICE) || result == static_cast<uint32_t>(SCARD_E_SERVICE_STOPPED))
        answer.kind = PcscAnswer::Kind::NoService;
    else if (result == static_cast<uint32_t>(SCARD_E_NO_READERS_AVAILABLE))
        answer.kind = PcscAnswer::Kind::NoReaders;
    else
        answer.code = result;
    return answer;
}

}  // namespace

PcscAnswer askPcscReaders() {
    Context context;
    if (LONG rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context.handle); rv != SCARD_S_SUCCESS)
        return failure(rv);
    context.established = true;
    LPSTR names = nullptr;
    DWORD length = SCARD_AUTOALLOCATE;
    if (LONG rv = SCardListReaders(context.handle, nullptr, reinterpret_cast<LPSTR>(&names), &length);
        rv != SCARD_S_SUCCESS)
        return failure(rv);
    PcscAnswer answer;
    answer.readers = readerListFromMultiString(std::string_view(names, names ? length : 0));
    SCardFreeMemory(context.handle, names);
    answer.kind = answer.readers.empty() ? PcscAnswer::Kind::NoReaders : PcscAnswer::Kind::Readers;
    return answer;
}

std::string describe(const PcscAnswer& answer) {
    switch (answer.kind) {
    case PcscAnswer::Kind::Readers: return {};
    case PcscAnswer::Kind::NoService: return "no PC/SC daemon is running (start pcscd to list the connected readers)";
    case PcscAnswer::Kind::NoReaders: return "the PC/SC daemon lists no connected readers";
    case PcscAnswer::Kind::Failed: break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(answer.code));
    return std::string("the PC/SC daemon could not list the readers: ") +
           pcsc_stringify_error(static_cast<LONG>(answer.code)) + " (" + code + ")";
}

}  // namespace kxsim::tool
