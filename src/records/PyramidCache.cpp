#include "records/PyramidCache.h"

#include "records/FileMap.h"
#include "records/RecordHeaderFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "ZTMINMAX";

void PutBytes(std::vector<std::byte>& out, const void* data, std::size_t size) {
    const std::size_t at = out.size();
    out.resize(at + size);
    if (size > 0)
        std::memcpy(out.data() + at, data, size);
}

template <typename T> void Put(std::vector<std::byte>& out, T value) {
    PutBytes(out, &value, sizeof(value));
}

void PutText(std::vector<std::byte>& out, std::string_view text) {
    Put(out, static_cast<std::uint32_t>(text.size()));
    PutBytes(out, text.data(), text.size());
}

std::uint64_t StorageOffset(std::size_t descriptionBytes) {
    return (descriptionBytes + 7) / 8 * 8;
}

bool WriteAll(std::FILE* file, const void* data, std::size_t bytes) {
    return bytes == 0 || std::fwrite(data, 1, bytes, file) == bytes;
}

} // namespace

std::string CPyramidCache::PathFor(const std::string& headerPath) {
    std::string base = headerPath;
    for (const std::string_view suffix :
         {std::string_view(kProvisionalSuffix), std::string_view(".hdr")}) {
        if (base.ends_with(suffix))
            base.resize(base.size() - suffix.size());
    }
    return base + kExtension;
}

std::vector<std::byte> CPyramidCache::Describe(const std::vector<RecordDataFacts>& facts,
                                               const CMinMaxPyramid& pyramid) {
    std::vector<std::byte> out;
    PutText(out, kMagic);
    Put(out, kVersion);
    Put(out, CMinMaxPyramid::kBaseRows);
    Put(out, CMinMaxPyramid::kFactor);
    Put(out, static_cast<std::uint32_t>(pyramid.GetRowWords()));
    Put(out, pyramid.GetRowCount());
    Put(out, static_cast<std::uint32_t>(pyramid.GetChannelCount()));
    for (const CBlockMinMax::Channel& channel : pyramid.GetChannels()) {
        Put(out, static_cast<std::uint32_t>(channel.kind));
        Put(out, static_cast<std::uint32_t>(channel.wordIndex));
    }
    Put(out, static_cast<std::uint32_t>(facts.size()));
    for (const RecordDataFacts& file : facts) {
        PutText(out, fs::path(file.path).filename().string());
        Put(out, file.bytes);
        Put(out, file.modified);
    }
    Put(out, pyramid.GetStorageBytes());
    return out;
}

bool CPyramidCache::Load(const std::string& path, const std::vector<RecordDataFacts>& facts,
                         CMinMaxPyramid& pyramid) {
    auto map = std::make_unique<CFileMap>();
    if (!map->Open(path).empty())
        return false;
    const std::vector<std::byte> description = Describe(facts, pyramid);
    const std::uint64_t offset = StorageOffset(description.size());
    const std::span<const std::byte> bytes = map->Bytes();
    if (bytes.size() != offset + pyramid.GetStorageBytes() ||
        std::memcmp(bytes.data(), description.data(), description.size()) != 0)
        return false;
    pyramid.Adopt(std::move(map), offset);
    return true;
}

std::string CPyramidCache::Save(const std::string& path, const std::vector<RecordDataFacts>& facts,
                                const CMinMaxPyramid& pyramid) {
    std::vector<std::byte> description = Describe(facts, pyramid);
    description.resize(StorageOffset(description.size()));
    const std::string temporary = path + ".tmp";
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return CTextFile::OpenFailureMessage(temporary, errno, FileDirection::Writing);
    const std::span<const std::byte> storage = pyramid.GetStorage();
    const bool written = WriteAll(file, description.data(), description.size()) &&
                         WriteAll(file, storage.data(), storage.size());
    const int error = errno;
    if (std::fclose(file) != 0 || !written) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return CTextFile::OpenFailureMessage(path, error != 0 ? error : EIO,
                                             FileDirection::Writing);
    }
    std::error_code renameError;
    fs::rename(temporary, path, renameError);
    if (renameError) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return CTextFile::OpenFailureMessage(path, renameError.value(), FileDirection::Writing);
    }
    return {};
}
