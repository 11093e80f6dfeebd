// Simulated recorders whose link records the calls the tests watch (connection, slot queries,
// balance, text commands) and lets a test answer chosen text commands and balances itself.
#pragma once

#include "device/sim/SimLink.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CTapLink : public CSimLink {
public:
    // Answers a command instead of the recorder (result, and reply for queries), or none.
    using CommandHook =
        std::function<std::optional<int>(const std::string& text, std::string& reply)>;

    using CSimLink::CSimLink;

    bool Called(int ordinal) const { return std::ranges::count(m_ordinals, ordinal) > 0; }
    void ClearRecord() {
        m_ordinals.clear();
        m_commands.clear();
    }

    std::vector<int> m_ordinals;
    std::vector<std::string> m_commands;
    CommandHook m_hook;
    // When set, the balance operations answer this reply with success.
    std::optional<std::string> m_balanceReply;

    int LnkOpen(const std::string& address, int timeoutMs) override {
        m_ordinals.push_back(LinkOrdinal::kOpen);
        return CSimLink::LnkOpen(address, timeoutMs);
    }
    int LnkClose(int handle) override {
        m_ordinals.push_back(LinkOrdinal::kClose);
        return CSimLink::LnkClose(handle);
    }
    int LnkCloseAux(int handle) override {
        m_ordinals.push_back(LinkOrdinal::kCloseAux);
        return CSimLink::LnkCloseAux(handle);
    }
    int LnkGetSlotInfo(int handle, int slot, const std::string& query,
                       std::string& reply) override {
        m_ordinals.push_back(LinkOrdinal::kGetSlotInfo);
        return CSimLink::LnkGetSlotInfo(handle, slot, query, reply);
    }
    int LnkBalance(int handle, std::string& reply) override {
        return Answered(LinkOrdinal::kBalance, reply) ? 1 : CSimLink::LnkBalance(handle, reply);
    }
    int LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) override {
        return Answered(LinkOrdinal::kBalanceChannels, reply)
                   ? 1
                   : CSimLink::LnkBalanceChannels(handle, channels, reply);
    }
    int LnkGetBalanceResidual(int handle, std::string& reply) override {
        return Answered(LinkOrdinal::kGetBalanceResidual, reply)
                   ? 1
                   : CSimLink::LnkGetBalanceResidual(handle, reply);
    }
    int LnkSetCommand(int handle, const std::string& text) override {
        std::string reply;
        if (const std::optional<int> result = Answered(text, reply))
            return *result;
        return CSimLink::LnkSetCommand(handle, text);
    }
    int LnkQueryCommand(int handle, const std::string& text, std::string& reply) override {
        if (const std::optional<int> result = Answered(text, reply))
            return *result;
        return CSimLink::LnkQueryCommand(handle, text, reply);
    }

private:
    bool Answered(int ordinal, std::string& reply) {
        m_ordinals.push_back(ordinal);
        if (m_balanceReply)
            reply = *m_balanceReply;
        return m_balanceReply.has_value();
    }
    std::optional<int> Answered(const std::string& text, std::string& reply) {
        m_commands.push_back(text);
        return m_hook ? m_hook(text, reply) : std::nullopt;
    }
};
