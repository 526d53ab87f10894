// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "file_commands.h"

#include <algorithm>
#include <cstdio>

namespace kxsim::card {

namespace {
enum : uint8_t { kModePrevious = 0x03, kModeAbsolute = 0x04 };
// READ/UPDATE BINARY move at most this many bytes per command (P3 is one byte).
constexpr uint32_t kChunk = 255;
}  // namespace

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
    return text;
}


std::string accessName(Access level) {
    switch (level) {
    case 0: return "ALW";
    case 1: return "CHV1";
    case 2: return "CHV2";
    case 3: return "RFU";
    case 15: return "NEV";
    default: return "ADM";
    }
}

std::string FileCommands::fileName(uint16_t id) {
    return (id >> 8 == 0x6F || id >> 8 == 0x2F || id >> 8 == 0x4F ? "EF " : id == 0x3F00 ? "MF " : "DF ") + hex4(id);
}

FileCommands::Answer FileCommands::send(const Bytes& command, const char* what) {
    Bytes response = transport_.transmit(command);
    if (response.size() < 2)
        throw malformedAnswer(std::string(what) + " " + current_ + ": the card answered " +
                              std::to_string(response.size()) + " byte(s), not even a status word");
    Answer answer;
    answer.sw = uint16_t(response[response.size() - 2] << 8 | response.back());
    response.resize(response.size() - 2);
    answer.data = std::move(response);
    return answer;
}

Bytes FileCommands::expectOk(const Answer& answer, const char* what) {
    const uint8_t sw1 = answer.sw >> 8;
    if (answer.sw == 0x9000 || sw1 == 0x91 || (sw1 == 0x92 && (answer.sw & 0xF0) == 0)) return answer.data;
    throw CardError(CardError::Kind::Card, std::string(what) + " " + current_ + " failed: " + describe(answer.sw));
}

Bytes FileCommands::readBinary(uint32_t offset, uint32_t length) {
    Bytes data;
    while (data.size() < length) {
        const uint32_t at = offset + uint32_t(data.size());
        const uint8_t n = uint8_t(std::min(kChunk, length - uint32_t(data.size())));
        Bytes part = expectOk(send({cla_, kReadBinary, uint8_t(at >> 8), uint8_t(at), n}, "READ BINARY"), "READ BINARY");
        if (part.size() != n)
            throw malformedAnswer("READ BINARY " + current_ + ": asked for " + std::to_string(n) +
                                  " bytes, the card gave " + std::to_string(part.size()));
        data.insert(data.end(), part.begin(), part.end());
    }
    return data;
}

void FileCommands::updateBinary(uint32_t offset, const Bytes& data) {
    for (uint32_t done = 0; done < data.size();) {
        const uint32_t at = offset + done;
        const uint8_t n = uint8_t(std::min<uint32_t>(kChunk, uint32_t(data.size()) - done));
        Bytes command{cla_, kUpdateBinary, uint8_t(at >> 8), uint8_t(at), n};
        command.insert(command.end(), data.begin() + done, data.begin() + done + n);
        expectOk(send(command, "UPDATE BINARY"), "UPDATE BINARY");
        done += n;
    }
}

Bytes FileCommands::readRecord(uint8_t number, uint8_t length) {
    Bytes data = expectOk(send({cla_, kReadRecord, number, kModeAbsolute, length}, "READ RECORD"), "READ RECORD");
    if (data.size() != length)
        throw malformedAnswer("READ RECORD " + current_ + ": asked for " + std::to_string(length) +
                              " bytes, the card gave " + std::to_string(data.size()));
    return data;
}

void FileCommands::updateRecord(uint8_t number, const Bytes& data) {
    Bytes command{cla_, kUpdateRecord, number, kModeAbsolute, uint8_t(data.size())};
    command.insert(command.end(), data.begin(), data.end());
    expectOk(send(command, "UPDATE RECORD"), "UPDATE RECORD");
}

void FileCommands::updateCyclic(const Bytes& data) {
    Bytes command{cla_, kUpdateRecord, 0, kModePrevious, uint8_t(data.size())};
    command.insert(command.end(), data.begin(), data.end());
    expectOk(send(command, "UPDATE RECORD"), "UPDATE RECORD");
}

}  // namespace kxsim::card
