// A link library that logs every call with its arguments and answers with fixed out-values and a
// result of its own per operation, so a test sees that each argument and value crossed the
// network unchanged.
#pragma once

#include "framework/LinkLibrary.h"

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CFakeLink : public ILinkLibrary {
public:
    static constexpr int kHandle = 77;

    std::vector<std::string> TakeCalls();
    // What a card copy writes as the data file beside the one asked for.
    static std::vector<std::uint8_t> CardData();
    // Samples the recorder has for the program.
    void AddSamples(const std::vector<std::uint8_t>& bytes);
    std::atomic<int> dataError = 0;     // answered by the data queries while not 0
    std::atomic<int> statusDelayMs = 0; // the status wait answers this late
    std::atomic<bool> lost = false;     // the recorder dropped the connection
    std::atomic<int> moreCardFiles = 0; // files of long names the card directory lists besides

    int LnkResetWSA(int) override { return 0; }
    int LnkScanDevices(std::string& list) override {
        list = "OTHER,127.0.0.99;FAKE-1,127.0.0.21;FAKE-2,127.0.0.22;";
        return 3;
    }
    int LnkSetIPAddress(const std::string& oldAddress, const std::string& newAddress,
                        const std::string& mask, const std::string& gateway) override {
        return Log({"SetIPAddress", oldAddress, newAddress, mask, gateway}, 132);
    }
    int LnkOpen(const std::string& address, int) override {
        return Log({"Open", address}, kHandle);
    }
    int LnkClose(int handle) override { return Log({"Close", N(handle)}, 1); }
    int LnkGetStatus(int handle) override {
        return lost ? RecorderStatus::kCommError2 : Log({"GetStatus", N(handle)}, 2);
    }
    int LnkGetStatusWait(int handle, int timeoutMs) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(statusDelayMs.load()));
        return Log({"GetStatusWait", N(handle), N(timeoutMs)}, 10);
    }
    int LnkGetSlotList(int handle, std::vector<std::uint8_t>& slots) override {
        slots.assign(256, 0);
        slots[0] = slots[7] = 1;
        return Log({"GetSlotList", N(handle)}, 2);
    }
    int LnkGetSlotInfo(int handle, int slot, const std::string& query,
                       std::string& reply) override {
        reply = "PN 1\x01TY 2\x01" + query;
        return Log({"GetSlotInfo", N(handle), N(slot), query}, 137);
    }
    int LnkGetAcqCondition(int handle, LinkAcqCondition& condition) override {
        condition = {"Run\\A", "2kHz", 5, -7};
        return Log({"GetAcqCondition", N(handle)}, 108);
    }
    int LnkSetAcqCondition(int handle, const LinkAcqCondition& c) override {
        return Log(
            {"SetAcqCondition", N(handle), c.baseFileName, c.rate, N(c.preTime), N(c.postTime)},
            109);
    }
    int LnkGetSlotChannels(int handle, int slot, std::vector<LinkChannelRecord>& records) override;
    int LnkSetSlotChannels(int handle, int slot, int slotType, int count,
                           std::vector<LinkChannelRecord>& records) override;
    int LnkGetSyncMode(int handle, int& value) override {
        value = 12;
        return Log({"GetSyncMode", N(handle)}, 134);
    }
    int LnkSetSyncMode(int handle, int value) override {
        return Log({"SetSyncMode", N(handle), N(value)}, 133);
    }
    int LnkApplyCondition(int handle) override { return Log({"ApplyCondition", N(handle)}, 131); }
    int LnkGetCardInfo(int handle, LinkCardInfo& info) override {
        info = {1, -2, 3, 2000000000, 5};
        return Log({"GetCardInfo", N(handle)}, 129);
    }
    int LnkBalance(int handle, std::string& reply) override {
        reply = "1-1:FFFFFF9C,1-2:64,";
        return Log({"Balance", N(handle)}, 114);
    }
    int LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) override {
        reply = channels + ":0,";
        return Log({"BalanceChannels", N(handle), channels}, 148);
    }
    int LnkGetBalanceResidual(int handle, std::string& reply) override {
        reply = "2-1:5,";
        return Log({"GetBalanceResidual", N(handle)}, 127);
    }
    int LnkGetRTC(int handle, LinkRtc& rtc) override {
        rtc = {59, 58, 23, 31, 12, 2026, 4, 365, 0};
        return Log({"GetRTC", N(handle)}, 117);
    }
    int LnkSetRTC(int handle, const LinkRtc& rtc) override;
    int LnkOpenAux(int handle, int code) override {
        return Log({"OpenAux", N(handle), N(code)}, 142);
    }
    int LnkReadAux(int handle, std::uint8_t* buffer, int size) override;
    int LnkCloseAux(int handle) override { return Log({"CloseAux", N(handle)}, 145); }
    int LnkSetGPSMode(int handle, int mode) override {
        return Log({"SetGPSMode", N(handle), N(mode)}, 146);
    }
    int LnkGetGPSMode(int handle) override {
        return Log({"GetGPSMode", N(handle)}, LinkCode::kGpsOn);
    }
    int LnkSetRemote(int handle, int on, int bufferBytes) override {
        return Log({"SetRemote", N(handle), N(on), N(bufferBytes)}, 130);
    }
    // Success, so that the client starts the run with an empty buffer.
    int LnkStartArmed(int handle, int bufferBytes) override {
        return Log({"StartArmed", N(handle), N(bufferBytes)}, 1);
    }
    int LnkStartAcq(int handle, int a, int b) override {
        return Log({"StartAcq", N(handle), N(a), N(b)}, 162);
    }
    int LnkStopAcq(int handle) override { return Log({"StopAcq", N(handle)}, 163); }
    int LnkStopArmed(int handle) override { return Log({"StopArmed", N(handle)}, 161); }
    int LnkGetDataCount(int handle) override;
    int LnkReadData(int handle, void* buffer, int bytes) override;
    int LnkSetCommand(int handle, const std::string& text) override {
        return Log({"SetCommand", N(handle), text}, 156);
    }
    int LnkQueryCommand(int handle, const std::string& text, std::string& reply) override {
        reply = std::string(1, char(LinkCode::kAck)) + text;
        return Log({"QueryCommand", N(handle), text}, 157);
    }
    int LnkCopy(int handle, const std::string& cardPath, const std::string& pcPath) override;
    int LnkMove(int handle, const std::string& cardPath, const std::string& pcPath) override {
        return Log({"Move", N(handle), cardPath, pcPath}, 123);
    }
    int LnkDelete(int handle, const std::string& cardPath) override {
        return Log({"Delete", N(handle), cardPath}, 124);
    }
    int LnkFormatCard(int handle) override { return Log({"FormatCard", N(handle)}, 125); }
    // The root with a condition file and a file beyond 4 GB; "\DATA\" with the records RUN1 to
    // RUN5, whose listed sizes are those the copy writes, but for RUN5.DAT (less).
    int LnkGetCardDir(int handle, std::vector<LinkCardFolder>& folders) override;

private:
    static std::string N(int value) { return std::to_string(value); }
    // Logs the call's name, handle and arguments joined by spaces, and gives `result`.
    int Log(std::initializer_list<std::string> call, int result);

    std::mutex m_mutex;
    std::vector<std::string> m_calls;    // guarded by m_mutex
    std::vector<std::uint8_t> m_samples; // guarded by m_mutex
    std::size_t m_samplesRead = 0;       // guarded by m_mutex
};
