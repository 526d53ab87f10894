// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/chm_precheck.h"

#include <strings.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ordinary_file.h"

// The checks follow what chmlib reads, in the order it reads it: the ITSF
// header at 0, the ITSP header at the directory offset, the directory chunks
// after it, and, when the reset table, the content and the LZXC control data
// are all stored uncompressed, the compression tables.
namespace kxsim::platform {
namespace {

constexpr uint64_t kItsfV2Length = 0x58;
constexpr uint64_t kItsfV3Length = 0x60;
constexpr uint64_t kItspLength = 0x54;
constexpr uint64_t kListingHeaderLength = 0x14;  // PMGL
constexpr uint64_t kIndexHeaderLength = 0x08;    // PMGI
constexpr uint64_t kResetTableLength = 0x28;
constexpr uint64_t kControlMinLength = 0x18;
constexpr uint64_t kControlMaxLength = 256;  // chmlib refuses longer control data
constexpr uint64_t kMaxPathLength = 512;
// Directory chunks are 4 KiB in practice; chmlib allocates one per lookup.
constexpr uint64_t kMinChunkLength = 0x20;
constexpr uint64_t kMaxChunkLength = 0x10000;
// chmlib reads a compressed block into a buffer this much larger than a block.
constexpr uint64_t kCompressedSlack = 6144;
constexpr uint64_t kCompressedSpace = 1;

class FileBytes {
public:
    explicit FileBytes(const std::string& path) : file_(openOrdinaryFile(path, kAnyFileSize)) {
        if (file_.outcome == FileOutcome::Read) size_ = uint64_t(file_.status.st_size);
    }

