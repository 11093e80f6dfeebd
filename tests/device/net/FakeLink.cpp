#include "FakeLink.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
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

int CFakeLink::Log(const std::string& call, int result) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(call);
    return result;
}

int CFakeLink::LnkResetWSA(int) {
    return 0;
}

int CFakeLink::LnkScanDevices(std::string& list) {
    list = "OTHER,127.0.0.99;FAKE-1,127.0.0.21;FAKE-2,127.0.0.22;";
    return 3;
}

int CFakeLink::LnkSetIPAddress(const std::string& oldAddress, const std::string& newAddress,
                               const std::string& mask, const std::string& gateway) {
    return Log(Join({"SetIPAddress", oldAddress, newAddress, mask, gateway}), 132);
}

int CFakeLink::LnkOpen(const std::string& address, int) {
    return Log("Open " + address, kHandle);
}

int CFakeLink::LnkClose(int handle) {
    return Log("Close " + N(handle), 1);
}

int CFakeLink::LnkGetStatus(int handle) {
    return lost ? RecorderStatus::kCommError2 : Log("GetStatus " + N(handle), 2);
}

int CFakeLink::LnkGetStatusWait(int handle, int timeoutMs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(statusDelayMs.load()));
    return Log(Join({"GetStatusWait", N(handle), N(timeoutMs)}), 10);
}

int CFakeLink::LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) {
    slots.assign(256, 0);
    slots[0] = slots[7] = 1;
    return Log("GetSlotList " + N(handle), 2);
}

int CFakeLink::LnkGetSlotInfo(int handle, int slot, const std::string& query, std::string& reply) {
    reply = "PN 1\x01TY 2\x01" + query;
    return Log(Join({"GetSlotInfo", N(handle), N(slot), query}), 137);
}

int CFakeLink::LnkGetAcqCondition(int handle, LinkAcqCondition& condition) {
    condition = {"Run\\A", "2kHz", 5, -7};
    return Log("GetAcqCondition " + N(handle), 108);
}

int CFakeLink::LnkSetAcqCondition(int handle, const LinkAcqCondition& c) {
    return Log(
        Join({"SetAcqCondition", N(handle), c.baseFileName, c.rate, N(c.preTime), N(c.postTime)}),
        109);
}

int CFakeLink::LnkGetSlotChannels(int handle, int slot, std::vector<LinkChannelRecord>& records) {
    const std::string call = Join({"GetSlotChannels", N(handle), N(slot), N(int(records.size()))});
    records.assign(2, LinkChannelRecord{1, "10V", "OFF", "MG", "FR", -3, 4, 0xFFFF, 1, -12.5, 0});
    records[1].status = LinkCode::kChannelRefused;
    return Log(call, 106);
}

int CFakeLink::LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                                  std::vector<LinkChannelRecord>& records) {
    std::string call = Join({"SetSlotChannels", N(handle), N(slot), N(slotType), N(count)});
    for (LinkChannelRecord& record : records) {
        call += " [" + Text(record) + "]";
        record.status = LinkCode::kChannelRefused;
    }
    return Log(call, 107);
}

int CFakeLink::LnkGetSyncMode(int handle, int& value) {
    value = 12;
    return Log("GetSyncMode " + N(handle), 134);
}

int CFakeLink::LnkSetSyncMode(int handle, int value) {
    return Log(Join({"SetSyncMode", N(handle), N(value)}), 133);
}

int CFakeLink::LnkApplyCondition(int handle) {
    return Log("ApplyCondition " + N(handle), 131);
}

int CFakeLink::LnkGetCardInfo(int handle, LinkCardInfo& info) {
    info = {1, -2, 3, 2000000000, 5};
    return Log("GetCardInfo " + N(handle), 129);
}

int CFakeLink::LnkBalance(int handle, std::string& reply) {
    reply = "1-1:FFFFFF9C,1-2:64,";
    return Log("Balance " + N(handle), 114);
}

