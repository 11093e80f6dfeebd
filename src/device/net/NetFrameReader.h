// Cuts a received byte stream into the payloads of its frames, whatever pieces it arrives in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CNetFrameReader {
public:
    // A frame declaring more than `maxFrameBytes` breaks the stream.
    explicit CNetFrameReader(std::uint32_t maxFrameBytes) : m_maxFrameBytes(maxFrameBytes) {}

    // Hands every frame completed by `bytes` to `take`, in order, as a view that lasts for the
    // call. A frame that arrives whole in one piece is never copied; one cut across pieces is
    // gathered as its bytes arrive, so a declared length costs nothing before its bytes come.
    // False once the stream is broken; later bytes are ignored.
    template <typename Take> bool Feed(std::span<const std::uint8_t> bytes, Take&& take) {
        while (!m_broken && !bytes.empty()) {
            const bool whole = m_partial.empty() && bytes.size() >= kHeaderBytes &&
                               bytes.size() - kHeaderBytes >= Length(bytes.data());
            if (!whole) {
                bytes = Gather(bytes); // the frame goes on in a later piece
            } else if (Length(bytes.data()) > m_maxFrameBytes) {
                m_broken = true;
            } else {
                const std::uint32_t size = Length(bytes.data());
                take(bytes.subspan(kHeaderBytes, size));
                bytes = bytes.subspan(kHeaderBytes + size);
                continue;
            }
            if (Complete()) {
                take(std::span<const std::uint8_t>(m_partial).subspan(kHeaderBytes));
                m_partial.clear();
            }
        }
        return !m_broken;
    }

    bool Broken() const { return m_broken; }
    // Some bytes of a frame have come, not all.
    bool InsideFrame() const { return !m_partial.empty(); }

    static constexpr std::size_t kHeaderBytes = 4;

private:
    static std::uint32_t Length(const std::uint8_t* header);
    // Moves bytes of the current frame into m_partial (its header first, then no more than the
    // frame's rest) and returns what is left; breaks the stream on an oversized length.
    std::span<const std::uint8_t> Gather(std::span<const std::uint8_t> bytes);
    bool Complete() const;

    const std::uint32_t m_maxFrameBytes;
    std::vector<std::uint8_t> m_partial; // the header and what has come of the payload
    bool m_broken = false;
};
