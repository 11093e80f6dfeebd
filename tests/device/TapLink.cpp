#include "TapLink.h"

#include <algorithm>

using namespace LinkOrdinal;

bool CTapLink::Called(int ordinal) const {
    return std::find(m_ordinals.begin(), m_ordinals.end(), ordinal) != m_ordinals.end();
}

bool CTapLink::AnswerBalance(int ordinal, std::string& reply) {
    m_ordinals.push_back(ordinal);
    if (m_balanceReply)
        reply = *m_balanceReply;
    return m_balanceReply.has_value();
}

std::optional<int> CTapLink::AnswerCommand(const std::string& text, std::string& reply) {
    m_commands.push_back(text);
    return m_hook ? m_hook(text, reply) : std::nullopt;
}

int CTapLink::LnkOpen(const std::string& address, int timeoutMs) {
    m_ordinals.push_back(kOpen);
    return CSimLink::LnkOpen(address, timeoutMs);
}

int CTapLink::LnkClose(int handle) {
    m_ordinals.push_back(kClose);
    return CSimLink::LnkClose(handle);
}

int CTapLink::LnkCloseAux(int handle) {
    m_ordinals.push_back(kCloseAux);
    return CSimLink::LnkCloseAux(handle);
}

int CTapLink::LnkGetSlotInfo(int handle, int slot, const std::string& query, std::string& reply) {
    m_ordinals.push_back(kGetSlotInfo);
    return CSimLink::LnkGetSlotInfo(handle, slot, query, reply);
}

int CTapLink::LnkBalance(int handle, std::string& reply) {
    return AnswerBalance(kBalance, reply) ? 1 : CSimLink::LnkBalance(handle, reply);
}

int CTapLink::LnkBalanceChannels(int handle, const std::string& channels, std::string& reply) {
    return AnswerBalance(kBalanceChannels, reply)
               ? 1
               : CSimLink::LnkBalanceChannels(handle, channels, reply);
}

int CTapLink::LnkGetBalanceResidual(int handle, std::string& reply) {
    return AnswerBalance(kGetBalanceResidual, reply)
               ? 1
               : CSimLink::LnkGetBalanceResidual(handle, reply);
}

int CTapLink::LnkSetCommand(int handle, const std::string& text) {
    std::string reply;
    if (const std::optional<int> result = AnswerCommand(text, reply))
        return *result;
    return CSimLink::LnkSetCommand(handle, text);
}

int CTapLink::LnkQueryCommand(int handle, const std::string& text, std::string& reply) {
    if (const std::optional<int> result = AnswerCommand(text, reply))
        return *result;
    return CSimLink::LnkQueryCommand(handle, text, reply);
}
