// The recorder network protocol: constants and frame kinds shared by CNetLink and CNetServer.
//
// Every message is a frame: a uint32 payload length, then the payload. All integers are little
// endian; a text is a uint32 byte count and the bytes; a byte block likewise. The first payload
// byte is the frame kind:
//
//   request  (client -> server): kind, uint32 sequence, int32 ordinal, int32 handle, arguments
//   reply    (server -> client): kind, uint32 sequence, int32 ordinal, int32 result, out-values
//   data     (server -> client): kind, sample bytes (whole 16-bit words, in recorder order)
//   credit   (client -> server): kind, uint32 bytes the program has taken from its buffer
//   stream   (server -> client): kind, int32 code: the recorder's answer to the data queries
//                                when it is negative, 0 once data can be read again
//   file     (server -> client): kind, uint32 sequence, text file name, byte block: a piece of
//                                a card file copied to the PC, ahead of the copy's reply
//
// One TCP connection carries one handle: the first request is kOpen (or a one-shot kScanDevices
// or kSetIPAddress) and kClose ends it. A reply is taken only for the call it answers (same
// sequence and ordinal) and only when its out-values are exactly those of the operation; a late
// reply finds no call and is dropped. Samples are pushed by the server as they arrive, never
// more than the client's window beyond what it has taken, so the data queries of the program
// are answered from the client's buffer without a round trip and a stalled program leaves the
// samples in the recorder. A card copy sends the files to the client, which writes them on its
// own disk, under no names but the one it asked for and that of its partner, and takes no more
// bytes than the card's directory (asked just before) lists for the two; a move is a copy and,
// once the PC files are whole, a delete. Arguments and out-values per ordinal are written by
// CNetLink and read by CNetSession in the same order; the in-values of in/out parameters travel
// too.
//
// What a peer can make the other side hold is bounded by these limits, never by a count it
// sends: a frame is at most kMaxFrameBytes (a request kMaxRequestBytes) and is buffered only as
// its bytes arrive; a list of records, folders or files is read only as far as its items are
// present in the frame; the samples a client buffers are at most kStreamWindowBytes, whatever
// the frames' sizes; a card copy writes at most its size bound to the PC.
#pragma once

#include <cstddef>
#include <cstdint>

namespace NetProtocol {
// The one port every recorder listens on.
inline constexpr std::uint16_t kPort = 47300;

// Marks the first request of a connection, so a stray service on the port is not taken for a
// recorder.
inline constexpr std::uint32_t kMagic = 0x5A544C31;

// The status wait has no ordinal among the others; it keeps the library's own number.
inline constexpr int kGetStatusWait = 59;

inline constexpr std::uint8_t kRequest = 1;
inline constexpr std::uint8_t kReply = 2;
inline constexpr std::uint8_t kData = 3;
inline constexpr std::uint8_t kCredit = 4;
inline constexpr std::uint8_t kStream = 5;
inline constexpr std::uint8_t kFile = 6;

// The result of a card copy whose PC file could not be written (the card file stays).
inline constexpr int kPcFileError = -6;
// The result of a card directory too large for one reply.
inline constexpr int kReplyTooLarge = -7;
// A reply's kind, sequence, ordinal and result ahead of its out-values.
inline constexpr std::size_t kReplyHeadBytes = 1 + 4 + 4 + 4;

// Larger frames are a broken or hostile peer. Requests are small (the largest, a slot's channel
// records, takes a few kilobytes); a sample frame or a piece of a card file is at most
// kDataChunkBytes.
inline constexpr std::uint32_t kMaxFrameBytes = 4u << 20;
inline constexpr std::uint32_t kMaxRequestBytes = 64u << 10;
inline constexpr int kDataChunkBytes = 256 << 10;
// Samples in flight plus those buffered by the client; credit is returned in steps of a quarter.
inline constexpr int kStreamWindowBytes = 4 << 20;
inline constexpr int kCreditStepBytes = kStreamWindowBytes / 4;
// The slot list reply holds one byte per possible slot.
inline constexpr std::size_t kSlotListBytes = 256;

// Time-outs of the calls that carry none of their own.
inline constexpr int kCallTimeoutMs = 5000;
// Balancing and card operations take the recorder a while.
inline constexpr int kLongCallTimeoutMs = 60000;
// A card copy may take besides this one second per MiB of its size bound: no network a
// recorder sits on is slower.
inline constexpr std::uint64_t kCopyBytesPerSecond = 1u << 20;
// A card copy brings a record's header and data file; a card's file system holds files of at
// most 4 GiB. No copy is bound higher, whatever sizes the card's directory lists.
inline constexpr std::uint64_t kMaxCopyBytes = 8ull << 30;
// The scan asks every address at once and waits this long for the answers.
inline constexpr int kScanTimeoutMs = 500;
// Part of a status wait left for the reply to travel back.
inline constexpr int kReplyMarginMs = 100;

// The server drops a connection whose first request has not arrived whole this long after it
// was accepted, one that stays this long inside a frame, and one that takes nothing of what it
// is sent for this long.
inline constexpr int kOpeningMs = 5000;
inline constexpr int kFrameStallMs = 5000;
inline constexpr int kSendStallMs = 5000;
} // namespace NetProtocol
