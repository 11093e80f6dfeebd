// Simulated recorders whose link records the calls the tests watch (connection, slot queries,
// balance, text commands) and lets a test answer chosen text commands and balances itself.
#pragma once

#include "device/sim/SimLink.h"

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

    bool Called(int ordinal) const;
    void ClearRecord() {
        m_ordinals.clear();
        m_commands.clear();
    }

    std::vector<int> m_ordinals;
    std::vector<std::string> m_commands;
    CommandHook m_hook;
    // When set, the balance operations answer this reply with success.
    std::optional<std::string> m_balanceReply;

    int LnkOpen(const std::string& address, int timeoutMs) override;
    int LnkClose(int handle) override;
    int LnkCloseAux(int handle) override;
    int LnkGetSlotInfo(int handle, int slot, const std::string& query, std::string& reply) override;
    int LnkBalance(int handle, std::string& reply) override;
    int LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) override;
    int LnkGetBalanceResidual(int handle, std::string& reply) override;
    int LnkSetCommand(int handle, const std::string& text) override;
    int LnkQueryCommand(int handle, const std::string& text, std::string& reply) override;

private:
    bool AnswerBalance(int ordinal, std::string& reply);
    std::optional<int> AnswerCommand(const std::string& text, std::string& reply);
};
