// The folder-backed memory card of a simulated recorder.
#include "device/sim/SimCard.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "device/sim/SimRecorder.h"
#include "framework/Clock.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <utility>

namespace fs = std::filesystem;

namespace {

// The program may hand PC paths with either separator.
fs::path PcPath(std::string text) {
    std::ranges::replace(text, '\\', '/');
    return fs::path(text);
}

// The partner of a record file: ".hdr" <-> ".dat", in the case of the given extension.
std::string PartnerExtension(const std::string& extension) {
    const std::string lower = LowerText(extension);
    const std::string partner = lower == ".hdr" ? ".dat" : lower == ".dat" ? ".hdr" : "";
    const bool upper = !extension.empty() && extension != lower;
    if (!upper) {
        return partner;
    }
    std::string result = partner;
    std::ranges::transform(result, result.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

// Every file is written beside its target first and takes its name only once all of them are
// whole, so a failed copy never leaves a file that looks whole, nor half a record.
bool CopyWhole(const std::vector<std::pair<fs::path, fs::path>>& copies) {
    std::vector<fs::path> parts;
    std::error_code error;
    for (const auto& [from, to] : copies) {
        parts.push_back(fs::path(to) += ".part");
        fs::copy_file(from, parts.back(), fs::copy_options::overwrite_existing, error);
        if (error)
            break;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!error)
            fs::rename(parts[i], copies[i].second, error);
        // Only what the copy wrote goes; whatever stood in its way stays.
        std::error_code ignored;
        if (error && fs::is_regular_file(fs::symlink_status(parts[i], ignored)))
            fs::remove(parts[i], ignored);
    }
    return !error;
}

// The condition's base name may hold anything; on the card it must stay one plain file name.
std::string CardName(std::string name) {
    std::ranges::replace_if(
        name, [](unsigned char c) { return !std::isalnum(c) && c != '_' && c != '-'; }, '_');
    return name.empty() ? "REC" : name;
}

// A "\" inside a name would read as a folder on the card.
bool CardNameUsable(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

LinkCardTime CardTime(const fs::file_time_type& written) {
    const LocalTime local = ToLocalTime(written);
    return {local.year, local.month, local.day, local.hour, local.minute, local.second};
}

std::uint32_t CardAttributes(const fs::directory_entry& entry) {
    std::error_code error;
    const fs::perms perms = entry.status(error).permissions();
    const bool writable = (perms & fs::perms::owner_write) != fs::perms::none;
    const bool hidden = entry.path().filename().string().starts_with('.');
    return LinkCardAttribute::kArchive | (writable ? 0 : LinkCardAttribute::kReadOnly) |
           (hidden ? LinkCardAttribute::kHidden : 0);
}

LinkCardFolder ListFolder(const fs::path& folder, std::string path) {
    LinkCardFolder listed{std::move(path), {}};
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!entry->is_regular_file(error) || !CardNameUsable(name))
            continue;
        const std::uint64_t size = entry->file_size(error);
        const fs::file_time_type written = entry->last_write_time(error);
        if (!error)
            listed.files.push_back({name, CardTime(written), size, CardAttributes(*entry)});
    }
    std::ranges::sort(listed.files, {}, &LinkCardFile::name);
    return listed;
}

std::string UniqueTag() {
    std::random_device device;
    return FormatText("%08x", device());
}

} // namespace

CSimCard::CSimCard(const std::string& setting, int capacityKBytes, const std::string& tempTag)
    : m_present(setting != "NONE"), m_temporary(setting == "TEMP"),
      m_capacityKBytes(capacityKBytes) {
    if (m_temporary) {
        std::error_code error;
        m_folder =
            fs::temp_directory_path(error) / ("zt300sim-card-" + tempTag + "-" + UniqueTag());
    } else if (m_present) {
        m_folder = PcPath(setting);
    }
}

CSimCard::~CSimCard() {
    if (m_temporary && m_created) {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
}

bool CSimCard::EnsureFolder() {
    std::error_code error;
    fs::create_directories(m_folder, error);
    m_created = m_created || !error;
    return fs::is_directory(m_folder, error);
}

std::uint64_t CSimCard::UsedBytes() const {
    std::uint64_t used = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(m_folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_regular_file(error)) {
            used += entry->file_size(error);
        }
    }
    return used;
}

LinkCardInfo CSimCard::GetInfo() const {
    if (!m_present) {
        return {0, 0, -1, 0, 0};
    }
    std::int32_t files = 0;
    std::int32_t folders = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(m_folder, error), end; !error && entry != end;
         entry.increment(error)) {
        (entry->is_directory(error) ? folders : files) += 1;
    }
    const auto usedKBytes = static_cast<std::int64_t>((UsedBytes() + 1023) / 1024);
    const auto freeKBytes = std::max<std::int64_t>(0, m_capacityKBytes - usedKBytes);
    return {1, m_capacityKBytes, static_cast<std::int32_t>(freeKBytes), files, folders};
}

