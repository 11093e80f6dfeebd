#include "FakeLink.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace {
std::string Join(std::initializer_list<std::string> parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : " ") + part;
    return text;
}

std::string N(int value) {
    return std::to_string(value);
}

std::string Text(const LinkChannelRecord& r) {
    return Join({N(r.enabled), r.range, r.filter, r.fvInput, r.fvMode, N(r.fvDivider),
                 N(r.fvSmoothing), N(r.diMask), N(r.lvlStTrg), std::to_string(r.lvlStTrgVal),
                 N(r.status)});
}
} // namespace

std::vector<std::string> CFakeLink::TakeCalls() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_calls, {});
}

void CFakeLink::AddSamples(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(m_mutex);
    m_samples.insert(m_samples.end(), bytes.begin(), bytes.end());
}

int CFakeLink::Log(std::initializer_list<std::string> call, int result) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(Join(call));
    return result;
}

int CFakeLink::LnkGetSlotChannels(int handle, int slot, std::vector<LinkChannelRecord>& records) {
    const std::string call = Join({"GetSlotChannels", N(handle), N(slot), N(int(records.size()))});
    records.assign(2, LinkChannelRecord{1, "10V", "OFF", "MG", "FR", -3, 4, 0xFFFF, 1, -12.5, 0});
    records[1].status = LinkCode::kChannelRefused;
    return Log({call}, 106);
}

int CFakeLink::LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                                  std::vector<LinkChannelRecord>& records) {
    std::string call = Join({"SetSlotChannels", N(handle), N(slot), N(slotType), N(count)});
    for (LinkChannelRecord& record : records) {
        call += " [" + Text(record) + "]";
        record.status = LinkCode::kChannelRefused;
    }
    return Log({call}, 107);
}

int CFakeLink::LnkSetRTC(int handle, const LinkRtc& rtc) {
    std::string call = "SetRTC " + N(handle);
    for (int value : rtc)
        call += " " + N(value);
    return Log({call}, 118);
}

int CFakeLink::LnkReadAux(int handle, std::uint8_t* buffer, int size) {
    const std::uint8_t aux[] = {'$', 'G', 'P', 0, 0xFF};
    std::memcpy(buffer, aux, std::min<std::size_t>(sizeof aux, std::size_t(size)));
    Log({"ReadAux", N(handle), N(size)}, 0);
    return static_cast<int>(std::min<std::size_t>(sizeof aux, std::size_t(size)));
}

int CFakeLink::LnkGetDataCount(int) {
    if (lost)
        return RecorderStatus::kCommError;
    std::lock_guard lock(m_mutex);
    return dataError != 0 ? dataError.load() : static_cast<int>(m_samples.size() - m_samplesRead);
}

int CFakeLink::LnkReadData(int, void* buffer, int bytes) {
    std::lock_guard lock(m_mutex);
    if (dataError != 0)
        return dataError;
    const auto taken = std::min<std::size_t>(m_samples.size() - m_samplesRead, std::size_t(bytes));
    std::memcpy(buffer, m_samples.data() + m_samplesRead, taken);
    m_samplesRead += taken;
    return static_cast<int>(taken);
}

int CFakeLink::LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) {
    const std::filesystem::path target(pcPath);
    const int result = Log({"Copy", N(handle), cardPath, target.filename().string()},
                           cardPath == "\\MISSING" ? -5 : 1);
    if (result != 1)
        return result;
    std::ofstream(target, std::ios::binary) << cardPath;
    // A record's data file, larger than one piece on the network.
    const std::vector<std::uint8_t> data = CardData();
    std::ofstream(std::filesystem::path(target).replace_extension(".dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    return result;
}

std::vector<std::uint8_t> CFakeLink::CardData() {
    std::vector<std::uint8_t> data(600000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i % 251);
    return data;
}

int CFakeLink::LnkGetCardDir(int handle, std::vector<LinkCardFolder>& folders) {
    using namespace LinkCardAttribute;
    const LinkCardTime time{2026, 3, 7, 9, 5, 4};
    folders = {{"\\",
                {{"ZT300.CND", time, 120, kArchive},
                 {"HUGE.DAT", {1999, 12, 31, 23, 59, 58}, 5'000'000'000, kHidden | kSystem}}},
               {"\\DATA\\", {}}};
    for (int run = 1; run <= 5; ++run) {
        const std::string name = "RUN" + N(run);
        const std::size_t header = ("\\DATA\\" + name + ".HDR").size();
        const std::size_t data = run == 5 ? 1000 : CardData().size();
        folders[1].files.push_back({name + ".HDR", time, header, kArchive | kReadOnly});
        folders[1].files.push_back({name + ".DAT", time, data, kArchive});
    }
    for (int i = 0; i < moreCardFiles; ++i)
        folders[0].files.push_back({N(i) + std::string(200, 'x'), time, 1, kArchive});
    return Log({"GetCardDir", N(handle)}, 1);
}