    uint64_t size() const { return size_; }
    /// \a length bytes at \a offset, or nothing when they are not all in the file.
    std::optional<std::string> at(uint64_t offset, uint64_t length) const {
        if (offset > size_ || length > size_ - offset) return std::nullopt;
        std::string bytes(length, '\0');
        for (uint64_t done = 0; done < length;) {
            const ssize_t got = ::pread(file_.fd.get(), bytes.data() + done, length - done, off_t(offset + done));
            if (got <= 0) return std::nullopt;
            done += uint64_t(got);
        }
        return bytes;
    }

private:
    OpenedFile file_;
    uint64_t size_ = 0;
};

uint64_t le(const std::string& bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
uint32_t le32(const std::string& bytes, size_t at) { return uint32_t(le(bytes, at, 4)); }
int32_t leInt32(const std::string& bytes, size_t at) { return int32_t(le32(bytes, at)); }
uint64_t le64(const std::string& bytes, size_t at) { return le(bytes, at, 8); }

bool isPowerOfTwo(uint64_t v) { return v != 0 && (v & (v - 1)) == 0; }

// A directory entry: its name, then numbers of 7 bits a byte, the high bit set
// on all but the last byte. In an index chunk `start` is the chunk number.
struct Entry {
    std::string name;
    uint64_t space = 0;
    uint64_t start = 0;
    uint64_t length = 0;
};

struct Chunk {
    bool listing = false;  // PMGL; otherwise PMGI
    int32_t next = -1;     // the next listing chunk, -1 after the last
    std::vector<Entry> entries;
};

class Cursor {
public:
    Cursor(const std::string& bytes, size_t from, size_t end) : bytes_(bytes), at_(from), end_(end) {}
    bool atEnd() const { return at_ >= end_; }
    bool number(uint64_t& value) {
        value = 0;
        while (at_ < end_) {
            const auto byte = static_cast<unsigned char>(bytes_[at_++]);
            value = (value << 7) + (byte & 0x7f);
            if (byte < 0x80) return true;
        }
        return false;
    }
    bool name(std::string& text) {
        uint64_t length = 0;
        // chmlib keeps names as C strings: an empty one or one holding a NUL
        // is not what the directory means.
        if (!number(length) || length == 0 || length > kMaxPathLength || length > end_ - at_) return false;
        text = bytes_.substr(at_, length);
        at_ += length;
        return text.find('\0') == std::string::npos;
    }

private:
    const std::string& bytes_;
    size_t at_;
    size_t end_;
};

std::optional<Chunk> parseChunk(const std::string& bytes, uint64_t chunkCount) {
    Chunk chunk;
    const std::string marker = bytes.substr(0, 4);
    chunk.listing = marker == "PMGL";
    if (!chunk.listing && marker != "PMGI") return std::nullopt;
    const uint64_t headerLength = chunk.listing ? kListingHeaderLength : kIndexHeaderLength;
    const uint64_t freeSpace = le32(bytes, 4);
    if (freeSpace > bytes.size() - headerLength) return std::nullopt;
    if (chunk.listing) chunk.next = leInt32(bytes, 0x10);
    // chmlib starts an entry whenever it has not reached the free space, and
    // reads it whole: each entry must end before the free space.
    Cursor cursor(bytes, headerLength, bytes.size() - freeSpace);
    while (!cursor.atEnd()) {
        Entry entry;
        if (!cursor.name(entry.name)) return std::nullopt;
        if (chunk.listing) {
            if (!cursor.number(entry.space) || !cursor.number(entry.start) || !cursor.number(entry.length))
                return std::nullopt;
            // chmlib decompresses anything not in space 0, even before it is ready to.
            if (entry.space > kCompressedSpace) return std::nullopt;
        } else if (!cursor.number(entry.start) || entry.start >= chunkCount) {
            return std::nullopt;
        }
        chunk.entries.push_back(std::move(entry));
    }
    return chunk;
}

struct Directory {
    std::vector<Chunk> chunks;
    uint64_t root = 0;
    uint64_t dataOffset = 0;

    // The entry chmlib's lookup finds for \a name: down the index chunks to a
    // listing chunk, comparing names as it does.
    const Entry* find(const char* name) const {
        int64_t page = int64_t(root);
        while (page >= 0) {
            const Chunk& chunk = chunks[size_t(page)];
            if (chunk.listing) {
                for (const Entry& entry : chunk.entries)
                    if (::strcasecmp(entry.name.c_str(), name) == 0) return &entry;
                return nullptr;
            }
            int64_t next = -1;
            for (const Entry& entry : chunk.entries) {
                if (::strcasecmp(entry.name.c_str(), name) > 0) break;
                next = int64_t(entry.start);
            }
            page = next;
        }
        return nullptr;
    }
};

// No index chunk may lead back to itself: chmlib's lookup would never end.
bool indexIsAcyclic(const Directory& dir) {
    enum : uint8_t { Unseen, OnPath, Done };
    std::vector<uint8_t> state(dir.chunks.size(), Unseen);
    std::vector<std::pair<size_t, size_t>> path{{size_t(dir.root), 0}};  // chunk, next entry
    state[dir.root] = OnPath;
    while (!path.empty()) {
        auto& [chunk, child] = path.back();
        const Chunk& c = dir.chunks[chunk];
        if (c.listing || child == c.entries.size()) {
            state[chunk] = Done;
            path.pop_back();
            continue;
        }
        const size_t target = size_t(c.entries[child++].start);
        if (state[target] == OnPath) return false;
        if (state[target] == Unseen) {
            state[target] = OnPath;
            path.emplace_back(target, 0);
        }
    }
    return true;
}

// chmlib's listing of all objects walks the listing chunks from the first one on.
bool listingChainEnds(const Directory& dir, int32_t head) {
    std::vector<bool> seen(dir.chunks.size(), false);
    for (int64_t page = head; page != -1; page = dir.chunks[size_t(page)].next) {
        if (page < 0 || uint64_t(page) >= dir.chunks.size() || seen[size_t(page)] ||
            !dir.chunks[size_t(page)].listing)
            return false;
        seen[size_t(page)] = true;
    }
    return true;
}

std::optional<Directory> readDirectory(const FileBytes& file) {
    const std::optional<std::string> itsf = file.at(0, kItsfV3Length);
    if (!itsf || itsf->compare(0, 4, "ITSF") != 0) return std::nullopt;
    const int32_t version = leInt32(*itsf, 4);
    const int32_t headerLength = leInt32(*itsf, 8);
    if (!(version == 2 && headerLength >= int32_t(kItsfV2Length)) &&
        !(version == 3 && headerLength >= int32_t(kItsfV3Length)))
        return std::nullopt;
    const uint64_t dirOffset = le64(*itsf, 0x48);
    Directory dir;
    dir.dataOffset = version == 3 ? le64(*itsf, 0x58) : dirOffset + le64(*itsf, 0x50);

    const std::optional<std::string> itsp = file.at(dirOffset, kItspLength);
    if (!itsp || itsp->compare(0, 4, "ITSP") != 0 || leInt32(*itsp, 4) != 1 ||
        le32(*itsp, 8) != kItspLength)
        return std::nullopt;
    const uint64_t chunkLength = le32(*itsp, 0x10);
    int32_t root = leInt32(*itsp, 0x1c);
    const int32_t head = leInt32(*itsp, 0x20);
    const uint64_t chunkCount = le32(*itsp, 0x2c);
    if (root <= -1) root = head;  // no index chunks: the only listing chunk is the root
    if (chunkLength < kMinChunkLength || chunkLength > kMaxChunkLength || chunkCount == 0 || root < 0 ||
        uint64_t(root) >= chunkCount || chunkCount > file.size() / chunkLength)
        return std::nullopt;
    dir.root = uint64_t(root);

    const uint64_t chunksOffset = dirOffset + kItspLength;
    const std::optional<std::string> chunks = file.at(chunksOffset, chunkCount * chunkLength);
    if (!chunks) return std::nullopt;
    for (uint64_t i = 0; i < chunkCount; ++i) {
        std::optional<Chunk> chunk = parseChunk(chunks->substr(i * chunkLength, chunkLength), chunkCount);
        if (!chunk) return std::nullopt;
        dir.chunks.push_back(std::move(*chunk));
    }
    if (!indexIsAcyclic(dir) || !listingChainEnds(dir, head)) return std::nullopt;
    return dir;
}

// The object's first \a length bytes as chmlib reads an uncompressed object.
std::optional<std::string> uncompressed(const FileBytes& file, const Directory& dir, const Entry& entry,
                                        uint64_t length) {
    if (entry.length < length) return std::nullopt;
    return file.at(dir.dataOffset + entry.start, length);
}

// LZX compressed content: the control data gives the window and how often the
// decoder resets, the reset table where each compressed block starts.
bool compressionIsSound(const FileBytes& file, const Directory& dir) {
    const Entry* resetEntry = dir.find("::DataSpace/Storage/MSCompressed/Transform/"
                                       "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable");
    const Entry* content = dir.find("::DataSpace/Storage/MSCompressed/Content");
    const Entry* controlEntry = dir.find("::DataSpace/Storage/MSCompressed/ControlData");
    if (!resetEntry || !content || !controlEntry || resetEntry->space == kCompressedSpace ||
        content->space == kCompressedSpace || controlEntry->space == kCompressedSpace)
        return true;  // chmlib reads no compressed object of such a file
    const std::optional<std::string> reset = uncompressed(file, dir, *resetEntry, kResetTableLength);
    if (!reset || le32(*reset, 0) != 2) return true;  // likewise

    // chmlib goes on with whatever it read here, valid or not.
    if (controlEntry->length < kControlMinLength || controlEntry->length > kControlMaxLength) return false;
    const std::optional<std::string> control = uncompressed(file, dir, *controlEntry, controlEntry->length);
    if (!control || control->compare(4, 4, "LZXC") != 0) return false;
    uint32_t resetInterval = le32(*control, 0x0c);
    uint32_t windowSize = le32(*control, 0x10);
    const uint32_t windowsPerReset = le32(*control, 0x14);
    if (le32(*control, 8) == 2) {  // version 2 counts in 32 KiB units, in 32 bits as chmlib does
        resetInterval *= 0x8000u;
        windowSize *= 0x8000u;
    }
    // The LZX decoder takes windows of 2^15 to 2^21 bytes.
    if (!isPowerOfTwo(windowSize) || windowSize < (1u << 15) || windowSize > (1u << 21) || resetInterval == 0 ||
        resetInterval % (windowSize / 2) != 0)
        return false;
    const uint32_t blocksPerReset = resetInterval / (windowSize / 2) * windowsPerReset;
    if (blocksPerReset == 0) return false;

    const uint64_t blockCount = le32(*reset, 4);
    const uint64_t tableOffset = le32(*reset, 0x0c);
    const uint64_t compressedLength = le64(*reset, 0x18);
    const uint64_t blockLength = le64(*reset, 0x20);
    // A block is decoded whole into a buffer of the block's length from the window.
    if (!isPowerOfTwo(blockLength) || blockLength < 0x8000 || blockLength > windowSize || blockCount == 0 ||
        blockCount > file.size() / 8)
        return false;
    const std::optional<std::string> table =
        file.at(dir.dataOffset + resetEntry->start + tableOffset, blockCount * 8);
    if (!table) return false;
    for (uint64_t block = 0; block < blockCount; ++block) {
        const uint64_t start = le64(*table, block * 8);
        const uint64_t end = block + 1 < blockCount ? le64(*table, block * 8 + 8) : compressedLength;
        if (end < start || end - start > blockLength + kCompressedSlack) return false;
    }
    // Every compressed object lies within the blocks the table describes.
    const uint64_t decodedLength = blockCount * blockLength;
    for (const Chunk& chunk : dir.chunks)
        for (const Entry& entry : chunk.entries)
            if (chunk.listing && entry.space == kCompressedSpace &&
                (entry.start > decodedLength || entry.length > decodedLength - entry.start))
                return false;
    return true;
}

}  // namespace

bool chmStructureIsSound(const std::string& path) {
    const FileBytes file(path);
    const std::optional<Directory> dir = readDirectory(file);
    return dir && compressionIsSound(file, *dir);
}

}  // namespace kxsim::platform