fs::path CSimCard::Resolve(const std::string& cardPath) const {
    TextLines parts;
    CTextFile::SplitText(parts, "\\", cardPath);
    fs::path current = m_folder;
    std::error_code error;
    for (const std::string& part : parts) {
        if (part.empty()) {
            continue;
        }
        if (part == "." || part == ".." || part.find('/') != std::string::npos) {
            return {};
        }
        fs::path found;
        for (fs::directory_iterator entry(current, error), end; !error && entry != end;
             entry.increment(error)) {
            if (SameTextIgnoringCase(entry->path().filename().string(), part)) {
                found = entry->path();
                break;
            }
        }
        if (found.empty()) {
            return {};
        }
        current = found;
    }
    return fs::is_regular_file(current, error) ? current : fs::path();
}

std::vector<fs::path> CSimCard::RecordFiles(const fs::path& file) const {
    std::vector<fs::path> files{file};
    const std::string partner = PartnerExtension(file.extension().string());
    if (partner.empty()) {
        return files;
    }
    std::error_code error;
    for (fs::directory_iterator entry(file.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        const fs::path& other = entry->path();
        if (SameTextIgnoringCase(other.stem().string(), file.stem().string()) &&
            SameTextIgnoringCase(other.extension().string(), partner)) {
            files.push_back(other);
        }
    }
    return files;
}

int CSimCard::Copy(const std::string& cardPath, const std::string& pcPath) {
    if (!m_present) {
        return SimResult::kNoCard;
    }
    const fs::path source = Resolve(cardPath);
    if (source.empty()) {
        return SimResult::kCardFileError;
    }
    const fs::path target = PcPath(pcPath);
    std::vector<std::pair<fs::path, fs::path>> copies;
    for (const fs::path& file : RecordFiles(source)) {
        fs::path destination = target;
        if (file != source) {
            destination.replace_extension(PartnerExtension(target.extension().string()));
        }
        copies.emplace_back(file, destination);
    }
    return CopyWhole(copies) ? SimResult::kOk : SimResult::kCardFileError;
}

int CSimCard::Move(const std::string& cardPath, const std::string& pcPath) {
    const int copied = Copy(cardPath, pcPath);
    return copied == SimResult::kOk ? Delete(cardPath) : copied;
}

int CSimCard::Delete(const std::string& cardPath) {
    if (!m_present) {
        return SimResult::kNoCard;
    }
    const fs::path file = Resolve(cardPath);
    if (file.empty()) {
        return SimResult::kCardFileError;
    }
    std::error_code error;
    for (const fs::path& part : RecordFiles(file)) {
        if (!fs::remove(part, error)) {
            return SimResult::kCardFileError;
        }
    }
    return SimResult::kOk;
}

int CSimCard::Format() {
    if (!m_present) {
        return SimResult::kNoCard;
    }
    if (!EnsureFolder()) {
        return SimResult::kCardFileError;
    }
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator entry(m_folder, error), end; !error && entry != end;
         entry.increment(error)) {
        entries.push_back(entry->path());
    }
    for (const fs::path& entry : entries) {
        fs::remove_all(entry, error);
        if (error) {
            return SimResult::kCardFileError;
        }
    }
    return SimResult::kOk;
}

std::string CSimCard::WriteRecord(const std::string& baseName, const std::string& header,
                                  const std::vector<std::uint16_t>& words) {
    const std::uint64_t bytes = words.size() * 2 + header.size();
    if (!m_present || !EnsureFolder() ||
        UsedBytes() + bytes > static_cast<std::uint64_t>(m_capacityKBytes) * 1024) {
        return {};
    }
    const fs::path folder = m_folder / kRecordFolder;
    std::error_code error;
    fs::create_directories(folder, error);
    std::string name;
    for (int number = 1; name.empty() && number <= 9999; ++number) {
        const std::string candidate = FormatText("%s%04d", CardName(baseName).c_str(), number);
        if (Resolve(std::string(kRecordFolder) + "\\" + candidate + ".HDR").empty()) {
            name = candidate;
        }
    }
    if (name.empty()) {
        return {};
    }
    std::ofstream data(folder / (name + ".DAT"), std::ios::binary);
    for (const std::uint16_t word : words) {
        const char pair[2] = {static_cast<char>(word & 0xFF), static_cast<char>(word >> 8)};
        data.write(pair, 2);
    }
    std::ofstream text(folder / (name + ".HDR"), std::ios::binary);
    text << header;
    if (!data || !text) {
        return {};
    }
    return "\\" + std::string(kRecordFolder) + "\\" + name + ".HDR";
}

std::vector<LinkCardFolder> CSimCard::ListFolders() const {
    std::vector<LinkCardFolder> folders{ListFolder(m_folder, "\\")};
    std::error_code error;
    for (fs::recursive_directory_iterator entry(m_folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!entry->is_directory(error))
            continue;
        std::string path = "\\" + entry->path().lexically_relative(m_folder).string() + "\\";
        std::ranges::replace(path, '/', '\\');
        if (!CardNameUsable(entry->path().filename().string()))
            entry.disable_recursion_pending();
        else
            folders.push_back(ListFolder(entry->path(), path));
    }
    std::sort(folders.begin() + 1, folders.end(),
              [](const LinkCardFolder& a, const LinkCardFolder& b) { return a.path < b.path; });
    return folders;
}

std::vector<std::string> CSimCard::ListFiles() const {
    std::vector<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator entry(m_folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->is_regular_file(error)) {
            std::string relative = entry->path().lexically_relative(m_folder).string();
            std::ranges::replace(relative, '/', '\\');
            files.push_back("\\" + relative);
        }
    }
    std::ranges::sort(files);
    return files;
}
