// The CAN module text commands of a recorder: database read, clear and write, DCD sets, XCP
// procedures, the XCP switch and status, and the acknowledge setting of G modules.
#include "device/Device.h"

#include "conditions/TextNumbers.h"
#include "device/CanCommands.h"
#include "device/ProgressScope.h"
#include "framework/Prompt.h"

namespace {

constexpr int kReadAttempts = 2; // a lost or short reply is asked once more

bool IsShortReply(const TextLines& fields) {
    return fields.size() < CCanSignal::kFieldCount + 1;
}

} // namespace

struct CDevice::SignalWrite {
    int number = 0; // signals accepted so far
    int words = 0;  // data words they take
    int total = 0;  // signals to send, for the progress
    bool IsFull() const { return words >= kCanModuleWords; }
};

bool CDevice::SendCommand(const std::string& text, bool& accepted) {
    accepted = false;
    if (!IsConnected())
        return false;
    const int result = m_link.LnkSetCommand(m_handle, text);
    if (result != 1 && result != LinkCode::kNak)
        return false;
    accepted = result == 1;
    return true;
}

bool CDevice::QueryCommand(const std::string& text, std::size_t capacity, std::string& reply) {
    reply.clear();
    if (!IsConnected() || m_link.LnkQueryCommand(m_handle, text, reply) != 1)
        return false;
    // The reply buffer holds no more than this.
    if (reply.size() > capacity)
        reply.resize(capacity);
    reply = TrimReply(reply);
    return true;
}

bool CDevice::SendJudged(const std::string& text) {
    bool accepted = false;
    if (!SendCommand(text, accepted))
        return false;
    if (!accepted)
        m_prompt.MessageBox(text + ":NAK!", PromptIcon::Stop);
    return accepted;
}

bool CDevice::SendReported(const std::string& text, bool& accepted) {
    if (SendCommand(text, accepted))
        return true;
    m_prompt.MessageBox(FormatText("LnkSetCommand:(%s) failed!", text.c_str()), PromptIcon::Stop);
    return false;
}

template <class Page> bool CDevice::ReadDatabasePage(int slot, Page& page) {
    using Item = typename decltype(page.m_items)::value_type;
    page.Clear();
    std::string reply;
    if (!QueryCommand(FormatText("%dCRD 0", slot), kDatabaseReplyBytes, reply))
        return false;
    page.m_slot = slot;
    TextLines fields;
    const int count = ReadInt32(CTextFile::SplitText(fields, ",", reply).front());
    if (count < 1)
        return true;
    CProgressScope progress(m_prompt, std::string("Reading ") + Item::kKindName + " DB from " +
                                          m_deviceName + " ... ");
    m_prompt.ProgressSetRange(0, count);
    for (int n = 1; n <= count; ++n) {
        const std::string command = FormatText("%dDBR %d", slot, n);
        bool delivered = false;
        for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
            delivered = QueryCommand(command, kDatabaseReplyBytes, reply);
            if (delivered && !IsShortReply(CTextFile::SplitText(fields, ",", reply)))
                break;
        }
        if (!delivered || IsShortReply(fields)) {
            page.m_items.clear();
            progress.Close();
            if (delivered)
                m_prompt.MessageBox(command + " Read DBC Error: " + reply, PromptIcon::Stop);
            return false;
        }
        // The reply's first thirteen fields are the signal's list fields; more may follow.
        Item item;
        item.SetFields(fields, 0);
        page.m_items.push_back(std::move(item));
        m_prompt.ProgressSetPos(n);
    }
    return true;
}

// The device's list holds the last database read from each module, so that channels built
// after a new database was sent carry its signals; a failed read leaves the module unknown.
template <class Page>
bool CDevice::KeepDatabase(int slot, const Page& page, bool read, std::vector<Page>& list) {
    std::erase_if(list, [slot](const Page& kept) { return kept.m_slot == slot; });
    if (read)
        list.push_back(page);
    return read;
}

bool CDevice::ReadCanDatabase(int slot, CDBCData& database) {
    return KeepDatabase(slot, database, ReadDatabasePage(slot, database), m_canK);
}

bool CDevice::ReadCanDatabase(int slot, CDBCData_G& database) {
    bool read = ReadDatabasePage(slot, database);
    if (read && !GetAckSetting(slot, database.m_ackOn, database.m_ackValue)) {
        database.m_items.clear();
        read = false;
    }
    return KeepDatabase(slot, database, read, m_canG);
}

bool CDevice::ClearCanDatabase(int slot) {
    return SendJudged(FormatText("%dDBW 0", slot));
}

template <class Item> bool CDevice::SendSignal(int slot, const Item& item, SignalWrite& write) {
    // A signal that does not fit in the module's data words is not sent.
    if (write.words + item.GetWordCount() > kCanModuleWords) {
        write.words = kCanModuleWords;
        return true;
    }
    const std::string command = FormatText("%dDBW ", slot) + item.FormatFields(write.number + 1);
    bool accepted = false;
    if (!SendReported(command, accepted))
        return false;
    if (!accepted) {
        m_prompt.MessageBox(command + ":NAK!", PromptIcon::Stop);
        return false;
    }
    ++write.number;
    write.words += item.GetWordCount();
    m_prompt.ProgressSetPos(write.number * 100 / write.total);
    return true;
}

