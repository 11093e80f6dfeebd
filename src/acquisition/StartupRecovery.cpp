#include "acquisition/StartupRecovery.h"

#include "conditions/RecCnd.h"
#include "records/RecordRecovery.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <utility>

namespace {

namespace fs = std::filesystem;

std::mutex s_logLock;
std::vector<std::string> s_log; // guarded by s_logLock

bool IsDefaultCondition(const fs::path& path) {
    return path.extension() == ".czd" && path.stem().string().starts_with("DefRecCnd");
}

} // namespace

std::vector<std::string> CStartupRecovery::RecordFolders(const std::string& dataFolder) {
    std::vector<std::string> folders{dataFolder};
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dataFolder, error)) {
        CRecCnd condition;
        if (IsDefaultCondition(entry.path()) && condition.Load(entry.path().string()).empty() &&
            !condition.m_hddRecFolder.empty())
            folders.push_back(condition.m_hddRecFolder);
    }
    std::vector<std::string> unique;
    std::vector<fs::path> seen;
    for (const std::string& folder : folders) {
        const fs::path canonical = fs::weakly_canonical(folder, error);
        if (error || std::find(seen.begin(), seen.end(), canonical) != seen.end())
            continue;
        seen.push_back(canonical);
        unique.push_back(folder);
    }
    return unique;
}

void CStartupRecovery::Run(const std::string& dataFolder) {
    std::vector<std::string> lines;
    for (const std::string& folder : RecordFolders(dataFolder)) {
        std::vector<std::string> done = CompleteUnfinishedRecords(folder);
        lines.insert(lines.end(), done.begin(), done.end());
    }
    std::lock_guard lock(s_logLock);
    s_log.insert(s_log.end(), lines.begin(), lines.end());
}

std::vector<std::string> CStartupRecovery::TakeLog() {
    std::lock_guard lock(s_logLock);
    return std::exchange(s_log, {});
}
