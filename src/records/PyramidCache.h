// The overview of a large record kept beside it ("NAME.minmax"), so that opening it again is
// instant. The file starts with a description of what it was built from (format version,
// layout, and the size and last write time of every data file); it is used only when that
// description matches the record as it is now, byte for byte.
#pragma once

#include "records/MinMaxPyramid.h"
#include "records/RecordReader.h"

#include <cstddef>
#include <string>
#include <vector>

class CPyramidCache {
public:
    static constexpr std::uint32_t kVersion = 1;
    static constexpr const char* kExtension = ".minmax";

    // The cache file of the record whose header is at `headerPath`.
    static std::string PathFor(const std::string& headerPath);
    // True when the file describes exactly this record and layout; the pyramid then reads its
    // buckets from the file.
    static bool Load(const std::string& path, const std::vector<RecordDataFacts>& facts,
                     CMinMaxPyramid& pyramid);
    // Writes a complete pyramid; the file appears only once it is whole. Empty, or the message.
    static std::string Save(const std::string& path, const std::vector<RecordDataFacts>& facts,
                            const CMinMaxPyramid& pyramid);

private:
    static std::vector<std::byte> Describe(const std::vector<RecordDataFacts>& facts,
                                           const CMinMaxPyramid& pyramid);
};