template <class Page> bool CDevice::WriteDatabasePages(int slot, const std::vector<Page>& pages) {
    using Item = typename decltype(pages.front().m_items)::value_type;
    if (!ClearCanDatabase(slot))
        return false;
    CProgressScope progress(m_prompt, std::string("Writing ") + Item::kKindName + " DB to " +
                                          m_deviceName + " ... ");
    m_prompt.ProgressSetRange(0, 100);
    SignalWrite write;
    for (const Page& page : pages)
        write.total += page.CountSelected();
    bool accepted = false;
    for (std::size_t p = 0; p < pages.size() && !write.IsFull(); ++p) {
        const int index = static_cast<int>(p);
        if (!SendReported(FormatText("%dCR%d %s", slot, index, pages[p].m_croId.c_str()),
                          accepted) ||
            !SendReported(FormatText("%dDT%d %s", slot, index, pages[p].m_dtoId.c_str()), accepted))
            return false;
        for (const Item& item : pages[p].m_items) {
            if (write.IsFull())
                break;
            if (item.m_selected != 0 && !SendSignal(slot, item, write))
                return false;
        }
    }
    return SendReported(FormatText("%dXCR", slot), accepted);
}

bool CDevice::WriteCanDatabase(int slot, const std::vector<CDBCData>& pages) {
    return WriteDatabasePages(slot, pages);
}

bool CDevice::WriteCanDatabase(int slot, const std::vector<CDBCData_G>& pages) {
    return WriteDatabasePages(slot, pages);
}

template <class Item> bool CDevice::WriteDcdSet(int slot, const CDcdSet<Item>& set) {
    if (!ClearCanDatabase(slot))
        return false;
    CProgressScope progress(m_prompt,
                            std::string("Writing ") + Item::kKindName + " DCD to ZT300 ...");
    m_prompt.ProgressSetRange(0, 100);
    bool accepted = false;
    for (std::size_t p = 0; p < set.m_croIds.size(); ++p) {
        const int index = static_cast<int>(p);
        const std::string dto = p < set.m_dtoIds.size() ? set.m_dtoIds[p] : std::string();
        if (!SendReported(FormatText("%dCR%d %s", slot, index, set.m_croIds[p].c_str()),
                          accepted) ||
            !SendReported(FormatText("%dDT%d %s", slot, index, dto.c_str()), accepted))
            return false;
    }
    SignalWrite write;
    write.total = static_cast<int>(set.m_items.size());
    for (const Item& item : set.m_items) {
        if (write.IsFull())
            break;
        if (!SendSignal(slot, item, write))
            return false;
    }
    return SendReported(FormatText("%dXCR", slot), accepted);
}

bool CDevice::WriteCanDcd(int slot, const CDcdSet<CDBCItem>& set) {
    return WriteDcdSet(slot, set);
}

bool CDevice::WriteCanDcd(int slot, const CDcdSet<CDBCItem_G>& set) {
    return WriteDcdSet(slot, set);
}

bool CDevice::WriteXcpProcedure(int slot, const TextLines& lines) {
    if (!SendJudged(FormatText("%dXCR", slot)))
        return false;
    CProgressScope progress(m_prompt, "Writing XCP to " + m_deviceName + " ... ");
    m_prompt.ProgressSetRange(0, static_cast<int>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string command;
        if (!BuildXcpCommand(slot, lines[i], command))
            return false;
        bool accepted = false;
        if (!SendCommand(command, accepted))
            return false;
        if (!accepted) {
            progress.Close();
            m_prompt.MessageBox(command + ":NAK!", PromptIcon::Stop);
            return false;
        }
        m_prompt.ProgressSetPos(static_cast<int>(i + 1));
    }
    return true;
}

bool CDevice::SendXcp(int slot) {
    return SendJudged(FormatText("%dXSN", slot));
}

bool CDevice::GetXcpSwitch(int slot, bool& on) {
    std::string reply;
    if (!QueryCommand(FormatText("%dXSW", slot), kShortReplyBytes, reply))
        return false;
    on = ToUpper(reply).find("ON") != std::string::npos;
    return true;
}

bool CDevice::SetXcpSwitch(int slot, bool on) {
    return SendJudged(FormatText("%dXSW %s", slot, on ? "ON" : "OFF"));
}

bool CDevice::GetXcpStatus(int slot, int& status) {
    std::string reply;
    if (!QueryCommand(FormatText("%dXST", slot), kShortReplyBytes, reply))
        return false;
    status = ReadXcpStatus(reply);
    return true;
}

bool CDevice::GetAckSetting(int slot, bool& on, std::string& value) {
    std::string reply;
    if (!QueryCommand(FormatText("%dACK", slot), kShortReplyBytes, reply))
        return false;
    on = ToUpper(reply).starts_with("ON");
    const std::size_t comma = reply.find(',');
    value = comma == std::string::npos ? std::string() : TrimReply(reply.substr(comma + 1));
    return true;
}

bool CDevice::SetAckSetting(int slot, bool on, const std::string& value) {
    return SendJudged(FormatText("%dACK %s,%s", slot, on ? "ON" : "OFF", value.c_str()));
}
