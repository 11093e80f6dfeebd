#include "records/MinMaxPyramid.h"

#include "conditions/TextFile.h"

#include <algorithm>
#include <new>

namespace {

// Calls `f` with a value of the type a channel's numbers are kept in.
template <typename F> decltype(auto) WithType(SampleKind kind, F&& f) {
    switch (kind) {
    case SampleKind::UInt16:
        return f(std::uint16_t{});
    case SampleKind::Int32:
        return f(std::int32_t{});
    case SampleKind::UInt32:
        return f(std::uint32_t{});
    case SampleKind::Float32:
        return f(float{});
    case SampleKind::Int16:
        break;
    }
    return f(std::int16_t{});
}

std::uint64_t PairBytes(SampleKind kind) {
    return 2 * static_cast<std::uint64_t>(WordsOf(kind)) * 2;
}

template <typename T> struct Pair {
    T min;
    T max;
};

} // namespace

CMinMaxPyramid::CMinMaxPyramid(std::vector<CBlockMinMax::Channel> channels, int rowWords,
                               std::uint64_t rows)
    : m_channels(channels), m_rowWords(rowWords), m_rows(rows),
      m_scan(std::move(channels), rowWords) {
    std::uint64_t bucketRows = kBaseRows;
    for (;;) {
        Level level{bucketRows, (rows + bucketRows - 1) / bucketRows, {}};
        for (const CBlockMinMax::Channel& channel : m_channels) {
            level.offsets.push_back(m_storageBytes);
            // Offsets stay 8-byte aligned for every type.
            m_storageBytes += (level.buckets * PairBytes(channel.kind) + 7) / 8 * 8;
        }
        m_levels.push_back(std::move(level));
        if (m_levels.back().buckets <= 1)
            break;
        bucketRows *= kFactor;
    }
    m_doneBuckets.assign(m_levels.size(), 0);
}

std::string CMinMaxPyramid::Allocate() {
    try {
        m_owned = std::make_unique_for_overwrite<std::byte[]>(m_storageBytes);
    } catch (const std::bad_alloc&) {
        return CTextFile::kInsufficientMemory;
    }
    m_writable = m_owned.get();
    m_data = m_writable;
    return {};
}

void CMinMaxPyramid::Adopt(std::unique_ptr<CFileMap> map, std::uint64_t offset) {
    m_map = std::move(map);
    m_data = m_map->Bytes().data() + offset;
    m_writable = nullptr;
    m_addedRows = m_rows;
    m_builtRows.store(m_rows, std::memory_order_release);
}

std::uint64_t CMinMaxPyramid::GetBuiltBuckets(std::size_t level) const {
    const std::uint64_t built = GetBuiltRows();
    return built == m_rows ? m_levels[level].buckets : built / m_levels[level].bucketRows;
}

int CMinMaxPyramid::LevelFor(double rows) const {
    int found = -1;
    for (std::size_t level = 0; level < m_levels.size(); ++level) {
        if (static_cast<double>(m_levels[level].bucketRows) <= rows)
            found = static_cast<int>(level);
    }
    return found;
}

NumberRange CMinMaxPyramid::Get(std::size_t level, std::size_t channel, std::uint64_t first,
                                std::uint64_t end) const {
    const std::byte* base = m_data + m_levels[level].offsets[channel];
    return WithType(m_channels[channel].kind, [&](auto type) {
        using T = decltype(type);
        const auto* pairs = reinterpret_cast<const Pair<T>*>(base);
        NumberRange range = NumberRange::Empty();
        for (std::uint64_t i = first; i < end; ++i) {
            range.min = std::min(range.min, static_cast<double>(pairs[i].min));
            range.max = std::max(range.max, static_cast<double>(pairs[i].max));
        }
        return range;
    });
}

void CMinMaxPyramid::AddRows(std::span<const std::uint16_t> words) {
    const auto rowWords = static_cast<std::size_t>(m_rowWords);
    const std::uint16_t* at = words.data();
    const std::uint64_t pendingRows = m_pending.size() / rowWords;
    std::uint64_t left =
        std::min<std::uint64_t>(words.size() / rowWords, m_rows - m_addedRows - pendingRows);
    if (!m_pending.empty()) {
        const std::uint64_t take = std::min(left, kBaseRows - pendingRows);
        m_pending.insert(m_pending.end(), at, at + take * rowWords);
        at += take * rowWords;
        left -= take;
        const std::uint64_t rows = pendingRows + take;
        if (rows == kBaseRows || m_addedRows + rows == m_rows) {
            AddBuckets(m_pending.data(), rows);
            m_pending.clear();
        }
    }
    if (left == 0)
        return;
    const bool last = m_addedRows + left == m_rows;
    const std::uint64_t whole = last ? left : left / kBaseRows * kBaseRows;
    if (whole > 0)
        AddBuckets(at, whole);
    m_pending.assign(at + whole * rowWords, at + left * rowWords);
}

void CMinMaxPyramid::AddBuckets(const std::uint16_t* rows, std::uint64_t rowCount) {
    const auto rowWords = static_cast<std::uint64_t>(m_rowWords);
    for (std::uint64_t first = 0; first < rowCount; first += kBaseRows) {
        m_scan.Scan(rows + first * rowWords, std::min(kBaseRows, rowCount - first));
        StoreBase(m_doneBuckets[0]++);
    }
    m_addedRows += rowCount;
    FoldUp(m_addedRows == m_rows);
    m_builtRows.store(m_addedRows, std::memory_order_release);
}

void CMinMaxPyramid::StoreBase(std::uint64_t bucket) {
    const Level& level = m_levels[0];
    for (std::size_t c = 0; c < m_channels.size(); ++c) {
        const NumberRange range = m_scan.Get(c);
        WithType(m_channels[c].kind, [&](auto type) {
            using T = decltype(type);
            auto* pairs = reinterpret_cast<Pair<T>*>(m_writable + level.offsets[c]);
            pairs[bucket] = {static_cast<T>(range.min), static_cast<T>(range.max)};
        });
    }
}

// Folds every bucket whose children are all there; at the end also the last, shorter ones.
void CMinMaxPyramid::FoldUp(bool final) {
    for (std::size_t l = 1; l < m_levels.size(); ++l) {
        const std::uint64_t children = m_doneBuckets[l - 1];
        std::uint64_t& done = m_doneBuckets[l];
        while ((done + 1) * kFactor <= children || (final && done * kFactor < children)) {
            const std::uint64_t first = done * kFactor;
            const std::uint64_t end = std::min(first + kFactor, children);
            for (std::size_t c = 0; c < m_channels.size(); ++c) {
                const NumberRange range = Get(l - 1, c, first, end);
                WithType(m_channels[c].kind, [&](auto type) {
                    using T = decltype(type);
                    auto* pairs = reinterpret_cast<Pair<T>*>(m_writable + m_levels[l].offsets[c]);
                    pairs[done] = {static_cast<T>(range.min), static_cast<T>(range.max)};
                });
            }
            ++done;
        }
    }
}
