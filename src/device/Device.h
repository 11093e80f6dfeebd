// One recorder connection: the link handle, the modules in its eight slots, the databases of
// its CAN modules, its card information and the lock around library calls on it.
#pragma once

#include "conditions/RecCnd.h"
#include "conditions/SlotInfo.h"
#include "conditions/TextFile.h"
#include "device/Balance.h"
#include "device/CanDatabase.h"
#include "framework/LinkLibrary.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class IClock;
class IPrompt;
class CProgressScope;

class CDevice {
public:
    static constexpr int kSlotCount = 8;
    static constexpr int kOpenTimeoutMs = 30000;
    // The third card value after a failed card query.
    static constexpr std::int32_t kCardUnknown = -1;

    CDevice(ILinkLibrary& link, IPrompt& prompt, IClock& clock);
    ~CDevice();
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    // Opens the stored address, or first stores `address`; an open connection is closed first.
    bool Open();
    bool Open(const std::string& address);
    bool Reopen();
    void Close();

    const std::string& GetDeviceName() const { return m_deviceName; }
    void SetDeviceName(const std::string& name) { m_deviceName = name; }
    const std::string& GetAddress() const { return m_address; }
    int GetHandle() const { return m_handle; }
    bool HasConnectionFailed() const { return m_connectionFailed != 0; }
    bool IsConnected() const { return m_handle != 0 && m_connectionFailed == 0; }
    bool IsSecondModel() const;

    // The acquisition takes this lock around each of its library calls on this recorder; the
    // operations below run on the UI thread while no acquisition runs and do not take it.
    std::mutex& GetLock() { return m_lock; }
    ILinkLibrary& GetLink() { return m_link; }

    // Module discovery: part number, type, channel count, ranges and filters of each slot, and
    // the databases of the CAN modules.
    bool ReadModules();
    const std::array<CSlotInfo, kSlotCount>& GetSlots() const { return m_slots; }
    bool HasModuleOfType(std::int32_t typeCode) const;

    bool LoadCondition(CRecCnd& condition);
    bool WriteCondition(CRecCnd& condition);

    void ScanCard();
    const LinkCardInfo& GetCardInfo() const { return m_cardInfo; }

    bool Balance(CRecCnd& condition, const ChannelSelection* selection = nullptr);
    bool ReadBalanceResidual(CRecCnd& condition);

    bool GetRTC(std::string& date, std::string& time);
    bool SetRTCFromPC();
    // SetRTCFromPC, telling the user how it went.
    bool SetRTCFromPCAndReport();

    bool SetGPSMode(bool on);
    bool GetGPSMode(bool& on);

    static std::string GetStatusText(int status);

    // CAN databases read by ReadModules, one per CAN module.
    const std::vector<CDBCData>& GetCanKDatabases() const { return m_canK; }
    const std::vector<CDBCData_G>& GetCanGDatabases() const { return m_canG; }
    const CDBCData* FindCanKDatabase(int slot) const;
    const CDBCData_G* FindCanGDatabase(int slot) const;

    // CAN module commands. A failed delivery fails silently; a refusal and the other failures
    // the user must know of are told here. A database read replaces the slot's database in the
    // lists above, a failed read removes it.
    bool ReadCanDatabase(int slot, CDBCData& database);
    bool ReadCanDatabase(int slot, CDBCData_G& database);
    bool ClearCanDatabase(int slot);
    bool WriteCanDatabase(int slot, const std::vector<CDBCData>& pages);
    bool WriteCanDatabase(int slot, const std::vector<CDBCData_G>& pages);
    bool WriteCanDcd(int slot, const CDcdSet<CDBCItem>& set);
    bool WriteCanDcd(int slot, const CDcdSet<CDBCItem_G>& set);
    bool WriteXcpProcedure(int slot, const TextLines& lines);
    bool SendXcp(int slot);
    bool GetXcpSwitch(int slot, bool& on);
    bool SetXcpSwitch(int slot, bool on);
    bool GetXcpStatus(int slot, int& status);
    bool GetAckSetting(int slot, bool& on, std::string& value);
    bool SetAckSetting(int slot, bool on, const std::string& value);

private:
    bool EnsureOpen();
    void ReadCardInfo();
    void ReadSlot(int slot, CProgressScope& progress);
    void ReadSlotDatabase(int slot, CProgressScope& progress);
    void AddSlotChannels(CRecCnd& condition, int slot,
                         const std::vector<LinkChannelRecord>& records) const;
    bool SendSlotGroup(const CRecCnd& condition, const std::vector<const CChCnd*>& group,
                       CProgressScope& progress);
    bool OpenAux();
    bool ApplyBalanceReply(const std::string& reply, CRecCnd& condition,
                           const ChannelSelection* selection, CProgressScope& progress);

    // Commands: false when the command was not delivered; `accepted` is the ACK.
    bool SendCommand(const std::string& text, bool& accepted);
    bool QueryCommand(const std::string& text, std::size_t capacity, std::string& reply);
    // An acknowledged command whose refusal is shown as the command text with ":NAK!".
    bool SendJudged(const std::string& text);
    // A command whose failed delivery is shown as "LnkSetCommand:(%s) failed!".
    bool SendReported(const std::string& text, bool& accepted);

    template <class Page> bool ReadDatabasePage(int slot, Page& page);
    template <class Page>
    bool KeepDatabase(int slot, const Page& page, bool read, std::vector<Page>& list);
    struct SignalWrite; // the signal number and data words sent so far
    template <class Item> bool SendSignal(int slot, const Item& item, SignalWrite& write);
    template <class Page> bool WriteDatabasePages(int slot, const std::vector<Page>& pages);
    template <class Item> bool WriteDcdSet(int slot, const CDcdSet<Item>& set);

    ILinkLibrary& m_link;
    IPrompt& m_prompt;
    IClock& m_clock;

    std::int32_t m_handle = 0;
    LinkCardInfo m_cardInfo{};
    std::vector<CDBCData> m_canK;
    std::vector<CDBCData_G> m_canG;
    std::string m_address;
    std::string m_deviceName;
    std::array<CSlotInfo, kSlotCount> m_slots;
    std::int32_t m_auxOpen = 0;
    std::int32_t m_connectionFailed = 0;
    std::mutex m_lock;
};
