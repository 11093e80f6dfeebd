// One operation at a time, on the UI thread; only the library call itself runs beside it.
#include "setup/CardTransfer.h"

#include "conditions/TextNumbers.h"
#include "device/Device.h"
#include "framework/Prompt.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>

namespace {

struct KindTexts {
    const char* progress;
    const char* libraryFailure; // with the library's result; none for a delete
    const char* failure;
};

KindTexts TextsOf(CCardTransfer::Kind kind) {
    switch (kind) {
    case CCardTransfer::Kind::Copy:
        return {"Copying %s ...   %d/%d", "LnkCopy failed :%d", "Copy failed !"};
    case CCardTransfer::Kind::Move:
        return {"Moving %s ...   %d/%d", "LnkMove failed :%d", "Move failed !"};
    default:
        return {"Deleting %s ...   %d/%d", nullptr, "Delete failed !"};
    }
}

// A name from the card becomes a file of the target folder, never a path out of it.
bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

// The distinct PC names of the selection, in its order.
std::vector<std::string> RecordNames(const std::vector<std::string>& names) {
    std::vector<std::string> records;
    for (const std::string& name : names) {
        const std::string pcName = CCardTransfer::PcName(name);
        if (std::ranges::find(records, pcName) == records.end())
            records.push_back(pcName);
    }
    return records;
}

} // namespace

CCardTransfer::CCardTransfer(CDevice& device, IPrompt& prompt)
    : m_device(device), m_prompt(prompt) {}

bool CCardTransfer::CanFormat() const {
    return !m_device.IsSecondModel();
}

std::string CCardTransfer::PcName(const std::string& cardName) {
    std::string name = LowerText(cardName);
    if (name.ends_with(".dat"))
        name.replace(name.size() - 4, 4, ".hdr");
    return name;
}

bool CCardTransfer::Open() {
    if (ReadDirectory())
        return true;
    m_prompt.MessageBox("The memory card does not exist !", PromptIcon::Stop);
    return false;
}

bool CCardTransfer::ReadDirectory() {
    std::vector<LinkCardFolder> folders;
    const int result = m_device.IsConnected()
                           ? m_device.GetLink().LnkGetCardDir(m_device.GetHandle(), folders)
                           : RecorderStatus::kCommError;
    m_folders = result == 1 ? std::move(folders) : std::vector<LinkCardFolder>();
    return result == 1;
}

int CCardTransfer::RunCall(const std::function<int(ILinkLibrary&, int)>& call) {
    auto pending = std::async(std::launch::async, [this, &call] {
        const std::lock_guard lock(m_device.GetLock());
        return call(m_device.GetLink(), m_device.GetHandle());
    });
    do {
        if (m_prompt.ProgressCheckCancel())
            m_cancelled = true;
    } while (pending.wait_for(std::chrono::milliseconds(kPollMs)) != std::future_status::ready);
    return pending.get();
}

std::optional<int> CCardTransfer::TransferOne(Kind kind, const std::string& folderPath,
                                              const std::string& name,
                                              const std::string& targetFolder) {
    if (!PlainName(name))
        return std::nullopt;
    const std::string cardPath = folderPath + name;
    const std::string pcPath = (std::filesystem::path(targetFolder) / name).string();
    return RunCall([&](ILinkLibrary& link, int handle) {
        switch (kind) {
        case Kind::Copy:
            return link.LnkCopy(handle, cardPath, pcPath);
        case Kind::Move:
            return link.LnkMove(handle, cardPath, pcPath);
        default:
            return link.LnkDelete(handle, cardPath);
        }
    });
}

CCardTransfer::Refresh CCardTransfer::Transfer(Kind kind, const std::string& folderPath,
                                               const std::vector<std::string>& names,
                                               const std::string& targetFolder) {
    if (kind == Kind::Delete &&
        m_prompt.MessageBox("Do you want to delete selected files ?", PromptIcon::Question,
                            PromptButtons::OkCancel) != PromptAnswer::Ok)
        return {};
    const KindTexts texts = TextsOf(kind);
    const std::vector<std::string> records = RecordNames(names);
    const int count = static_cast<int>(records.size());
    m_cancelled = false;
    for (int i = 1; i <= count && !m_cancelled; ++i) {
        const std::string& name = records[static_cast<std::size_t>(i - 1)];
        const std::string text = FormatText(texts.progress, name.c_str(), i, count);
        if (i == 1) {
            m_prompt.ProgressOpen("", text);
            m_prompt.ProgressSetRange(0, 100);
        } else {
            m_prompt.ProgressSetText(text);
        }
        const std::optional<int> result = TransferOne(kind, folderPath, name, targetFolder);
        if (result != 1) {
            if (texts.libraryFailure != nullptr && result)
                m_prompt.MessageBox(FormatText(texts.libraryFailure, *result), PromptIcon::Stop);
            m_prompt.MessageBox(texts.failure, PromptIcon::Stop);
            break;
        }
        m_prompt.ProgressSetPos(i * 100 / count);
    }
    Refresh refresh;
    if (kind != Kind::Copy) {
        ReadDirectory();
        refresh.card = true;
    }
    refresh.pc = kind != Kind::Delete;
    if (count > 0)
        m_prompt.ProgressClose();
    return refresh;
}

CCardTransfer::Refresh CCardTransfer::Format() {
    if (m_prompt.MessageBox("Do you want to format the card ?", PromptIcon::Question,
                            PromptButtons::OkCancel) != PromptAnswer::Ok)
        return {};
    m_prompt.ProgressOpen("", "Formating ... ");
    m_prompt.ProgressShowBar(false);
    m_prompt.ProgressShowPercent(false);
    m_prompt.ProgressShowCancel(false);
    const int result =
        RunCall([](ILinkLibrary& link, int handle) { return link.LnkFormatCard(handle); });
    Refresh refresh;
    if (result == 1) {
        ReadDirectory();
        refresh.card = true;
    } else {
        m_prompt.MessageBox("Format failed!", PromptIcon::Stop);
    }
    m_prompt.ProgressClose();
    return refresh;
}
