// A frame the recorder's server sent, taken apart and checked before the client acts on it.
#pragma once

#include "device/net/NetMessage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct CNetServerFrame {
    std::uint8_t kind = 0;
    std::uint32_t sequence = 0; // reply, file: the request it belongs to
    int ordinal = 0;            // reply
    int result = 0;             // reply
    int code = 0;               // stream
    std::string fileName;       // file
    CNetMessage values;         // reply: the out-values after the result, still to be read
    // Data: the samples. File: the piece's bytes. A view of the payload decoded.
    std::span<const std::uint8_t> bytes;

    // None for a frame no server of ours sends: an unknown kind, a cut head, a sample frame that
    // is empty, larger than a chunk or not whole 16-bit words, a file piece larger than a chunk
    // or not exactly its block, a stream frame with more or less than its code.
    static std::optional<CNetServerFrame> Decode(std::span<const std::uint8_t> payload);
};