int CFakeLink::LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) {
    reply = channels + ":0,";
    return Log(Join({"BalanceChannels", N(handle), channels}), 148);
}

int CFakeLink::LnkGetBalanceResidual(int handle, std::string& reply) {
    reply = "2-1:5,";
    return Log("GetBalanceResidual " + N(handle), 127);
}

int CFakeLink::LnkGetRTC(int handle, LinkRtc& rtc) {
    rtc = {59, 58, 23, 31, 12, 2026, 4, 365, 0};
    return Log("GetRTC " + N(handle), 117);
}

int CFakeLink::LnkSetRTC(int handle, const LinkRtc& rtc) {
    std::string call = "SetRTC " + N(handle);
    for (int value : rtc)
        call += " " + N(value);
    return Log(call, 118);
}

int CFakeLink::LnkOpenAux(int handle, int code) {
    return Log(Join({"OpenAux", N(handle), N(code)}), 142);
}

int CFakeLink::LnkReadAux(int handle, std::uint8_t* buffer, int size) {
    const std::uint8_t aux[] = {'$', 'G', 'P', 0, 0xFF};
    std::memcpy(buffer, aux, std::min<std::size_t>(sizeof aux, std::size_t(size)));
    Log(Join({"ReadAux", N(handle), N(size)}), 0);
    return static_cast<int>(std::min<std::size_t>(sizeof aux, std::size_t(size)));
}

int CFakeLink::LnkCloseAux(int handle) {
    return Log("CloseAux " + N(handle), 145);
}

int CFakeLink::LnkSetGPSMode(int handle, int mode) {
    return Log(Join({"SetGPSMode", N(handle), N(mode)}), 146);
}

int CFakeLink::LnkGetGPSMode(int handle) {
    return Log("GetGPSMode " + N(handle), LinkCode::kGpsOn);
}

int CFakeLink::LnkSetRemote(int handle, int on, int bufferBytes) {
    return Log(Join({"SetRemote", N(handle), N(on), N(bufferBytes)}), 130);
}

int CFakeLink::LnkStartArmed(int handle, int bufferBytes) {
    // Success, so that the client starts the run with an empty buffer.
    return Log(Join({"StartArmed", N(handle), N(bufferBytes)}), 1);
}

int CFakeLink::LnkStartAcq(int handle, int a, int b) {
    return Log(Join({"StartAcq", N(handle), N(a), N(b)}), 162);
}

int CFakeLink::LnkStopAcq(int handle) {
    return Log("StopAcq " + N(handle), 163);
}

int CFakeLink::LnkStopArmed(int handle) {
    return Log("StopArmed " + N(handle), 161);
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

int CFakeLink::LnkSetCommand(int handle, const std::string& text) {
    return Log(Join({"SetCommand", N(handle), text}), 156);
}

int CFakeLink::LnkQueryCommand(int handle, const std::string& text, std::string& reply) {
    reply = std::string(1, char(LinkCode::kAck)) + text;
    return Log(Join({"QueryCommand", N(handle), text}), 157);
}

int CFakeLink::LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) {
    const std::filesystem::path target(pcPath);
    const int result = Log(Join({"Copy", N(handle), cardPath, target.filename().string()}),
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

int CFakeLink::LnkMove(int handle, const std::string& cardPath, const std::string& pcPath) {
    return Log(Join({"Move", N(handle), cardPath, pcPath}), 123);
}

std::vector<std::uint8_t> CFakeLink::CardData() {
    std::vector<std::uint8_t> data(600000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i % 251);
    return data;
}

int CFakeLink::LnkDelete(int handle, const std::string& cardPath) {
    return Log(Join({"Delete", N(handle), cardPath}), 124);
}

int CFakeLink::LnkFormatCard(int handle) {
    return Log("FormatCard " + N(handle), 125);
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
    return Log("GetCardDir " + N(handle), 1);
}
